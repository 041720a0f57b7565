#include "AboutDialog.h"
#include "IniRegistry.h"
#include "MessageBox.h"
#include "VersionText.h"

#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

// The about box. Its registry is an empty one, in which the system-information program
// is never found.
class TestAbout : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    IniRegistry m_registry{m_dir.filePath("absent.ini")};

private slots:
    void initTestCase() { MessageBox::setTesting(true); }

    void boxShowsTheVersionAndWholeButtons()
    {
        AboutDialog about;
        // No title text: an empty title would show the application's name instead.
        QVERIFY2(!about.windowTitle().isEmpty() && about.windowTitle().trimmed().isEmpty(),
                 qPrintable(about.windowTitle()));
        QCOMPARE(about.findChild<QLabel *>("lblVersion")->text(), VersionText::application());
        QCOMPARE(VersionText::of(2, 10, 3), QStringLiteral("Version 2.10.3"));
        for (const QPushButton *button : about.findChildren<QPushButton *>())
            QVERIFY2(button->width() >= button->sizeHint().width() && about.rect().contains(button->geometry()),
                     qPrintable(button->objectName()));
    }

    // Enter and Escape close the box, whichever button has the focus; "Infos système..." tells
    // that the program is not there and leaves the box open.
    void keysAndButtons_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("key"); // 0: a click
        QTest::newRow("Enter") << "cmdOK" << int(Qt::Key_Return);
        QTest::newRow("Escape") << "cmdOK" << int(Qt::Key_Escape);
        QTest::newRow("Enter on the other button") << "cmdSysInfo" << int(Qt::Key_Return);
        QTest::newRow("system information") << "cmdSysInfo" << 0;
    }

    void keysAndButtons()
    {
        QFETCH(QString, button);
        QFETCH(int, key);
        AboutDialog about(nullptr, &m_registry);
        about.show();
        auto *target = about.findChild<QPushButton *>(button);
        target->setFocus();
        if (key)
            QTest::keyClick(target, Qt::Key(key));
        else
            QTest::mouseClick(target, Qt::LeftButton);
        QCOMPARE(about.isVisible(), !key);
        QCOMPARE(about.result(), int(key ? QDialog::Accepted : QDialog::Rejected));
        const QList<MessageBox::Shown> shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), key ? 0 : 1);
        if (!key) {
            QCOMPARE(shown.first().text + " / " + shown.first().title,
                     "Les informations système ne sont pas disponibles pour l'instant / Tessavor");
            QCOMPARE(shown.first().icon, MessageBox::Icon::None);
        }
    }
};

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
