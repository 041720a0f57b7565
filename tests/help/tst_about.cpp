#include "AboutDialog.h"
#include "IniRegistry.h"
#include "MessageBox.h"
#include "VersionText.h"

#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// The about box. Its registry is an empty one, in which the system-information program
// is never found.
class TestAbout : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    IniRegistry m_registry{m_dir.filePath(u"absent.ini"_s)};

private slots:
    void initTestCase() { MessageBox::setTesting(true); }
    void init() { MessageBox::takeShown(); }

    void boxShowsTheVersionAndWholeButtons()
    {
        AboutDialog about;
        // No title text: an empty title would show the application's name instead.
        QVERIFY2(!about.windowTitle().isEmpty() && about.windowTitle().trimmed().isEmpty(),
                 qPrintable(about.windowTitle()));
        QCOMPARE(about.findChild<QLabel *>(u"lblVersion"_s)->text(), VersionText::application());
        for (const QPushButton *button : about.findChildren<QPushButton *>())
            QVERIFY2(button->width() >= button->sizeHint().width() && about.rect().contains(button->geometry()),
                     qPrintable(button->objectName()));
    }

    void keysCloseTheBox_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("focus");
        QTest::newRow("Enter") << int(Qt::Key_Return) << u"cmdOK"_s;
        QTest::newRow("Escape") << int(Qt::Key_Escape) << u"cmdOK"_s;
        QTest::newRow("Enter on the other button") << int(Qt::Key_Return) << u"cmdSysInfo"_s;
    }

    void keysCloseTheBox()
    {
        QFETCH(int, key);
        QFETCH(QString, focus);
        AboutDialog about(nullptr, &m_registry);
        about.show();
        QPushButton *target = about.findChild<QPushButton *>(focus);
        target->setFocus();
        QTest::keyClick(target, Qt::Key(key));
        QVERIFY(!about.isVisible());
        QCOMPARE(about.result(), int(QDialog::Accepted));
        QVERIFY(MessageBox::takeShown().isEmpty()); // the launcher never ran
    }

    void sysInfoUnavailableIsTold()
    {
        AboutDialog about(nullptr, &m_registry);
        about.show();
        QTest::mouseClick(about.findChild<QPushButton *>(u"cmdSysInfo"_s), Qt::LeftButton);
        const QList<MessageBox::Shown> shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().text + u" / "_s + shown.first().title,
                 u"Les informations système ne sont pas disponibles pour l'instant / Tessavor"_s);
        QCOMPARE(shown.first().icon, MessageBox::Icon::None);
        QVERIFY(about.isVisible());
    }
};

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
