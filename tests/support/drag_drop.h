#pragma once
// Drags from the desktop, delivered to a widget as the window system
// delivers them: enter, move, then the drop if the move was accepted.
#include <QMimeData>
#include <QPoint>
#include <memory>
#include <string>
#include <vector>

class QWidget;

namespace dragdrop {

// What a file manager puts on a drag of paths: their file URLs.
std::unique_ptr<QMimeData> paths(const std::vector<std::string>& paths);

// Drags data, offering copy and link, into widget at `at` and drops it
// there if the move was accepted. Returns the action the move chose, or
// Qt::IgnoreAction when the drag was refused and nothing was dropped.
Qt::DropAction dragAndDrop(QWidget& widget, QPoint at, const QMimeData& data);

}
