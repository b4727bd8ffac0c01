#pragma once
// The main window: all of the viewer's state as fields and its behaviour as
// event handlers. Handlers of the picture collection live in collection/, those
// of the 3D ring in carousel/.
#include "carousel/decode_ahead.h"
#include "collection/picture_list.h"
#include "toolkit/scene.h"
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

namespace toolkit {
class ArcDial;
class Panel;
class PushButton;
class ScrollBar;
class TextLabel;
class Viewport3D;
}

class TForm1 : public QWidget {
    Q_OBJECT
public:
    // arguments: the command-line arguments after the program's name, as the
    // native bytes the shell passed.
    explicit TForm1(std::vector<std::string> arguments, QWidget* parent = nullptr);
    ~TForm1() override;

    // Controls and scene nodes, owned by the window.
    toolkit::Panel* Panel1 = nullptr;
    toolkit::Panel* Panel2 = nullptr;
    toolkit::PushButton* B_Quit = nullptr;
    toolkit::TextLabel* Label1 = nullptr;
    toolkit::PushButton* B_Before = nullptr;
    toolkit::PushButton* B_After = nullptr;
    toolkit::ScrollBar* SB_V = nullptr;
    toolkit::ArcDial* ArcDial1 = nullptr;
    toolkit::ScrollBar* SB_H = nullptr;
    toolkit::Viewport3D* Viewport3D1 = nullptr;
    toolkit::Node* dm_round = nullptr;
    toolkit::Light* Light1 = nullptr;
    toolkit::Camera* Camera1 = nullptr;
    QTimer* TM_Img = nullptr;

    // State.
    std::unique_ptr<PictureList> stlf;
    std::array<toolkit::Node*, 9> dummys{};
    std::array<toolkit::PicturePlane*, 9> imgs{};
    std::array<float, 9> imgs_scale{};
    int imgFront = 0;
    int imgNumber = 0;
    int tm_count = 0;
    float rotation_deg = 0;
    bool imgCreateFlag = false;

    // Handlers. modifiers: the keyboard modifiers of the input being handled.
    void B_QuitClick();
    void B_AfterClick(Qt::KeyboardModifiers modifiers);
    void B_BeforeClick(Qt::KeyboardModifiers modifiers);
    void TM_ImgTimer();
    void Image3D_MouseWheel(toolkit::PicturePlane& plane, int wheelDelta);
    void ArcDial1Change();
    void SB_HChange();
    void SB_VChange();
    bool DragOver(const QMimeData& data);
    void DragDrop(const QMimeData& data);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void FormCreate();
    void FormDestroy();
    void buildColumn();
    void buildView();
    void takePath(const std::string& path);
    void Findjpg(const std::string& dir);
    void CreateRoundImage3D();
    void Image_Load_start();
    toolkit::PictureFile openForLoad(const std::string& path);
    void loadOpened(int slot, const std::string& path, toolkit::PictureFile file);
    void showPicture(int slot, const PictureSource& source, const toolkit::PictureRead& read);
    bool showsAlready(int slot, const PictureSource& source) const;
    void prepareDecodeAhead(int first);
    void step(int direction, Qt::KeyboardModifiers modifiers);
    void holdStepFocus();
    void enableSteps();

    void takeDrop(const std::vector<std::string>& paths);

    std::vector<std::string> arguments_;
    bool dropping_ = false;
    std::deque<std::vector<std::string>> queuedDrops_;
    QPointer<QWidget> stepFocus_;
    // Where each plane's picture was decoded from, and the pictures the next
    // step either way will load, decoded ahead.
    std::array<std::optional<PictureSource>, 9> imgSources_;
    DecodeAhead decodeAhead_;
};
