#include "AppSettings.h"
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
        QTest::addColumn<QString>("reason");

        QTest::newRow("missing table") << Kind::NoSuchTable << Details{{u"Valorisation"_s, {}, {}, {}, {}}}
                                       << u"la table « Valorisation » est absente"_s;
        QTest::newRow("missing column") << Kind::NoSuchColumn << Details{{u"Valorisation"_s, u"Valeur"_s, {}, {}, {}}}
                                        << u"la colonne « Valeur » de la table « Valorisation » est absente"_s;
        QTest::newRow("missing column, table unknown")
            << Kind::NoSuchColumn << Details{{{}, u"Valeur"_s, {}, {}, {}}} << u"la colonne « Valeur » est absente"_s;
        QTest::newRow("damaged") << Kind::Damaged << Details{} << u"le fichier est endommagé"_s;
        QTest::newRow("read only") << Kind::ReadOnly << Details{} << u"le fichier est en lecture seule"_s;
        QTest::newRow("locked") << Kind::Locked << Details{} << u"la base est verrouillée par un autre programme"_s;
        QTest::newRow("disk full") << Kind::DiskFull << Details{} << u"le disque est plein"_s;
        QTest::newRow("disk error") << Kind::DiskError << Details{}
                                    << u"le fichier n'a pas pu être lu ou écrit sur le disque"_s;
        QTest::newRow("not a database") << Kind::NotDatabase << Details{}
                                        << u"le fichier n'est pas une base de données"_s;
        QTest::newRow("a number past 32 bits")
            << Kind::BadKey << Details{{u"Modalités"_s, u"NumModalité"_s, u"4294967805"_s, {}, {}}}
            << u"la table « Modalités » contient le numéro 4294967805 (colonne « NumModalité »), qui n'est pas un "
               "nombre entier de -2147483648 à 2147483647 : la base est endommagée"_s;
        QTest::newRow("too complex") << Kind::TooComplex << Details{}
                                     << u"une requête dépasse la taille que le programme accepte"_s;
        QTest::newRow("anything else") << Kind::Failed << Details{}
                                       << u"le moteur de base de données a signalé une erreur"_s;
    }
    void eachKindInFrench()
    {
        QFETCH(Kind, kind);
        QFETCH(Details, details);
        QFETCH(QString, reason);
        const DatabaseError error(kind, u"/cabinet/Signes.mdb"_s, u"what the engine said"_s, details);
        DatabaseMessage::show(nullptr, error);
        const QList<MessageBox::Shown> shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), 1);
        const QString advice = DatabaseMessage::advice(error);
        QCOMPARE(shown[0].text, u"La base de connaissances « %1 » n'a pas pu être lue : %2."_s.arg(
                                    QDir::toNativeSeparators(u"/cabinet/Signes.mdb"_s), reason) +
                                    (advice.isEmpty() ? QString() : u"\n\n"_s + advice));
        QCOMPARE(shown[0].details, u"what the engine said"_s);
        QCOMPARE(std::pair(shown[0].icon, shown[0].title),
                 std::pair(MessageBox::Icon::Critical, u"Base de connaissances"_s));
    }

    // The engine's failure as each window meets it: the ranking, the sign dialog and the
    // regeneration say it in the same words, and keep the engine's own for the details.
    void sameWordsEverywhere()
    {
        const QString path = TestSupport::makeDatabase(m_dir, u"small.sql"_s);
        Database::open(path)->executeNative(u"ALTER TABLE Valorisation DROP COLUMN Valeur"_s);
        const QString file = QDir::toNativeSeparators(path);
        const QString reason = u" : la colonne « Valeur » de la table « Valorisation » est absente."_s;

        AppSettings settings(m_dir.filePath(u"settings.ini"_s));
        MainWindow window(MainWindow::ToolBarFactory(), settings);
        window.setDatabaseName(path);
        window.signes()->addEntry({u"Zona (9)"_s, 201});
        window.classerSyndromes();
        Shared::categorieChoisie = 2;
        ModalityDialog(&window, u"Teint"_s, window.listeValeurs(), *window.signes(), *window.syndromes());
        const QList<MessageBox::Shown> shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), 2);
        for (const MessageBox::Shown &box : shown) {
            QVERIFY2(box.text.startsWith(u"La base de connaissances « %1 » n'a pas pu être lue"_s.arg(file) + reason),
                     qPrintable(box.text));
            QCOMPARE(box.details, u"no such column: Valorisation.Valeur"_s);
        }

        // The weight rebuild appends to the table: the column is then named with its table.
        RegenerateCommand::run(&window, path);
        const MessageBox::Shown rebuilt = MessageBox::takeShown().value(0);
        QVERIFY2(rebuilt.text.startsWith(u"La régénération de la base « %1 » a échoué"_s.arg(file) + reason) &&
                     rebuilt.text.endsWith(u"Les poids n'ont pas été modifiés."_s),
                 qPrintable(rebuilt.text));
        QVERIFY2(rebuilt.details.contains(u"Valorisation"_s), qPrintable(rebuilt.details));
    }
};

QTEST_MAIN(TestDatabaseMessage)
#include "tst_databasemessage.moc"
