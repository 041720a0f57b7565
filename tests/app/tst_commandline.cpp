#include "CommandLine.h"

#include <QRegularExpression>
#include <QTest>

// What the command line answers before the toolkit starts: the toolkit's own options let
// through, the version and the help on the standard output, and every mistake told on the
// standard error with the usage and status 2.
class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void answers_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status"); // -1: the program starts
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err"); // its first line

        QTest::newRow("none") << QStringList() << -1 << "" << "";
        QTest::newRow("toolkit options")
            << QStringList{"-platform", "offscreen", "--platformtheme", "gtk3", "-style=Fusion", "--stylesheet",
                           "a.qss",     "-reverse",  "-qwindowgeometry", "800x600", "-display", ":0", "--session=x"}
            << -1 << "" << "";
        QTest::newRow("version") << QStringList{"--version"} << 0 << "^Tessavor \\d+\\.\\d+\\.\\d+\\n$" << "";
        QTest::newRow("help among toolkit options")
            << QStringList{"-platform", "xcb", "-h"} << 0 << "^Utilisation : tessavor \\[OPTION\\]\\.\\.\\.\\n" << "";
        QTest::newRow("unknown option") << QStringList{"-platform", "xcb", "--frobnicate=3"} << 2 << ""
                                        << "tessavor : option inconnue « --frobnicate=3 »";
        QTest::newRow("a file") << QStringList{"Signes.mdb"} << 2 << "" << "tessavor : argument inattendu « Signes.mdb »";
        QTest::newRow("value missing") << QStringList{"-reverse", "-style"} << 2 << ""
                                       << "tessavor : l'option « -style » attend une valeur";
        QTest::newRow("value to a flag") << QStringList{"--version=2", "-style", "Fusion"} << 2 << ""
                                         << "tessavor : l'option « --version » ne prend pas de valeur";
    }

    void answers()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        const auto answer = CommandLine::answer(QStringList{"tessavor"} + arguments);
        QCOMPARE(answer ? answer->status : -1, status);
        if (!answer)
            return;
        QVERIFY2(answer->out.contains(QRegularExpression(out)) && (out.isEmpty() == answer->out.isEmpty()),
                 qPrintable(answer->out));
        QCOMPARE(answer->err.section(u'\n', 0, 0), err);
        // A mistake shows the usage, on the standard error.
        if (status == 2)
            QVERIFY(answer->err.contains(u"\n\nUtilisation : tessavor [OPTION]...\n"));
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
