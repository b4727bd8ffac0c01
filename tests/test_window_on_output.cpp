// The main window under Wayland as the compositor shows it: its title bar,
// which Qt draws for a compositor that leaves it to the program, seen above
// the client area, its close button closing the window; and the 3D view's
// own surface, showing each new frame inside the window. Runs as a
// client of a weston whose output is a window on the X display (so that
// the X pointer clicks the title bar; such a weston also sends the window
// more configure events than a headless one, and may hide a fault that the
// headless one shows), with its screenshooter enabled.
#include "support/fixtures.h"
#include "viewer_support/form_driver.h"
#include "widgets/push_button.h"
#include "view3d/viewport3d.h"
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <optional>

namespace {

// The compositor's whole output as it is now.
QImage screenshot()
{
    QTemporaryDir dir;
    QProcess shooter;
    shooter.setWorkingDirectory(dir.path());
    shooter.start(QStringLiteral("weston-screenshooter"), {});
    if (!shooter.waitForFinished() || shooter.exitCode() != 0)
        qFatal("weston-screenshooter failed: %s", shooter.readAllStandardError().constData());
    const QStringList shots = QDir(dir.path()).entryList({QStringLiteral("*.png")});
    if (shots.size() != 1)
        qFatal("weston-screenshooter wrote no picture");
    return QImage(dir.filePath(shots.front())).convertToFormat(QImage::Format_RGB32);
}

bool samePixel(QRgb a, QRgb b)
{
    return frameprobe::near(QColor(a), QColor(b), 16);
}

// Whether the client area shows at origin on the output, seen on a grid
// of this step: all but one in fifty of its points (the pointer may lie
// over it).
bool showsAt(const QImage& output, const QImage& client, QPoint origin, int step)
{
    const int allowed = (client.width() / step + 1) * (client.height() / step + 1) / 50;
    int misses = 0;
    for (int y = 0; y < client.height() && misses <= allowed; y += step)
        for (int x = 0; x < client.width() && misses <= allowed; x += step)
            misses += !samePixel(output.pixel(origin + QPoint(x, y)), client.pixel(x, y));
    return misses <= allowed;
}

// Where on the output the client area, as the window draws it, shows.
std::optional<QPoint> findClient(const QImage& output, const QImage& client)
{
    for (int y = 0; y + client.height() <= output.height(); ++y)
        for (int x = 0; x + client.width() <= output.width(); ++x)
            // A coarse grid first passes over most places at little cost.
            if (showsAt(output, client, {x, y}, 100) && showsAt(output, client, {x, y}, 4))
                return QPoint(x, y);
    return std::nullopt;
}

// Moves the X pointer over the output and clicks button there (4 is the
// wheel turned away from the user).
void clickOutput(QPoint at, int button = 1)
{
    QProcess xdotool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), qEnvironmentVariable("OUTPUT_DISPLAY"));
    xdotool.setProcessEnvironment(environment);
    xdotool.start(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QString::number(at.x()),
                                              QString::number(at.y()), QStringLiteral("click"), QString::number(button)});
    if (!xdotool.waitForFinished() || xdotool.exitCode() != 0)
        qFatal("xdotool failed: %s", xdotool.readAllStandardError().constData());
}

}

class WindowOnOutput : public QObject {
    Q_OBJECT

    // Where the client area of form, started, shows on the output.
    static QPoint clientOrigin(TForm1& form, QImage& output)
    {
        // The top of the control column, which the desktop's shell places
        // on the output even when the rest runs off its bottom; the 3D view
        // beside it has a surface of its own, which grabbing the widgets
        // does not see.
        const int column = form.Viewport3D1->geometry().right() + 1;
        const QImage client =
            form.grab(QRect(column, 0, form.width() - column, 120)).toImage().convertToFormat(QImage::Format_RGB32);
        std::optional<QPoint> origin;
        if (!QTest::qWaitFor([&] { return (output = screenshot(), origin = findClient(output, client)).has_value(); }, 10000))
            qFatal("the client area never showed on the output");
        return *origin - QPoint(column, 0);
    }

