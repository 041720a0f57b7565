#include "AppSettings.h"
#include "MethodSelection.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

// The method boxes' reaction, with boxes that report the program's own changes back, the
// way the toolkit's check boxes do.
class TestMethodSelection : public QObject
{
    Q_OBJECT

    struct Fixture {
        QTemporaryDir dir;
        AppSettings settings{dir.filePath(QStringLiteral("settings.ini"))};
        MethodTable methods{0, 1, 1, 1, 1, 1};
        bool ticked[6] = {false, true, true, true, true, true};
        int rankings = 0;
        int warnings = 0;
        std::unique_ptr<MethodSelection> selection;

        Fixture()
        {
            selection = std::make_unique<MethodSelection>(
                methods, settings,
                MethodSelection::Hooks{[this](int m) { return ticked[m]; }, [this](int m) { setBox(m, true); },
                                       [this] { ++rankings; }, [this] { ++warnings; }});
        }
        // The value stored under a method, read from the settings file as any other reader
        // of the store would.
        QString stored(int m) const
        {
            return QSettings(dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat)
                .value(QStringLiteral("Settings/Méthode %1").arg(m))
                .toString();
        }
        // A box change, from the user or the program, notifies the selection.
        void setBox(int m, bool value)
        {
            if (ticked[m] == value)
                return;
            ticked[m] = value;
            selection->onChanged(m);
        }
    };

private slots:
    void untickingOneOfSeveral()
    {
        Fixture f;
        f.setBox(2, false);
        QCOMPARE(f.methods[2], 0);
        QCOMPARE(f.stored(2), QStringLiteral("0"));
        QCOMPARE(f.rankings, 1);
        f.setBox(2, true);
        QCOMPARE(f.methods[2], 1);
        QCOMPARE(f.stored(2), QStringLiteral("1"));
        QCOMPARE(f.rankings, 2);
        QCOMPARE(f.warnings, 0);
    }

    void untickingTheLastBoxTicksMethodOne()
    {
        Fixture f;
        for (int m : {2, 3, 4, 5})
            f.setBox(m, false);
        f.setBox(1, false); // the only ticked box 1 comes back at once
        QVERIFY(f.ticked[1]);
        f.setBox(3, true);
        for (int m : {1, 2, 4, 5})
            f.setBox(m, false);
        f.rankings = 0;
        f.setBox(3, false);
        QCOMPARE(f.warnings, 2);
        QVERIFY(f.ticked[1]);
        QVERIFY(!f.ticked[3]);
        QCOMPARE(f.methods[1], 1);
        QCOMPARE(f.methods[3], 0);
        QCOMPARE(f.stored(1), QStringLiteral("1"));
        QCOMPARE(f.stored(3), QStringLiteral("0"));
        QCOMPARE(f.rankings, 1); // the nested run for box 1
    }

    // With box 1 already ticked, nothing reports back, yet the list must follow the methods.
    void boxOneTickedWithOddValueRanksAfterTheFallback()
    {
        Fixture f;
        f.methods[1] = 2; // stored "2": ticked yet not chosen
        for (int m : {2, 3, 4})
            f.setBox(m, false);
        f.rankings = 0;
        f.setBox(5, false);
        QCOMPARE(f.warnings, 1);
        QCOMPARE(f.rankings, 1);
        QCOMPARE(f.methods[1], 1);
        QCOMPARE(f.stored(1), QStringLiteral("1"));
    }
};

QTEST_GUILESS_MAIN(TestMethodSelection)
#include "tst_methodselection.moc"
