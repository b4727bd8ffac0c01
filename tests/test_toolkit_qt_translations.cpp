// Qt's own texts in the user's language: the buttons of the real Yes/No box
// under several locale settings. Qt reads the locale once per process, so
// each setting runs this program again in a process of its own, which shows
// the box and prints what its buttons read.
#include "platform/error_report.h"
#include "platform/modal_box.h"
#include "platform/qt_translations.h"
#include "support/real_box.h"
#include <QProcess>
#include <QPushButton>
#include <QtTest>
#include <cstdio>

static const char* showBoxOption = "--show-box";

// Installs the translations, shows the real box and prints "loaded|yes|no".
static int showBoxAndPrintButtons(int argc, char** argv)
{
    platform::Application app(argc, argv);
    const bool loaded = platform::installQtTranslations(app);
    QString buttons;
    RealBoxAnswer answer([&](QMessageBox& box) {
        buttons = box.button(QMessageBox::Yes)->text() + "|" + box.button(QMessageBox::No)->text();
        box.button(QMessageBox::No)->click();
    });
    platform::showModalBox({platform::BoxRequest::YesNo, "確認", "終了しますよろしいですか？"});
    std::printf("%s|%s", loaded ? "loaded" : "none", buttons.toUtf8().constData());
    return 0;
}

class QtTranslations : public QObject {
    Q_OBJECT
private slots:
    void boxButtonsInTheUsersLanguage_data()
    {
        QTest::addColumn<QStringList>("settings");
        QTest::addColumn<QString>("printed");
        const QString japanese = "loaded|はい(&Y)|いいえ(&N)";
        QTest::newRow("Japanese") << QStringList{"LANG=ja_JP.UTF-8"} << japanese;
        QTest::newRow("C") << QStringList{"LANG=C.UTF-8"} << "none|&Yes|&No";
        QTest::newRow("nothing set") << QStringList{} << "none|&Yes|&No";
        QTest::newRow("English") << QStringList{"LANG=en_US.UTF-8"} << "none|&Yes|&No";
        QTest::newRow("LC_ALL over LANG") << QStringList{"LANG=ja_JP.UTF-8", "LC_ALL=C"} << "none|&Yes|&No";
        QTest::newRow("LC_MESSAGES over LANG") << QStringList{"LANG=C.UTF-8", "LC_MESSAGES=ja_JP.UTF-8"}
                                               << japanese;
        QTest::newRow("a locale the C library lacks") << QStringList{"LANG=ja_JP.EUC-JP"} << japanese;
    }

    void boxButtonsInTheUsersLanguage()
    {
        QFETCH(QStringList, settings);
        QFETCH(QString, printed);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"LANG", "LANGUAGE", "LC_ALL", "LC_MESSAGES"})
            environment.remove(name);
        for (const QString& setting : settings)
            environment.insert(setting.section('=', 0, 0), setting.section('=', 1));
        QProcess child;
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), {showBoxOption});
        QVERIFY(child.waitForFinished(60000));
        QCOMPARE(child.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(child.readAllStandardOutput()), printed);
    }
};

int main(int argc, char** argv)
{
    if (argc == 2 && qstrcmp(argv[1], showBoxOption) == 0)
        return showBoxAndPrintButtons(argc, argv);
    QCoreApplication app(argc, argv);
    QtTranslations test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_toolkit_qt_translations.moc"
