#include "DataSource.h"
#include "ItemList.h"
#include "MessageBox.h"
#include "ModalityDialog.h"
#include "Shared.h"
#include "TestSupport.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <utility>

using Entries = QList<ListEntry>;

// The modality dialog on real widgets: what every way of closing it leaves in Signes and
// in the shared numbers.
class TestModalityDialog : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_path = TestSupport::makeDatabase(m_dir, QStringLiteral("small.sql"));
    DataSource m_source;
    std::unique_ptr<ItemList> m_signes, m_syndromes;
    inline static const Entries recorded{{"Pouls fin (1)", 4303}, {"Syndrome 1", 1}};

    static ItemList *list(ModalityDialog *dialog) { return dialog->findChild<ItemList *>("ListeModalités"); }
    static void click(ModalityDialog *dialog, int entry)
    {
        QTest::mouseClick(list(dialog)->viewport(), Qt::LeftButton, {},
                          list(dialog)->visualItemRect(list(dialog)->item(entry)).center());
    }
    // Types `text` key by key, accented letters included, as a keyboard would send it.
    static void type(QWidget *target, const QString &text)
    {
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, target, c == u' ' ? Qt::Key_Space : Qt::Key(c.toUpper().unicode()),
                                QString(c), Qt::NoModifier);
    }
    static void press(ModalityDialog *d, int i) { d->findChild<QPushButton *>(QString("Choix_%1").arg(i))->click(); }

    // Opens the dialog as the main window does and runs `whileOpen` on it once it is up.
    bool runOpen(const std::function<void(ModalityDialog *)> &whileOpen)
    {
        bool found = false;
        QTimer::singleShot(0, this, [&] {
            auto *dialog = qobject_cast<ModalityDialog *>(QApplication::activeModalWidget());
            if ((found = dialog != nullptr)) {
                whileOpen(dialog);
                if (dialog->isVisible()) // a failed check must not leave the dialog waiting
                    dialog->reject();
            }
        });
        ModalityDialog::open(nullptr, QStringLiteral("Titre"), m_source, *m_signes, *m_syndromes);
        return found;
    }

