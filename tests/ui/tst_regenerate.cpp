#include "Database.h"
#include "MessageBox.h"
#include "ProgressWindow.h"
#include "Recordset.h"
#include "RegenerateCommand.h"
#include "TestSupport.h"
#include "WeightRebuild.h"

#include <QApplication>
#include <QDir>
#include <QPaintEvent>
#include <QTest>

// "Régénérer la base" with its progress window: painted at a pace the clock sets, closed
// before any message; a rebuild that succeeds writes the weights from the links and closes
// with the checker's remarks, one that fails keeps the old weights and says why in French.
class TestRegenerate : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_path;
    QWidget m_main;
    int m_shown = 0, m_paints = 0, m_modalPaints = 0, m_messagesAtHide = -1;

    // "sign:weight" as the table (or query) gives them.
    QStringList weights(const QString &from = QStringLiteral("Valorisation ORDER BY 1"))
    {
        auto rs = Database::open(m_path)->openRecordset(QStringLiteral("SELECT * FROM ") + from);
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

private slots:
    void initTestCase()
    {
        MessageBox::setTesting(true);
        m_main.show();
        qApp->installEventFilter(this);
    }

    void init() { m_path = TestSupport::makeDatabase(m_dir, QStringLiteral("small.sql")); }

    // One link weighs 9, three 7, nine or more 1 (sign 201 is given three links here); the
    // rows are appended by link count then number, a sign without a link has none. The
    // ten changes of the bar are painted at the pace of the clock the command reads, never
    // of the machine's speed.
    void paintingIsPaced_data()
    {
        QTest::addColumn<int>("step"); // milliseconds the clock moves at each reading
        QTest::addColumn<bool>("everyChange");
        QTest::newRow("clock standing still: painted once") << 0 << false;
        QTest::newRow("a paint interval per row: every change painted") << 20 << true;
    }
    void paintingIsPaced()
    {
        QFETCH(int, step);
        QFETCH(bool, everyChange);
        // Journal records every append to the weight table, in order.
        Database::open(m_path)->executeNative(QStringLiteral(
            "INSERT INTO \"Modalité-Syndrome\" VALUES (201, 4), (201, 5); INSERT INTO Valorisation VALUES (4305, 3);"
            "CREATE TABLE Journal (NumModalité, Valeur); CREATE TRIGGER journal AFTER INSERT ON Valorisation"
            " BEGIN INSERT INTO Journal VALUES (NEW.NumModalité, NEW.Valeur); END;"));
        qint64 now = 0;
        int before = -1;
        runCommand(m_path, [&] {
            if (before < 0)
                before = m_paints;
            return now += step;
        });
        const int paints = m_paints - before;
        QVERIFY2(everyChange ? paints >= 10 : paints <= 2, qPrintable(QStringLiteral("%1 paints").arg(paints)));
        QCOMPARE(MessageBox::takeShown().size(), 1);
        QCOMPARE(weights(QStringLiteral("Journal ORDER BY rowid")).join(u' '),
                 QStringLiteral("202:9 203:9 204:9 1801:9 1802:9 4301:9 201:7 4302:1 4303:1 4304:1"));
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
        QVERIFY(remarks.text.endsWith(QStringLiteral("\n… et 13 autres (voir les détails).")));
        QCOMPARE(remarks.details.count(u'\n'), 22);
        runCommand(TestSupport::makeDatabase(m_dir, QStringLiteral("checked.sql")));
        QCOMPARE(MessageBox::takeShown().value(0).text,
                 QStringLiteral("Les poids ont été régénérés.\n\nAucune remarque."));
    }

    // A failure is told once the window has closed, in French, the engine's words only in
    // the details; the old weights stay whole (the third append refused leaves the two
    // before it undone), and no file is made where none was.
    void failureKeepsTheOldWeights_data()
    {
        QTest::addColumn<QString>("injury");
        QTest::addColumn<QString>("reason");
        QTest::newRow("absent file") << "absent" << "le fichier est introuvable";
        QTest::newRow("third append refused")
            << "CREATE TRIGGER boom BEFORE INSERT ON Valorisation WHEN (SELECT count(*) FROM Valorisation) >= 2 "
               "BEGIN SELECT RAISE(ABORT, 'boom'); END;"
            << "le moteur de base de données a signalé une erreur";
        // The rebuild appends to the table: the column is named with its table.
        QTest::newRow("weight column missing") << "ALTER TABLE Valorisation DROP COLUMN Valeur"
                                               << "la colonne « Valeur » de la table « Valorisation » est absente";
        QTest::newRow("read-only file") << "read-only" << "le fichier est en lecture seule";
        QTest::newRow("locked by another program") << "locked" << "la base est verrouillée par un autre programme";
        // Cut to 32 bits it would read as sign 509.
        QTest::newRow("a sign number past 32 bits")
            << "UPDATE Modalités SET NumModalité = 4294967805 WHERE NumModalité = 4302;"
               "UPDATE \"Modalité-Syndrome\" SET NumModalité = 4294967805 WHERE NumModalité = 4302;"
            << "la table « Modalités » contient le numéro 4294967805";
    }
    void failureKeepsTheOldWeights()
    {
        QFETCH(QString, injury);
        QFETCH(QString, reason);
        Database::open(m_path)->executeNative(QStringLiteral("UPDATE Valorisation SET Valeur = 4"));
        const QStringList before = weights();
        std::unique_ptr<Database> holder;
        if (injury == u"absent")
            m_path = m_dir.filePath(QStringLiteral("absent.mdb"));
        else if (injury == u"read-only") {
            QFile file(m_path); // write version 3: the engine opens the file read only, even as superuser
            QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(18) && file.write("\x03", 1) == 1);
        } else if (injury == u"locked") {
            Database::setBusyTimeout(50);
            holder = Database::open(m_path);
            holder->executeNative(QStringLiteral("BEGIN IMMEDIATE"));
        } else
            Database::open(m_path)->executeNative(injury);
        runCommand(m_path);
        const MessageBox::Shown shown = MessageBox::takeShown().value(0);
        QVERIFY2(shown.text.startsWith(QStringLiteral("La régénération de la base « %1 » a échoué : %2")
                                           .arg(QDir::toNativeSeparators(m_path), reason)) &&
                     shown.text.endsWith(QStringLiteral("Les poids n'ont pas été modifiés.")) &&
                     !shown.details.isEmpty() && !shown.text.contains(shown.details),
                 qPrintable(shown.text + u'\n' + shown.details));
        holder.reset();
        if (injury == u"absent")
            QVERIFY(!QFile::exists(m_path));
        else if (!injury.startsWith(u"ALTER"))
            QCOMPARE(weights(), before);
    }
};

QTEST_MAIN(TestRegenerate)
#include "tst_regenerate.moc"
