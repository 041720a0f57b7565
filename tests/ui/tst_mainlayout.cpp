#include "ActivationTracker.h"
#include "MainLayout.h"

#include <QTest>

// The layout pass's arithmetic, with and without the toolkit's rounding to pixels.
class TestMainLayout : public QObject
{
    Q_OBJECT

    static bool near(double a, double b) { return qAbs(a - b) < 0.01; }

private slots:
    void workedExample()
    {
        const MainLayout l = MainLayout::compute(11880, 8310, 420, 360);
        QCOMPARE(l.carte.top(), 420.0);
        QVERIFY(near(l.carte.width(), 5165.217));
        QCOMPARE(l.carte.height(), 7530.0);
        QCOMPARE(l.imageCarte.topLeft(), QPointF(200, 300));
        QVERIFY(near(l.imageCarte.width(), 4765.217));
        QCOMPARE(l.imageCarte.height(), 7030.0);
        QVERIFY(near(l.liste.left(), 5185.217));
        QVERIFY(near(l.liste.width(), 6704.783));
        QCOMPARE(l.liste.height(), 3765.0);
        QVERIFY(near(l.liste.right(), 11880 + 10)); // ends 10 beyond the inner width
        QVERIFY(near(l.symptomes.width(), 4114.783));
        QCOMPARE(l.symptomes.top(), l.liste.top() + 3765);
        QVERIFY(near(l.methodes.left(), 9320));
        QVERIFY(near(l.methodes.right(), 11880 - 20));
        QCOMPARE(l.signes.height(), l.symptomes.height() - 500);
        // Méthodes comes out 2540 wide whatever the width.
        for (double w : {6000.0, 28800.0})
            QVERIFY(near(MainLayout::compute(w, 9000, 420, 360).methodes.width(), 2540));
    }

    void roundingReadsBackRoundedValues()
    {
        const MainLayout l = MainLayout::compute(11880, 8310, 420, 360, 15);
        QCOMPARE(l.carte.width(), 5160.0);
        QCOMPARE(l.imageCarte.left(), 195.0);   // 200 twips is no whole pixel
        QCOMPARE(l.imageCarte.width(), 4770.0); // from the rounded values read back
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
