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

    // Escape closes the box as OK does; "Infos système..." tells that the program is not
    // there and leaves the box open, and Enter then closes it, not another message.
    void keysAndButtons()
    {
        AboutDialog about(nullptr, &m_registry);
        about.show();
        QTest::keyClick(&about, Qt::Key_Escape);
        QVERIFY(!about.isVisible());
        QCOMPARE(about.result(), int(QDialog::Accepted));
        about.show();
        auto *sysInfo = about.findChild<QPushButton *>("cmdSysInfo");
        QTest::mouseClick(sysInfo, Qt::LeftButton);
        QVERIFY(about.isVisible());
        const QList<MessageBox::Shown> shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().text + " / " + shown.first().title,
                 "Les informations système ne sont pas disponibles pour l'instant / Tessavor");
        QCOMPARE(shown.first().icon, MessageBox::Icon::None);
        sysInfo->setFocus();
        QTest::keyClick(sysInfo, Qt::Key_Return);
        QVERIFY(!about.isVisible() && MessageBox::takeShown().isEmpty());
    }
};

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
