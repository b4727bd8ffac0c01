// TForm1's ring of nine picture planes: building it, loading it from the list,
// and loading one picture into a plane.
#include "app/form1.h"
#include "collection/file_tests.h"
#include "collection/full_path.h"
#include "platform/error_report.h"
#include "platform/system_text.h"
#include "resources/form_layout.h"
#include "view3d/viewport3d.h"
#include <QWheelEvent>
#include <exception>
#include <memory>

void TForm1::CreateRoundImage3D()
{
    for (int i = 0; i < ring::slotCount; ++i) {
        dummys[i] = dm_round->addChild(std::make_unique<view3d::Node>());
        dummys[i]->setRotation({0, -ring::slotAngle * float(i), 0});
        imgs[i] = dummys[i]->addChild(std::make_unique<view3d::PicturePlane>());
        imgs[i]->setPosition({0, 0, -ring::planeDistance});
        // 4 x 3 until a picture gives the plane its own aspect.
        imgs[i]->setWidth(ring::planeLongSide);
        imgs[i]->setHeight(3);
        imgs[i]->onWheel = [this](view3d::PicturePlane& plane, QWheelEvent& event) {
            const QPoint delta = event.angleDelta();
            platform::reportErrors([&] { Image3D_MouseWheel(plane, delta.y() != 0 ? delta.y() : delta.x()); });
        };
    }
    refinements_.arrived = [this](int slot, const PictureSource& source, const PreparedPicture& prepared) {
        takeRefinement(slot, source, prepared);
    };
}

// A file that exists but cannot be opened is an error the user must hear
// about, named by its full path; a missing or undecodable one only leaves its
// plane as it was.
image::PictureFile TForm1::openForLoad(const std::string& path)
{
    image::PictureFile file = image::openPicture(path);
    if (file.status() == image::PictureRead::CannotOpen)
        throw platform::Error(QString::fromUtf8(resources::form1::openError)
                                 .arg(platform::pathText(fullPath(path)), platform::errorText(file.error())));
    return file;
}

// The nine files open here one by one in slot order, as loading them one
// after the other would, while all cores decode them. The first that cannot
// be opened ends the opening; its error is raised once the planes before it
// show their new pictures, so the planes after it keep their old ones.
void TForm1::Image_Load_start()
{
    decodeAhead_.clear();
    imgFront = 0;
    imgNumber = 0;
    dm_round->setRotation({0, 0, 0});
    const int n = stlf->count();
    if (n == 0)
        return;
    std::array<PictureSource, ring::slotCount> sources;
    std::array<std::shared_ptr<const DecodeJob>, ring::slotCount> jobs; // none: the plane stays
    std::exception_ptr failure;
    int opened = 0;
    for (; opened < ring::slotCount; ++opened) {
        image::PictureFile file;
        try {
            file = openForLoad(stlf->at(ring::entryForSlot(opened, n)));
        } catch (const platform::Error&) {
            failure = std::current_exception();
            break;
        }
        sources[opened] = {file.identity(), detailFor(opened)};
        if (!file.opened() || showsAlready(opened, sources[opened]))
            continue;
        // With fewer than nine entries a file fills several planes: decoded once.
        for (int earlier = 0; earlier < opened && !jobs[opened]; ++earlier)
            if (jobs[earlier] && jobs[earlier]->source() == sources[opened])
                jobs[opened] = jobs[earlier];
        if (!jobs[opened])
            jobs[opened] = std::make_shared<const DecodeJob>(std::move(file), sources[opened].detail, DecodeJob::Load,
                                                              lanes_);
    }
    // The decodes take a while: the view gets ready to draw meanwhile.
    Viewport3D1->prepareFirstFrame();
    for (int i = 0; i < opened; ++i)
        showPicture(i, stlf->at(ring::entryForSlot(i, n)), sources[i], jobs[i] ? jobs[i]->result() : PreparedPicture{});
    nameViewAfterFront();
    if (failure)
        std::rethrow_exception(failure);
    prepareDecodeAhead(+1);
}

// Loads file, opened from path, into slot's plane: from its decode made
// ahead if that is of this very file, not at all if the plane shows it
// already.
void TForm1::loadOpened(int slot, const std::string& path, image::PictureFile file)
{
    const PictureSource source{file.identity(), detailFor(slot)};
    if (!file.opened() || showsAlready(slot, source)) {
        showPicture(slot, path, source, {});
        return;
    }
    // Without a decode made ahead the user waits for this one: two threads.
    const std::optional<PreparedPicture> ahead = decodeAhead_.take(path, source);
    showPicture(slot, path, source, ahead ? *ahead : preparePicture(std::move(file), source.detail, 2));
}

// The 3D view tells a screen reader the name of the file that faces the viewer.
void TForm1::nameViewAfterFront()
{
    const std::string& path = stlf->at(imgNumber);
    Viewport3D1->setAccessibleName(platform::pathText(path.substr(path.rfind(pathSeparator) + 1)));
}

