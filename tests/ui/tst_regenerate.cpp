#include "Database.h"
#include "DatabaseError.h"
#include "MessageBox.h"
#include "ProgressPacer.h"
#include "ProgressWindow.h"
#include "Recordset.h"
#include "RegenerateCommand.h"
#include "SyntheticKnowledgeBase.h"
#include "TestSupport.h"
#include "Twips.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QTest>

using Steps = QList<std::pair<bool, int>>; // (shown value changed, clock in ms)

// What the progress window went through during one command, seen from outside: the
// command creates and discards it, so the test watches the events of every object named
// frmProgress.
class ProgressWatcher : public QObject
{
public:
    int shown = 0;
    int paints = 0;
    int hidden = 0;
    bool alwaysModal = true;
    float valueAtHide = -1;
    QList<MessageBox::Shown> earlyMessages;

    void reset()
    {
        shown = paints = hidden = 0;
        alwaysModal = true;
        valueAtHide = -1;
        earlyMessages.clear();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *window = qobject_cast<ProgressWindow *>(watched);
        if (!window)
            return false;
        switch (event->type()) {
        case QEvent::Show:
            ++shown;
            break;
        case QEvent::Paint:
            ++paints;
            alwaysModal = alwaysModal && QApplication::activeModalWidget() == window;
            break;
        case QEvent::Hide:
            ++hidden;
            valueAtHide = window->value();
            earlyMessages = MessageBox::takeShown();
            break;
        default:
            break;
        }
        return false;
    }
};

class TestRegenerate : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_path;
    QWidget *m_main = nullptr;
    ProgressWatcher m_watcher;

    QList<std::pair<int, int>> weightTable()
    {
        auto db = Database::open(m_path);
        auto rs = db->openRecordset(QStringLiteral("SELECT NumModalité, Valeur FROM Valorisation ORDER BY 1"));
        QList<std::pair<int, int>> rows;
        for (int i = 0; i < rs->recordCount(); ++i, rs->moveNext())
            rows.append({rs->field(u"NumModalité").toInt(), rs->field(u"Valeur").toInt()});
        return rows;
    }

    void native(const QString &sql)
    {
        auto db = Database::open(m_path);
        db->executeNative(sql);
    }

    void checkWindowGone()
    {
        QCOMPARE(m_watcher.shown, 1);
        QCOMPARE(m_watcher.hidden, 1);
        QVERIFY(m_watcher.paints >= 1);
        QVERIFY(m_watcher.alwaysModal);
        for (QWidget *w : QApplication::topLevelWidgets())
            QVERIFY(!qobject_cast<ProgressWindow *>(w));
        QVERIFY(!QApplication::activeModalWidget());
    }

