#include "AppSettings.h"
#include "Database.h"
#include "DatabaseError.h"
#include "DatabaseMessage.h"
#include "ItemList.h"
#include "JetImportText.h"
#include "MainWindow.h"
#include "MessageBox.h"
#include "ModalityDialog.h"
#include "ProgressWindow.h"
#include "Recordset.h"
#include "RegenerateCommand.h"
#include "TestSupport.h"
#include "WeightRebuild.h"

#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QPaintEvent>
#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;
using Kind = DatabaseError::Kind;
using Details = QList<DatabaseError::Detail>;

// Database failures in French: each kind in words of its own, the engine's message only in
// the box's details, and the same words from every window that meets the failure; the
// words of an Access import. And "Régénérer la base" with its progress window: painted at a
// pace the clock sets, closed before any message; a rebuild that succeeds writes the
// weights from the links and closes with the checker's remarks, one that fails keeps the
// old weights and says why in French.
class TestDatabaseMessage : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_path;
    QWidget m_main;
    int m_shown = 0, m_paints = 0, m_modalPaints = 0, m_messagesAtHide = -1;

    // "sign:weight" as the table (or query) gives them.
    QStringList weights(const QString &from = u"Valorisation ORDER BY 1"_s)
    {
        auto rs = Database::open(m_path)->openRecordset(u"SELECT * FROM "_s + from);
        QStringList rows;
        for (; !rs->isEof(); rs->moveNext())
            rows.append(rs->field(u"NumModalité").toString() + u':' + rs->field(u"Valeur").toString());
        return rows;
    }

    // Sees every progress window the command creates and discards.
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *window = qobject_cast<ProgressWindow *>(watched);
        m_shown += window && event->type() == QEvent::Show;
        // Whole paintings only: the bar repaints its own part whenever what it shows changes.
        const bool painted =
            window && event->type() == QEvent::Paint && static_cast<QPaintEvent *>(event)->rect() == window->rect();
        m_paints += painted;
        m_modalPaints += painted && QApplication::activeModalWidget() == window;
        if (window && event->type() == QEvent::Hide)
            m_messagesAtHide = int(MessageBox::takeShown().size());
        return false;
    }

    // The window is shown modal, painted, and closed before any message.
    void runCommand(const QString &path, const RegenerateCommand::Clock &clock = {})
    {
        m_shown = m_paints = m_modalPaints = 0, m_messagesAtHide = -1;
        RegenerateCommand::run(&m_main, path, {}, clock);
        QCOMPARE(std::make_tuple(m_shown, m_paints > 0, m_modalPaints, m_messagesAtHide),
                 std::make_tuple(1, true, m_paints, 0));
    }

    static void contains(const QString &text, const QStringList &told, const QStringList &untold = {})
    {
        for (const QString &t : told)
            QVERIFY2(text.contains(t), qPrintable(t + "\n---\n" + text));
        for (const QString &t : untold)
            QVERIFY2(!text.contains(t), qPrintable(t + "\n---\n" + text));
    }

