#include "DataSource.h"
#include "ItemList.h"
#include "MessageBox.h"
#include "ModalityDialog.h"
#include "SharedState.h"
#include "TestSupport.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <functional>

using Entries = QList<ListEntry>;

// frmModalités on real widgets: its look, its keys, and what every way of closing it
// leaves in Signes and in the shared numbers.
class TestModalityDialog : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_path;
    DataSource m_listeValeurs;
    ItemList *m_signes = nullptr;
    ItemList *m_syndromes = nullptr;
    QWidget m_owner;

    static ItemList *list(ModalityDialog *dialog) {
        return dialog->findChild<ItemList *>(QStringLiteral("ListeModalités"));
    }
    static QPushButton *choix(ModalityDialog *dialog, int i) {
        return dialog->findChild<QPushButton *>(QStringLiteral("Choix_%1").arg(i));
    }
    static void clickEntry(ModalityDialog *dialog, int index) {
        ItemList *liste = list(dialog);
        QTest::mouseClick(liste->viewport(), Qt::LeftButton, {}, liste->visualItemRect(liste->item(index)).center());
    }

    // Opens the dialog as the main window does and runs `whileOpen` on it once it is up;
    // `whileOpen` must close it. Returns whether the dialog was found open.
    bool runOpen(const std::function<void(ModalityDialog *)> &whileOpen,
                 const QString &title = QStringLiteral("Liste des modalités pour la catégorie sélectionnée")) {
        bool found = false;
        QTimer::singleShot(0, this, [&] {
            auto *dialog = qobject_cast<ModalityDialog *>(QApplication::activeModalWidget());
            found = dialog != nullptr;
            if (!dialog)
                return;
            whileOpen(dialog);
            // A failed check inside `whileOpen` must not leave the test waiting on the dialog.
            if (dialog->isVisible())
                dialog->reject();
        });
        ModalityDialog::open(&m_owner, title, m_listeValeurs, *m_signes, *m_syndromes);
        return found;
    }

