// TForm1's intake of pictures: paths named on the command line at start-up
// and files and folders dropped anywhere on the window replace the picture
// list and reload the ring.
#include "app/form1.h"
#include "app/form2.h"
#include "collection/dropped_paths.h"
#include "collection/file_tests.h"
#include "collection/folder_scan.h"
#include "platform/error_report.h"
#include "platform/pending_events.h"
#include "platform/show_painted.h"
#include <QDropEvent>
#include <QEventLoop>
#include <QScopedValueRollback>

// Start-up and drops alike: the pictures paths name are collected while the
// search-progress window shows; if there are none the list and the ring stay
// as they were, otherwise they replace the list, the ring is built once and
// reloaded from its start.
void TForm1::collectAndLoad(const std::vector<std::string>& paths)
{
    TForm2 progress;
    platform::showPainted(progress);
    PictureList found = collect(paths);
    if (found.count() == 0)
        return;
    if (!imgCreateFlag) {
        CreateRoundImage3D();
        imgCreateFlag = true;
    }
    platform::processPendingEvents();
    letStepEnd();
    // Nothing runs between taking the new list and loading from it: the ring
    // never holds places in one list while stlf is another.
    *stlf = std::move(found);
    Image_Load_start();
}

// Pending events are processed before each path: input and paints go on
// meanwhile, and whatever handles them finds stlf whole, as it was before.
PictureList TForm1::collect(const std::vector<std::string>& paths)
{
    PictureList found{nameOrder_};
    const QScopedValueRollback<const PictureList*> shown(collecting_, &found);
    for (const std::string& path : paths) {
        platform::processPendingEvents();
        takePath(found, path);
    }
    return found;
}

// Files are taken when their name says picture, folders are scanned.
void TForm1::takePath(PictureList& into, const std::string& path)
{
    if (isFile(path)) {
        if (isPictureFileName(path))
            into.add(path);
    } else if (isFolder(path)) {
        Findjpg(into, path);
    }
}

// The scan collects its finds and merges them once: merging keeps a large
// scan from going quadratic.
void TForm1::Findjpg(PictureList& into, const std::string& dir)
{
    into.addBatch(scanFolder(dir));
}

// A step that started while collecting ends first: turning on after the
// reload would leave the front slot facing away. Its end leaves the loop
// with 1; quitting the program ends every loop and keeps new ones from
// running, and then the step's last ticks run here.
void TForm1::letStepEnd()
{
    if (!stepRunning())
        return;
    QEventLoop untilStepEnd;
    connect(this, &TForm1::stepEnded, &untilStepEnd, [&untilStepEnd] { untilStepEnd.exit(1); });
    if (untilStepEnd.exec() == 1)
        return;
    while (stepRunning())
        TM_ImgTimer();
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
