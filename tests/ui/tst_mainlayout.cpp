#include "ActivationTracker.h"
#include "MainLayout.h"

#include <QTest>

// The layout pass's arithmetic, with and without the toolkit's rounding to pixels.
class TestMainLayout : public QObject
{
    Q_OBJECT

    static QString twips(const QRectF &r)
    {
        return QStringLiteral("%1 %2 %3 %4")
            .arg(r.x(), 0, 'f', 1)
            .arg(r.y(), 0, 'f', 1)
            .arg(r.width(), 0, 'f', 1)
            .arg(r.height(), 0, 'f', 1);
    }

private slots:
    // W = 11880, H = 8310, T = 420, S = 360: each list 200 in from its frame's sides and
    // 300 below its top, Liste ending 10 beyond the inner width, Méthodes 2540 wide whatever
    // the width and ending 20 before the right edge.
    void workedExample()
    {
        const MainLayout l = MainLayout::compute(11880, 8310, 420, 360);
        QCOMPARE(twips(l.carte), QStringLiteral("0.0 420.0 5165.2 7530.0"));
        QCOMPARE(twips(l.imageCarte), QStringLiteral("200.0 300.0 4765.2 7030.0"));
        QCOMPARE(twips(l.liste), QStringLiteral("5185.2 420.0 6704.8 3765.0"));
        QCOMPARE(twips(l.symptomes), QStringLiteral("5185.2 4185.0 4114.8 3765.0"));
        QCOMPARE(twips(l.signes), QStringLiteral("200.0 300.0 3714.8 3265.0"));
        QCOMPARE(twips(l.methodes), QStringLiteral("9320.0 4185.0 2540.0 3765.0"));
        for (double w : {6000.0, 28800.0})
            QCOMPARE(MainLayout::compute(w, 9000, 420, 360).methodes.width(), 2540.0);

        // Rounded to whole pixels, each value read back within the pass is the rounded one.
        const MainLayout rounded = MainLayout::compute(11880, 8310, 420, 360, 15);
        QCOMPARE(twips(rounded.carte), QStringLiteral("0.0 420.0 5160.0 7530.0"));
        QCOMPARE(twips(rounded.imageCarte), QStringLiteral("195.0 300.0 4770.0 7035.0"));
    }

    void tinyWindowsNeverGiveNegativeSizes()
    {
        for (auto [w, h] : {std::pair{3000.0, 9000.0}, {12000.0, 900.0}, {0.0, 0.0}}) {
            const MainLayout l = MainLayout::compute(w, h, 420, 360, 15);
            for (const QRectF &r : {l.carte, l.imageCarte, l.liste, l.syndromes, l.symptomes, l.signes, l.methodes})
                QVERIFY(r.width() >= 0 && r.height() >= 0);
        }
        // The window's minimum size needs no clamping at all.
        const MainLayout smallest =
            MainLayout::compute(MainLayout::minimumInnerWidth(), MainLayout::minimumMapHeight() + 780, 420, 360);
        QVERIFY(smallest.signes.width() > 0 && smallest.signes.height() > 0 && smallest.imageCarte.height() > 0);
    }

    void activationCountsReturnsFromOurWindowsOnly()
    {
        using W = ActivationTracker::Window;
        ActivationTracker t;
        QVERIFY(t.focusChanged(W::Main));        // first display
        QVERIFY(!t.focusChanged(W::None));       // to another application…
        QVERIFY(!t.focusChanged(W::Main));       // …and back: no activation
        QVERIFY(!t.focusChanged(W::Other));      // a dialog opens
        QVERIFY(t.focusChanged(W::Main));        // and closes
        QVERIFY(!t.focusChanged(W::MessageBox)); // a message box is an answer,
        QVERIFY(!t.focusChanged(W::Main));       // not a window worked in
    }
};

QTEST_GUILESS_MAIN(TestMainLayout)
#include "tst_mainlayout.moc"
