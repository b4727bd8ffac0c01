// The name order against orders recorded on the desktop it imitates
// (tests/data/compare-*.txt, first block, and the generated names of
// tests/data/windows-order-*.txt), Windows' own keys, key consistency and
// invalid UTF-8.
#include "order/locale_compare.h"
#include "support/oracle_file.h"
#include "support/windows_order.h"
#include <QtTest>
#include <fstream>
#include <set>

using order::LocaleCompare;

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
        QTest::newRow("C is default") << "C" << "compare-en-US.txt";
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

    void keysAreWindowsKeys_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("windowsKey");
        // LCMapStringEx(LCMAP_SORTKEY | NORM_IGNORECASE) under Wine: the
        // rules that combine weights (tie-breaking hyphen, combining mark,
        // ligature, repeat marks, kana weights, jamo, surrogates).
        const struct {
            const char *locale, *name, *key;
        } cases[] = {
            {"en_US.UTF-8", "a-B", "0e020e0901010101fffe821200"},
            {"en_US.UTF-8", "e\xcc\x81", "0e21010e01010100"},
            {"en_US.UTF-8", "\xc7\x86", "0e1a0ea901021401010100"},
            {"en_US.UTF-8", "-\xe3\x83\xbc", "068201010101ffff821200"},
            {"en_US.UTF-8", "\xe4\xb8\x80\xe3\x83\xbc", "fdff3c6a053c01026a01010100"},
            {"ja_JP.UTF-8", "\xe4\xb8\x80", "c4560101010100"},
            {"en_US.UTF-8", "\xe3\x81\x8b\xe3\x83\xbc", "220a2202010101ff030502ffff0100"},
            {"en_US.UTF-8", "\xe3\x82\xa1\xe3\x83\xbc", "22022202010101c4c4ff030502c4c4ffff0100"},
            {"en_US.UTF-8", "\xef\xbd\xb6\xef\xbe\x9e", "220a01050101ff02c4ffc4ff0100"},
            {"en_US.UTF-8", "\xe3\x81\x8c\xe3\x82\x9d", "220a220a01030101ff030402ffff0100"},
            {"en_US.UTF-8", "\xe3\x81\x8b\xe2\x80\x95", "220a010101ff02ffff01fffe921200"},
            {"ja_JP.UTF-8", "\xe3\x81\x8b\xe2\x80\x95", "220a2202010101ff030502ffff0100"},
            {"en_US.UTF-8", "\xe1\x84\x80\xe1\x85\xa1\xe1\x86\xa8", "c002ff83ff03ff02ec97ffffff03ff030101010100"},
            {"en_US.UTF-8", "\xf0\x9f\x98\x80", "b03fb6fc013f3f012727010100"},
        };
        for (const auto& c : cases)
            QTest::newRow((std::string(c.locale).substr(0, 5) + ' ' + c.key).c_str())
                << c.locale << QByteArray(c.name) << QByteArray::fromHex(c.key);
    }

    // A valid name's key is, byte for byte, the one Windows builds.
    void keysAreWindowsKeys()
    {
        QFETCH(QString, locale);
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, windowsKey);
        const LocaleCompare order(locale.toUtf8().constData());
        QCOMPARE(QByteArray::fromStdString(order.sortKey(name.toStdString())).toHex(), windowsKey.toHex());
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
