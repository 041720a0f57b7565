#include "Database.h"
#include "MessageBox.h"
#include "ProgressWindow.h"
#include "Recordset.h"
#include "RegenerateCommand.h"
#include "SyntheticKnowledgeBase.h"
#include "TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QTest>

class TestRegenerate : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_path;
    QWidget m_main;
    int m_shown = 0, m_paints = 0, m_modalPaints = 0, m_messagesAtHide = -1;

    QList<int> weights()
    {
        auto rs = Database::open(m_path)->openRecordset(QStringLiteral("SELECT * FROM Valorisation ORDER BY 1"));
        QList<int> values;
        for (; !rs->isEof(); rs->moveNext())
            values.append(rs->field(u"Valeur").toInt());
        return values;
    }

    // Sees every progress window the command creates and discards.
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *window = qobject_cast<ProgressWindow *>(watched);
        m_shown += window && event->type() == QEvent::Show;
        m_paints += window && event->type() == QEvent::Paint;
        m_modalPaints += window && event->type() == QEvent::Paint && QApplication::activeModalWidget() == window;
        if (window && event->type() == QEvent::Hide)
            m_messagesAtHide = int(MessageBox::takeShown().size());
        return false;
    }

    void runCommand(const QString &path) // the window is shown modal, painted, and closed before any message
    {
        m_shown = m_paints = m_modalPaints = 0, m_messagesAtHide = -1;
        RegenerateCommand::run(&m_main, path);
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

    void success_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("small base") << QStringLiteral("DELETE FROM Valorisation")
                                    << QList<int>{9, 9, 9, 9, 9, 9, 9, 1, 1, 1};
        QTest::newRow("empty link table") << QStringLiteral("DELETE FROM \"Modalité-Syndrome\"") << QList<int>{};
    }

    void success()
    {
        QFETCH(QString, sql);
        QFETCH(QList<int>, expected);
        Database::open(m_path)->executeNative(sql);
        runCommand(m_path);
        QVERIFY(MessageBox::takeShown().isEmpty());
        QCOMPARE(weights(), expected);
    }

    void largeBasePaintsFarLessThanOncePerRow()
    {
        SyntheticKnowledgeBase::generate(m_path, SyntheticKnowledgeBase::scaled(10));
        runCommand(m_path);
        const int rows = int(weights().size());
        QVERIFY2(rows > 3000 && m_paints < rows / 3, qPrintable(QStringLiteral("%1 paints").arg(m_paints)));
    }

    void failureIsToldAfterTheWindowCloses_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("engineMessage");
        QTest::newRow("append refused midway")
            << m_dir.filePath(QStringLiteral("Signes.mdb")) << QStringLiteral("boom");
        QTest::newRow("file missing") << m_dir.filePath(QStringLiteral("absent.mdb")) << QStringLiteral("n'existe pas");
    }

    void failureIsToldAfterTheWindowCloses()
    {
        QFETCH(QString, path);
        QFETCH(QString, engineMessage);
        const QList<int> before = weights();
        Database::open(m_path)->executeNative(
            QStringLiteral("CREATE TRIGGER boom BEFORE INSERT ON Valorisation WHEN"
                           " NEW.NumModalité = 203 BEGIN SELECT RAISE(ABORT, 'boom'); END;"));
        runCommand(path);
        const QString text = MessageBox::takeShown().value(0).text;
        QVERIFY2(text.contains(QDir::toNativeSeparators(path)) && text.contains(engineMessage), qPrintable(text));
        QVERIFY(text.endsWith(QStringLiteral("Les poids n'ont pas été modifiés.")));
        QCOMPARE(weights(), before);
        QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("absent.mdb"))));
    }
};

QTEST_MAIN(TestRegenerate)
#include "tst_regenerate.moc"
