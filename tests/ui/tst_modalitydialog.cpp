#include "DataSource.h"
#include "Database.h"
#include "ItemList.h"
#include "MessageBox.h"
#include "ModalityDialog.h"
#include "Shared.h"
#include "TestSupport.h"

#include <QAccessible>
#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolTip>

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
        QTest::mouseClick(list(dialog)->viewport(), Qt::LeftButton, {}, list(dialog)->entryRect(entry).center());
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
    bool runOpen(const std::function<void(ModalityDialog *)> &whileOpen, bool searching = false)
    {
        bool found = false;
        QTimer::singleShot(0, this, [&] {
            auto *dialog = qobject_cast<ModalityDialog *>(QApplication::activeModalWidget());
            if ((found = dialog != nullptr)) {
                // The focus goes where the dialog put it once its window is active.
                QVERIFY(QTest::qWaitForWindowActive(dialog));
                whileOpen(dialog);
                if (dialog->isVisible()) // a failed check must not leave the dialog waiting
                    dialog->reject();
            }
        });
        if (searching)
            ModalityDialog::openSearch(nullptr, m_source, *m_signes);
        else
            ModalityDialog::open(nullptr, QStringLiteral("Titre"), m_source, *m_signes, *m_syndromes);
        return found;
    }
    bool runSearch(const std::function<void(ModalityDialog *)> &whileOpen) { return runOpen(whileOpen, true); }
    static QLineEdit *field(ModalityDialog *dialog) { return dialog->findChild<QLineEdit *>("Recherche"); }
    static QStringList texts(const ItemList *liste)
    {
        QStringList all;
        for (const ListEntry &entry : liste->entries())
            all.append(entry.text);
        return all;
    }
    // Replaces what the search field holds by `words`, key by key.
    static void search(ModalityDialog *dialog, const QString &words)
    {
        field(dialog)->selectAll();
        QTest::keyClick(field(dialog), Qt::Key_Backspace);
        type(field(dialog), words);
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
                    const bool ticked = liste->modelIndex(i).data(Qt::CheckStateRole).toInt() == Qt::Checked;
                    if (ticked != liste->isMarked(i) ||
                        liste->selectionModel()->isSelected(liste->modelIndex(i)) != liste->isMarked(i))
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
                QVERIFY(!list(dialog)->modelIndex(i).data(Qt::CheckStateRole).isValid());
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
            QCOMPARE(list(dialog)->hasItemData(0), signe == 0);
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

    // The search on real widgets: each keystroke lists what the words typed find, each
    // sign with its category beside it, the recorded ones marked.
    void searchListsAsTyped()
    {
        m_signes->setEntries({{"Pouls fin (1)", 4303}, {"Langue pâle (9)", 1801}});
        QVERIFY(runSearch([&](ModalityDialog *dialog) {
            ItemList *liste = list(dialog);
            QCOMPARE(QApplication::focusWidget(), field(dialog));
            QCOMPARE(dialog->findChild<QLabel *>("Titre")->text(), QStringLiteral("Recherche de symptômes"));
            QCOMPARE(liste->count(), 0);
            type(field(dialog), "p");
            QCOMPARE(texts(liste), QStringList({"Langue pâle (9)", "Pouls fin (1)", "Pouls glissant (1)",
                                                "Pouls rapide (9)", "Pouls tendu (1)"}));
            type(field(dialog), "ouls");
            QCOMPARE(texts(liste),
                     QStringList({"Pouls fin (1)", "Pouls glissant (1)", "Pouls rapide (9)", "Pouls tendu (1)"}));
            // The category is beside the entry, not in its text.
            QCOMPARE(liste->aside(2), QStringLiteral("Pouls"));
            QCOMPARE(liste->entry(2), (ListEntry{"Pouls rapide (9)", 4301}));
            const QList<bool> marks{true, false, false, false};
            for (int i = 0; i < liste->count(); ++i) {
                QCOMPARE(liste->isMarked(i), marks[i]);
                QCOMPARE(liste->modelIndex(i).data(Qt::CheckStateRole).toInt() == Qt::Checked, marks[i]);
            }
            QCOMPARE(liste->note(), QString());
            type(field(dialog), " ra");
            QCOMPARE(texts(liste), QStringList({"Pouls rapide (9)"}));
        }));
    }

    // "Valider" records the marks of every search of the opening, and never touches a
    // recorded sign that no search listed.
    void searchValider_data()
    {
        QTest::addColumn<QStringList>("steps"); // words to search, or "click n" on entry n
        QTest::addColumn<int>("button");
        QTest::addColumn<Entries>("expected");

        const ListEntry fin{"Pouls fin (1)", 4303}, langue{"Langue pâle (9)", 1801}, rapide{"Pouls rapide (9)", 4301},
            zona{"Zona (9)", 201};
        QTest::newRow("an unlisted recorded sign stays") << QStringList{"pouls", "click 0"} << 0 << Entries{langue};
        QTest::newRow("marks kept across two searches")
            << QStringList{"pouls rap", "click 0", "teint z", "click 0"} << 0 << Entries{fin, langue, rapide, zona};
        QTest::newRow("a mark taken back in a later search")
            << QStringList{"pouls", "click 2", "teint", "pouls", "click 2"} << 0 << Entries{fin, langue};
        QTest::newRow("Annuler") << QStringList{"pouls", "click 0", "click 2"} << 1 << Entries{fin, langue};
    }

    void searchValider()
    {
        QFETCH(QStringList, steps);
        QFETCH(int, button);
        m_signes->setEntries({{"Pouls fin (1)", 4303}, {"Langue pâle (9)", 1801}});
        QVERIFY(runSearch([&](ModalityDialog *dialog) {
            for (const QString &step : steps) {
                if (step.startsWith("click "))
                    click(dialog, step.mid(6).toInt());
                else
                    search(dialog, step);
            }
            press(dialog, button);
        }));
        QTEST(m_signes->entries(), "expected");
    }

    // Enter goes from the field to the list, whose first entry Space marks; Escape clears
    // the field, and in an empty field cancels; Tab reaches both buttons and Space presses.
    void searchByKeyboard()
    {
        QVERIFY(runSearch([&](ModalityDialog *dialog) {
            ItemList *liste = list(dialog);
            type(field(dialog), "pouls");
            QTest::keyClick(field(dialog), Qt::Key_Escape);
            QVERIFY(dialog->isVisible());
            QCOMPARE(field(dialog)->text(), QString());
            QCOMPARE(liste->count(), 0);
            type(field(dialog), "pouls ten");
            QTest::keyClick(field(dialog), Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget(), liste);
            QTest::keyClick(liste, Qt::Key_Space);
            QVERIFY(liste->isMarked(0));
            QTest::keyClick(liste, Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Choix_0"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Choix_1"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        }));
        QCOMPARE(m_signes->entries(), (Entries{{"Pouls tendu (1)", 4304}}));

        // Escape in an empty field closes as "Annuler", whatever was marked.
        bool closed = false;
        QVERIFY(runSearch([&](ModalityDialog *dialog) {
            type(field(dialog), "pouls");
            click(dialog, 1);
            QTest::keyClick(field(dialog), Qt::Key_Escape);
            QVERIFY(dialog->isVisible());
            QTest::keyClick(field(dialog), Qt::Key_Escape);
            closed = !dialog->isVisible();
        }));
        QVERIFY(closed);
        QCOMPARE(m_signes->entries(), (Entries{{"Pouls tendu (1)", 4304}}));
    }

    // Past 200 entries a line tells how many more: not an entry, not markable, not
    // recorded by "Valider" with everything listed marked.
    void searchSaysHowManyMore()
    {
        QTemporaryDir dir;
        m_source.setDatabaseName(TestSupport::makeDatabase(dir, QStringLiteral("small.sql")));
        Database::open(m_source.databaseName())
            ->executeNative(
                QStringLiteral("WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s WHERE n < 300) "
                               "INSERT INTO Modalités SELECT 5000 + n, 'Pouls n° ' || n, 43 FROM s; "
                               "INSERT INTO Valorisation SELECT NumModalité, 3 FROM Modalités "
                               "WHERE NumModalité > 5000;"));
        QVERIFY(runSearch([&](ModalityDialog *dialog) {
            ItemList *liste = list(dialog);
            type(field(dialog), "pouls");
            QCOMPARE(liste->count(), 200);
            QCOMPARE(liste->model()->rowCount(), 201);
            const QModelIndex note = liste->model()->index(200, 0);
            QCOMPARE(note.data().toString(), QStringLiteral("… et 104 autres : précisez la recherche"));
            QCOMPARE(liste->note(), note.data().toString());
            QCOMPARE(note.flags(), Qt::NoItemFlags);
            QVERIFY(!note.data(Qt::CheckStateRole).isValid());
            // The keys go to the last entry and no further.
            QTest::keyClick(field(dialog), Qt::Key_Return);
            for (Qt::Key key : {Qt::Key_End, Qt::Key_Down, Qt::Key_PageDown}) {
                QTest::keyClick(liste, key);
                QCOMPARE(liste->currentRow(), 199);
            }
            QTest::mouseClick(liste->viewport(), Qt::LeftButton, {}, liste->visualRect(note).center());
            for (int i = 0; i < liste->count(); ++i)
                if (!liste->isMarked(i))
                    click(dialog, i);
            QCOMPARE(liste->count(), 200);
            type(field(dialog), " ra");
            QCOMPARE(liste->note(), QString());
            QCOMPARE(liste->model()->rowCount(), 1);
            search(dialog, "pouls");
            press(dialog, 0);
        }));
        QCOMPARE(m_signes->count(), 200);
        QVERIFY(!m_signes->entries().contains(ListEntry{"… et 104 autres : précisez la recherche", 0}));
    }

    // The field takes the top of the list's place in the search only; the dialog's size,
    // the title and the buttons stay where they are in every use. Every control has a name.
    void searchLayout()
    {
        QRect category, searchList, searchField;
        QList<QRect> others[2];
        Shared::categorieChoisie = 43;
        QVERIFY(runOpen([&](ModalityDialog *dialog) {
            category = list(dialog)->geometry();
            QVERIFY(!field(dialog));
            for (const char *name : {"Titre", "Choix_0", "Choix_1"})
                others[0].append(dialog->findChild<QWidget *>(name)->geometry());
            others[0].append(dialog->rect());
        }));
        QVERIFY(runSearch([&](ModalityDialog *dialog) {
            searchList = list(dialog)->geometry();
            searchField = field(dialog)->geometry();
            // Each control reads a name of its own to a screen reader.
            QSet<QString> names;
            for (const char *name : {"Recherche", "ListeModalités", "Choix_0", "Choix_1"}) {
                const QString read =
                    QAccessible::queryAccessibleInterface(dialog->findChild<QWidget *>(name))->text(QAccessible::Name);
                QVERIFY2(!read.isEmpty() && !names.contains(read), name);
                names.insert(read);
            }
            for (const char *name : {"Titre", "Choix_0", "Choix_1"})
                others[1].append(dialog->findChild<QWidget *>(name)->geometry());
            others[1].append(dialog->rect());
        }));
        QCOMPARE(category, QRect(24, 40, 377, 364)); // 360, 600, 5655, 5460 twips
        QCOMPARE(others[1], others[0]);
        QCOMPARE(searchList.bottom(), category.bottom());
        QCOMPARE(searchList.left(), category.left());
        QCOMPARE(searchList.width(), category.width());
        QCOMPARE(searchField.top(), category.top());
        QVERIFY(searchField.bottom() < searchList.top());
    }

    // An entry that does not fit its list tells its whole text on hovering.
    void longEntriesTellThemselves()
    {
        ItemList liste;
        liste.resize(160, 120);
        liste.setEntries(
            {{"Court (1)", 1},
             {"Douleur sourde de l'hypocondre droit irradiant vers l'épaule, aggravée par la colère (4)", 2}});
        liste.show();
        QVERIFY(QTest::qWaitForWindowExposed(&liste));
        QCOMPARE(liste.tipText(0), QString());
        QCOMPARE(liste.tipText(1), liste.text(1).toHtmlEscaped());
        const QPoint at = liste.entryRect(1).center();
        QHelpEvent hover(QEvent::ToolTip, at, liste.viewport()->mapToGlobal(at));
        QApplication::sendEvent(liste.viewport(), &hover);
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), liste.tipText(1));
        liste.resize(900, 120);
        QCOMPARE(liste.tipText(1), QString());
    }
};

QTEST_MAIN(TestModalityDialog)
#include "tst_modalitydialog.moc"
