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
    void answers()
    {
        // The arguments; the status (-1: the program starts), a pattern of the standard output
        // and the first line of the standard error.
        const auto check = [](const QStringList &arguments, int status, const QString &out, const QString &err) {
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
        };
        check({}, -1, "", "");
        check({"-platform", "offscreen", "--platformtheme", "gtk3", "-style=Fusion", "--stylesheet", "a.qss",
               "-reverse", "-qwindowgeometry", "800x600", "-display", ":0", "--session=x"},
              -1, "", ""); // the toolkit's options
        check({"--version"}, 0, "^Tessavor \\d+\\.\\d+\\.\\d+\\n$", "");
        check({"-platform", "xcb", "-h"}, 0, "^Utilisation : tessavor \\[OPTION\\]\\.\\.\\.\\n", "");
        check({"-platform", "xcb", "--frobnicate=3"}, 2, "", "tessavor : option inconnue « --frobnicate=3 »");
        check({"Signes.mdb"}, 2, "", "tessavor : argument inattendu « Signes.mdb »");
        check({"-reverse", "-style"}, 2, "", "tessavor : l'option « -style » attend une valeur");
        check({"--version=2", "-style", "Fusion"}, 2, "", "tessavor : l'option « --version » ne prend pas de valeur");
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
