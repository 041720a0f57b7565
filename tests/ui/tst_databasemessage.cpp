#include "AppSettings.h"
#include "Database.h"
#include "DatabaseError.h"
#include "DatabaseMessage.h"
#include "ItemList.h"
#include "JetImportText.h"
#include "MainWindow.h"
#include "MessageBox.h"
#include "ModalityDialog.h"
#include "TestSupport.h"

#include <QDir>
#include <QLocale>
#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;
using Kind = DatabaseError::Kind;
using Details = QList<DatabaseError::Detail>;

Q_DECLARE_METATYPE(Kind)
Q_DECLARE_METATYPE(Details)

// Database failures in French: each kind in words of its own, the engine's message only in
// the box's details, and the same words from every window that meets the failure; and the
// words of an Access import.
class TestDatabaseMessage : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    static void contains(const QString &text, const QStringList &told, const QStringList &untold = {})
    {
        for (const QString &t : told)
            QVERIFY2(text.contains(t), qPrintable(t + "\n---\n" + text));
        for (const QString &t : untold)
            QVERIFY2(!text.contains(t), qPrintable(t + "\n---\n" + text));
    }

private slots:
    void initTestCase() { MessageBox::setTesting(true); }
    void init() { MessageBox::takeShown(); }

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

        const QString lue = u"La base de connaissances « %1 » n'a pas pu être lue : "_s.arg(
            QDir::toNativeSeparators(u"/cabinet/Signes.mdb"_s));
        QVERIFY(shown(Kind::NoSuchColumn, {{u"Valorisation"_s, u"Valeur"_s, {}, {}, {}}})
                    .startsWith(lue + u"la colonne « Valeur » de la table « Valorisation » est absente."_s));
        QVERIFY(shown(Kind::NoSuchColumn, {{{}, u"Valeur"_s, {}, {}, {}}})
                    .startsWith(lue + u"la colonne « Valeur » est absente."_s));
        QVERIFY(shown(Kind::BadKey, {{u"Modalités"_s, u"NumModalité"_s, u"4294967805"_s, {}, {}}})
                    .startsWith(lue + u"la table « Modalités » contient le numéro 4294967805 (colonne « NumModalité "
                                      "»), qui n'est pas un nombre entier de -2147483648 à 2147483647 : la base est "
                                      "endommagée."_s));
    }

    // The engine's failure as each window meets it: the ranking and the sign dialog say it in
    // the same words, and keep the engine's own for the details.
    void sameWordsEverywhere()
    {
        const QString path = TestSupport::makeDatabase(m_dir, u"small.sql"_s);
        Database::open(path)->executeNative(u"ALTER TABLE Valorisation DROP COLUMN Valeur"_s);
        const QString file = QDir::toNativeSeparators(path);
        const QString reason = u" : la colonne « Valeur » de la table « Valorisation » est absente."_s;

        AppSettings settings(m_dir.filePath(u"settings.ini"_s));
        MainWindow window(MainWindow::ToolBarFactory(), settings, settings.readMethods());
        window.setDatabaseName(path);
        window.signes()->addEntry({u"Zona (9)"_s, 201});
        window.classerSyndromes();
        window.openModalities(u"Teint"_s, ModalityChoice::forCategory(2));
        const QList<MessageBox::Shown> shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), 2);
        for (const MessageBox::Shown &box : shown) {
            QVERIFY2(box.text.startsWith(u"La base de connaissances « %1 » n'a pas pu être lue"_s.arg(file) + reason),
                     qPrintable(box.text));
            QCOMPARE(box.details, u"no such column: Valorisation.Valeur"_s);
        }

    }

    // What the practitioner reads before and after an import, or when an Access file is
    // refused: the files, the table and the value at fault, never a list too long to read.
    void importSummary()
    {
        JetImport::Summary s;
        s.version = 3;
        s.source = s.knowledgeBase = u"/cabinet/Signes.mdb"_s;
        s.keptCopy = u"/cabinet/Signes-access-2026-12-07.mdb"_s;
        std::tie(s.categories, s.modalities, s.syndromes, s.links, s.weights) = std::tuple(44, 572, 143, 2172, 520);
        // Numbers are grouped the French way (the separator is the locale's).
        contains(JetImportText::summary(s),
                 {u"« /cabinet/Signes.mdb » (Jet 3) a été convertie."_s, u"Catégories : 44"_s, u"Modalités : 572"_s,
                  u"Syndromes : 143"_s, u"Liens (Modalité-Syndrome) : "_s + QLocale(QLocale::French).toString(2172),
                  u"Poids (Valorisation) : 520"_s,
                  u"Le fichier Access d'origine est conservé sous le nom « /cabinet/Signes-access-2026-12-07.mdb »."_s},
                 {u"Régénérer"_s, u"non reprises"_s});

        // Replacing a base rather than converting in place says which base and what was kept.
        s.source = u"/cles/Cabinet.mdb"_s;
        s.weightsDiffering = 3;
        s.otherTables = QStringList{u"Consultations"_s};
        s.otherColumns = QStringList{u"Syndromes.Remarque"_s};
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
    }

    void importQuestions()
    {
        const QString base = u"/cabinet/Signes.mdb"_s, former = u"/cabinet/Signes-2026-12-07.mdb"_s;
        contains(JetImportText::question({base, base, u"/cabinet/Signes-access-2026-12-07.mdb"_s, false}),
                 {u"« /cabinet/Signes.mdb » est une base Access"_s, u"« /cabinet/Signes-access-2026-12-07.mdb »"_s,
                  u"la convertir maintenant"_s},
                 {u"La visite en cours sera vidée"_s});
        contains(JetImportText::question({u"/cles/Cabinet.mdb"_s, base, former, true}),
                 {u"« /cles/Cabinet.mdb » va remplacer la base de connaissances en usage, « /cabinet/Signes.mdb »"_s,
                  u"conservée sous le nom « /cabinet/Signes-2026-12-07.mdb »"_s, u"La visite en cours sera vidée"_s});
        contains(JetImportText::question({u"/cles/Cabinet.mdb"_s, base, QString(), true}), {u"introuvable"_s},
                 {u"conservée"_s});
    }

    // The refusals of a damaged or unreadable Access file, of a helper that failed, of a full
    // disk: the import's own words, never the engine's, and the files untouched.
    void importRefusalWords_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<Details>("details");
        QTest::addColumn<QString>("told");
        QTest::newRow("catalogue unreadable")
            << Kind::JetDamaged << Details{{u"MSysObjects"_s, {}, u"catalogue"_s, {}, {}}}
            << u"« /c/Signes.mdb » est endommagé : la liste de ses tables ne peut pas être lue. Réparez"_s;
        QTest::newRow("the helper ran past its time")
            << Kind::ReaderFailed << Details{{{}, {}, u"time-out"_s, u"120"_s, {}}}
            << u"sa lecture n'était pas finie au bout de 2 minutes"_s;
        QTest::newRow("the helper missing")
            << Kind::ReaderFailed << Details{{{}, {}, u"start"_s, u"/usr/libexec/tessavor/tessavor-import"_s, {}}}
            << u"« /usr/libexec/tessavor/tessavor-import », n'a pas pu être lancé"_s;
    }
    void importRefusalWords()
    {
        QFETCH(Kind, kind);
        QFETCH(Details, details);
        QFETCH(QString, told);
        DatabaseMessage::show(nullptr, DatabaseError(kind, u"/c/Signes.mdb"_s, u"engine words"_s, details));
        const auto shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), 1);
        contains(shown[0].text, {told, u"Aucun fichier n'a été modifié."_s},
                 {u"engine words"_s, u"base de connaissances"_s, u"n'est pas une base Access"_s});
    }

    // A refusal goes through the database message like every other, each kind in words of
    // its own; past twelve problems the list says how many more.
    void importRefusals()
    {
        QSet<QString> texts;
        for (int k = int(Kind::NotAccessFile); k <= int(Kind::ReaderFailed); ++k)
            texts.insert(JetImportText::problem(DatabaseError(Kind(k), u"/c/Signes.mdb"_s, {},
                                                              {{u"Modalités"_s, u"NumModalité"_s, u"7"_s, u"8"_s, {}}})));
        QCOMPARE(texts.size(), int(Kind::ReaderFailed) - int(Kind::NotAccessFile) + 1);

        const DatabaseError rows(DatabaseError::Kind::RowCount, u"/c/Signes.mdb"_s, u"rows differ"_s,
                                 {{u"Modalité-Syndrome"_s, {}, u"1900"_s, u"2172"_s, {}}});
        DatabaseMessage::show(nullptr, rows);
        const auto shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, JetImportText::problem(rows));
        const QLocale french(QLocale::French);
        contains(shown[0].text, {u"la table « Modalité-Syndrome » annonce %1 lignes, mais %2 seulement"_s.arg(
                                    french.toString(2172), french.toString(1900))});

        QList<DatabaseError::Detail> details;
        for (const QString &n :
             QStringLiteral("9001 9002 9003 9004 9005 9006 9007 9008 9009 9010 9011 9012 9013 9014 9015").split(' '))
            details.append({u"Modalité-Syndrome"_s, u"NumModalité"_s, n, {}, "NumModalité=" + n + ", NumSyndrome=101"});
        details.append({u"Valorisation"_s, u"NumModalité"_s, u"7"_s, {}, {}});
        contains(JetImportText::problem(
                     DatabaseError(DatabaseError::Kind::MissingReference, u"/c/Signes.mdb"_s, {}, details)),
                 {u"table « Modalité-Syndrome » : le signe n° 9001 n'existe pas (NumModalité=9001, NumSyndrome=101)"_s,
                  u"n° 9012"_s, u"- et 4 autres."_s, u"Aucun fichier n'a été modifié."_s},
                 {u"n° 9013"_s});
    }
};

QTEST_MAIN(TestDatabaseMessage)
#include "tst_databasemessage.moc"