private slots:
    void initTestCase()
    {
        MessageBox::setTesting(true);
        m_main.show();
        qApp->installEventFilter(this);
    }
    void init()
    {
        m_path = TestSupport::makeDatabase(m_dir, u"small.sql"_s);
        MessageBox::takeShown();
    }

    // Every kind of failure in words of its own, the engine's only in the details; the
    // words of a few, whose details shape the sentence, exactly.
    void eachKindInFrench()
    {
        const auto shown = [](Kind kind, const Details &details) {
            DatabaseMessage::show(nullptr, DatabaseError(kind, u"/cabinet/Signes.mdb"_s, u"engine words"_s, details));
            const QList<MessageBox::Shown> boxes = MessageBox::takeShown();
            return boxes.size() == 1 && boxes[0].details == u"engine words"_s && !boxes[0].text.contains(u"engine"_s) &&
                           boxes[0].icon == MessageBox::Icon::Critical && boxes[0].title == u"Base de connaissances"_s
                       ? boxes[0].text
                       : QString();
        };
        QSet<QString> texts;
        for (int k = 0; k <= int(Kind::Failed); ++k)
            texts.insert(shown(Kind(k), {{u"Valorisation"_s, u"Valeur"_s, u"42"_s, {}, {}}}));
        QVERIFY(!texts.contains(QString()));
        QCOMPARE(texts.size(), int(Kind::Failed) + 1);

        const QString lue = u"La base de connaissances « /cabinet/Signes.mdb » n'a pas pu être lue : "_s;
        QVERIFY(shown(Kind::NoSuchColumn, {{{}, u"Valeur"_s, {}, {}, {}}})
                    .startsWith(lue + u"la colonne « Valeur » est absente."_s));
        QVERIFY(shown(Kind::BadKey, {{u"Modalités"_s, u"NumModalité"_s, u"4294967805"_s, {}, {}}})
                    .startsWith(lue + u"la table « Modalités » contient le numéro 4294967805 (colonne « NumModalité "
                                      "»), qui n'est pas un nombre entier de -2147483648 à 2147483647 : la base est "
                                      "endommagée."_s));

        // The engine's failure as each window meets it: the ranking and the sign dialog say it in
        // the same words, and keep the engine's own for the details.
        Database::open(m_path)->executeNative(u"ALTER TABLE Valorisation DROP COLUMN Valeur"_s);
        const QString told = u"La base de connaissances « %1 » n'a pas pu être lue : la colonne « Valeur » de la table "
                             "« Valorisation » est absente."_s.arg(QDir::toNativeSeparators(m_path));

        AppSettings settings(m_dir.filePath(u"settings.ini"_s));
        MainWindow window(MainWindow::ToolBarFactory(), settings, settings.readMethods());
        window.setDatabaseName(m_path);
        window.signes()->addEntry({u"Zona (9)"_s, 201});
        window.classerSyndromes();
        window.openModalities(u"Teint"_s, ModalityChoice::forCategory(2));
        const QList<MessageBox::Shown> boxes = MessageBox::takeShown();
        QCOMPARE(boxes.size(), 2);
        for (const MessageBox::Shown &box : boxes) {
            QVERIFY2(box.text.startsWith(told), qPrintable(box.text));
            QCOMPARE(box.details, u"no such column: Valorisation.Valeur"_s);
        }
    }

    // What the practitioner reads before and after an import, or when an Access file is
    // refused: the files, the table and the value at fault, never a list too long to read.
    void importWords()
    {
        const QString base = u"/cabinet/Signes.mdb"_s, access = u"/cabinet/Signes-access-2026-12-07.mdb"_s;
        JetImport::Summary s;
        std::tie(s.version, s.source, s.knowledgeBase, s.keptCopy) = std::tuple(3, base, base, access);
        std::tie(s.categories, s.modalities, s.syndromes, s.links, s.weights) = std::tuple(44, 572, 143, 2172, 520);
        // Numbers are grouped the French way (the separator is the locale's).
        contains(JetImportText::summary(s),
                 {u"« /cabinet/Signes.mdb » (Jet 3) a été convertie."_s, u"Catégories : 44"_s, u"Modalités : 572"_s,
                  u"Syndromes : 143"_s, u"Liens (Modalité-Syndrome) : "_s + QLocale(QLocale::French).toString(2172),
                  u"Poids (Valorisation) : 520"_s,
                  u"Le fichier Access d'origine est conservé sous le nom « /cabinet/Signes-access-2026-12-07.mdb »."_s},
                 {u"Régénérer"_s, u"non reprises"_s});

        // Replacing a base rather than converting in place says which base and what was kept.
        std::tie(s.source, s.weightsDiffering, s.otherTables, s.otherColumns) = std::tuple(
            u"/cles/Cabinet.mdb"_s, 3, QStringList{u"Consultations"_s}, QStringList{u"Syndromes.Remarque"_s});
        for (int i = 0; i < 7; ++i)
            s.alteredTexts.append({u"Modalités"_s, 1200 + i, u"Démangeaisons du conduit \uFFFDuditif"_s});
        contains(
            JetImportText::summary(s),
            {u"« /cles/Cabinet.mdb » (Jet 3) remplace désormais la base de connaissances « /cabinet/Signes.mdb »"_s,
             u"L'ancienne base est conservée"_s, u"3 poids diffèrent de la règle des poids"_s,
             u"Ils ont été repris tels quels ; pour les recalculer"_s, u"« Régénérer la base »"_s,
             u"Tables non reprises : Consultations."_s, u"Colonnes non reprises : Syndromes.Remarque."_s,
             u"7 textes contenaient des caractères illisibles :\n"
             "- table « Modalités », n° 1200 : « Démangeaisons du conduit \uFFFDuditif »"_s,
             u"n° 1204"_s, u"- et 2 autres."_s, u"vérifiez-les"_s},
            {u"n° 1205"_s});

        // One of each, in the singular.
        s.weightsDiffering = 1;
        s.alteredTexts.resize(1);
        contains(JetImportText::summary(s),
                 {u"1 poids diffère de la règle des poids"_s, u"Il a été repris tel quel ; pour le recalculer"_s,
                  u"1 texte contenait des caractères illisibles :"_s, u"vérifiez-le dans"_s},
                 {u"Ils "_s, u"textes"_s});

        contains(JetImportText::question({base, base, access, false}),
                 {u"« /cabinet/Signes.mdb » est une base Access"_s, u"« /cabinet/Signes-access-2026-12-07.mdb »"_s,
                  u"la convertir maintenant"_s},
                 {u"La visite en cours sera vidée"_s});
        contains(JetImportText::question({u"/cles/Cabinet.mdb"_s, base, u"/cabinet/Signes-2026-12-07.mdb"_s, true}),
                 {u"« /cles/Cabinet.mdb » va remplacer la base de connaissances en usage, « /cabinet/Signes.mdb »"_s,
                  u"conservée sous le nom « /cabinet/Signes-2026-12-07.mdb »"_s, u"La visite en cours sera vidée"_s});
        contains(JetImportText::question({u"/cles/Cabinet.mdb"_s, base, QString(), true}), {u"introuvable"_s},
                 {u"conservée"_s});

        // A refusal goes through the database message like every other, each kind in words of
        // its own. The refusals of a damaged or unreadable Access file, of a helper that failed,
        // of a full disk: the import's own words, never the engine's, and the files untouched.
        // Past twelve problems the list says how many more.
        QSet<QString> texts;
        for (int k = int(Kind::NotAccessFile); k <= int(Kind::ReaderFailed); ++k)
            texts.insert(JetImportText::problem(DatabaseError(
                Kind(k), u"/c/Signes.mdb"_s, {}, {{u"Modalités"_s, u"NumModalité"_s, u"7"_s, u"8"_s, {}}})));
        QCOMPARE(texts.size(), int(Kind::ReaderFailed) - int(Kind::NotAccessFile) + 1);

        // The catalogue unreadable, the helper past its time, the helper missing, rows missing.
        const QLocale french(QLocale::French);
        for (const auto &[kind, details, told] :
             {std::tuple{Kind::JetDamaged, Details{{u"MSysObjects"_s, {}, u"catalogue"_s, {}, {}}},
                         u"« /c/Signes.mdb » est endommagé : la liste de ses tables ne peut pas être lue. Réparez"_s},
              {Kind::ReaderFailed, Details{{{}, {}, u"time-out"_s, u"120"_s, {}}},
               u"sa lecture n'était pas finie au bout de 2 minutes"_s},
              {Kind::ReaderFailed, Details{{{}, {}, u"start"_s, u"/usr/libexec/tessavor/tessavor-import"_s, {}}},
               u"« /usr/libexec/tessavor/tessavor-import », n'a pas pu être lancé"_s},
              {Kind::RowCount, Details{{u"Modalité-Syndrome"_s, {}, u"1900"_s, u"2172"_s, {}}},
               u"la table « Modalité-Syndrome » annonce %1 lignes, mais %2 seulement"_s.arg(french.toString(2172),
                                                                                            french.toString(1900))}}) {
            const DatabaseError error(kind, u"/c/Signes.mdb"_s, u"engine words"_s, details);
            DatabaseMessage::show(nullptr, error);
            const auto shown = MessageBox::takeShown();
            QCOMPARE(shown.size(), 1);
            QCOMPARE(shown[0].text, JetImportText::problem(error));
            contains(shown[0].text, {told, u"Aucun fichier n'a été modifié."_s},
                     {u"engine words"_s, u"base de connaissances"_s, u"n'est pas une base Access"_s});
        }

        QList<DatabaseError::Detail> details;
        for (const QString &n :
             u"9001 9002 9003 9004 9005 9006 9007 9008 9009 9010 9011 9012 9013 9014 9015"_s.split(' '))
            details.append({u"Modalité-Syndrome"_s, u"NumModalité"_s, n, {}, "NumModalité=" + n + ", NumSyndrome=101"});
        details.append({u"Valorisation"_s, u"NumModalité"_s, u"7"_s, {}, {}});
        contains(JetImportText::problem(DatabaseError(Kind::MissingReference, u"/c/Signes.mdb"_s, {}, details)),
                 {u"table « Modalité-Syndrome » : le signe n° 9001 n'existe pas (NumModalité=9001, NumSyndrome=101)"_s,
                  u"n° 9012"_s, u"- et 4 autres."_s, u"Aucun fichier n'a été modifié."_s},
                 {u"n° 9013"_s});
    }

    // One link weighs 9, three 7, nine or more 1 (sign 201 is given three links here); the
    // rows are appended by link count then number, a sign without a link has none. The
    // ten changes of the bar are painted at the pace of the clock the command reads, never
    // of the machine's speed.
    void paintingIsPaced()
    {
        // Journal records every append to the weight table, in order.
        Database::open(m_path)->executeNative(QStringLiteral(
            "INSERT INTO \"Modalité-Syndrome\" VALUES (201, 4), (201, 5); INSERT INTO Valorisation VALUES (4305, 3);"
            "CREATE TABLE Journal (NumModalité, Valeur); CREATE TRIGGER journal AFTER INSERT ON Valorisation"
            " BEGIN INSERT INTO Journal VALUES (NEW.NumModalité, NEW.Valeur); END;"));
        // The clock standing still: painted once; a paint interval per row: every change painted.
        for (const int step : {0, 20}) {
            Database::open(m_path)->executeNative(u"DELETE FROM Journal"_s);
            qint64 now = 0;
            int before = -1;
            runCommand(m_path, [&] {
                if (before < 0)
                    before = m_paints;
                return now += step;
            });
            const int paints = m_paints - before;
            QVERIFY2(step > 0 ? paints >= 10 : paints <= 2, qPrintable(u"%1 paints"_s.arg(paints)));
            QCOMPARE(MessageBox::takeShown().size(), 1);
            QCOMPARE(weights(u"Journal ORDER BY rowid"_s).join(u' '),
                     u"202:9 203:9 204:9 1801:9 1802:9 4301:9 201:7 4302:1 4303:1 4304:1"_s);
        }
        const QStringList rebuilt = weights();
        QCOMPARE(rebuilt.size(), 10);
        QList<float> progress;
        QCOMPARE(WeightRebuild::run(m_path, [&](float v) { progress.append(v); }), 10);
        QCOMPARE(progress, (QList<float>{10, 10, 19, 28, 37, 46, 55, 64, 73, 82, 91}));
        QCOMPARE(weights(), rebuilt); // running again gives the same table
    }

    // The closing message: the small base's unlinked sign and weak syndromes, the first ten
    // in the text and all of them in the details; a sound base has no remark.
    void closingMessageGivesTheRemarks()
    {
        runCommand(m_path);
        const MessageBox::Shown remarks = MessageBox::takeShown().value(0);
        QCOMPARE(remarks.title, RegenerateCommand::Title);
        QVERIFY2(remarks.text.startsWith(QStringLiteral("Les poids ont été régénérés.\n\n23 remarques sur le contenu "
                                                        "de la base :\n- Le signe 4305 « Pouls sans lien » n'est lié")),
                 qPrintable(remarks.text));
        QVERIFY(remarks.text.endsWith(u"\n… et 13 autres (voir les détails)."_s));
        QCOMPARE(remarks.details.count(u'\n'), 22);
        runCommand(TestSupport::makeDatabase(m_dir, u"checked.sql"_s));
        QCOMPARE(MessageBox::takeShown().value(0).text, u"Les poids ont été régénérés.\n\nAucune remarque."_s);
    }

    // A failure is told once the window has closed, in French, the engine's words only in
    // the details; the old weights stay whole (the third append refused leaves the two
    // before it undone), and no file is made where none was.
    void failureKeepsTheOldWeights()
    {
        // An absent file; the third append refused; the weight column missing (the rebuild
        // appends to the table: the column is named with its table); a read-only file; a
        // file locked by another program; a sign number past 32 bits (cut to 32 bits it
        // would read as sign 509).
        for (const auto &[injury, reason] : std::initializer_list<std::pair<QString, QString>>{
                 {"absent", "le fichier est introuvable"},
                 {"CREATE TRIGGER boom BEFORE INSERT ON Valorisation WHEN (SELECT count(*) FROM Valorisation) >= 2 "
                  "BEGIN SELECT RAISE(ABORT, 'boom'); END;",
                  "le moteur de base de données a signalé une erreur"},
                 {"ALTER TABLE Valorisation DROP COLUMN Valeur",
                  "la colonne « Valeur » de la table « Valorisation » est absente"},
                 {"read-only", "le fichier est en lecture seule"},
                 {"locked", "la base est verrouillée par un autre programme"},
                 {"UPDATE Modalités SET NumModalité = 4294967805 WHERE NumModalité = 4302;"
                  "UPDATE \"Modalité-Syndrome\" SET NumModalité = 4294967805 WHERE NumModalité = 4302;",
                  "la table « Modalités » contient le numéro 4294967805"}}) {
            m_path = TestSupport::makeDatabase(m_dir, u"small.sql"_s);
            Database::open(m_path)->executeNative(u"UPDATE Valorisation SET Valeur = 4"_s);
            const QStringList before = weights();
            std::unique_ptr<Database> holder;
            if (injury == u"absent")
                m_path = m_dir.filePath(u"absent.mdb"_s);
            else if (injury == u"read-only") {
                QFile file(m_path); // write version 3: the engine opens the file read only, even as superuser
                QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(18) && file.write("\x03", 1) == 1);
            } else if (injury == u"locked") {
                Database::setBusyTimeout(50);
                holder = Database::open(m_path);
                holder->executeNative(u"BEGIN IMMEDIATE"_s);
            } else
                Database::open(m_path)->executeNative(injury);
            runCommand(m_path);
            const MessageBox::Shown shown = MessageBox::takeShown().value(0);
            QVERIFY2(shown.text.startsWith(u"La régénération de la base « %1 » a échoué : %2"_s.arg(
                         QDir::toNativeSeparators(m_path), reason)) &&
                         shown.text.endsWith(u"Les poids n'ont pas été modifiés."_s) && !shown.details.isEmpty() &&
                         !shown.text.contains(shown.details),
                     qPrintable(shown.text + u'\n' + shown.details));
            holder.reset();
            if (injury == u"absent")
                QVERIFY(!QFile::exists(m_path));
            else if (!injury.startsWith(u"ALTER"))
                QCOMPARE(weights(), before);
        }
    }
};

QTEST_MAIN(TestDatabaseMessage)
#include "tst_databasemessage.moc"
