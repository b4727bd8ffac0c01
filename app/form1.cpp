// TForm1 itself: the window with its 3D view and control column, its
// creation and destruction handlers, and Quit.
#include "app/form1.h"
#include "app/flick_hook.h"
#include "platform/error_report.h"
#include "platform/modal_box.h"
#include "resources/app_icon.h"
#include "resources/form_layout.h"
#include "resources/look.h"
#include "view3d/viewport3d.h"
#include "widgets/arc_dial.h"
#include "widgets/panel.h"
#include "widgets/push_button.h"
#include "widgets/scroll_bar.h"
#include "widgets/text_label.h"
#include <QApplication>
#include <QResizeEvent>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

namespace layout = resources::form1;

TForm1::TForm1(QWidget* parent)
    : QWidget(parent)
{
    setWindowTitle(QString::fromUtf8(layout::caption));
    // Every window of the program, the search-progress window and the boxes
    // included, shows this one icon; built once, not per window.
    QApplication::setWindowIcon(resources::appIcon());
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor::fromRgba(layout::background));
    setPalette(palette);
    setAcceptDrops(true);
    setFont(resources::uiFont());

    buildView();
    buildColumn();
    resize(layout::clientSize);
    // A hidden window hears of its size only when shown; the view's size
    // decides the detail of pictures loaded before that.
    placeChildren();

    TM_Img = new QTimer(this);
    TM_Img->setInterval(ring::tickMilliseconds);
    connect(TM_Img, &QTimer::timeout, this, [this] { platform::reportErrors([this] { TM_ImgTimer(); }); });
}

TForm1::~TForm1()
{
    FormDestroy();
}

void TForm1::buildView()
{
    Viewport3D1 = new view3d::Viewport3D(this);
    // A view that cannot draw leaves nothing to show: the program ends at
    // once with why, in one line. Decoding threads may be running, so no
    // destructors.
    connect(Viewport3D1, &view3d::Viewport3D::failed, this, [](const QString& why) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()), qPrintable(why));
        std::fflush(stderr);
        std::_Exit(EXIT_FAILURE);
    });
    Viewport3D1->setBackground(QColor::fromRgba(layout::viewBackground));
    view3d::Node& scene = Viewport3D1->root();
    dm_round = scene.addChild(std::make_unique<view3d::Node>());
    Light1 = scene.addChild(std::make_unique<view3d::Light>());
    Light1->setPosition({5.74623918533325f, 1.16466569900513f, 0});
    Light1->setRotation({-53.7623748779297f, -24.0430603027344f, 0});
    Camera1 = scene.addChild(std::make_unique<view3d::Camera>());
    Camera1->setPosition({0, 0, -16});
    Viewport3D1->setCamera(Camera1);
}

// The control column: fixed positions inside Panel2, which is docked to the
// top of Panel1; Panel1 follows the window's right edge.
void TForm1::buildColumn()
{
    Panel1 = new widgets::Panel(resources::panelLook(), this);
    Panel2 = new widgets::Panel(resources::panelLook(), Panel1);
    Panel2->setGeometry(0, 0, layout::panel1Width, layout::panel2Height);

    auto button = [this](const resources::ButtonDef& def) {
        auto* b = new widgets::PushButton(resources::buttonLook(), Panel2);
        b->setGeometry(def.rect);
        b->setText(QString::fromUtf8(def.caption));
        return b;
    };
    auto speak = [](QWidget* control, const resources::SpokenDef& def) {
        control->setAccessibleName(QString::fromUtf8(def.name));
        control->setAccessibleDescription(QString::fromUtf8(def.description));
    };
    auto scrollBar = [this, speak](Qt::Orientation orientation, const resources::ScrollBarDef& def) {
        auto* bar = new widgets::ScrollBar(orientation, resources::scrollBarLook(), Panel2);
        bar->setGeometry(def.rect);
        speak(bar, def.spoken);
        bar->setRange(def.min, def.max);
        bar->setSmallChange(def.smallChange);
        bar->setValue(def.value);
        return bar;
    };
    B_Quit = button(layout::quit);
    Label1 = new widgets::TextLabel(resources::labelLook(), Panel2);
    Label1->setGeometry(layout::label1);
    Label1->setText(QString::fromUtf8(layout::label1Text));
    B_Before = button(layout::before);
    B_After = button(layout::after);
    SB_V = scrollBar(Qt::Vertical, layout::sbV);
    ArcDial1 = new widgets::ArcDial(resources::dialLook(), Panel2);
    ArcDial1->setGeometry(layout::arcDial1.rect);
    speak(ArcDial1, layout::arcDial1.spoken);
    SB_H = scrollBar(Qt::Horizontal, layout::sbH);
    setTabOrder(B_Quit, B_After);
    setTabOrder(B_After, B_Before);

    auto handle = [](auto handler) { return [handler] { platform::reportErrors(handler); }; };
    connect(B_Quit, &widgets::PushButton::clicked, this, handle([this] { B_QuitClick(); }));
    connect(B_After, &widgets::PushButton::clicked, this, [this](Qt::KeyboardModifiers m) {
        platform::reportErrors([&] { B_AfterClick(m); });
    });
    connect(B_Before, &widgets::PushButton::clicked, this, [this](Qt::KeyboardModifiers m) {
        platform::reportErrors([&] { B_BeforeClick(m); });
    });
    connect(ArcDial1, &widgets::ArcDial::valueChanged, this, handle([this] { ArcDial1Change(); }));
    connect(SB_H, &widgets::ScrollBar::valueChanged, this, handle([this] { SB_HChange(); }));
    connect(SB_V, &widgets::ScrollBar::valueChanged, this, handle([this] { SB_VChange(); }));
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeChildren();
    refineWhereNeeded();
}

void TForm1::placeChildren()
{
    const int w = width(), h = height(), column = layout::panel1Width;
    Viewport3D1->setGeometry(0, 0, std::max(0, w - column), h);
    Panel1->setGeometry(w - column, 0, column, h);
}

void TForm1::FormCreate(const std::vector<std::string>& arguments)
{
    imgCreateFlag = false;
    stlf = std::make_unique<PictureList>(nameOrder_);
    imgNumber = 0;
    imgFront = 0;
    // A picture that cannot be opened is reported; start-up goes on with the
    // planes loaded so far.
    platform::reportErrors([&] { collectAndLoad(arguments); });
    B_After->setFocus();
    FlickSteps steps;
    steps.enabled = [this] { return !stepRunning(); };
    // Shift held on the keyboard while flicking turns the ring in one tick,
    // as it does for a click.
    steps.step = [this](int step) {
        const Qt::KeyboardModifiers modifiers = QGuiApplication::keyboardModifiers();
        platform::reportErrors([&] {
            if (step > 0)
                B_AfterClick(modifiers);
            else
                B_BeforeClick(modifiers);
        });
    };
    installFlickHook(*this, std::move(steps));
}

void TForm1::FormDestroy()
{
    stlf.reset();
}

void TForm1::B_QuitClick()
{
    const platform::BoxAnswer answer = platform::Application::showBox(
        {platform::BoxRequest::YesNo, QString::fromUtf8(layout::quitTitle), QString::fromUtf8(layout::quitQuestion)});
    if (answer == platform::BoxAnswer::Yes)
        QCoreApplication::quit();
}
