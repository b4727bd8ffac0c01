// What the viewer does the Windows way, on Windows: backslash paths, the
// hidden and system attributes, the name order of CompareStringW, the
// picture-name test's separators, the flick message and the real Quit box.
#include "app/flick.h"
#include "collection/file_tests.h"
#include "viewer_support/form_driver.h"
#include "widgets/push_button.h"
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <windows.h>

class WindowsPlatform : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    // The fixture folder as Windows spells it, in UTF-8.
    std::string root() const { return QDir::toNativeSeparators(dir.path()).toStdString(); }

    // Writes a small picture; the name may be any Unicode.
    void writePicture(const std::string& relative, QColor colour = Qt::red, DWORD attributes = 0)
    {
        const QString path = QString::fromStdString(root() + relative);
        QDir().mkpath(QFileInfo(path).path());
        QImage image(16, 12, QImage::Format_RGB32);
        image.fill(colour);
        QVERIFY(image.save(path, "PNG"));
        if (attributes)
            QVERIFY(SetFileAttributesW(reinterpret_cast<LPCWSTR>(path.utf16()), attributes));
    }

    static std::vector<std::string> listOf(TForm1& form)
    {
        std::vector<std::string> paths;
        for (int i = 0; i < form.stlf->count(); ++i)
            paths.push_back(form.stlf->at(i));
        return paths;
    }

private slots:
    // Each case starts from an empty folder.
    void init() { QVERIFY(dir.isValid() && QDir(dir.path()).removeRecursively() && QDir().mkpath(dir.path())); }

    void scanSkipsHiddenAndSystemEntriesAndJoinsWithBackslash()
    {
        writePicture("\\a.png");
        writePicture("\\.dot.png"); // a leading dot hides nothing on Windows
        writePicture("\\hidden.png", Qt::red, FILE_ATTRIBUTE_HIDDEN);
        writePicture("\\system.png", Qt::red, FILE_ATTRIBUTE_SYSTEM);
        writePicture("\\secret\\b.png");
        QVERIFY(SetFileAttributesW(QString::fromStdString(root() + "\\secret").toStdWString().c_str(),
            FILE_ATTRIBUTE_HIDDEN));
        writePicture("\\sub\\c.png");
        const std::vector<std::string> expected{root() + "\\.dot.png", root() + "\\a.png", root() + "\\sub\\c.png"};
        for (const std::string& argument : {root(), root() + "\\"}) {
            auto form = driver::startForm({argument});
            QCOMPARE(listOf(*form), expected);
        }
        // Named directly, a hidden picture is taken.
        auto form = driver::startForm({root() + "\\hidden.png"});
        QCOMPARE(form->stlf->count(), 1);
    }

    void listFollowsCompareStringW()
    {
        const std::vector<std::string> names{"b.jpg", "A.jpg", "c.jpg", "co-op.png", "coop.png", "Ｂ.png", "ä.png",
            "a10.png", "a9.png", "_x.png", "ｶ.png", "カ.png", "か.png"};
        for (const std::string& name : names)
            writePicture("\\" + name);
        auto form = driver::startForm({root()});
        QCOMPARE(form->stlf->count(), int(names.size()));
        for (int i = 1; i < form->stlf->count(); ++i) {
            const std::wstring before = QString::fromStdString(form->stlf->at(i - 1)).toStdWString();
            const std::wstring after = QString::fromStdString(form->stlf->at(i)).toStdWString();
            QCOMPARE(CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, before.c_str(), -1, after.c_str(), -1),
                CSTR_LESS_THAN);
        }
    }

    void equalSpellingsMakeOneEntry()
    {
        writePicture("\\p\\a.jpg");
        QString upper = QString::fromStdString(root()).toUpper();
        auto form = driver::startForm({root() + "\\p\\a.jpg", upper.toStdString() + "\\P\\A.JPG"});
        QCOMPARE(listOf(*form), std::vector<std::string>{root() + "\\p\\a.jpg"});
    }

    void pictureNameStopsAtDotBackslashAndColon_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("picture");
        QTest::newRow("upper case") << "x.JPG" << true;
        QTest::newRow("after a folder") << "C:\\photos\\y.Png" << true;
        QTest::newRow("extension of a folder") << "C:\\a.jpg\\b" << false;
        QTest::newRow("extension before a stream") << "a.jpg:b" << false;
        QTest::newRow("after a drive") << "c:x.bmp" << true;
        QTest::newRow("slash is ordinary") << "a.jpg/b" << false;
        QTest::newRow("slash before the name") << "a/b.jpg" << true;
    }
    void pictureNameStopsAtDotBackslashAndColon()
    {
        QFETCH(QString, name);
        QFETCH(bool, picture);
        QCOMPARE(isPictureFileName(name.toStdString()), picture);
    }

    // A flick message to the main window's procedure steps the ring: to
    // the left as Next.
    void flickMessageSteps()
    {
        for (int k = 0; k < 12; ++k)
            writePicture("\\e" + std::to_string(100 + k) + ".png", QColor::fromHsv(k * 30, 255, 255));
        auto form = driver::startForm({root()});
        const auto window = reinterpret_cast<HWND>(form->winId());
        constexpr int left = 4;
        QCOMPARE(SendMessageW(window, tabletFlickMessage, flickWParam(left), 0), LRESULT(1));
        driver::waitForStepEnd(*form);
        QCOMPARE(form->imgNumber, 1);
    }

    // The real Quit box is the system's: No keeps the program running.
    void quitAsksWithTheSystemsBox()
    {
        writePicture("\\a.png");
        auto form = driver::startForm({root()});
        bool quitAsked = false;
        connect(qApp, &QCoreApplication::aboutToQuit, this, [&] { quitAsked = true; });
        HWND box = nullptr;
        QTimer finder;
        connect(&finder, &QTimer::timeout, [&] {
            box = FindWindowW(L"#32770", nullptr);
            if (box)
                PostMessageW(box, WM_COMMAND, IDNO, 0);
        });
        finder.start(50);
        QTest::mouseClick(form->B_Quit, Qt::LeftButton);
        finder.stop();
        QVERIFY(box != nullptr);
        QVERIFY(!quitAsked);
        QVERIFY(form->isVisible());
    }
};

VIEWER_TEST_MAIN(WindowsPlatform)
#include "test_windows_platform.moc"