private slots:
    void initTestCase() {
        MessageBox::setTesting(true);
        m_path = TestSupport::makeDatabase(m_dir, QStringLiteral("small.sql"));
        m_listeValeurs.setDatabaseName(m_path);
        m_owner.resize(300, 200);
    }

    void init() {
        MessageBox::takeShown();
        Shared::signeChoisi = 0;
        Shared::categorieChoisie = 0;
        m_signes = new ItemList(&m_owner);
        m_syndromes = new ItemList(&m_owner);
    }

    void cleanup() {
        delete m_signes;
        delete m_syndromes;
        m_listeValeurs.setDatabaseName(m_path);
    }

    void looksAsDesigned() {
        Shared::categorieChoisie = 43;
        ModalityDialog dialog(&m_owner, QStringLiteral("Un titre"), m_listeValeurs, *m_signes, *m_syndromes);
        QVERIFY(dialog.windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(dialog.isModal());
        QCOMPARE(dialog.minimumSize(), QSize(426, 476));
        QCOMPARE(dialog.maximumSize(), QSize(426, 476));

        auto *titre = dialog.findChild<QLabel *>(QStringLiteral("Titre"));
        QCOMPARE(titre->text(), QStringLiteral("Un titre"));
        QCOMPARE(titre->palette().color(titre->foregroundRole()), QColor(255, 0, 0));
        QCOMPARE(list(&dialog)->selectionMode(), QAbstractItemView::MultiSelection);
        QCOMPARE(choix(&dialog, 0)->text(), QStringLiteral("Valider"));
        QCOMPARE(choix(&dialog, 1)->text(), QStringLiteral("Annuler"));
        // Each button its own pointer.
        QVERIFY(choix(&dialog, 0)->cursor().pixmap().toImage() != choix(&dialog, 1)->cursor().pixmap().toImage());
        QVERIFY(!choix(&dialog, 0)->cursor().pixmap().isNull());

        // Centred on the screen.
        QCOMPARE(dialog.frameGeometry().center(), m_owner.screen()->geometry().center());
    }

    void listFocusedFirst() {
        Shared::categorieChoisie = 43;
        QString focused;
        QVERIFY(runOpen([&](ModalityDialog *dialog) {
            QTRY_VERIFY(dialog->isActiveWindow());
            if (QWidget *widget = QApplication::focusWidget())
                focused = widget->objectName();
            choix(dialog, 1)->click();
        }));
        QCOMPARE(focused, QStringLiteral("ListeModalités"));
    }

    void opensOnEachUse_data() {
        QTest::addColumn<qint32>("signe");
        QTest::addColumn<qint32>("categorie");
        QTest::addColumn<int>("selectedSyndrome"); // row of Syndromes, -1 for none
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QList<bool>>("marked");
        QTest::addColumn<bool>("itemData");

        // Signes holds "Pouls fin (1)", "Langue pâle (9)" and "Syndrome 1"; Syndromes lists
        // syndrome 2 then syndrome 1.
        QTest::newRow("category") << 0 << 43 << -1
                                  << QStringList{"Pouls fin (1)", "Pouls glissant (1)", "Pouls rapide (9)",
                                                 "Pouls tendu (1)"}
                                  << QList<bool>{true, false, false, false} << true;
        QTest::newRow("syndrome selected")
            << 0 << 0 << 1 << QStringList{"Pouls fin (1)", "Pouls glissant (1)", "Pouls rapide (9)", "Pouls tendu (1)"}
            << QList<bool>{true, false, false, false} << true;
        QTest::newRow("syndromes of a sign, never marked")
            << 4301 << 0 << 0 << QStringList{"Syndrome 1"} << QList<bool>{false} << false;
        QTest::newRow("no syndrome selected") << 0 << 0 << -1 << QStringList{} << QList<bool>{} << true;
    }

    void opensOnEachUse() {
        QFETCH(qint32, signe);
        QFETCH(qint32, categorie);
        QFETCH(int, selectedSyndrome);
        QFETCH(QStringList, texts);
        QFETCH(QList<bool>, marked);
        QFETCH(bool, itemData);

        m_signes->setEntries({{"Pouls fin (1)", 4303}, {"Langue pâle (9)", 1801}, {"Syndrome 1", 1}});
        m_syndromes->setEntries({{"Syndrome 2  (9)", 2}, {"Syndrome 1  (9)", 1}});
        if (selectedSyndrome >= 0)
            m_syndromes->setCurrentRow(selectedSyndrome);
        Shared::signeChoisi = signe;
        Shared::categorieChoisie = categorie;

        ModalityDialog dialog(&m_owner, QString(), m_listeValeurs, *m_signes, *m_syndromes);
        ItemList *liste = list(&dialog);
        QStringList shown;
        QList<bool> marks;
        for (int i = 0; i < liste->count(); ++i) {
            shown << liste->text(i);
            marks << liste->isMarked(i);
            QCOMPARE(liste->item(i)->data(Qt::UserRole).isValid(), itemData);
        }
        QCOMPARE(shown, texts);
        QCOMPARE(marks, marked);
    }

    void everyCloseResetsTheNumbers_data() {
        QTest::addColumn<qint32>("signe");
        QTest::addColumn<qint32>("categorie");
        QTest::addColumn<QString>("how");

        for (const char *how : {"Valider", "Annuler", "close"}) {
            QTest::addRow("category, %s", how) << 0 << 43 << QString::fromLatin1(how);
            QTest::addRow("sign, %s", how) << 4301 << 0 << QString::fromLatin1(how);
            QTest::addRow("database failure, %s", how) << 0 << 18 << QString::fromLatin1(how);
        }
    }

    void everyCloseResetsTheNumbers() {
        QFETCH(qint32, signe);
        QFETCH(qint32, categorie);
        QFETCH(QString, how);

        const bool failing = categorie == 18;
        if (failing)
            m_listeValeurs.setDatabaseName(m_dir.filePath(QStringLiteral("absent.mdb")));
        Shared::signeChoisi = signe;
        Shared::categorieChoisie = categorie;
        qint32 signeWhileOpen = -1;
        qint32 categorieWhileOpen = -1;
        int entries = -1;
        QVERIFY(runOpen([&](ModalityDialog *dialog) {
            signeWhileOpen = Shared::signeChoisi;
            categorieWhileOpen = Shared::categorieChoisie;
            entries = list(dialog)->count();
            if (how == QLatin1String("close"))
                dialog->close();
            else
                choix(dialog, how == QLatin1String("Valider") ? 0 : 1)->click();
        }));
        QCOMPARE(signeWhileOpen, signe);
        QCOMPARE(categorieWhileOpen, categorie);
        QCOMPARE(Shared::signeChoisi, 0);
        QCOMPARE(Shared::categorieChoisie, 0);
        // Nothing was marked: whichever way it closed, Signes stays empty.
        QCOMPARE(m_signes->count(), 0);

        const QList<MessageBox::Shown> shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), failing ? 1 : 0);
        if (failing) {
            QCOMPARE(entries, 0);
            QCOMPARE(shown.first().icon, MessageBox::Icon::Critical);
            QVERIFY(shown.first().text.contains(QStringLiteral("absent.mdb")));
        } else {
            QVERIFY(entries > 0);
        }
    }

    void marksReachSignesOnlyThroughValider_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<Entries>("expected");

        QTest::newRow("Valider") << QStringLiteral("Valider")
                                 << Entries{{"Langue pâle (9)", 1801}, {"Pouls glissant (1)", 4302}};
        QTest::newRow("Annuler") << QStringLiteral("Annuler")
                                 << Entries{{"Pouls fin (1)", 4303}, {"Langue pâle (9)", 1801}};
    }

    void marksReachSignesOnlyThroughValider() {
        QFETCH(QString, button);
        QFETCH(Entries, expected);

        m_signes->setEntries({{"Pouls fin (1)", 4303}, {"Langue pâle (9)", 1801}});
        Shared::categorieChoisie = 43;
        QVERIFY(runOpen([&](ModalityDialog *dialog) {
            clickEntry(dialog, 0); // unmarks "Pouls fin (1)"
            clickEntry(dialog, 1); // marks "Pouls glissant (1)"
            choix(dialog, button == QLatin1String("Valider") ? 0 : 1)->click();
        }));
        QCOMPARE(m_signes->entries(), expected);
    }

    void syndromesOfASignAreReadOnly() {
        m_signes->setEntries({{"Pouls rapide (9)", 4301}});
        Shared::signeChoisi = 4301;
        QVERIFY(runOpen(
            [&](ModalityDialog *dialog) {
                clickEntry(dialog, 0);
                QVERIFY(list(dialog)->isMarked(0));
                choix(dialog, 0)->click();
            },
            QStringLiteral("Liste des syndromes pour le symptôme sélectionné")));
        QCOMPARE(m_signes->entries(), Entries({{"Pouls rapide (9)", 4301}}));
    }

    void neitherEscapeNorEnterCloses_data() {
        QTest::addColumn<QString>("focus"); // the object that has the focus when the key comes
        QTest::addColumn<int>("key");

        for (const char *focus : {"ListeModalités", "Choix_0", "Choix_1"}) {
            QTest::addRow("Escape on %s", focus) << QString::fromUtf8(focus) << int(Qt::Key_Escape);
            QTest::addRow("Return on %s", focus) << QString::fromUtf8(focus) << int(Qt::Key_Return);
            QTest::addRow("Enter on %s", focus) << QString::fromUtf8(focus) << int(Qt::Key_Enter);
        }
    }

    void neitherEscapeNorEnterCloses() {
        QFETCH(QString, focus);
        QFETCH(int, key);

        m_signes->setEntries({{"Pouls fin (1)", 4303}});
        Shared::categorieChoisie = 43;
        bool openAfterKey = false;
        int categorieAfterKey = -1;
        QVERIFY(runOpen([&](ModalityDialog *dialog) {
            auto *target = dialog->findChild<QWidget *>(focus);
            target->setFocus();
            clickEntry(dialog, 2); // a change that Valider would record
            target->setFocus();
            QTest::keyClick(target, Qt::Key(key));
            openAfterKey = dialog->isVisible();
            categorieAfterKey = Shared::categorieChoisie;
            if (openAfterKey)
                choix(dialog, 1)->click();
        }));
        QVERIFY(openAfterKey);
        QCOMPARE(categorieAfterKey, 43);
        QCOMPARE(m_signes->entries(), Entries({{"Pouls fin (1)", 4303}}));
    }
};

QTEST_MAIN(TestModalityDialog)
#include "tst_modalitydialog.moc"
