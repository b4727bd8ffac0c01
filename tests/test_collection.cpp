// The picture-file, file and folder tests, the sorted picture list, and the
// folder scan over fixture trees.
#include "collection/file_tests.h"
#include "collection/folder_scan.h"
#include "collection/picture_list.h"
#include "support/deep_tree.h"
#include "support/fixtures.h"
#include "support/permissions.h"
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <fcntl.h>
#include <optional>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArrayList contents(const PictureList& list)
{
    QByteArrayList paths;
    for (int i = 0; i < list.count(); ++i)
        paths << QByteArray::fromStdString(list.at(i));
    return paths;
}

QByteArrayList bytes(const PathStore& paths)
{
    QByteArrayList result;
    for (size_t i = 0; i < paths.size(); ++i)
        result << QByteArray::fromStdString(paths.path(i));
    return result;
}

// Scan results sorted bytewise, since listing order is the file system's.
QByteArrayList sorted(const QByteArrayList& paths)
{
    QByteArrayList result = paths;
    std::sort(result.begin(), result.end());
    return result;
}

void writePicture(const std::string& path)
{
    fixtures::writePicture(path, QSize(2, 2), Qt::red);
}

void makeLink(const std::string& target, const std::string& path)
{
    QVERIFY(symlink(target.c_str(), path.c_str()) == 0);
}


}

struct ScanScenario {
    const char* name;
    void (*make)(const std::string& r);
    std::vector<std::string> finds;
    bool modesEnforced = false; // as for a user other than root
};

const ScanScenario scanScenarios[] = {
    {"pictures only, hidden entries left out",
     [](const std::string& r) {
         for (const char* name : {"x.JPG", "y.Png", "x.jpeg", "x.", "\xff\xfe.jpg", "z.\xef\xbc\xaa\xef\xbc\xb0\xef\xbc\xa7",
                                  ".hidden.png", ".hidden/in.png", "holiday.jpg/in.png", "sub/deep/z.bmp"})
             writePicture(r + "/" + name);
         fixtures::writeText(r + "/notes.txt", "not a picture");
         makeLink(r + "/sub", r + "/link");
     },
     {"/x.JPG", "/y.Png", "/\xff\xfe.jpg", "/holiday.jpg/in.png", "/sub/deep/z.bmp", "/link/deep/z.bmp"}},
    {"empty folder", [](const std::string&) {}, {}},
    {"missing folder", [](const std::string& r) { QVERIFY(rmdir(r.c_str()) == 0); }, {}},
    {"link loops end, other links are followed",
     [](const std::string& r) {
         writePicture(r + "/a.png");
         writePicture(r + "/inner/b.png");
         writePicture(r + "/../other/c.png");
         makeLink(r, r + "/inner/up");
         makeLink("../inner", r + "/inner/self");
         makeLink("../other", r + "/elsewhere");
         makeLink("loop2", r + "/loop1");
         makeLink("loop1", r + "/loop2");
     },
     {"/a.png", "/inner/b.png", "/elsewhere/c.png"}},
    // Paths stop at PATH_MAX, so the pictures deeper than that can't be
    // opened; the scan must still come back, with what it can reach.
    {"very deep tree",
     [](const std::string& r) {
         QVERIFY(fixtures::writeDeepTree(r, 10000, {{1000, "not decoded"}, {10000, "unreachable"}}));
     },
     {fixtures::deepFolder("", 1000) + "/a.png"}},
    // An unreadable picture is listed (opening it reports the error), a
    // link to one is not, nor what an unreadable folder holds.
    {"unreadable folder and links",
     [](const std::string& r) {
         writePicture(r + "/a.png");
         writePicture(r + "/locked/b.png");
         writePicture(r + "/c.png");
         makeLink(r + "/c.png", r + "/link-to-c.png");
         makeLink(r + "/a.png", r + "/link-to-a.png");
         chmod((r + "/c.png").c_str(), 0);
         chmod((r + "/locked").c_str(), 0);
     },
     {"/a.png", "/c.png", "/link-to-a.png"}, true},
};

class TestCollection : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    std::string root() const { return dir.path().toStdString(); }
    // The default order, whatever the locale the tests run in.
    const order::LocaleCompare nameOrder{"C"};

