#include "AppSettings.h"
#include "CategoryMap.h"
#include "MainWindow.h"
#include "MessageBox.h"
#include "ModalityDialog.h"
#include "Shared.h"
#include "TestSupport.h"
#include "UiTest.h"

#include <QLabel>

// The body map in the real main window: the red label under the pointer, the clicks that
// open the sign dialog, and the layout passes.
class TestCategoryMap : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    AppSettings m_settings{m_dir.filePath(QStringLiteral("settings.ini"))};
    MainWindow m_window{{}, m_settings};

    CategoryMap *map() { return m_window.categoryMap(); }
    QLabel *label(int index) { return map()->label(index); }
    QList<int> redLabels()
    {
        QList<int> red;
        for (int index : CategoryMap::labelIndexes())
            if (label(index)->palette().color(label(index)->foregroundRole()) == QColor(255, 0, 0))
                red.append(index);
        return red;
    }

private slots:
    void initTestCase()
    {
        MessageBox::setTesting(true);
        m_window.setDatabaseName(TestSupport::makeDatabase(m_dir, QStringLiteral("small.sql")));
        m_window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_window));
        for (int index : CategoryMap::labelIndexes())
            QVERIFY2(QFontMetricsF(label(index)->font()).horizontalAdvance(label(index)->text()) <=
                         label(index)->width(),
                     qPrintable(label(index)->text())); // every caption shows whole
    }

    // One label at a time is red, and moving within it repaints nothing; a picture leaves it
    // red, the bare drawing (the middle of the belly) clears it.
    void pointerLightsOneLabel()
    {
        struct Counter : QObject {
            int events = 0;
            bool eventFilter(QObject *, QEvent *event) override
            {
                events += event->type() == QEvent::Paint || event->type() == QEvent::PaletteChange;
                return false;
            }
        } counter;
        QTest::mouseMove(label(18), QPoint(5, 5));
        for (int index : CategoryMap::labelIndexes())
            label(index)->installEventFilter(&counter);
        QTest::mouseMove(label(19), QPoint(5, 5));
        QCoreApplication::processEvents();
        QCOMPARE(redLabels(), QList<int>{19});
        QVERIFY(counter.events > 0);
        counter.events = 0;
        QTest::mouseMove(label(19), QPoint(8, 6));
        QCoreApplication::processEvents();
        QCOMPARE(counter.events, 0);

        QTest::mouseMove(map()->picture(62), QPoint(5, 5));
        QCOMPARE(redLabels(), QList<int>{19});
        QWidget *image = map()->imageCarte();
        const QPoint belly(int(image->width() * 0.46), int(image->height() * 0.55));
        QCOMPARE(image->parentWidget()->childAt(image->mapToParent(belly)), image);
        QTest::mouseMove(image, belly);
        QCOMPARE(redLabels(), QList<int>{});
    }

    void clickOpensTheCategory_data()
    {
        QTest::addColumn<int>("categorie");
        QTest::addColumn<QString>("title");
        QTest::newRow("Pouls") << 43 << "Liste des modalités pour la catégorie sélectionnée";
        QTest::newRow("Enfants (a picture)") << 62 << "Liste des symptômes pour la catégorie sélectionnée";
    }
    void clickOpensTheCategory()
    {
        QFETCH(int, categorie);
        QWidget *clicked = categorie == 62 ? map()->picture(62) : label(categorie);
        QVERIFY(UiTest::whileModal([&] { QTest::mouseClick(clicked, Qt::LeftButton, {}, QPoint(4, 4)); },
                                   [&](QDialog *dialog) {
                                       QCOMPARE(Shared::categorieChoisie, categorie);
                                       QTEST(dialog->findChild<QLabel *>(QStringLiteral("Titre"))->text(), "title");
                                   }));
        QCOMPARE(Shared::categorieChoisie, 0);
    }

    // Doubling the drawing's width doubles every label's and picture's distance from the
    // frame's corner, and each leader still joins its label to a region of the drawing.
    void resizingScalesTheMap()
    {
        const QRectF image = map()->imageGeometry();
        QMap<int, QRectF> before;
        for (int index : CategoryMap::labelIndexes())
            before[index] = map()->labelGeometry(index);
        const QRectF picture = map()->pictureGeometry(3);

        // The drawing is the frame's width less 400 twips, the frame 1/2.3 of the window.
        const double carteWidth = 2 * image.width() + 400;
        m_window.resize(int(carteWidth * 2.3 / 15) + 1 + (m_window.width() - m_window.centralWidget()->width()),
                        m_window.height());
        QTRY_VERIFY(map()->imageGeometry().width() > 1.9 * image.width());
        const double factor = map()->imageGeometry().width() / int(image.width());
        QVERIFY(qAbs(factor - 2) < 0.01);
        for (int index : CategoryMap::labelIndexes())
            QVERIFY2(qAbs(map()->labelGeometry(index).x() - before[index].x() * factor) < 0.01,
                     qPrintable(QString::number(index)));
        const QRectF scaled = map()->pictureGeometry(3);
        QVERIFY(qAbs(scaled.width() - picture.width() * factor) + qAbs(scaled.height() - picture.height() * factor) <
                0.01);

        QVERIFY(map()->leaders().size() >= 20);
        for (const CategoryMap::Leader &leader : map()->leaders()) {
            for (int k = 0; k < leader.labels.size(); ++k)
                QVERIFY(QRectF(label(leader.labels[k])->geometry()).contains(leader.strokes[k].first()));
            QVERIFY(QRectF(map()->imageCarte()->geometry()).contains(leader.region));
            QCOMPARE(leader.strokes.last().last(), leader.region);
        }
    }
};

QTEST_MAIN(TestCategoryMap)
#include "tst_categorymap.moc"
