#include "AppSettings.h"
#include "DataSource.h"
#include "Database.h"
#include "DatabaseError.h"
#include "DatabaseMessage.h"
#include "ItemList.h"
#include "MainWindow.h"
#include "MessageBox.h"
#include "ModalityDialog.h"
#include "RegenerateCommand.h"
#include "Shared.h"
#include "TestSupport.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;
using Kind = DatabaseError::Kind;
using Details = QList<DatabaseError::Detail>;

Q_DECLARE_METATYPE(Kind)
Q_DECLARE_METATYPE(Details)

// Database failures in French: each kind in words of its own, the engine's message only in
// the box's details, and the same words from every window that meets the failure.
class TestDatabaseMessage : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void initTestCase() { MessageBox::setTesting(true); }
    void init() { MessageBox::takeShown(); }

    void eachKindInFrench_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<Details>("details");
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("reason");

        QTest::newRow("missing table") << Kind::NoSuchTable << Details{{u"Valorisation"_s, {}, {}, {}, {}}}
                                       << u"no such table: Valorisation"_s
                                       << u"la table « Valorisation » est absente"_s;
        QTest::newRow("missing column") << Kind::NoSuchColumn << Details{{u"Valorisation"_s, u"Valeur"_s, {}, {}, {}}}
                                        << u"table Valorisation has no column named Valeur"_s
                                        << u"la colonne « Valeur » de la table « Valorisation » est absente"_s;
        QTest::newRow("missing column, table unknown")
            << Kind::NoSuchColumn << Details{{{}, u"Valeur"_s, {}, {}, {}}} << u"no such column: Valeur"_s
            << u"la colonne « Valeur » est absente"_s;
        QTest::newRow("damaged") << Kind::Damaged << Details{} << u"database disk image is malformed"_s
                                 << u"le fichier est endommagé"_s;
        QTest::newRow("read only") << Kind::ReadOnly << Details{} << u"attempt to write a readonly database"_s
                                   << u"le fichier est en lecture seule"_s;
        QTest::newRow("locked") << Kind::Locked << Details{} << u"database is locked"_s
                                << u"la base est verrouillée par un autre programme"_s;
        QTest::newRow("disk full") << Kind::DiskFull << Details{} << u"database or disk is full"_s
                                   << u"le disque est plein"_s;
        QTest::newRow("disk error") << Kind::DiskError << Details{} << u"disk I/O error"_s
                                    << u"le fichier n'a pas pu être lu ou écrit sur le disque"_s;
        QTest::newRow("not a database") << Kind::NotDatabase << Details{} << u"file is not a database"_s
                                        << u"le fichier n'est pas une base de données"_s;
        QTest::newRow("a number past 32 bits")
            << Kind::BadKey << Details{{u"Modalités"_s, u"NumModalité"_s, u"4294967805"_s, {}, {}}}
            << u"Modalités.NumModalité = 4294967805 : ce n'est pas un entier signé de 32 bits"_s
            << u"la table « Modalités » contient le numéro 4294967805 (colonne « NumModalité »), qui n'est pas un "
               "nombre entier de -2147483648 à 2147483647 : la base est endommagée"_s;
        QTest::newRow("too complex") << Kind::TooComplex << Details{}
                                     << u"l'instruction traduite dépasserait 1000000 caractères"_s
                                     << u"une requête dépasse la taille que le programme accepte"_s;
        QTest::newRow("anything else") << Kind::Failed << Details{} << u"boom"_s
                                       << u"le moteur de base de données a signalé une erreur"_s;
    }
    void eachKindInFrench()
    {
        QFETCH(Kind, kind);
        QFETCH(Details, details);
        QFETCH(QString, engine);
        QFETCH(QString, reason);
        const QString path = u"/cabinet/Signes.mdb"_s;
        const DatabaseError error(kind, path, engine, details);
        QCOMPARE(DatabaseMessage::reason(error), reason);

        DatabaseMessage::show(nullptr, error);
        const QList<MessageBox::Shown> shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), 1);
        const QString advice = DatabaseMessage::advice(error);
        QCOMPARE(shown[0].text, u"La base de connaissances « %1 » n'a pas pu être lue : %2."_s.arg(
                                    QDir::toNativeSeparators(path), reason) +
                                    (advice.isEmpty() ? QString() : u"\n\n"_s + advice));
        QCOMPARE(shown[0].details, engine);
        QCOMPARE(shown[0].icon, MessageBox::Icon::Critical);
        QCOMPARE(shown[0].title, u"Base de connaissances"_s);
    }

    // The engine's failure as each window meets it: the ranking, the sign dialog and the
    // regeneration say it in the same words, and keep the engine's own for the details.
    void sameWordsEverywhere_data()
    {
        QTest::addColumn<QString>("injury");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QString>("engine");
        QTest::newRow("no weight table") << u"DROP TABLE Valorisation"_s << u"la table « Valorisation » est absente"_s
                                         << u"no such table: Valorisation"_s;
        QTest::newRow("no weight column") << u"ALTER TABLE Valorisation DROP COLUMN Valeur"_s
                                          << u"la colonne « Valeur » de la table « Valorisation » est absente"_s
                                          << u"no such column: Valorisation.Valeur"_s;
    }
    void sameWordsEverywhere()
    {
        QFETCH(QString, injury);
        QFETCH(QString, reason);
        QFETCH(QString, engine);
        QFile::remove(m_dir.filePath(u"Signes.mdb"_s));
        const QString path = TestSupport::makeDatabase(m_dir, u"small.sql"_s);
        Database::open(path)->executeNative(injury);
        const QString file = QDir::toNativeSeparators(path);

        AppSettings settings(m_dir.filePath(u"settings.ini"_s));
        MainWindow window(MainWindow::ToolBarFactory(), settings);
        window.setDatabaseName(path);
        window.signes()->addEntry({u"Zona (9)"_s, 201});
        window.classerSyndromes();

        Shared::categorieChoisie = 2;
        {
            ModalityDialog dialog(&window, u"Teint"_s, window.listeValeurs(), *window.signes(), *window.syndromes());
        }

        const QList<MessageBox::Shown> shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), 2);
        for (const MessageBox::Shown &box : shown) {
            QVERIFY2(
                box.text.startsWith(u"La base de connaissances « %1 » n'a pas pu être lue : %2."_s.arg(file, reason)),
                qPrintable(box.text));
            QCOMPARE(box.details, engine);
        }

        // The weight rebuild appends to the table: the column is then named with its table.
        RegenerateCommand::run(&window, path);
        const MessageBox::Shown rebuilt = MessageBox::takeShown().value(0);
        QVERIFY2(rebuilt.text.startsWith(u"La régénération de la base « %1 » a échoué : la "_s.arg(file)) &&
                     rebuilt.text.contains(u"« Valorisation » est absente."_s) &&
                     rebuilt.text.endsWith(u"Les poids n'ont pas été modifiés."_s),
                 qPrintable(rebuilt.text));
        QVERIFY2(!rebuilt.text.contains(u"no "_s) && rebuilt.details.contains(u"Valorisation"_s),
                 qPrintable(rebuilt.details));
    }
};

QTEST_MAIN(TestDatabaseMessage)
#include "tst_databasemessage.moc"