private slots:
    void initTestCase() { MessageBox::setTesting(true); }

    void init()
    {
        MessageBox::takeShown();
        m_source.setDatabaseName(m_path);
        Shared::signeChoisi = 0;
        Shared::categorieChoisie = 0;
        m_signes = std::make_unique<ItemList>();
        m_syndromes = std::make_unique<ItemList>();
        m_syndromes->setEntries({{"Syndrome 1  (9)", 1}});
    }

    void everyCloseResetsTheNumbers_data()
    {
        QTest::addColumn<qint32>("signe");
        QTest::addColumn<qint32>("categorie");
        QTest::addColumn<int>("how"); // the button pressed, or -1: a close event

        for (int how : {0, 1, -1}) {
            const char *way = how < 0 ? "close event" : how ? "Annuler" : "Valider";
            QTest::addRow("category, %s", way) << 0 << 43 << how;
            QTest::addRow("sign, %s", way) << 4301 << 0 << how;
            QTest::addRow("database failure, %s", way) << 0 << 18 << how;
        }
    }

    void everyCloseResetsTheNumbers()
    {
        QFETCH(qint32, signe);
        QFETCH(qint32, categorie);
        const bool failing = categorie == 18;
        QFETCH(int, how);

        if (failing)
            m_source.setDatabaseName(m_dir.filePath(QStringLiteral("absent.mdb")));
        Shared::signeChoisi = signe;
        Shared::categorieChoisie = categorie;
        QVERIFY(runOpen([&](ModalityDialog *dialog) {
            QCOMPARE(std::pair(Shared::signeChoisi, Shared::categorieChoisie), std::pair(signe, categorie));
            QCOMPARE(list(dialog)->count() == 0, failing);
            how < 0 ? void(dialog->close()) : press(dialog, how);
        }));
        QCOMPARE(std::pair(Shared::signeChoisi, Shared::categorieChoisie), std::pair(0, 0));
        const QList<MessageBox::Shown> shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), failing ? 1 : 0);
        if (failing)
            QVERIFY(shown.first().icon == MessageBox::Icon::Critical && shown.first().text.contains("absent.mdb"));
    }

    // Typing, arrows and the page keys move the current entry and never change a mark; the
    // check boxes show the marks wherever they mean something.
    void marksChangeOnlyWhenMeant_data()
    {
        QTest::addColumn<QList<bool>>("marks");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QList<int>>("keys");

        const QList<QList<bool>> patterns{
            {true, true, true, true}, {false, false, false, false}, {true, false, true, false}};
        const QList<int> none;
        for (const QList<bool> &marks : patterns) {
            const QString name = marks.count(true) == 4 ? "all marked" : marks.count(true) ? "half" : "none";
            QTest::addRow("%s, words with blanks", qPrintable(name)) << marks << "Pouls sra" << none;
            QTest::addRow("%s, word starts", qPrintable(name)) << marks << "fin glissant tendu" << none;
            QTest::addRow("%s, accented letters", qPrintable(name)) << marks << "éÉèçœ’" << none;
            QTest::addRow("%s, no match", qPrintable(name)) << marks << "xyz" << none;
            QTest::addRow("%s, keys", qPrintable(name)) << marks << QString()
                                                        << QList<int>{Qt::Key_Down,
                                                                      Qt::Key_Down,
                                                                      Qt::Key_Up,
                                                                      Qt::Key_PageDown,
                                                                      Qt::Key_PageUp,
                                                                      Qt::Key_End,
                                                                      Qt::Key_Home,
                                                                      Qt::Key_Right,
                                                                      Qt::Key_Left,
                                                                      int(Qt::ShiftModifier) | Qt::Key_Down,
                                                                      int(Qt::ControlModifier) | Qt::Key_A,
                                                                      int(Qt::ControlModifier) | Qt::Key_Down};
        }
    }

    void marksChangeOnlyWhenMeant()
    {
        QFETCH(QList<bool>, marks);
        QFETCH(QString, typed);
        QFETCH(QList<int>, keys);

        for (int i = 0; i < marks.size(); ++i)
            if (marks[i])
                m_signes->addEntry(ListEntry{
                    QStringList{"Pouls fin (1)", "Pouls glissant (1)", "Pouls rapide (9)", "Pouls tendu (1)"}[i],
                    4303});
        Shared::categorieChoisie = 43;
        QVERIFY(runOpen([&](ModalityDialog *dialog) {
            ItemList *liste = list(dialog);
            const auto shown = [&] {
                QList<bool> now;
                for (int i = 0; i < liste->count(); ++i) {
                    const bool ticked = liste->item(i)->data(Qt::CheckStateRole).toInt() == Qt::Checked;
                    if (ticked != liste->isMarked(i) || liste->item(i)->isSelected() != liste->isMarked(i))
                        return QList<bool>{}; // a check box or a highlight that lies
                    now.append(ticked);
                }
                return now;
            };
            QCOMPARE(shown(), marks);
            type(liste, typed);
            for (int key : keys)
                QTest::keyClick(liste, Qt::Key(key & ~Qt::KeyboardModifierMask),
                                Qt::KeyboardModifiers(key & Qt::KeyboardModifierMask));
            QCOMPARE(shown(), marks);
        }));
    }

    // Typing finds an entry by the start of any of its words; once the search has lapsed,
    // the space bar toggles exactly that entry.
    void spaceTogglesTheEntryFound()
    {
        m_signes->addEntry(ListEntry{"Pouls fin (1)", 4303});
        Shared::categorieChoisie = 43;
        QVERIFY(runOpen([&](ModalityDialog *dialog) {
            ItemList *liste = list(dialog);
            type(liste, "tend");
            QCOMPARE(liste->currentRow(), 3);
            QTest::qWait(QApplication::keyboardInputInterval() + 100);
            QTest::keyClick(liste, Qt::Key_Space);
            const QList<bool> expected{true, false, false, true};
            for (int i = 0; i < liste->count(); ++i)
                QCOMPARE(liste->isMarked(i), expected[i]);
        }));
    }

    void noCheckBoxesOnTheSyndromesOfASign()
    {
        Shared::signeChoisi = 4302;
        QVERIFY(runOpen([&](ModalityDialog *dialog) {
            QVERIFY(list(dialog)->count() > 0);
            for (int i = 0; i < list(dialog)->count(); ++i)
                QVERIFY(!list(dialog)->item(i)->data(Qt::CheckStateRole).isValid());
        }));
    }

    void marksReachSignesOnlyThroughValider_data()
    {
        QTest::addColumn<qint32>("signe");
        QTest::addColumn<qint32>("categorie"); // 0: the selected syndrome 1, which lists the same signs
        QTest::addColumn<int>("button");
        QTest::addColumn<Entries>("expected");

        const Entries validated{{"Syndrome 1", 1}, {"Pouls glissant (1)", 4302}};
        QTest::newRow("category, Valider") << 0 << 43 << 0 << validated;
        QTest::newRow("syndrome, Valider") << 0 << 0 << 0 << validated;
        QTest::newRow("Annuler") << 0 << 43 << 1 << recorded;
        QTest::newRow("syndromes of a sign, Valider: nothing removed") << 4301 << 0 << 0 << recorded;
    }

    void marksReachSignesOnlyThroughValider()
    {
        QFETCH(qint32, signe);
        QFETCH(qint32, categorie);
        QFETCH(int, button);

        m_signes->setEntries(recorded);
        m_syndromes->setCurrentRow(0);
        Shared::signeChoisi = signe;
        Shared::categorieChoisie = categorie;
        QVERIFY(runOpen([&](ModalityDialog *dialog) {
            // Entry 0 is "Pouls fin (1)", or "Syndrome 1" which a sign's syndromes never mark.
            QCOMPARE(list(dialog)->isMarked(0), signe == 0);
            QCOMPARE(list(dialog)->item(0)->data(Qt::UserRole).isValid(), signe == 0);
            for (int entry = 0; signe == 0 && entry < 2; ++entry)
                click(dialog, entry); // "Pouls fin (1)" unmarked, "Pouls glissant (1)" marked
            for (const char *focus : {"ListeModalités", "Choix_0", "Choix_1"})
                for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
                    auto *target = dialog->findChild<QWidget *>(focus);
                    target->setFocus();
                    QTest::keyClick(target, key);
                    QVERIFY2(dialog->isVisible(), focus); // neither Escape nor Enter closes it
                }
            press(dialog, button);
        }));
        QTEST(m_signes->entries(), "expected");
    }
};

QTEST_MAIN(TestModalityDialog)
#include "tst_modalitydialog.moc"
