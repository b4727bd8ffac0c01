// TForm1's drop target: files and folders dropped anywhere on the window
// replace the picture list and reload the ring.
#include "app/form1.h"
#include "app/form2.h"
#include "collection/dropped_paths.h"
#include "toolkit/error_report.h"
#include "toolkit/pending_events.h"
#include <QDropEvent>
#include <QTimer>

bool TForm1::DragOver(const QMimeData& data)
{
    return !droppedPaths(data).empty();
}

void TForm1::DragDrop(const QMimeData& data)
{
    std::vector<std::string> paths = droppedPaths(data);
    if (paths.empty())
        return;
    // Pending events are processed inside a drop, so a second drop can arrive
    // in the middle of one: it runs after the first, as if dropped later.
    if (dropping_) {
        queuedDrops_.push_back(std::move(paths));
        return;
    }
    dropping_ = true;
    queuedDrops_.push_back(std::move(paths));
    while (!queuedDrops_.empty()) {
        const std::vector<std::string> next = std::move(queuedDrops_.front());
        queuedDrops_.pop_front();
        toolkit::reportErrors([&] { takeDrop(next); });
    }
    dropping_ = false;
}

void TForm1::takeDrop(const std::vector<std::string>& paths)
{
    auto progress = std::make_unique<TForm2>();
    progress->show();
    toolkit::processPendingEvents();
    const PictureList saved = *stlf;
    stlf->clear();
    for (const std::string& path : paths) {
        toolkit::processPendingEvents();
        takePath(path);
    }
    if (stlf->count() == 0) {
        *stlf = saved;
        return;
    }
    if (!imgCreateFlag) {
        CreateRoundImage3D();
        imgCreateFlag = true;
    }
    toolkit::processPendingEvents();
    // A step that started during the drop ends first: turning on after the
    // reload would leave the front slot facing away.
    while (TM_Img->isActive())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    Image_Load_start();
}

void TForm1::dragEnterEvent(QDragEnterEvent* event)
{
    dragMoveEvent(event);
}

void TForm1::dragMoveEvent(QDragMoveEvent* event)
{
    if (DragOver(*event->mimeData())) {
        event->setDropAction(Qt::LinkAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void TForm1::dropEvent(QDropEvent* event)
{
    event->setDropAction(Qt::LinkAction);
    event->accept();
    DragDrop(*event->mimeData());
}
