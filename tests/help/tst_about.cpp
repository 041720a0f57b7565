#include "AboutDialog.h"
#include "FakeRegistry.h"
#include "MessageBox.h"
#include "SplashWindow.h"
#include "Twips.h"
#include "Version.h"
#include "VersionText.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

// The about box and the splash: the version text, closing the box from the keyboard, and
// labels that show their whole text in the typeface the windows are designed with.
class TestAbout : public QObject {
    Q_OBJECT

    static QWidget *makeWindow(const QString &which) {
        if (which == QLatin1String("frmAbout"))
            return new AboutDialog;
        return new SplashWindow;
    }

private slots:
    void initTestCase() { MessageBox::setTesting(true); }

    void versionText_data() {
        QTest::addColumn<int>("major");
        QTest::addColumn<int>("minor");
        QTest::addColumn<int>("revision");
        QTest::addColumn<QString>("expected");
        QTest::newRow("1.0.0") << 1 << 0 << 0 << QStringLiteral("Version 1.0.0");
        QTest::newRow("2.10.3") << 2 << 10 << 3 << QStringLiteral("Version 2.10.3");
        QTest::newRow("no leading zeros") << 10 << 0 << 200 << QStringLiteral("Version 10.0.200");
    }

    void versionText() {
        QFETCH(int, major);
        QFETCH(int, minor);
        QFETCH(int, revision);
        QFETCH(QString, expected);
        QCOMPARE(::versionText(major, minor, revision), expected);
    }

    void bothWindowsShowTheApplicationsVersion_data() {
        QTest::addColumn<QString>("window");
        QTest::newRow("about") << QStringLiteral("frmAbout");
        QTest::newRow("splash") << QStringLiteral("frmSplash");
    }

    void bothWindowsShowTheApplicationsVersion() {
        QFETCH(QString, window);
        std::unique_ptr<QWidget> widget(makeWindow(window));
        QCOMPARE(widget->objectName(), window);
        QCOMPARE(widget->findChild<QLabel *>(QStringLiteral("lblVersion"))->text(),
                 ::versionText(AppVersion::Major, AppVersion::Minor, AppVersion::Revision));
        QCOMPARE(widget->windowTitle(), QString());
    }

    void controlsShowTheirWholeText_data() { bothWindowsShowTheApplicationsVersion_data(); }

    void controlsShowTheirWholeText() {
        QFETCH(QString, window);
        std::unique_ptr<QWidget> widget(makeWindow(window));
        const QRect inner = widget->rect();
        const QList<QLabel *> labels = widget->findChildren<QLabel *>();
        QVERIFY(labels.size() >= 3);
        for (const QLabel *label : labels) {
            const QString what = label->objectName();
            const QRect place(label->mapTo(widget.get(), QPoint(0, 0)), label->size());
            QVERIFY2(inner.contains(place), qPrintable(what + QStringLiteral(" leaves the window")));
            const QFontMetrics metrics(label->font());
            if (label->wordWrap()) {
                const QRect needed =
                    metrics.boundingRect(QRect(0, 0, label->width(), 10000), Qt::TextWordWrap, label->text());
                QVERIFY2(needed.height() <= label->height(), qPrintable(what + QStringLiteral(" is cut")));
            } else {
                QVERIFY2(metrics.horizontalAdvance(label->text()) <= label->width(),
                         qPrintable(what + QStringLiteral(" is cut")));
                QVERIFY2(metrics.height() <= label->height(), qPrintable(what + QStringLiteral(" is cut")));
            }
            // Arial, or its metric twin where Arial is missing.
            if (!QFontDatabase::hasFamily(QStringLiteral("Arial")))
                QCOMPARE(QFontInfo(label->font()).family(), QStringLiteral("Liberation Sans"));
            else
                QCOMPARE(QFontInfo(label->font()).family(), QStringLiteral("Arial"));
        }
        for (const QPushButton *button : widget->findChildren<QPushButton *>()) {
            QVERIFY2(button->width() >= button->sizeHint().width(), qPrintable(button->objectName()));
            QVERIFY(inner.contains(button->geometry()));
        }
    }

    void keysCloseTheAboutBox_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("focus");
        QTest::newRow("Enter") << int(Qt::Key_Return) << QStringLiteral("cmdOK");
        QTest::newRow("Enter on the keypad") << int(Qt::Key_Enter) << QStringLiteral("cmdOK");
        QTest::newRow("Escape") << int(Qt::Key_Escape) << QStringLiteral("cmdOK");
        QTest::newRow("Enter from the other button") << int(Qt::Key_Return) << QStringLiteral("cmdSysInfo");
        QTest::newRow("Escape from the other button") << int(Qt::Key_Escape) << QStringLiteral("cmdSysInfo");
    }

    void keysCloseTheAboutBox() {
        QFETCH(int, key);
        QFETCH(QString, focus);
        FakeRegistry registry;
        QWidget owner;
        owner.resize(800, 600);
        owner.show();
        AboutDialog about(&owner, &registry);
        QPushButton *target = about.findChild<QPushButton *>(focus);
        QTimer::singleShot(0, &about, [target, key] { QTest::keyClick(target, Qt::Key(key)); });
        QCOMPARE(about.exec(), int(QDialog::Accepted));
        QVERIFY(!about.isVisible());
        // Neither key ran the system-information launcher.
        QCOMPARE(registry.openings.size(), 0);
        QCOMPARE(MessageBox::takeShown().size(), 0);
    }

    void systemInformationButtonLeavesTheBoxOpen() {
        FakeRegistry registry;
        AboutDialog about(nullptr, &registry);
        about.show();
        about.findChild<QPushButton *>(QStringLiteral("cmdSysInfo"))->click();
        QVERIFY(about.isVisible());
        QCOMPARE(registry.openings.size(), 2);
        const QList<MessageBox::Shown> shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().text, QStringLiteral("Les informations système ne sont pas disponibles pour l'instant"));
    }

    void splashShowsAtOnceInTheMiddleOfTheScreen() {
        SplashWindow splash;
        splash.showAndPaint();
        QVERIFY(splash.isVisible());
        QVERIFY(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(splash.size(), Twips::toPixels(7470, 3375));
        const QPoint middle = QGuiApplication::primaryScreen()->availableGeometry().center();
        QVERIFY(qAbs(splash.geometry().center().x() - middle.x()) <= 1);
        QVERIFY(qAbs(splash.geometry().center().y() - middle.y()) <= 1);
        splash.close();
    }
};

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
