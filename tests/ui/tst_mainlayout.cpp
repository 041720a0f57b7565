#include "ActivationTracker.h"
#include "MainLayout.h"

#include <QTest>

// The layout pass's arithmetic, with and without the toolkit's rounding to pixels.
class TestMainLayout : public QObject
{
    Q_OBJECT

private slots:
    void workedExample()
    {
        const MainLayout l = MainLayout::compute(11880, 8310, 420, 360);
        QCOMPARE(l.carte.top(), 420.0);
        QVERIFY(qAbs(l.carte.width() - 5165.217) < 0.01);
        QCOMPARE(l.carte.height(), 7530.0);
        QCOMPARE(l.imageCarte.topLeft(), QPointF(200, 300));
        QVERIFY(qAbs(l.imageCarte.width() - 4765.217) < 0.01);
        QCOMPARE(l.imageCarte.height(), 7030.0);
        QVERIFY(qAbs(l.liste.left() - 5185.217) < 0.01);
        QVERIFY(qAbs(l.liste.width() - 6704.783) < 0.01);
        QCOMPARE(l.liste.height(), 3765.0);
        // Liste ends 10 beyond the inner width.
        QVERIFY(qAbs(l.liste.right() - (11880 + 10)) < 0.01);
        QVERIFY(qAbs(l.symptomes.width() - 4114.783) < 0.01);
        QCOMPARE(l.symptomes.top(), l.liste.top() + 3765);
        QCOMPARE(l.symptomes.left(), l.liste.left());
        QVERIFY(qAbs(l.methodes.left() - 9320) < 0.01);
        QVERIFY(qAbs(l.methodes.width() - 2540) < 0.01);
        QVERIFY(qAbs(l.methodes.right() - (11880 - 20)) < 0.01);
        // Each list sits 300 below its frame's top with 200 on both sides.
        QCOMPARE(l.syndromes.topLeft(), QPointF(200, 300));
        QVERIFY(qAbs(l.syndromes.width() - (l.liste.width() - 400)) < 0.01);
        QCOMPARE(l.signes.height(), l.symptomes.height() - 500);
    }

    void methodesAlwaysComesOut2540Wide_data()
    {
        QTest::addColumn<double>("W");
        QTest::newRow("worked example") << 11880.0;
        QTest::newRow("wide") << 28800.0;
        QTest::newRow("narrow") << 6000.0;
    }
    void methodesAlwaysComesOut2540Wide()
    {
        QFETCH(double, W);
        const MainLayout l = MainLayout::compute(W, 9000, 420, 360);
        QVERIFY(qAbs(l.methodes.width() - 2540) < 0.01);
    }

    void roundingReadsBackRoundedValues()
    {
        // With pixel rounding every value is a whole number of pixels, and later
        // values are computed from the rounded ones.
        const MainLayout l = MainLayout::compute(11880, 8310, 420, 360, 15);
        for (const QRectF &r : {l.carte, l.imageCarte, l.liste, l.syndromes, l.symptomes, l.signes, l.methodes}) {
            QCOMPARE(std::fmod(r.left(), 15.0), 0.0);
            QCOMPARE(std::fmod(r.width(), 15.0), 0.0);
        }
        QCOMPARE(l.carte.width(), 5160.0);
        QCOMPARE(l.imageCarte.left(), 195.0); // 200 twips is no whole pixel
        QCOMPARE(l.imageCarte.width(), 4770.0);
    }

    void tinyWindowsNeverGiveNegativeSizes_data()
    {
        QTest::addColumn<double>("W");
        QTest::addColumn<double>("H");
        QTest::newRow("narrow") << 3000.0 << 9000.0;
        QTest::newRow("flat") << 12000.0 << 900.0;
        QTest::newRow("nothing at all") << 0.0 << 0.0;
        QTest::newRow("below the bars") << 100.0 << 300.0;
    }
    void tinyWindowsNeverGiveNegativeSizes()
    {
        QFETCH(double, W);
        QFETCH(double, H);
        const MainLayout l = MainLayout::compute(W, H, 420, 360, 15);
        for (const QRectF &r : {l.carte, l.imageCarte, l.liste, l.syndromes, l.symptomes, l.signes, l.methodes}) {
            QVERIFY(r.width() >= 0);
            QVERIFY(r.height() >= 0);
        }
    }

    void minimumSizeNeedsNoClamping()
    {
        const double W = MainLayout::minimumInnerWidth();
        const double H = MainLayout::minimumMapHeight() + 420 + 360;
        const MainLayout clamped = MainLayout::compute(W, H, 420, 360);
        QVERIFY(clamped.signes.width() > 0);
        QVERIFY(clamped.signes.height() > 0);
        QVERIFY(clamped.imageCarte.height() > 0);
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
        QVERIFY(!t.focusChanged(W::MessageBox)); // a message box
        QVERIFY(!t.focusChanged(W::Main));       // is an answer, not a window worked in
        QVERIFY(!t.focusChanged(W::Other));
        QVERIFY(!t.focusChanged(W::None)); // the help window, then another program
        QVERIFY(t.focusChanged(W::Main));  // back to the main window from the help window's side
    }
};

QTEST_GUILESS_MAIN(TestMainLayout)
#include "tst_mainlayout.moc"
