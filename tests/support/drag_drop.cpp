#include "support/drag_drop.h"
#include <QApplication>
#include <QDropEvent>
#include <QUrl>
#include <QWidget>

namespace dragdrop {

std::unique_ptr<QMimeData> paths(const std::vector<std::string>& paths)
{
    auto data = std::make_unique<QMimeData>();
    QList<QUrl> urls;
    for (const std::string& path : paths)
        urls << QUrl::fromLocalFile(QString::fromStdString(path));
    data->setUrls(urls);
    return data;
}

Qt::DropAction dragAndDrop(QWidget& widget, QPoint at, const QMimeData& data)
{
    const Qt::DropActions offered = Qt::CopyAction | Qt::LinkAction;
    QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &enter);
    QDragMoveEvent move(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &move);
    if (!move.isAccepted())
        return Qt::IgnoreAction;
    QDropEvent drop(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &drop);
    return move.dropAction();
}

}
