// The name order against orders recorded on the desktop it imitates
// (tests/data/compare-*.txt, first block, and the generated names of
// tests/data/windows-order-*.txt), plus key consistency and invalid UTF-8.
#include "support/oracle_file.h"
#include "support/windows_order.h"
#include "toolkit/locale_compare.h"
#include <QtTest>
#include <fstream>
#include <random>
#include <set>

using toolkit::LocaleCompare;

namespace {

std::string dataFile(const QString& fileName)
{
    return QDir(qEnvironmentVariable("TEST_DATA_DIR")).filePath(fileName).toStdString();
}

oracle::Orders readOracle(const QString& fileName)
{
    return oracle::read(dataFile(fileName));
}

// The differences from Windows' order that remain, each with its reason
// (windows-order-differences.txt): "reason, tag, text" lines, then
// "locale, a, b, relations, tag" lines.
struct KnownDifferences {
    std::set<std::pair<std::string, std::string>> pairs;
    std::vector<std::string> withoutReason;
};

KnownDifferences knownDifferences(const std::string& locale)
{
    KnownDifferences known;
    std::set<std::string> reasons;
    std::ifstream in(dataFile("windows-order-differences.txt"));
    for (std::string line; std::getline(in, line);) {
        const auto f = oracle::splitTabs(line);
        if (f.size() == 3 && f[0] == "reason" && !f[2].empty())
            reasons.insert(f[1]);
        else if (f.size() == 5 && f[0] == locale && reasons.contains(f[4]))
            known.pairs.emplace(std::min(f[1], f[2]), std::max(f[1], f[2]));
        else if (f.size() == 5 && f[0] == locale)
            known.withoutReason.push_back(line);
    }
    return known;
}

int sign(int v) { return (v > 0) - (v < 0); }

const char* const relation[] = {"<", "=", ">"};

}

