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
    void boxChanges_data()
    {
        QTest::addColumn<QString>("start");   // the table's values, a box ticked for each non-zero
        QTest::addColumn<QString>("changes"); // "-n" unticks box n, "+n" ticks it; counted after "|"
        QTest::addColumn<QString>("ticked");
        QTest::addColumn<QString>("methods");
        QTest::addColumn<QString>("stored"); // read from the settings file itself; "." for nothing
        QTest::addColumn<int>("rankings");
        QTest::addColumn<int>("warnings");
        QTest::addColumn<bool>("keeps");  // false: the settings file is a folder, which no one can write
        QTest::addColumn<int>("notKept"); // how often that was said

        QTest::newRow("unticking one of several")
            << u"11111"_s << u"| -2"_s << u"10111"_s << u"10111"_s << u".0..."_s << 1 << 0 << true << 0;
        QTest::newRow("ticking it again")
            << u"11111"_s << u"-2 | +2"_s << u"11111"_s << u"11111"_s << u".1..."_s << 1 << 0 << true << 0;
        QTest::newRow("the last box: box 1 comes back at once")
            << u"11111"_s << u"-2 -3 -4 -5 | -1"_s << u"10000"_s << u"10000"_s << u"10000"_s << 1 << 1 << true << 0;
        QTest::newRow("the last box but 1: box 1 ticked, its change ranks")
            << u"00100"_s << u"| -3"_s << u"10000"_s << u"10000"_s << u"1.0.."_s << 1 << 1 << true << 0;
        QTest::newRow("a store that cannot keep it: said once, the choice holds for the run")
            << u"11111"_s << u"-2 -3 | +2"_s << u"11011"_s << u"11011"_s << QString() << 1 << 0 << false << 1;
    }

    void boxChanges()
    {
        QFETCH(QString, start);
        QFETCH(QString, changes);
        QFETCH(bool, keeps);
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
            s += stored.value(u"Settings/Méthode %1"_s.arg(k), u"."_s).toString();
        }
        QTEST(t, "ticked");
        QTEST(m, "methods");
        if (keeps) // a folder holds no values to read back
            QTEST(s, "stored");
        QTEST(rankings, "rankings");
        QTEST(warnings, "warnings");
        QTEST(notKept, "notKept");
    }
};

QTEST_GUILESS_MAIN(TestMethodSelection)
#include "tst_methodselection.moc"
