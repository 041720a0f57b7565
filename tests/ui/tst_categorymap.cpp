#include "AppSettings.h"
#include "CategoryMap.h"
#include "ItemList.h"
#include "MainWindow.h"
#include "MessageBox.h"
#include "ModalityDialog.h"
#include "SharedState.h"
#include "TestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <memory>

// The body map in the real main window: its controls, the red label under the pointer,
// the clicks that open the modality dialog, and the scaling by later layout passes.
class TestCategoryMap : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_db;
    std::unique_ptr<AppSettings> m_settings;
    std::unique_ptr<MainWindow> m_window;

    CategoryMap *map() const { return m_window->categoryMap(); }
    QLabel *label(int index) const {
        return m_window->findChild<QLabel *>(QStringLiteral("Localisation_%1").arg(index));
    }
    QWidget *picture(int index) const { return m_window->findChild<QWidget *>(QStringLiteral("Divers_%1").arg(index)); }
    static QColor textColour(const QLabel *label) { return label->palette().color(label->foregroundRole()); }
    QList<int> redLabels() const {
        QList<int> red;
        for (int index : CategoryMap::labelIndexes())
            if (textColour(label(index)) == QColor(255, 0, 0))
                red.append(index);
        return red;
    }
    // A point of the drawing that no label or picture covers (the middle of the belly).
    QPoint bareDrawing() const {
        QWidget *image = map()->imageCarte();
        return QPoint(int(image->width() * 0.46), int(image->height() * 0.55));
    }

    struct OpenedDialog {
        bool found = false;
        QString title;
        QStringList entries;
        qint32 categorie = -1;
        qint32 signe = -1;
    };
    // Runs `open` (which opens the dialog modally) and reads the dialog once it is up,
    // then closes it with the button given.
    OpenedDialog whileOpen(const std::function<void()> &open, int button = 1) {
        OpenedDialog seen;
        QTimer::singleShot(0, this, [&] {
            auto *dialog = qobject_cast<ModalityDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            seen.found = true;
            seen.title = dialog->findChild<QLabel *>(QStringLiteral("Titre"))->text();
            auto *list = dialog->findChild<ItemList *>(QStringLiteral("ListeModalités"));
            for (int i = 0; i < list->count(); ++i)
                seen.entries << list->text(i);
            seen.categorie = Shared::categorieChoisie;
            seen.signe = Shared::signeChoisi;
            dialog->findChild<QPushButton *>(QStringLiteral("Choix_%1").arg(button))->click();
        });
        open();
        return seen;
    }

