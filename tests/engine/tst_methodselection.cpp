#include "AppSettings.h"
#include "MethodSelection.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// The method boxes' reaction, with boxes that report the program's own changes back, the
// way the toolkit's check boxes do. Methods 1 to 5 are written as five characters.
class TestMethodSelection : public QObject
{
    Q_OBJECT

private slots:
    void boxChanges()
    {
        // The table's values, a box ticked for each non-zero; the changes: "-n" unticks box n,
        // "+n" ticks it, counted after "|"; whether the store keeps them (if not, the settings
        // file is a folder, which no one can write). Then, after: the boxes ticked, the methods,
        // the values read from the settings file itself ("." for nothing; none from a folder),
        // and how often it ranked, warned and said a choice not kept.
        const auto check = [](const QString &start, const QString &changes, bool keeps, const QString &after) {
            QTemporaryDir dir;
            const QString ini = dir.filePath(u"settings.ini"_s);
            if (!keeps)
                QVERIFY(QDir(dir.path()).mkdir(u"settings.ini"_s));
            AppSettings settings(ini);
            MethodTable methods{};
            bool ticked[6] = {};
            for (int m = 1; m <= 5; ++m)
                ticked[m] = (methods[m] = start[m - 1].digitValue()) != 0;
            int rankings = 0, warnings = 0, notKept = 0;
            std::unique_ptr<MethodSelection> selection;
            const auto setBox = [&](int m, bool value) {
                if (ticked[m] == value)
                    return;
                ticked[m] = value;
                selection->onChanged(m);
            };
            selection = std::make_unique<MethodSelection>(
                methods, settings,
                MethodSelection::Hooks{[&](int m) { return ticked[m]; }, [&](int m) { setBox(m, true); },
                                       [&] { ++rankings; }, [&] { ++warnings; }, [&] { ++notKept; }});
            for (const QString &change : changes.split(u' ')) {
                if (change == u"|")
                    rankings = 0;
                else
                    setBox(change.mid(1).toInt(), change.startsWith(u'+'));
            }
            QString t, m, s;
            const QSettings stored(ini, QSettings::IniFormat);
            for (int k = 1; k <= 5; ++k) {
                t += ticked[k] ? u'1' : u'0';
                m += QString::number(methods[k]);
                if (keeps) // a folder holds no values to read back
                    s += stored.value(u"Settings/Méthode %1"_s.arg(k), u"."_s).toString();
            }
            QCOMPARE(u"%1 %2 %3 %4 %5 %6"_s.arg(t, m, s).arg(rankings).arg(warnings).arg(notKept), after);
        };
        check(u"11111"_s, u"| -2"_s, true, u"10111 10111 .0... 1 0 0"_s);    // unticking one of several
        check(u"11111"_s, u"-2 | +2"_s, true, u"11111 11111 .1... 1 0 0"_s); // ticking it again
        // The last box: box 1 comes back at once.
        check(u"11111"_s, u"-2 -3 -4 -5 | -1"_s, true, u"10000 10000 10000 1 1 0"_s);
        // The last box but 1: box 1 ticked, its change ranks.
        check(u"00100"_s, u"| -3"_s, true, u"10000 10000 1.0.. 1 1 0"_s);
        // A store that cannot keep it: said once, the choice holds for the run.
        check(u"11111"_s, u"-2 -3 | +2"_s, false, u"11011 11011  1 0 1"_s);
    }
};

QTEST_GUILESS_MAIN(TestMethodSelection)
#include "tst_methodselection.moc"