    // A window started on a red picture and a blue one.
    static std::unique_ptr<TForm1> startOnRedAndBlue(const QTemporaryDir& dir)
    {
        fixtures::writePicture(dir.filePath(QStringLiteral("a.png")).toStdString(), QSize(400, 300), Qt::red);
        fixtures::writePicture(dir.filePath(QStringLiteral("b.png")).toStdString(), QSize(400, 300), Qt::blue);
        return driver::startForm({dir.path().toStdString()});
    }

    // Where the centre of form's front picture shows on the output.
    static QPoint frontOnOutput(TForm1& form, QImage& output)
    {
        const QPoint front = clientOrigin(form, output) + form.Viewport3D1->pos() + driver::slotCentre(form, 0);
        if (!output.rect().contains(front))
            qFatal("the front picture lies off the output");
        return front;
    }

    // Whether an X pointer reaches the compositor's clients.
    static bool pointerReaches() { return !qEnvironmentVariableIsEmpty("OUTPUT_DISPLAY"); }

private slots:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != QLatin1String("wayland"))
            QSKIP("the window's title bar is the program's own only under Wayland");
    }

    void titleBarShowsAboveTheClientArea()
    {
        const QImage desktop = screenshot();
        auto form = driver::startForm({});
        QImage output;
        const QPoint origin = clientOrigin(*form, output);

        // A band of rows above the client area, as wide as it, no longer
        // shows the desktop: the title bar covers it.
        const QRect band(origin.x(), origin.y() - 24, form->width(), 20);
        QVERIFY(band.top() >= 0);
        int covered = 0;
        for (int y = band.top(); y <= band.bottom(); ++y)
            for (int x = band.left(); x <= band.right(); ++x)
                covered += !samePixel(output.pixel(x, y), desktop.pixel(x, y));
        QVERIFY2(covered >= band.width() * band.height() * 95 / 100,
                 qPrintable(QStringLiteral("%1 of %2 pixels above the client area differ from the desktop")
                                .arg(covered)
                                .arg(band.width() * band.height())));
    }

    // A red and a blue picture: the front plane's centre shows red on the
    // output, and blue after a Next step, so the view's frames reach the
    // screen where the view lies in the window.
    void viewShowsItsFramesInTheWindow()
    {
        QTemporaryDir dir;
        auto form = startOnRedAndBlue(dir);
        QImage output;
        const QPoint front = frontOnOutput(*form, output);
        auto frontShows = [&](QColor colour) { return samePixel(screenshot().pixel(front), colour.rgb()); };
        QTRY_VERIFY_WITH_TIMEOUT(frontShows(Qt::red), 10000);
        QTest::mouseClick(form->B_After, Qt::LeftButton);
        driver::waitForStepEnd(*form);
        QTRY_VERIFY_WITH_TIMEOUT(frontShows(Qt::blue), 10000);
    }

    // The view's surface takes no input: the wheel over the front picture
    // reaches the view beneath it and zooms that picture.
    void wheelOverTheViewZoomsThePicture()
    {
        if (!pointerReaches())
            QSKIP("no pointer reaches this compositor's clients");
        QTemporaryDir dir;
        auto form = startOnRedAndBlue(dir);
        QImage output;
        clickOutput(frontOnOutput(*form, output), 4);
        QTRY_COMPARE_WITH_TIMEOUT(driver::zoomed(*form), QList<int>{0}, 10000);
    }

    void closeButtonClosesTheWindow()
    {
        if (!pointerReaches())
            QSKIP("no pointer reaches this compositor's clients");
        auto form = driver::startForm({});
        QImage output;
        const QPoint origin = clientOrigin(*form, output);
        // The close button is the title bar's last, at its right end.
        clickOutput(QPoint(origin.x() + form->width() - 13, origin.y() - 16));
        QTRY_VERIFY_WITH_TIMEOUT(!form->isVisible(), 10000);
    }
};

VIEWER_TEST_MAIN(WindowOnOutput)
#include "test_window_on_output.moc"
