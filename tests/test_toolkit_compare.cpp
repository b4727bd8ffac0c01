// The name order against orders recorded on the desktop it imitates
// (tests/data/compare-*.txt, first block), plus key consistency and invalid
// UTF-8.
#include "support/oracle_file.h"
#include "toolkit/locale_compare.h"
#include <QtTest>
#include <random>

using toolkit::LocaleCompare;

namespace {

oracle::Orders readOracle(const QString& fileName)
{
    return oracle::read(QDir(qEnvironmentVariable("TEST_DATA_DIR")).filePath(fileName).toStdString());
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

    void asciiShortCutMatchesIcu_data()
    {
        QTest::addColumn<QString>("locale");
        for (const char* locale : {"C", "en_US.UTF-8", "ja_JP.UTF-8", "cs_CZ", "hu_HU", "da_DK",
                                   "et_EE", "lt_LT", "sk_SK", "cy_GB", "sv_SE", "tr_TR"})
            QTest::newRow(locale) << locale;
    }

    // Printable ASCII names take a short cut past ICU. A control character,
    // which the collation ignores, sends the same name down the full path,
    // which then only appends the folded code points: the rest of the key
    // must be byte for byte the same.
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
        for (const std::string& name : names) {
            std::string folded = name;
            for (char& c : folded)
                c = std::tolower(static_cast<unsigned char>(c));
            if (order.sortKey(name + '\x01') != order.sortKey(name) + folded + '\x01')
                wrong << QString::fromStdString(name);
        }
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

    void onlyCaseDifferencesAreEqual_data()
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
            {"ignorable control", "a\x01" "b", "ab", false},
            {"composed vs decomposed", "\xc3\xa9", "e\xcc\x81", false},
            {"hyphen count", "a--b", "a-b", false},
        };
        for (const auto& c : cases)
            QTest::newRow(c.row) << QByteArray(c.a) << QByteArray(c.b) << c.equal;
    }

    void onlyCaseDifferencesAreEqual()
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