private slots:
    void initTestCase() {
        MessageBox::setTesting(true);
        m_db = TestSupport::makeDatabase(m_dir, QStringLiteral("small.sql"));
    }

    void init() {
        Shared::signeChoisi = 0;
        Shared::categorieChoisie = 0;
        m_settings = std::make_unique<AppSettings>(m_dir.filePath(QStringLiteral("settings.ini")));
        m_window = std::make_unique<MainWindow>(new QToolBar, *m_settings);
        m_window->setDatabaseName(m_db);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void cleanup() {
        m_window.reset();
        m_settings.reset();
    }

    void controlsAsDesigned_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("isPicture");
        QTest::addColumn<QString>("text"); // caption or tip
        QTest::addColumn<QRectF>("twips");

        QTest::newRow("Tête") << 5 << false << "Tête" << QRectF(2160, 600, 375, 195);
        QTest::newRow("Pouls") << 43 << false << "Pouls" << QRectF(600, 3960, 435, 255);
        QTest::newRow("Abdomen inférieur") << 64 << false << "Abdomen inférieur" << QRectF(3180, 3960, 1395, 195);
        QTest::newRow("Morphologie") << 3 << true << "Morphologie" << QRectF(3960, 540, 735, 1035);
        QTest::newRow("Enfants") << 62 << true << "Enfants" << QRectF(3900, 5880, 675, 975);
    }

    void controlsAsDesigned() {
        QFETCH(int, index);
        QFETCH(bool, isPicture);
        QFETCH(QString, text);
        QFETCH(QRectF, twips);

        // The first layout pass has moved the drawing but none of the controls.
        QWidget *control = isPicture ? picture(index) : label(index);
        QVERIFY(control);
        QCOMPARE(isPicture ? map()->pictureGeometry(index) : map()->labelGeometry(index), twips);
        QCOMPARE(control->geometry(), QRect(qRound(twips.x() / 15), qRound(twips.y() / 15), qRound(twips.width() / 15),
                                            qRound(twips.height() / 15)));
        if (isPicture) {
            QCOMPARE(control->toolTip(), text);
        } else {
            auto *caption = static_cast<QLabel *>(control);
            QCOMPARE(caption->text(), text);
            QVERIFY(caption->autoFillBackground());
            QCOMPARE(caption->backgroundRole(), QPalette::Button);
            QCOMPARE(textColour(caption), QApplication::palette().color(QPalette::ButtonText));
            QVERIFY(caption->alignment() & Qt::AlignLeft);
        }
        QCOMPARE(control->cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(control->cursor().hotSpot(), QPoint(12, 1));
        // Above the drawing.
        QWidget *carte = control->parentWidget();
        QVERIFY(carte->children().indexOf(control) > carte->children().indexOf(map()->imageCarte()));
        QCOMPARE(carte->objectName(), QStringLiteral("Carte"));
    }

    void everyCategoryHasItsControl() {
        QCOMPARE(CategoryMap::labelIndexes().size(), 39);
        QCOMPARE(CategoryMap::pictureIndexes().size(), 5);
        for (int index : CategoryMap::labelIndexes()) {
            QLabel *caption = label(index);
            QVERIFY2(caption, qPrintable(QString::number(index)));
            // Labels are not sized to their text: whatever face stands in for the designed
            // one, every caption must show whole.
            QVERIFY2(QFontMetricsF(caption->font()).horizontalAdvance(caption->text()) <= caption->width(),
                     qPrintable(caption->text()));
        }
        for (int index : CategoryMap::pictureIndexes())
            QVERIFY2(picture(index), qPrintable(QString::number(index)));
        QCOMPARE(map()->imageCarte()->objectName(), QStringLiteral("ImageCarte"));
        // The method boxes share the pointer.
        QCOMPARE(m_window->methodBox(1)->cursor().hotSpot(), QPoint(12, 1));
        QCOMPARE(CategoryMap::handCursor().pixmap().size(), QSize(32, 32));
    }

    void pointerLightsOneLabel() {
        QCOMPARE(map()->indexSurvole(), 0);
        QTest::mouseMove(label(18), QPoint(5, 5));
        QCOMPARE(redLabels(), QList<int>{18});
        QTest::mouseMove(label(19), QPoint(5, 5));
        QCOMPARE(redLabels(), QList<int>{19});
        QCOMPARE(map()->indexSurvole(), 19);

        // Leaving onto a picture leaves the label red; the drawing clears it.
        QTest::mouseMove(picture(62), QPoint(5, 5));
        QCOMPARE(redLabels(), QList<int>{19});
        QWidget *image = map()->imageCarte();
        QCOMPARE(image->parentWidget()->childAt(image->mapToParent(bareDrawing())), image);
        QTest::mouseMove(image, bareDrawing());
        QCOMPARE(redLabels(), QList<int>{});
        QCOMPARE(map()->indexSurvole(), 0);
    }

    void stayingOnALabelRepaintsNothing() {
        QTest::mouseMove(label(18), QPoint(5, 5));
        QTest::mouseMove(label(19), QPoint(5, 5));
        QCoreApplication::processEvents();

        struct Counter : QObject {
            int events = 0;
            bool eventFilter(QObject *, QEvent *event) override {
                if (event->type() == QEvent::Paint || event->type() == QEvent::PaletteChange)
                    ++events;
                return false;
            }
        } counter;
        for (int index : CategoryMap::labelIndexes())
            label(index)->installEventFilter(&counter);
        QTest::mouseMove(label(19), QPoint(8, 6));
        QTest::mouseMove(label(19), QPoint(12, 9));
        QCoreApplication::processEvents();
        QCOMPARE(counter.events, 0);
        QCOMPARE(redLabels(), QList<int>{19});

        // The same count sees a real change.
        QTest::mouseMove(label(18), QPoint(5, 5));
        QCoreApplication::processEvents();
        QVERIFY(counter.events > 0);
    }

    void clickOpensTheCategory_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("categorie");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("entries");

        QTest::newRow("Pouls") << "Localisation_43" << 43 << "Liste des modalités pour la catégorie sélectionnée"
                               << QStringList{"Pouls fin (1)", "Pouls glissant (1)", "Pouls rapide (9)",
                                              "Pouls tendu (1)"};
        QTest::newRow("Langue") << "Localisation_18" << 18 << "Liste des modalités pour la catégorie sélectionnée"
                                << QStringList{"Langue pâle (9)", "Langue rouge (9)"};
        QTest::newRow("Enfants") << "Divers_62" << 62 << "Liste des symptômes pour la catégorie sélectionnée"
                                 << QStringList{};
    }

    void clickOpensTheCategory() {
        QFETCH(QString, control);
        QFETCH(int, categorie);
        QFETCH(QString, title);
        QFETCH(QStringList, entries);

        auto *widget = m_window->findChild<QWidget *>(control);
        const OpenedDialog seen = whileOpen([widget] { QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(4, 4)); });
        QVERIFY(seen.found);
        QCOMPARE(seen.categorie, categorie);
        QCOMPARE(seen.signe, 0);
        QCOMPARE(seen.title, title);
        QCOMPARE(seen.entries, entries);
        QCOMPARE(Shared::categorieChoisie, 0);
    }

    void rightClickOpensNothing() {
        const OpenedDialog seen =
            whileOpen([this] { QTest::mouseClick(label(43), Qt::RightButton, {}, QPoint(4, 4)); });
        QVERIFY(!seen.found);
        QCOMPARE(Shared::categorieChoisie, 0);
    }

    void validerRecordsAndAfterALookUpACategoryStillLists() {
        // Record "Pouls rapide (9)" from the map, then ask which syndromes it points to.
        QTimer::singleShot(0, this, [] {
            auto *dialog = qobject_cast<ModalityDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            auto *list = dialog->findChild<ItemList *>(QStringLiteral("ListeModalités"));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(2)).center());
            dialog->findChild<QPushButton *>(QStringLiteral("Choix_0"))->click();
        });
        QTest::mouseClick(label(43), Qt::LeftButton, {}, QPoint(4, 4));
        QCOMPARE(m_window->signes()->entries(), QList<ListEntry>({{"Pouls rapide (9)", 4301}}));

        ItemList *signes = m_window->signes();
        signes->setCurrentRow(0);
        const OpenedDialog lookUp = whileOpen([signes] { emit signes->itemDoubleClicked(signes->item(0)); }, 0);
        QVERIFY(lookUp.found);
        QCOMPARE(lookUp.signe, 4301);
        QCOMPARE(lookUp.title, QStringLiteral("Liste des syndromes pour le symptôme sélectionné"));
        QCOMPARE(lookUp.entries, QStringList{"Syndrome 1"});
        QCOMPARE(Shared::signeChoisi, 0);

        const OpenedDialog category =
            whileOpen([this] { QTest::mouseClick(label(18), Qt::LeftButton, {}, QPoint(4, 4)); });
        QCOMPARE(category.entries, QStringList({"Langue pâle (9)", "Langue rouge (9)"}));
    }

    void leadersJoinLabelsToTheirRegions() {
        const auto check = [this](const char *when) {
            const QRect image = map()->imageCarte()->geometry();
            const QList<CategoryMap::Leader> leaders = map()->leaders();
            QVERIFY2(leaders.size() >= 20, when);
            for (const CategoryMap::Leader &leader : leaders) {
                const QString what = QStringLiteral("%1, label %2").arg(QLatin1String(when)).arg(leader.labels.first());
                for (int k = 0; k < leader.labels.size(); ++k)
                    QVERIFY2(QRectF(label(leader.labels[k])->geometry()).contains(leader.strokes[k].first()),
                             qPrintable(what));
                QVERIFY2(QRectF(image).contains(leader.region), qPrintable(what));
                QCOMPARE(leader.strokes.last().last(), leader.region);
            }
        };
        check("first pass");
        m_window->resize(m_window->width() * 3 / 2, m_window->height() * 5 / 4);
        QTRY_VERIFY(map()->imageCarte()->width() > 400);
        check("larger");
        m_window->resize(m_window->width() / 2, m_window->height() * 3 / 4);
        QTRY_VERIFY(map()->imageCarte()->width() < 300);
        check("smaller");
    }

    void scaleControlsMultipliesFromTheFrameCorner() {
        const QRectF pouls = map()->labelGeometry(43);
        const QRectF enfants = map()->pictureGeometry(62);
        map()->scaleControls(2.0f, 1.5f);
        QCOMPARE(map()->labelGeometry(43), QRectF(pouls.x() * 2, pouls.y() * 1.5, pouls.width(), pouls.height()));
        // Pictures keep their proportions: both sides by the horizontal factor.
        QCOMPARE(map()->pictureGeometry(62),
                 QRectF(enfants.x() * 2, enfants.y() * 1.5, enfants.width() * 2, enfants.height() * 2));
        QCOMPARE(label(43)->geometry(), QRect(qRound(pouls.x() * 2 / 15), qRound(pouls.y() * 1.5 / 15),
                                              qRound(pouls.width() / 15), qRound(pouls.height() / 15)));
    }

    void doublingThePictureDoublesEveryDistance() {
        const QRectF image = map()->imageGeometry();
        QMap<int, QRectF> before;
        for (int index : CategoryMap::labelIndexes())
            before[index] = map()->labelGeometry(index);
        const QRectF diversBefore = map()->pictureGeometry(3);

        // The drawing is the frame's width less 400 twips, the frame 1/2.3 of the window.
        const double carteWidth = 2 * image.width() + 400;
        m_window->resize(int(carteWidth * 2.3 / 15) + 1 + (m_window->width() - m_window->centralWidget()->width()),
                         m_window->height());
        QTRY_VERIFY(map()->imageGeometry().width() > 1.9 * image.width());

        const double factor = map()->imageGeometry().width() / int(image.width());
        QVERIFY(qAbs(factor - 2) < 0.01);
        for (int index : CategoryMap::labelIndexes()) {
            const QRectF now = map()->labelGeometry(index);
            QVERIFY2(qAbs(now.x() - before[index].x() * factor) < 0.01, qPrintable(QString::number(index)));
            QCOMPARE(now.size(), before[index].size());
        }
        const QRectF diversNow = map()->pictureGeometry(3);
        QVERIFY(qAbs(diversNow.width() - diversBefore.width() * factor) < 0.01);
        QVERIFY(qAbs(diversNow.height() - diversBefore.height() * factor) < 0.01);
    }
};

QTEST_MAIN(TestCategoryMap)
#include "tst_categorymap.moc"