class TestCompare : public QObject {
    Q_OBJECT

private slots:
    void matchesOracle_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("file");
        QTest::newRow("en-US") << "en_US.UTF-8" << "compare-en-US.txt";
        QTest::newRow("ja-JP") << "ja_JP.UTF-8" << "compare-ja-JP.txt";
        QTest::newRow("C is root") << "C" << "compare-en-US.txt";
    }

    // Every pair of the recorded names, and the punctuation order; any pair
    // that differs is listed.
    void matchesOracle()
    {
        QFETCH(QString, locale);
        QFETCH(QString, file);
        const oracle::Orders oracle = readOracle(file);
        QCOMPARE(oracle.ranked.size(), size_t(42));
        QVERIFY(!oracle.punctuation.empty());
        const LocaleCompare order(locale.toUtf8().constData());
        QStringList wrong;
        auto expect = [&](const std::string& a, const std::string& b, int expected) {
            const int got = sign(order.compare(a, b));
            if (got != expected)
                wrong << QString::fromStdString(a + " " + relation[expected + 1] + " " + b
                                                + " but got " + relation[got + 1]);
        };
        for (const auto& [rankA, a] : oracle.ranked)
            for (const auto& [rankB, b] : oracle.ranked)
                expect(a, b, sign(rankA - rankB));
        for (const auto& [a, b] : oracle.equal)
            expect(a, b, 0);
        const std::string& p = oracle.punctuation;
        for (size_t i = 0; i + 1 < p.size(); ++i)
            expect(p.substr(i, 1), p.substr(i + 1, 1), -1);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join('\n')));
    }

    void matchesWindowsOrder_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::newRow("en-US") << "en_US.UTF-8";
        QTest::newRow("ja-JP") << "ja_JP.UTF-8";
    }

    // Several thousand generated names as Windows orders them: every
    // adjacent pair and a sample of others must compare as there, except
    // the differences listed with their reasons; a listed difference that
    // is gone must leave the list too.
    void matchesWindowsOrder()
    {
        QFETCH(QString, locale);
        const std::string tag = QTest::currentDataTag();
        const windows_order::Order windows =
            windows_order::read(dataFile(QString::fromStdString("windows-order-" + tag + ".txt")));
        QCOMPARE(windows.locale, tag);
        QVERIFY(windows.names.size() > 4000);
        QVERIFY(windows.pairs.size() >= 20000);
        const KnownDifferences known = knownDifferences(tag);
        const LocaleCompare order(locale.toUtf8().constData());
        QStringList wrong;
        for (const std::string& line : known.withoutReason)
            wrong << QString::fromStdString("no known reason: " + line);
        std::set<std::pair<std::string, std::string>> found;
        size_t compared = 0;
        auto expect = [&](size_t i, size_t j, char expected) {
            const std::string &a = windows.names[i], &b = windows.names[j];
            const char got = "<=>"[sign(order.compare(a, b)) + 1];
            ++compared;
            if (got == expected)
                return;
            const auto pair = std::minmax(a, b);
            found.insert(pair);
            if (!known.pairs.contains(pair))
                wrong << QString::fromStdString(tag + '\t' + a + '\t' + b + "\twindows " + expected + ", ours " + got);
        };
        for (size_t i = 1; i < windows.names.size(); ++i)
            expect(i - 1, i, windows.above[i]);
        for (const auto& [i, j, expected] : windows.pairs)
            expect(i, j, expected);
        for (const auto& pair : known.pairs)
            if (!found.contains(pair))
                wrong << QString::fromStdString("no longer differs: " + pair.first + '\t' + pair.second);
        qInfo("%s: %zu names, %zu pairs compared, %zu pairs of names differ, all listed: %s", tag.c_str(),
              windows.names.size(), compared, found.size(), wrong.isEmpty() ? "yes" : "no");
        if (!wrong.isEmpty())
            std::ofstream("windows-order-unlisted-" + tag + ".txt") << wrong.join('\n').toStdString() << '\n';
        QVERIFY2(wrong.isEmpty(), qPrintable(QString::number(wrong.size()) + " unlisted (all in windows-order-unlisted-"
                                             + QString::fromStdString(tag) + ".txt), the first:\n"
                                             + wrong.mid(0, 30).join('\n')));
    }

    void asciiShortCutMatchesIcu_data()
    {
        QTest::addColumn<QString>("locale");
        for (const char* locale : {"C", "en_US.UTF-8", "ja_JP.UTF-8", "cs_CZ", "hu_HU", "da_DK",
                                   "et_EE", "lt_LT", "sk_SK", "cy_GB", "sv_SE", "tr_TR"})
            QTest::newRow(locale) << locale;
    }

    // Printable ASCII names take a short cut past ICU. A replacement
    // character, which weighs nothing, sends the same name down the full
    // path: the key must be byte for byte the same.
    void asciiShortCutMatchesIcu()
    {
        QFETCH(QString, locale);
        const LocaleCompare order(locale.toUtf8().constData());
        std::vector<std::string> names;
        for (const auto& [rank, name] : readOracle("compare-en-US.txt").ranked)
            if (std::all_of(name.begin(), name.end(), [](char c) { return c >= 0x20 && c < 0x7F; }))
                names.push_back(name);
        QVERIFY(names.size() > 30);
        std::mt19937 random(1);
        const std::string often = "acdhilnsyzACDHILSZ .-'/_09";
        for (int i = 0; i < 20000; ++i) {
            std::string name;
            for (int n = random() % (i % 50 ? 60 : 300); n > 0; --n)
                name += random() % 4 ? often[random() % often.size()] : char(0x20 + random() % 95);
            names.push_back(name);
        }
        QStringList wrong;
        for (const std::string& name : names)
            if (order.sortKey(name + "\xef\xbf\xbd") != order.sortKey(name))
                wrong << QString::fromStdString(name);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.mid(0, 20).join('\n')));
    }

    void keysAgreeWithCompare()
    {
        const LocaleCompare order("en_US.UTF-8");
        std::vector<std::string> names;
        for (const auto& entry : readOracle("compare-en-US.txt").ranked)
            names.push_back(entry.second);
        names.insert(names.end(), {"", "\xff.jpg", "\xfe.jpg", "a\xff", "A\xff", "a\x01" "b", "ab",
                                   "e\xcc\x81", "\xc3\xa9", "\xc3\x89", "a--b", "a-'b", "a'-b"});
        for (const auto& a : names)
            for (const auto& b : names) {
                const int byKey = sign(order.sortKey(a).compare(order.sortKey(b)));
                QCOMPARE(sign(order.compare(a, b)), byKey);
                QCOMPARE(sign(order.compare(b, a)), -byKey);
            }
    }

    // Equal as on Windows (case, canonical equivalence, ligatures, ignored
    // characters), and never for names that differ in invalid bytes.
    void equalNames_data()
    {
        QTest::addColumn<QByteArray>("a");
        QTest::addColumn<QByteArray>("b");
        QTest::addColumn<bool>("equal");
        const struct {
            const char *row, *a, *b;
            bool equal;
        } cases[] = {
            {"ascii case", "Photo.JPG", "photo.jpg", true},
            {"accented case", "\xc3\x89t\xc3\xa9", "\xc3\xa9T\xc3\x89", true},
            {"invalid bytes, case", "A\xff.jpg", "a\xff.JPG", true},
            {"two invalid bytes", "\xff.jpg", "\xfe.jpg", false},
            {"cut sequences", "\xe3\x81", "\xe3\x82", false},
            {"latin-1 vs utf-8", "\xe9.jpg", "\xc3\xa9.jpg", false},
            {"invalid vs replacement", "\xff", "\xef\xbf\xbd", false},
            {"encoded surrogates", "\xed\xa0\x80", "\xed\xa0\x81", false},
            {"control", "a\x01" "b", "ab", false},
            {"replacement character", "a\xef\xbf\xbd" "b", "ab", true},
            {"soft hyphen", "a\xc2\xad" "b", "ab", true},
            {"composed vs decomposed", "\xc3\xa9", "E\xcc\x81", true},
            {"ligature", "\xc3\x86on.jpg", "aeon.JPG", true},
            {"sharp s", "stra\xc3\x9f" "e", "STRASSE", true},
            {"hyphen count", "a--b", "a-b", false},
        };
        for (const auto& c : cases)
            QTest::newRow(c.row) << QByteArray(c.a) << QByteArray(c.b) << c.equal;
    }

    void equalNames()
    {
        QFETCH(QByteArray, a);
        QFETCH(QByteArray, b);
        QFETCH(bool, equal);
        const LocaleCompare order("C");
        QCOMPARE(order.compare(a.toStdString(), b.toStdString()) == 0, equal);
    }
};

QTEST_GUILESS_MAIN(TestCompare)
#include "test_toolkit_compare.moc"