private slots:
    void init()
    {
        QVERIFY(dir.isValid());
        QDir().mkpath(dir.path());
    }
    // rm, since QDir can't remove the very deep tree.
    void cleanup() { QProcess::execute("rm", {"-rf", dir.path()}); }

    void pictureFileName_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<bool>("picture");
        const std::pair<const char*, bool> cases[] = {
            {"x.JPG", true}, {"y.Png", true}, {"z.bmp", true}, {".jpg", true},
            {"a\\b.jpg", true}, {"c:x.png", true}, {"/p/q.r/s.jpg", true},
            {"x.jpeg", false}, {"x.gif", false}, {"x.tif", false}, {"x", false},
            {"x.", false}, {"a.jpg/b", false}, {"x.jpg ", false}, {"xjpg", false},
            {"x.\xef\xbc\xaa\xef\xbc\xb0\xef\xbc\xa7", false}, // full-width .ＪＰＧ
        };
        for (const auto& [name, picture] : cases)
            QTest::newRow(name) << QByteArray(name) << picture;
    }

    void pictureFileName()
    {
        QFETCH(QByteArray, name);
        QFETCH(bool, picture);
        QCOMPARE(isPictureFileName(name.toStdString()), picture);
    }

    void fileAndFolderTests()
    {
        writePicture(root() + "/f.png");
        fixtures::makeFolder(root() + "/d");
        fixtures::makeFolder(root() + "/locked/inner");
        makeLink(root() + "/d", root() + "/link-to-d");
        makeLink(root() + "/f.png", root() + "/link-to-f");
        makeLink(root() + "/gone", root() + "/dangling");
        writePicture(root() + "/unreadable.png");
        makeLink(root() + "/unreadable.png", root() + "/link-to-unreadable");
        chmod((root() + "/unreadable.png").c_str(), 0);
        chmod((root() + "/locked").c_str(), 0);
        const ModesEnforced modes;
        const struct {
            const char* path;
            bool file, folder;
        } cases[] = {
            {"/f.png", true, false},     {"/d", false, true},
            {"/link-to-d", false, true}, {"/link-to-f", true, false},
            {"/dangling", false, false}, {"/missing", false, false},
            {"/f.png/x", false, false},  {"/locked/inner", false, true},
            {"/unreadable.png", true, false}, {"/link-to-unreadable", false, false},
        };
        for (const auto& c : cases) {
            QVERIFY2(isFile(root() + c.path) == c.file, c.path);
            QVERIFY2(isFolder(root() + c.path) == c.folder, c.path);
        }
        chmod((root() + "/locked").c_str(), 0755);
    }

    void listKeepsSortedOrder()
    {
        PictureList list(nameOrder);
        for (const char* path : {"b.jpg", "A.jpg", "c.jpg"})
            QVERIFY(list.add(path));
        QCOMPARE(contents(list), QByteArrayList({"A.jpg", "b.jpg", "c.jpg"}));
    }

    void listKeepsFirstSpelling()
    {
        PictureList list(nameOrder);
        QVERIFY(list.add("/p/a.jpg"));
        QVERIFY(!list.add("/P/A.JPG"));
        list.addBatch({"/P/a.JPG", "/q.jpg"});
        QCOMPARE(contents(list), QByteArrayList({"/p/a.jpg", "/q.jpg"}));
    }

    // Names drawn from few letters, so that case variants, hyphenated
    // variants and repeats are common; part of them are in the list already.
    // As paths, they come folder by folder below long folders alike in all
    // but their last bytes, as a scan gives them; some names begin with a
    // combining mark or a repeat mark, which weigh by what stands before.
    // A batch far larger than the list sorts at a time, of names so short
    // that each recurs many times, sorts in parts: equal paths must still
    // meet and the first spelling win.
    void batchEqualsOneByOne_data()
    {
        QTest::addColumn<bool>("inFolders");
        QTest::addColumn<int>("batchSize");
        QTest::addColumn<int>("longestName");
        QTest::newRow("names") << false << 20000 << 5;
        QTest::newRow("paths, folder by folder") << true << 20000 << 5;
        QTest::newRow("many short paths") << true << 300000 << 2;
    }
    void batchEqualsOneByOne()
    {
        QFETCH(bool, inFolders);
        QFETCH(int, batchSize);
        QFETCH(int, longestName);
        std::mt19937 random(7);
        auto name = [&] {
            const std::string letters = "aAbB-'.c/\xc3\xa9\xff";
            std::string s;
            for (int n = 1 + int(random() % longestName); n > 0; --n)
                s += letters[random() % letters.size()];
            return s;
        };
        const std::vector<std::string> folders = {
            "/home/someone/Pictures/Holidays 2019/", "/home/someone/Pictures/Holidays 2019/\xcc\x81",
            "/home/someone/Pictures/Holidays 2019 -/", "/home/someone/Pictures/Holidays 2019/\xe3\x80\x85",
            "/home/someone/Pictures/Holidays 2019/\xff\xfe/", "/home/someone/Pictures/Holidays 2019/\xe3\x82\xab/"};
        std::string folder;
        auto path = [&] {
            if (!inFolders)
                return name();
            if (random() % 8 == 0)
                folder = folders[random() % folders.size()];
            return folder + name();
        };
        PictureList oneByOne(nameOrder), batched(nameOrder);
        for (int i = 0; i < 300; ++i) {
            const std::string s = path();
            oneByOne.add(s);
            batched.add(s);
        }
        // Large enough that the batch builds its keys and sorts on several threads.
        std::vector<std::string> batch;
        for (int i = 0; i < batchSize; ++i)
            batch.push_back(path());
        for (const auto& s : batch)
            oneByOne.add(s);
        batched.addBatch(batch);
        QVERIFY(oneByOne.count() > 300);
        QCOMPARE(contents(batched), contents(oneByOne));
    }

    // Each scenario makes a tree below r and names what the scan of r finds,
    // relative to r.
    void scan_data()
    {
        QTest::addColumn<int>("scenario");
        for (int i = 0; i < int(std::size(scanScenarios)); ++i)
            QTest::newRow(scanScenarios[i].name) << i;
    }
    void scan()
    {
        QFETCH(int, scenario);
        const ScanScenario& tree = scanScenarios[scenario];
        const std::string r = root() + "/r";
        fixtures::makeFolder(r);
        tree.make(r);
        QByteArrayList finds;
        {
            const std::optional<ModesEnforced> modes = tree.modesEnforced ? std::make_optional<ModesEnforced>() : std::nullopt;
            finds = bytes(scanFolder(r));
            QCOMPARE(bytes(scanFolder(r + "/")), finds);
        }
        if (tree.modesEnforced) // so that the folder can be removed
            QProcess::execute("chmod", {"-R", "u+rwx", QString::fromStdString(r)});
        QByteArrayList expected;
        for (const std::string& found : tree.finds)
            expected << QByteArray::fromStdString(r + found);
        QCOMPARE(sorted(finds), sorted(expected));
    }
};

QTEST_GUILESS_MAIN(TestCollection)
#include "test_collection.moc"
