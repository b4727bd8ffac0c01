// Windows' split of a command line, and the exact way between the UTF-16 of
// Windows names and the UTF-8 the list keeps.
#include "platform/command_line.h"
#include "platform/native_text.h"
#include <QtTest>

Q_DECLARE_METATYPE(std::vector<std::u16string>)

class CommandLine : public QObject {
    Q_OBJECT

private slots:
    void split_data()
    {
        using Args = std::vector<std::u16string>;
        QTest::addColumn<QString>("line");
        QTest::addColumn<Args>("arguments");
        QTest::newRow("plain") << "viewer a.jpg b" << Args{u"viewer", u"a.jpg", u"b"};
        QTest::newRow("runs of spaces, tabs and controls")
            << "  viewer \t a\x01\x1f"
               "b\r\n c  "
            << Args{u"viewer", u"a", u"b", u"c"};
        QTest::newRow("quotes group and go") << "\"C:\\Program Files\\v.exe\" \"C:\\My Pictures\"\\x"
                                             << Args{u"C:\\Program Files\\v.exe", u"C:\\My Pictures\\x"};
        QTest::newRow("quotes inside an argument") << "v a\"b c\"d" << Args{u"v", u"ab cd"};
        QTest::newRow("empty quoted argument vanishes") << "v \"\" a \"\"" << Args{u"v", u"a"};
        QTest::newRow("backslash is ordinary") << "v C:\\ \"C:\\\" x\\\"y\"" << Args{u"v", u"C:\\", u"C:\\", u"x\\y"};
        QTest::newRow("unclosed quote runs to the end") << "v \"a b" << Args{u"v", u"a b"};
        QTest::newRow("non-ASCII kept") << "v 写真\\ｂ.JPG" << Args{u"v", u"写真\\ｂ.JPG"};
        QTest::newRow("nothing") << "" << Args{};
    }
    void split()
    {
        QFETCH(QString, line);
        QFETCH(std::vector<std::u16string>, arguments);
        QCOMPARE(platform::splitCommandLine(line.toStdU16String()), arguments);
    }

    void textTravelsBothWaysExactly_data()
    {
        QTest::addColumn<QString>("wide");
        QTest::addColumn<QByteArray>("native");
        QTest::newRow("ASCII") << QString("C:\\a.jpg") << QByteArray("C:\\a.jpg");
        QTest::newRow("Japanese") << QString("写真.png") << QByteArray("\xe5\x86\x99\xe7\x9c\x9f.png");
        QTest::newRow("beyond the BMP") << QString::fromUtf16(u"\U0001F600") << QByteArray("\xf0\x9f\x98\x80");
        QTest::newRow("lone high surrogate") << QString::fromUtf16(u"a\xD800" "b") << QByteArray("a\xed\xa0\x80" "b");
        QTest::newRow("lone low surrogate at the end") << QString::fromUtf16(u"a\xDC01") << QByteArray("a\xed\xb0\x81");
    }
    void textTravelsBothWaysExactly()
    {
        QFETCH(QString, wide);
        QFETCH(QByteArray, native);
        const std::string made = platform::nativeText(wide.toStdU16String());
        QCOMPARE(QByteArray::fromStdString(made), native);
        QCOMPARE(QString::fromStdU16String(platform::utf16Text(made)), wide);
    }
};

QTEST_GUILESS_MAIN(CommandLine)
#include "test_toolkit_command_line.moc"
