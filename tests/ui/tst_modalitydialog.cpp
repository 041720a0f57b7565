#include "Contrast.h"
#include "DataSource.h"
#include "Database.h"
#include "MessageBox.h"
#include "ModalityDialog.h"
#include "TestSupport.h"
#include "UiTest.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextDocument>

using namespace Qt::StringLiterals;
using Entries = QList<ListEntry>;
using UiTest::click;

// The sign dialog on real widgets: which marks reach the recorded signs, however it closes;
// and its list on its own.
class TestModalityDialog : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_path = TestSupport::makeDatabase(m_dir, QStringLiteral("small.sql"));
    DataSource m_source;
    Entries m_signes; // the recorded signs: those the dialog opens with, then those it leaves
    inline static const Entries recorded{{"Pouls fin (1)", 4303}, {"Syndrome 1", 1}};

    static ItemList *list(QDialog *d) { return d->findChild<ItemList *>("ListeModalités"); }
    static QLineEdit *field(QDialog *d) { return d->findChild<QLineEdit *>("Recherche"); }
    static void press(QDialog *d, int i) { d->findChild<QPushButton *>(QString("Choix_%1").arg(i))->click(); }
    // Key by key, accented letters included, as a keyboard sends them.
    static void type(QWidget *target, const QString &text)
    {
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, target, c == u' ' ? Qt::Key_Space : Qt::Key(c.toUpper().unicode()),
                                QString(c), Qt::NoModifier);
    }
    // As the main window opens it: the choice loaded, then the dialog; "Valider" leaves its
    // signs recorded.
    bool whileOpen(const std::function<void(QDialog *)> &run, ModalityChoice choice = ModalityChoice::forCategory(43))
    {
        choice.load(m_source);
        return UiTest::whileModal(
            [&] {
                ModalityDialog dialog(nullptr, "Titre", choice, m_signes);
                if (dialog.exec() == QDialog::Accepted)
                    m_signes = dialog.validated();
            },
            run);
    }
    bool whileSearching(const auto &run) { return whileOpen(run, ModalityChoice::forSearch()); }

