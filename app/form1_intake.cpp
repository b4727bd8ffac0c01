// TForm1's intake of pictures: paths named on the command line at start-up
// and files and folders dropped anywhere on the window fill the picture list
// and reload the ring.
#include "app/form1.h"
#include "app/form2.h"
#include "collection/dropped_paths.h"
#include "collection/file_tests.h"
#include "collection/folder_scan.h"
#include "platform/error_report.h"
#include "platform/pending_events.h"
#include "platform/show_painted.h"
#include <QDropEvent>
#include <QTimer>

// Start-up and drops alike: the list is made anew from paths while the
// search-progress window shows; if that finds no picture the list stays as
// it was, otherwise the ring is built once and reloaded from its start.
void TForm1::collectAndLoad(const std::vector<std::string>& paths)
{
    TForm2 progress;
    platform::showPainted(progress);
    const PictureList saved = *stlf;
    stlf->clear();
    for (const std::string& path : paths) {
        platform::processPendingEvents();
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
    platform::processPendingEvents();
    // A step that started while collecting ends first: turning on after the
    // reload would leave the front slot facing away.
    while (TM_Img->isActive())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    Image_Load_start();
}

// Files are taken when their name says picture, folders are scanned.
void TForm1::takePath(const std::string& path)
{
    if (isFile(path)) {
        if (isPictureFileName(path))
            stlf->add(path);
    } else if (isFolder(path)) {
        Findjpg(path);
    }
}

// The scan collects its finds and merges them once: nothing can look at the
// list while it runs, and merging keeps a large scan from going quadratic.
void TForm1::Findjpg(const std::string& dir)
{
    stlf->addBatch(scanFolder(dir));
}

bool TForm1::DragOver(const QMimeData& carried)
{
    return !droppedPaths(carried).empty();
}

void TForm1::DragDrop(const QMimeData& carried)
{
    std::vector<std::string> paths = droppedPaths(carried);
    if (paths.empty())
        return;
    // Pending events are processed inside a drop, so a second drop can arrive
    // in the middle of one: it runs after the first, as if dropped later.
    queuedDrops_.push_back(std::move(paths));
    if (dropping_)
        return;
    dropping_ = true;
    while (!queuedDrops_.empty()) {
        const std::vector<std::string> next = std::move(queuedDrops_.front());
        queuedDrops_.pop_front();
        platform::reportErrors([&] { collectAndLoad(next); });
    }
    dropping_ = false;
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