private slots:
    void initTestCase()
    {
        MessageBox::setTesting(true);
        m_main = new QWidget;
        m_main->setObjectName(QStringLiteral("frmMain"));
        m_main->resize(400, 300);
        m_main->show();
        QVERIFY(QTest::qWaitForWindowActive(m_main));
        qApp->installEventFilter(&m_watcher);
    }

    void cleanupTestCase() { delete m_main; }

    void init()
    {
        QFile::remove(m_dir.filePath(QStringLiteral("Signes.mdb")));
        m_path = TestSupport::makeDatabase(m_dir, QStringLiteral("small.sql"));
        m_watcher.reset();
        MessageBox::takeShown();
    }

    void cleanup() { Database::setBusyTimeout(5000); }

    void windowLayout_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("twips");
        QTest::newRow("label") << QStringLiteral("Titre") << QRect(240, 240, 4815, 375);
        QTest::newRow("bar") << QStringLiteral("Progression") << QRect(240, 840, 4695, 255);
    }

    void windowLayout()
    {
        QFETCH(QString, name);
        QFETCH(QRect, twips);
        ProgressWindow window;
        QCOMPARE(window.objectName(), QStringLiteral("frmProgress"));
        QCOMPARE(window.size(), Twips::toPixels(5280, 1425));
        auto *control = window.findChild<QWidget *>(name);
        QVERIFY(control);
        QCOMPARE(control->geometry(), Twips::toPixels(twips.x(), twips.y(), twips.width(), twips.height()));
    }

    void windowLook()
    {
        ProgressWindow window;
        auto *titre = window.findChild<QLabel *>(QStringLiteral("Titre"));
        QCOMPARE(titre->text(), QStringLiteral("Régénération de la base en cours, un peu de patience"));
        QCOMPARE(titre->font().family(), QStringLiteral("Tahoma"));
        QCOMPARE(titre->font().pointSizeF(), 9.75);
        QCOMPARE(titre->alignment(), Qt::AlignCenter);
    }

    // The value is kept as given; the bar shows it in tenths, never rounded up.
    void barValue_data()
    {
        QTest::addColumn<QList<float>>("values");
        QTest::addColumn<QList<bool>>("changed");
        QTest::addColumn<int>("shown");
        QTest::newRow("start") << QList<float>{10} << QList<bool>{true} << 100;
        QTest::newRow("same tenth") << QList<float>{10, 10.04f} << QList<bool>{true, false} << 100;
        QTest::newRow("just short of the end") << QList<float>{10, 99.99f} << QList<bool>{true, true} << 999;
        QTest::newRow("half way") << QList<float>{32.5f, 55} << QList<bool>{true, true} << 550;
    }

    void barValue()
    {
        QFETCH(QList<float>, values);
        QFETCH(QList<bool>, changed);
        QFETCH(int, shown);
        ProgressWindow window;
        auto *bar = window.findChild<QProgressBar *>(QStringLiteral("Progression"));
        QCOMPARE(bar->minimum(), 0);
        QCOMPARE(bar->maximum(), 100 * ProgressWindow::StepsPerUnit);
        for (qsizetype i = 0; i < values.size(); ++i)
            QCOMPARE(window.setValue(values[i]), changed[i]);
        QCOMPARE(window.value(), values.last());
        QCOMPARE(bar->value(), shown);
    }

    void pacer_data()
    {
        QTest::addColumn<Steps>("steps");
        QTest::addColumn<QList<bool>>("paints");
        QTest::newRow("first change paints at once") << Steps{{true, 0}} << QList<bool>{true};
        QTest::newRow("nothing changed, nothing painted")
            << Steps{{false, 0}, {false, 100}} << QList<bool>{false, false};
        QTest::newRow("changes within the interval wait")
            << Steps{{true, 0}, {true, 5}, {false, 10}, {false, 20}} << QList<bool>{true, false, false, true};
        QTest::newRow("unchanged after the interval stays unpainted")
            << Steps{{true, 0}, {false, 50}, {true, 60}} << QList<bool>{true, false, true};
    }

    void pacer()
    {
        QFETCH(Steps, steps);
        QFETCH(QList<bool>, paints);
        ProgressPacer pacer(20);
        for (qsizetype i = 0; i < steps.size(); ++i)
            QCOMPARE(pacer.shouldPaint(steps[i].first, steps[i].second), paints[i]);
    }

    void rebuildShowsProgressThenCloses()
    {
        native(QStringLiteral("UPDATE Valorisation SET Valeur = 5"));
        const int beeps = Beep::count();
        RegenerateCommand::run(m_main, m_path);

        checkWindowGone();
        QVERIFY(MessageBox::takeShown().isEmpty());
        QCOMPARE(Beep::count(), beeps);
        // Ten linked modalities: the bar stands at 10 + 90 × 9 ÷ 10 when the window goes.
        QCOMPARE(m_watcher.valueAtHide, 91.0f);
        const QList<std::pair<int, int>> expected{{201, 9},  {202, 9},  {203, 9},  {204, 9},  {1801, 9},
                                                  {1802, 9}, {4301, 9}, {4302, 1}, {4303, 1}, {4304, 1}};
        QCOMPARE(weightTable(), expected);
        QTRY_COMPARE(QApplication::activeWindow(), m_main);
    }

    void largeBasePaintsAsItGoesNotEveryRow()
    {
        SyntheticKnowledgeBase::generate(m_path, SyntheticKnowledgeBase::scaled(10));
        RegenerateCommand::run(m_main, m_path);
        checkWindowGone();
        const int rows = weightTable().size();
        QVERIFY(rows > 3000);
        QVERIFY2(m_watcher.paints < rows / 3, qPrintable(QString::number(m_watcher.paints)));
        QCOMPARE(m_watcher.valueAtHide, static_cast<float>(double(rows - 1) / rows * 90.0 + 10.0));
    }

    void emptyLinkTableEndsQuietly()
    {
        native(QStringLiteral("DELETE FROM \"Modalité-Syndrome\""));
        RegenerateCommand::run(m_main, m_path);
        checkWindowGone();
        QVERIFY(MessageBox::takeShown().isEmpty());
        QVERIFY(weightTable().isEmpty());
    }

    void failureIsToldAndWeightsKept_data()
    {
        QTest::addColumn<QString>("injury");
        QTest::addColumn<QString>("engineMessage");
        QTest::newRow("third append refused") << QStringLiteral("trigger") << QStringLiteral("boom");
        QTest::newRow("file the engine may not write") << QStringLiteral("read-only") << QStringLiteral("readonly");
        QTest::newRow("held by another program") << QStringLiteral("locked") << QStringLiteral("locked");
        QTest::newRow("file missing") << QStringLiteral("missing") << QStringLiteral("n'existe pas");
    }

    void failureIsToldAndWeightsKept()
    {
        QFETCH(QString, injury);
        QFETCH(QString, engineMessage);
        const auto before = weightTable();
        std::unique_ptr<Database> holder;
        QString path = m_path;
        if (injury == QLatin1String("trigger")) {
            native(QStringLiteral("CREATE TRIGGER boom BEFORE INSERT ON Valorisation"
                                  " WHEN (SELECT count(*) FROM Valorisation) >= 2"
                                  " BEGIN SELECT RAISE(ABORT, 'boom'); END;"));
        } else if (injury == QLatin1String("read-only")) {
            QFile file(m_path); // write version 3: the engine opens it read only
            QVERIFY(file.open(QIODevice::ReadWrite));
            file.seek(18);
            file.write("\x03", 1);
        } else if (injury == QLatin1String("locked")) {
            Database::setBusyTimeout(50);
            holder = Database::open(m_path);
            holder->beginTransaction();
            holder->executeNative(QStringLiteral("UPDATE Catégories SET Nom = Nom"));
        } else {
            path = m_dir.filePath(QStringLiteral("absent.mdb"));
        }

        const int beeps = Beep::count();
        RegenerateCommand::run(m_main, path);

        checkWindowGone();
        QVERIFY(m_watcher.earlyMessages.isEmpty()); // the window went before the message came
        const QList<MessageBox::Shown> shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].title, QStringLiteral("Régénération de la base"));
        QCOMPARE(shown[0].icon, MessageBox::Icon::Critical);
        QCOMPARE(shown[0].buttons, MessageBox::Buttons::Ok);
        QVERIFY2(shown[0].text.contains(QDir::toNativeSeparators(path)), qPrintable(shown[0].text));
        QVERIFY2(shown[0].text.contains(engineMessage), qPrintable(shown[0].text));
        QVERIFY(shown[0].text.endsWith(QStringLiteral("Les poids n'ont pas été modifiés.")));
        QCOMPARE(Beep::count(), beeps + 1);

        holder.reset();
        if (injury == QLatin1String("read-only")) {
            QFile file(m_path);
            QVERIFY(file.open(QIODevice::ReadWrite));
            file.seek(18);
            file.write("\x01", 1);
        }
        QCOMPARE(weightTable(), before);
    }
};

QTEST_MAIN(TestRegenerate)
#include "tst_regenerate.moc"