private slots:
    void initTestCase() { MessageBox::setTesting(true); }

    void init()
    {
        m_source.setDatabaseName(m_path);
        m_signes.clear();
    }

    // Marks reach the recorded signs through "Valider" only. Escape closes nothing, Enter
    // presses only the button that has the keyboard.
    void closing()
    {
        const Entries validated{{"Syndrome 1", 1}, {"Pouls glissant (1)", 4302}};
        // Whether the dialog lists a sign's syndromes rather than a category's signs; how it
        // closes: the button clicked, the button + 2 given Enter, or -1: the frame closes it;
        // whether the marks are then recorded.
        for (auto [sign, how, kept] :
             {std::tuple{false, 0, true}, {false, 2, true}, {false, 3, false}, {false, -1, false}, {true, 0, false}}) {
            m_signes = recorded;
            QVERIFY(whileOpen(
                [&](QDialog *dialog) {
                    ItemList *liste = list(dialog);
                    QCOMPARE(QApplication::focusWidget(), liste);         // the keys go to the list at once
                    QCOMPARE(liste->geometry(), QRect(24, 40, 377, 364)); // 360, 600, 5655, 5460 twips
                    // Entry 0 is "Pouls fin (1)", or "Syndrome 1", which a sign's syndromes never
                    // mark: they carry no check box and no item data.
                    for (int i = 0; i < liste->count(); ++i)
                        QCOMPARE(liste->modelIndex(i).data(Qt::CheckStateRole).isValid(), !sign);
                    QCOMPARE(std::pair(liste->isMarked(0), liste->hasItemData(0)), std::pair(!sign, !sign));
                    for (int entry = 0; entry < 2; ++entry)
                        click(liste, entry); // "Pouls fin (1)" unmarked, "Pouls glissant (1)" marked
                    for (const char *focus : {"ListeModalités", "Choix_0", "Choix_1"})
                        for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
                            if (key != Qt::Key_Escape && focus != QLatin1String("ListeModalités"))
                                continue;
                            dialog->findChild<QWidget *>(focus)->setFocus();
                            QTest::keyClick(QApplication::focusWidget(), key);
                            QVERIFY2(dialog->isVisible(), focus);
                        }
                    if (how < 2)
                        return how < 0 ? void(dialog->close()) : press(dialog, how);
                    dialog->findChild<QWidget *>(QString("Choix_%1").arg(how - 2))->setFocus();
                    QTest::keyClick(QApplication::focusWidget(), how == 2 ? Qt::Key_Return : Qt::Key_Enter,
                                    how == 2 ? Qt::NoModifier : Qt::KeypadModifier);
                },
                sign ? ModalityChoice::forSign(4301) : ModalityChoice::forCategory(43)));
            QCOMPARE(m_signes, kept ? validated : recorded);
        }
    }

    // Typing, arrows and the page keys move the current entry and never change a mark; the
    // check boxes and the highlight show the marks.
    void marksChangeOnlyWhenMeant()
    {
        const Entries signs{{"Pouls fin (1)", 4303},
                            {"Pouls glissant (1)", 4302},
                            {"Pouls rapide (9)", 4301},
                            {"Pouls tendu (1)", 4304}};
        // All marked with words and a space, none with several words, two with accents and no match.
        for (auto [marks, typed] : {std::pair{QList<bool>{true, true, true, true}, QStringLiteral("Pouls sra")},
                                    {{false, false, false, false}, QStringLiteral("fin glissant tendu")},
                                    {{true, false, true, false}, QStringLiteral("éÉèçœ’ xyz")}}) {
            m_signes.clear();
            for (int i = 0; i < marks.size(); ++i)
                if (marks[i])
                    m_signes.append(signs[i]);
            QVERIFY(whileOpen([&](QDialog *dialog) {
                ItemList *liste = list(dialog);
                const auto shown = [&] {
                    QList<bool> now;
                    for (int i = 0; i < liste->count(); ++i) {
                        const bool ticked = liste->modelIndex(i).data(Qt::CheckStateRole).toInt() == Qt::Checked;
                        if (ticked != liste->isMarked(i) ||
                            liste->selectionModel()->isSelected(liste->modelIndex(i)) != ticked)
                            return QList<bool>{}; // a check box or a highlight that lies
                        now.append(ticked);
                    }
                    return now;
                };
                QCOMPARE(shown(), marks);
                type(liste, typed);
                for (const char *keys :
                     {"Down, Down, Up, PgDown", "PgUp, End, Home, Right", "Left, Shift+Down, Ctrl+A, Ctrl+Down"})
                    QTest::keySequence(liste, QKeySequence(keys));
                QCOMPARE(shown(), marks);
            }));
        }

        // Typing finds an entry by the start of any of its words; once the search has lapsed,
        // the space bar toggles exactly that entry.
        m_signes = {{"Pouls fin (1)", 4303}};
        QVERIFY(whileOpen([&](QDialog *dialog) {
            ItemList *liste = list(dialog);
            type(liste, "tend");
            QCOMPARE(liste->currentRow(), 3);
            QTest::qWait(QApplication::keyboardInputInterval() + 100);
            QTest::keyClick(liste, Qt::Key_Space);
            for (int i = 0; i < liste->count(); ++i)
                QCOMPARE(liste->isMarked(i), i == 0 || i == 3);
        }));
    }

    // Each keystroke lists what the words typed find, each sign with its category beside
    // it, the recorded ones marked. Escape clears the field, and in an empty field closes
    // as "Annuler"; Enter goes to the list; Tab reaches both buttons and Space presses them.
    // "Valider" records the marks of every search of the opening, and keeps a recorded sign
    // that no search listed.
    void searchByKeyboard()
    {
        const ListEntry fin{"Pouls fin (1)", 4303}, langue{"Langue pâle (9)", 1801}, tendu{"Pouls tendu (1)", 4304};
        m_signes = {fin, langue};
        QVERIFY(whileSearching([&](QDialog *dialog) {
            ItemList *liste = list(dialog);
            QCOMPARE(QApplication::focusWidget(), field(dialog));
            // The field takes the top of the list's place.
            QCOMPARE(field(dialog)->geometry().united(liste->geometry()), QRect(24, 40, 377, 364));
            QVERIFY(field(dialog)->geometry().bottom() < liste->geometry().top());
            QSet<QString> names; // every control reads a name of its own
            for (const char *name : {"Recherche", "ListeModalités", "Choix_0", "Choix_1"})
                names.insert(
                    QAccessible::queryAccessibleInterface(dialog->findChild<QWidget *>(name))->text(QAccessible::Name));
            QVERIFY(names.size() == 4 && !names.contains(QString()));
            QCOMPARE(liste->count(), 0);
            const QPalette title = dialog->findChild<QLabel *>("Titre")->palette();
            const QColor red = title.color(QPalette::WindowText);
            QVERIFY(Contrast::ratio(red, title.color(QPalette::Window)) >= 4.5 && red.red() > 4 * red.green());
            type(field(dialog), "p");
            QCOMPARE(liste->count(), 6);
            type(field(dialog), "ouls");
            QCOMPARE(liste->count(), 5);
            QCOMPARE(liste->aside(2), QStringLiteral("Pouls"));
            for (int i = 0; i < liste->count(); ++i)
                QCOMPARE(liste->modelIndex(i).data(Qt::CheckStateRole).toInt() == Qt::Checked, i == 0);
            QTest::keyClick(field(dialog), Qt::Key_Escape);
            QVERIFY(dialog->isVisible());
            QCOMPARE(liste->count(), 0);
            type(field(dialog), "pouls ten");
            QCOMPARE(liste->entries(), Entries{tendu});
            QTest::keyClick(field(dialog), Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget(), liste);
            QTest::keyClick(liste, Qt::Key_Space);
            QTest::keyClick(liste, Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Choix_0"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Choix_1"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        }));
        QCOMPARE(m_signes, (Entries{fin, langue, tendu}));

        QVERIFY(whileSearching([&](QDialog *dialog) {
            type(field(dialog), "pouls");
            click(list(dialog), 1);
            QTest::keyClick(field(dialog), Qt::Key_Escape);
            QVERIFY(dialog->isVisible());
            QTest::keyClick(field(dialog), Qt::Key_Escape);
            QVERIFY(!dialog->isVisible());
        }));
        QCOMPARE(m_signes, (Entries{fin, langue, tendu}));

        QVERIFY(whileSearching([&](QDialog *dialog) {
            for (const char *words : {"pouls rap", "teint z"}) {
                field(dialog)->clear();
                type(field(dialog), words);
                click(list(dialog), 0);
            }
            press(dialog, 0);
        }));
        QCOMPARE(m_signes, (Entries{fin, langue, tendu, {"Pouls rapide (9)", 4301}, {"Zona (9)", 201}}));
    }

    // Past 200 entries a line tells how many more: not an entry, not markable, not recorded
    // by "Valider" with everything listed marked.
    void searchSaysHowManyMoreAndRetiredSigns()
    {
        m_source.setDatabaseName(TestSupport::makeDatabase(m_dir, u"small.sql"_s, u"more.mdb"_s));
        Database::open(m_source.databaseName())
            ->executeNative("WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s WHERE n < 300) "
                            "INSERT INTO Modalités SELECT 5000 + n, 'Pouls n° ' || n, 43 FROM s; "
                            "INSERT INTO Valorisation SELECT NumModalité, 3 FROM Modalités WHERE NumModalité > 5000;");
        // 300 signs, the fixture's four and its retired one.
        const QString note = QStringLiteral("… et 105 autres : précisez la recherche");
        QVERIFY(whileSearching([&](QDialog *dialog) {
            ItemList *liste = list(dialog);
            type(field(dialog), "pouls");
            QCOMPARE(liste->count(), 200);
            const QModelIndex last = liste->model()->index(200, 0);
            QCOMPARE(last.data().toString(), note);
            QCOMPARE(last.flags(), Qt::NoItemFlags);
            QTest::keyClick(field(dialog), Qt::Key_Return);
            for (Qt::Key key : {Qt::Key_End, Qt::Key_Down, Qt::Key_PageDown}) {
                QTest::keyClick(liste, key);
                QCOMPARE(liste->currentRow(), 199); // the keys never stop on the note
            }
            QTest::mouseClick(liste->viewport(), Qt::LeftButton, {}, liste->visualRect(last).center());
            for (int i = 0; i < liste->count(); ++i)
                if (!liste->isMarked(i))
                    click(liste, i);
            press(dialog, 0);
        }));
        QCOMPARE(m_signes.size(), 200);
        QVERIFY(!m_signes.contains(ListEntry{note, 0}));

        // A retired sign's entry, clicked, marks its live signs where they are listed and
        // records them; one that nothing records is dimmed, without a check box, and a click
        // marks nothing.
        m_signes.clear();
        m_source.setDatabaseName(TestSupport::makeDatabase(m_dir, u"small.sql"_s, u"retired.mdb"_s));
        Database::open(m_source.databaseName())
            ->executeNative("INSERT INTO Modalités VALUES (4306, 'Pouls fin et rapide', 43);"
                            "INSERT INTO Remplacements VALUES (4306, 4303), (4306, 4301);");
        QVERIFY(whileSearching([&](QDialog *dialog) {
            ItemList *liste = list(dialog);
            type(field(dialog), "pouls");
            // Fin, tendu, rapide, glissant, then the retired ones: "sans lien", "fin et rapide".
            QCOMPARE(liste->count(), 6);
            QVERIFY(!liste->isEntryEnabled(4) && !liste->modelIndex(4).data(Qt::CheckStateRole).isValid());
            click(liste, 4);
            click(liste, 5);
            for (int i = 0; i < liste->count(); ++i)
                QCOMPARE(liste->isMarked(i), i == 0 || i == 2 || i == 5);
            press(dialog, 0);
        }));
        QCOMPARE(m_signes, (Entries{{"Pouls fin (1)", 4303}, {"Pouls rapide (9)", 4301}}));
    }

    // An entry that does not fit its list tells its whole text in its tip, as it reads.
    // Typing finds an entry by its first letters, also once an entry before it is gone.
    void theListOnItsOwn()
    {
        ItemList liste;
        liste.resize(160, 120);
        liste.setEntries({{"Court (1)", 1},
                          {"Douleur > 3 jours & sourde de l'hypocondre droit irradiant vers l'épaule (4)", 2},
                          {"Pouls caché (8)", 3},
                          {"Pouls rapide (5)", 4}});
        liste.show();
        QVERIFY(QTest::qWaitForWindowExposed(&liste));
        QCOMPARE(UiTest::hover(&liste, 0), QString());
        const QString tip = UiTest::hover(&liste, 1);
        QTextDocument read; // as the tip shows it: marked up or plain
        read.setHtml(tip);
        QCOMPARE(Qt::mightBeRichText(tip) ? read.toPlainText() : tip, liste.text(1));
        liste.resize(900, 120);
        QCOMPARE(liste.tipText(1), QString());

        QTest::keyClicks(&liste, "cach");
        QCOMPARE(liste.currentRow(), 2);
        liste.removeAt(0);
        QTest::qWait(QApplication::keyboardInputInterval() + 100); // the next letters start a search
        QTest::keyClicks(&liste, "rap");
        QCOMPARE(liste.text(liste.currentRow()), QStringLiteral("Pouls rapide (5)"));
    }
};

QTEST_MAIN(TestModalityDialog)
#include "tst_modalitydialog.moc"
