#include "Database.h"
#include "MessageBox.h"
#include "ProgressWindow.h"
#include "Recordset.h"
#include "RegenerateCommand.h"
#include "TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QPaintEvent>
#include <QTest>

// "Régénérer la base" with its progress window: painted at a pace the clock sets, closed
// before any message; a rebuild that succeeds closes with the checker's remarks.
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

    // The small base's ten weights, written afresh, change what the bar shows ten times;
    // painting is paced by the clock the command reads, never by the machine's speed.
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
        Database::open(m_path)->executeNative(QStringLiteral("DELETE FROM Valorisation"));
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
        QCOMPARE(weights(), (QList<int>{9, 9, 9, 9, 9, 9, 9, 1, 1, 1}));
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

    // A failure is told once the window has closed: in French, the engine's words only in
    // the details, and no file made where none was.
    void failureIsToldAfterTheWindowCloses()
    {
        const QString absent = m_dir.filePath(QStringLiteral("absent.mdb"));
        runCommand(absent);
        const MessageBox::Shown shown = MessageBox::takeShown().value(0);
        QVERIFY2(shown.text.startsWith(QStringLiteral("La régénération de la base « %1 » a échoué : le fichier est "
                                                      "introuvable.")
                                           .arg(QDir::toNativeSeparators(absent))),
                 qPrintable(shown.text));
        QCOMPARE(shown.details, QStringLiteral("le fichier n'existe pas"));
        QVERIFY(!QFile::exists(absent));
    }
};

QTEST_MAIN(TestRegenerate)
#include "tst_regenerate.moc"
