// The search-progress window under a real window manager, which maps a new
// window only after some turns of the event loop: once shown, it has painted
// its background and busy indicator on the screen before the caller goes on
// to block in a long scan.
#include "app/form2.h"
#include "platform/show_painted.h"
#include "viewer_support/form_driver.h"
#include <QProcess>
#include <QtTest>
#include <cstdlib>
#include <memory>
#include <xcb/xcb.h>

namespace {

using Reply = std::unique_ptr<void, decltype(&std::free)>;

// A connection of the test's own, so that nothing of Qt's event handling
// runs while it reads the screen.
class Screen {
public:
    Screen() : connection_(xcb_connect(nullptr, nullptr)) {}
    ~Screen() { xcb_disconnect(connection_); }
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    xcb_window_t root() const { return xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root; }

    // What the screen shows of window's client area now, as the X server has it.
    QImage clientArea(xcb_window_t window, QSize size) const
    {
        const Reply origin(xcb_translate_coordinates_reply(connection_,
                               xcb_translate_coordinates(connection_, window, root(), 0, 0), nullptr),
                           &std::free);
        if (!origin)
            return {};
        const auto* at = static_cast<xcb_translate_coordinates_reply_t*>(origin.get());
        const Reply image(xcb_get_image_reply(connection_,
                              xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, root(), at->dst_x, at->dst_y,
                                  uint16_t(size.width()), uint16_t(size.height()), ~0u),
                              nullptr),
                          &std::free);
        if (!image)
            return {};
        auto* reply = static_cast<xcb_get_image_reply_t*>(image.get());
        const QImage pixels(xcb_get_image_data(reply), size.width(), size.height(), QImage::Format_RGB32);
        return pixels.copy();
    }

private:
    xcb_connection_t* connection_;
};

}

class ProgressWindowTest : public QObject {
    Q_OBJECT
    QProcess windowManager;
    QTemporaryDir dir;

private slots:
    // openbox runs its startup command once it manages the screen; before
    // that (its first start can take seconds) new windows would wait for it.
    void initTestCase()
    {
        const QString ready = dir.filePath("ready");
        windowManager.start("openbox", {"--sm-disable", "--startup", "touch " + ready});
        QVERIFY2(windowManager.waitForStarted(), "openbox is needed: the window manager is what this test is about");
        QVERIFY(QTest::qWaitFor([&] { return QFile::exists(ready); }, 60000));
    }
    void cleanupTestCase()
    {
        windowManager.terminate();
        windowManager.waitForFinished();
    }

    void paintedBeforeTheCallerBlocks()
    {
        TForm2 progress;
        platform::showPainted(progress);
        // Nothing more is handled from here on, as in a scan.
        const QImage shown = Screen().clientArea(xcb_window_t(progress.winId()), QSize(219, 121));
        QVERIFY(!shown.isNull());
        shown.save(QTest::currentAppName() + QString("-shown.png"));
        QCOMPARE(shown.pixel(5, 5), 0xFFF1F1F1u);
        QCOMPARE(shown.pixel(214, 116), 0xFFF1F1F1u);
        int grey = 0, dark = 0;
        for (int y = 24; y < 74; ++y)
            for (int x = 80; x < 130; ++x) {
                const int level = qGray(shown.pixel(x, y));
                grey += level > 150 && level < 220;
                dark += level < 60;
            }
        QVERIFY2(grey > 20 && dark > 10, qPrintable(QString("indicator: %1 grey, %2 dark").arg(grey).arg(dark)));
    }
};

VIEWER_TEST_MAIN(ProgressWindowTest)
#include "test_progress_window.moc"
