// Files and folders that change under the viewer between the scan that
// listed them and the load that reads them, and names that are awkward to
// handle: the viewer keeps what it showed, shows what still decodes, reports
// only what it cannot open, and never crashes.
#include "hostile/midway.h"
#include "order/locale_compare.h"
#include "platform/error_report.h"
#include "support/deep_tree.h"
#include "support/fixtures.h"
#include "support/permissions.h"
#include "viewer_support/form_driver.h"
#include "widgets/push_button.h"
#include <QBuffer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Entry k of a folder has its own size, so a plane's picture size tells
// which entry it shows. Large enough that half of a JPEG file is in its
// pixel data, after the tables.
QSize entrySize(int k)
{
    return QSize(400 + k, 300);
}


}

class VanishingFiles : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    std::string root() const { return dir.path().toStdString(); }
    QStringList reports;

private slots:
    void init()
    {
        QDir().mkpath(dir.path());
        reports.clear();
        platform::Application::running().setBoxAnswerer([this](const platform::BoxRequest& box) {
            reports << box.text;
            return platform::BoxAnswer::Ok;
        });
    }
    // rm copes with what QDir cannot remove: names that are not UTF-8, and
    // trees deeper than a path can name.
    void cleanup()
    {
        platform::Application::running().setBoxAnswerer({});
        QCOMPARE(QProcess::execute("rm", {"-rf", dir.path()}), 0);
    }

    // Five pictures: the front plane shows entry 0, and the first Next loads
    // entry 0 again into slot 5, which showed entry 1. Entry 0 changes
    // while it is shown and before that load.
    void changedWhileShownAndBeforeItsLoad_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<QString>("outcome"); // keeps, shows, reports
        QTest::newRow("deleted") << "delete" << QByteArray("PNG") << "keeps";
        QTest::newRow("replaced by a folder") << "folder" << QByteArray("PNG") << "keeps";
        QTest::newRow("replaced by text") << "text" << QByteArray("PNG") << "keeps";
        QTest::newRow("PNG emptied") << "empty" << QByteArray("PNG") << "keeps";
        QTest::newRow("JPEG emptied") << "empty" << QByteArray("JPEG") << "keeps";
        QTest::newRow("PNG cut in half") << "half" << QByteArray("PNG") << "keeps";
        QTest::newRow("JPEG cut in half") << "half" << QByteArray("JPEG") << "shows";
        QTest::newRow("BMP cut in half") << "half" << QByteArray("BMP") << "keeps"; // its rows promise more than it holds
        QTest::newRow("made unreadable") << "unreadable" << QByteArray("PNG") << "reports";
    }
    void changedWhileShownAndBeforeItsLoad()
    {
        QFETCH(QString, change);
        QFETCH(QByteArray, format);
        QFETCH(QString, outcome);
        for (int k = 0; k < 5; ++k)
            fixtures::writePicture(root() + "/pics/p" + std::to_string(k) + ".jpg", entrySize(k), Qt::red, format);
        auto form = driver::startForm({root() + "/pics"});
        const std::string path = form->stlf->at(0);
        QCOMPARE(form->imgs[5]->pictureSize(), entrySize(1));

        if (change == "delete" || change == "folder")
            QVERIFY(std::filesystem::remove(path));
        if (change == "folder")
            fixtures::makeFolder(path);
        if (change == "text")
            fixtures::writeText(path, "no picture here");
        if (change == "empty" || change == "half")
            std::filesystem::resize_file(path, change == "empty" ? 0 : std::filesystem::file_size(path) / 2);
        if (change == "unreadable")
            QCOMPARE(chmod(path.c_str(), 0), 0);
        {
            ModesEnforced modes;
            QTest::mouseClick(form->B_After, Qt::LeftButton, Qt::ShiftModifier);
            driver::waitForStepEnd(*form);
        }

        QCOMPARE(form->imgs[0]->pictureSize(), entrySize(0)); // what was shown stays
        if (outcome == "reports") {
            QCOMPARE(reports, QStringList{"ファイル " + QString::fromStdString(path) + " は開けません。 Permission denied "});
            QCOMPARE(form->imgNumber, 0);
            QCOMPARE(form->imgFront, 0);
            QCOMPARE(form->imgs[5]->pictureSize(), entrySize(1));
            return;
        }
        QVERIFY2(reports.isEmpty(), qPrintable(reports.join('\n')));
        QCOMPARE(form->imgNumber, 1);
        QCOMPARE(form->imgs[5]->pictureSize(), outcome == "shows" ? entrySize(0) : entrySize(1));
    }

    // Start-up takes its arguments one by one and processes pending events
    // in between: the second folder changes after the first was scanned.
    void folderChangedBetweenArguments_data()
    {
        QTest::addColumn<QString>("change");
        QTest::newRow("removed") << "remove";
        QTest::newRow("made unreadable") << "unreadable";
        QTest::newRow("replaced by a file") << "file";
    }
    void folderChangedBetweenArguments()
    {
        QFETCH(QString, change);
        fixtures::writePicture(root() + "/a/1.png", entrySize(1), Qt::red);
        fixtures::writePicture(root() + "/a/2.png", entrySize(2), Qt::green);
        fixtures::writePicture(root() + "/b/3.png", entrySize(3), Qt::blue);
        fixtures::writePicture(root() + "/b/deeper/4.png", entrySize(4), Qt::blue);
        const std::string b = root() + "/b";
        const auto form = std::make_unique<TForm1>();
        hostile::Midway midway([&] { return hostile::collected(*form) == 2; }, [&] {
            if (change == "unreadable") {
                QCOMPARE(chmod(b.c_str(), 0), 0);
                return;
            }
            std::filesystem::remove_all(b);
            if (change == "file")
                fixtures::writeText(b, "a file now");
        });
        {
            ModesEnforced modes;
            driver::start(*form, {root() + "/a", b});
        }
        QVERIFY(midway.fired());
        QCOMPARE(form->stlf->count(), 2);
        QCOMPARE(form->stlf->at(0), root() + "/a/1.png");
        QCOMPARE(form->stlf->at(1), root() + "/a/2.png");
        QCOMPARE(form->imgs[0]->pictureSize(), entrySize(1));
        QVERIFY(reports.isEmpty());
    }

    // 5000 folders deep: the walk goes as deep as paths can name and ends
    // there, without exhausting the stack. Below about 2000 levels a path
    // exceeds the system's limit and nothing can open what lies there.
    void veryDeepTreeIsWalkedAsFarAsPathsReach()
    {
        const std::string deep = root() + "/deep";
        fixtures::makeFolder(deep);
        auto picture = [](int k) { return fixtures::encodedPicture(entrySize(k), Qt::darkCyan); };
        QVERIFY(fixtures::writeDeepTree(deep, 5000, {{1, picture(1)}, {1000, picture(2)}, {5000, picture(3)}}));
        const std::string level1000 = fixtures::deepFolder(deep, 1000);

        auto form = driver::startForm({deep});
        QCOMPARE(form->stlf->count(), 2);
        QCOMPARE(form->stlf->at(0), deep + "/d/a.png");
        QCOMPARE(form->stlf->at(1), level1000 + "/a.png");
        QCOMPARE(form->imgs[0]->pictureSize(), entrySize(1));
        QCOMPARE(form->imgs[1]->pictureSize(), entrySize(2));
    }

    // Names are bytes: they need not be UTF-8 and may hold any character
    // but '/'. Each must be found, sorted and loaded, from a scan and as an
    // argument.
    void awkwardNamesAreFoundSortedAndLoaded()
    {
        const std::vector<std::string> names = {
            "caf\xe9.png",       "\xff\xfe\x80.png", "with  spaces .png", "new\nline.png", "star*.png",
            "what?.png",         "-dash.png",        std::string(251, 'n') + ".png",  "back\\slash:colon.png",
        };
        std::map<std::string, QSize> sizes;
        std::vector<std::string> arguments;
        for (size_t k = 0; k < names.size(); ++k) {
            const std::string path = root() + "/names/" + names[k];
            fixtures::writePicture(path, entrySize(int(k)), Qt::yellow);
            sizes[path] = entrySize(int(k));
            arguments.push_back(path);
        }
        const order::LocaleCompare nameOrder(order::userLocaleName());
        for (const auto& given : {std::vector<std::string>{root() + "/names"}, arguments}) {
            auto form = driver::startForm(given);
            const int n = form->stlf->count();
            QCOMPARE(n, int(names.size()));
            std::set<std::string> listed;
            for (int i = 0; i < n; ++i) {
                listed.insert(form->stlf->at(i));
                if (i > 0)
                    QVERIFY(nameOrder.compare(form->stlf->at(i - 1), form->stlf->at(i)) < 0);
            }
            QCOMPARE(listed.size(), sizes.size());
            // Nine entries: entry 0 in front, 1 to 4 after it, and the four
            // before it, wrapping to the list's end, 5 to 8 behind.
            const int shown[9] = {0, 1, 2, 3, 4, 5, 6, 7, 8};
            for (int slot = 0; slot < 9; ++slot) {
                const std::string& path = form->stlf->at(shown[slot]);
                QVERIFY2(sizes.count(path), path.c_str());
                QCOMPARE(form->imgs[slot]->pictureSize(), sizes[path]);
            }
            QVERIFY(reports.isEmpty());
        }
    }
};

VIEWER_TEST_MAIN(VanishingFiles)
#include "test_vanishing_files.moc"
