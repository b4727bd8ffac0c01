#pragma once
// The main window: all of the viewer's state as fields and its behaviour as
// event handlers. The handlers live in files by job:
//   form1.cpp         the window, its column, start-up's order and Quit
//   form1_intake.cpp  paths from the command line and drops, collected into
//                     a list of their own before they replace stlf
//   form1_ring.cpp    building the ring, loading it, loading one plane
//   form1_plane.cpp   showing a picture in a plane and what each plane holds
//   form1_ahead.cpp   decoding the next step's pictures while the user looks
//   form1_detail.cpp  the detail a plane needs (reduced-detail decoding) and
//                     refinement when a zoom, the camera or a resize asks for
//                     more or less
//   form1_step.cpp    Next, Previous and the animation
//   form1_view.cpp    zoom, roll and camera
// The 3D view's drawing is view3d/viewport3d.cpp.
#include "carousel/decode_ahead.h"
#include "carousel/plane_refinement.h"
#include "carousel/ring.h"
#include "collection/picture_list.h"
#include "view3d/scene.h"
#include <QPointer>
#include <QWidget>
#include <array>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QTimer;
class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;
class QMimeData;

namespace widgets {
class ArcDial;
class Panel;
class PushButton;
class ScrollBar;
class TextLabel;
}
namespace view3d {
class Viewport3D;
}

class TForm1 : public QWidget {
    Q_OBJECT
public:
    // Builds the window, its column and its empty 3D scene, hidden; FormCreate
    // then fills it before it is shown.
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // Controls and scene nodes, owned by the window.
    widgets::Panel* Panel1 = nullptr;            // the control column, docked right
    widgets::Panel* Panel2 = nullptr;            // the column's top part holding the controls
    widgets::PushButton* B_Quit = nullptr;       // 終了: asks, then quits
    widgets::TextLabel* Label1 = nullptr;        // the hint: drop a folder to show it
    widgets::PushButton* B_Before = nullptr;     // 前へ: Previous step
    widgets::PushButton* B_After = nullptr;      // 次へ: Next step
    widgets::ScrollBar* SB_V = nullptr;          // camera height (tenths of a unit)
    widgets::ArcDial* ArcDial1 = nullptr;        // roll of the front plane in degrees
    widgets::ScrollBar* SB_H = nullptr;          // camera sideways (tenths of a unit)
    view3d::Viewport3D* Viewport3D1 = nullptr;  // the 3D view left of the column
    view3d::Node* dm_round = nullptr;           // the ring: turning it turns every slot
    view3d::Light* Light1 = nullptr;            // the scene's light (planes are unlit)
    view3d::Camera* Camera1 = nullptr;          // the camera the view looks through
    QTimer* TM_Img = nullptr;                    // the step animation's tick

    // State.
    std::unique_ptr<PictureList> stlf;                       // the picture paths, sorted
    std::array<view3d::Node*, ring::slotCount> dummys{};    // slot nodes, 40 degrees apart on dm_round
    std::array<view3d::PicturePlane*, ring::slotCount> imgs{}; // one picture plane per slot
    std::array<float, ring::slotCount> imgs_scale{};         // per-tick shrink of each plane during a step
    int imgFront = 0;          // the slot facing the viewer
    int imgNumber = 0;         // the list entry shown in front
    int tm_count = 0;          // animation ticks still to run
    float rotation_deg = 0;    // degrees the ring turns per tick
    bool imgCreateFlag = false; // the ring's planes have been built

    // The creation handler: collects the pictures arguments name (native
    // bytes, as the shell passed them) and loads the ring; then the window
    // may be shown.
    void FormCreate(const std::vector<std::string>& arguments);

    // Handlers. modifiers: the keyboard modifiers of the input being handled.
    void B_QuitClick();                                      // Quit, after a Yes
    void B_AfterClick(Qt::KeyboardModifiers modifiers);      // Next
    void B_BeforeClick(Qt::KeyboardModifiers modifiers);     // Previous
    void TM_ImgTimer();                                      // one animation tick
    void Image3D_MouseWheel(view3d::PicturePlane& plane, int wheelDelta); // zoom one plane
    void ArcDial1Change();                                   // roll the front plane
    void SB_HChange();                                       // move the camera sideways
    void SB_VChange();                                       // raise or lower the camera
    bool DragOver(const QMimeData& carried);                   // whether a drag carries paths
    void DragDrop(const QMimeData& carried);                   // take a drop's paths

    // The pictures decoded ahead for the next step either way.
    const DecodeAhead& decodesAhead() const { return decodeAhead_; }
    // The planes' pictures being decoded again at the detail the view needs.
    const PlaneRefinement& refinements() const { return refinements_; }
    // The pictures a start-up or a drop has found so far, while it collects
    // them; null otherwise. stlf keeps the list before it until it ends.
    const PictureList* collecting() const { return collecting_; }
    // Whether a Next or Previous step is turning the ring.
    bool stepRunning() const;
    // The detail slot's plane needs at the front, as its pictures are decoded.
    Detail detailFor(int slot) const;

signals:
    // A step has turned the ring to its end.
    void stepEnded();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Creating the window.
    void FormDestroy();
    void buildColumn();
    void buildView();
    void placeChildren();

    // Intake: start-up and drops.
    void collectAndLoad(const std::vector<std::string>& paths);
    PictureList collect(const std::vector<std::string>& paths);
    static void takePath(PictureList& into, const std::string& path);
    static void Findjpg(PictureList& into, const std::string& dir);
    void letStepEnd();

    // The ring.
    void CreateRoundImage3D();
    void Image_Load_start();
    image::PictureFile openForLoad(const std::string& path);
    void loadOpened(int slot, const std::string& path, image::PictureFile file);
    void nameViewAfterFront();

    // One plane's picture.
    void showPicture(int slot, const std::string& path, const PictureSource& source, const PreparedPicture& prepared);
    bool showsAlready(int slot, const PictureSource& source) const;
    void showInset(int slot, const Detail& detail, const PreparedPicture& prepared);
    void dropInset(int slot);

    // Decoding ahead.
    void prepareDecodeAhead(int first);

    // Detail and refinement.
    QMatrix4x4 atFront(int slot, float width, float height) const;
    QRectF partShown(int slot) const;
    void refineWhereNeeded();
    void takeRefinement(int slot, const PictureSource& source, const PreparedPicture& prepared);

    // Stepping.
    void step(int direction, Qt::KeyboardModifiers modifiers);
    void holdStepFocus();
    void enableSteps();

    bool dropping_ = false;                                  // a drop is being taken
    std::deque<std::vector<std::string>> queuedDrops_;       // drops that arrived during one
    const PictureList* collecting_ = nullptr;                // what a start-up or drop has found so far
    QPointer<QWidget> stepFocus_;                            // the step button that had the focus
    // What the window keeps of one plane's picture; the plane holds the pixels.
    struct PlaneRecord {
        std::string path;                    // the file it was opened from
        std::optional<PictureSource> source; // what it was decoded from; none before a first picture
        std::optional<Detail> inset;         // the detail of the part decoded finer over it, if any
    };
    std::array<PlaneRecord, ring::slotCount> imgRecords_;    // one record per plane, by slot
    // The user locale's name order that stlf sorts by, read once.
    const order::NameOrder nameOrder_ = order::userNameOrder();
    // The decoding threads; they end with the window, after every job below.
    DecodeLanes lanes_;
    // Planes' pictures decoded again at the detail the view needs now.
    PlaneRefinement refinements_{lanes_};
    // The pictures the next step either way will load, decoded ahead.
    DecodeAhead decodeAhead_{lanes_};
};
