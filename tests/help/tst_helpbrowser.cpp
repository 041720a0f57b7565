#include "AppPaths.h"
#include "BrowserLayout.h"
#include "HelpBrowser.h"
#include "HtmlView.h"
#include "MessageBox.h"
#include "Twips.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

// The help window as the practitioner drives it: address box, history, toolbar, title.
// Its own start page is missing in the test folder, so every window starts on the view's
// error display; the pages it goes to are written to a temporary folder.
class TestHelpBrowser : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString page(const QString &token) const {
        if (token == QLatin1String("start"))
            return AppPaths::inApplicationFolder(QStringLiteral("INDEX.HTM"));
        return QDir::toNativeSeparators(m_dir.filePath(token + QStringLiteral(".HTM")));
    }

    void writePage(const QString &name, const QString &title, const QString &body) {
        QFile file(m_dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        const QString head = title.isNull() ? QString() : QStringLiteral("<title>%1</title>").arg(title);
        file.write(QStringLiteral("<html><head><meta charset=\"utf-8\">%1</head><body>%2</body></html>")
                       .arg(head, body)
                       .toUtf8());
    }

    static HtmlView *view(HelpBrowser *window) {
        return window->findChild<HtmlView *>(QStringLiteral("brwWebBrowser"));
    }
    static QComboBox *addressBox(HelpBrowser *window) {
        return window->findChild<QComboBox *>(QStringLiteral("cboAddress"));
    }
    static QAction *button(HelpBrowser *window, const QString &key) {
        return window->findChild<QToolBar *>(QStringLiteral("tbToolBarbis"))->findChild<QAction *>(key);
    }
    static QStringList history(HelpBrowser *window) {
        QStringList entries;
        for (int i = 0; i < addressBox(window)->count(); ++i)
            entries.append(addressBox(window)->itemText(i));
        return entries;
    }

    HelpBrowser *openIdle() {
        HelpBrowser *window = HelpBrowser::showHelp();
        if (!QTest::qWaitFor([window] { return !view(window)->isBusy(); }))
            return nullptr;
        return window;
    }

    // Types an address and presses Enter, then waits for the page.
    bool typeAndEnter(HelpBrowser *window, const QString &text, bool wait = true) {
        addressBox(window)->setEditText(text);
        QTest::keyClick(addressBox(window), Qt::Key_Return);
        return !wait || QTest::qWaitFor([window] { return !view(window)->isBusy(); });
    }

private slots:
    void initTestCase() {
        MessageBox::setTesting(true);
        writePage(QStringLiteral("A.HTM"), QStringLiteral("Page A"), QStringLiteral("<a href=\"B.HTM\">B</a>"));
        writePage(QStringLiteral("B.HTM"), QStringLiteral("Page B"), QStringLiteral("<p>B</p>"));
        writePage(QStringLiteral("C.HTM"), QStringLiteral("Page C"), QStringLiteral("<p>C</p>"));
    }

    void cleanup() {
        if (HelpBrowser *window = HelpBrowser::instance())
            window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!HelpBrowser::instance());
        // The help window never shows a message box, whatever happened.
        QCOMPARE(MessageBox::takeShown().size(), 0);
    }

    void missingStartPageShowsTheErrorDisplay() {
        HelpBrowser *window = HelpBrowser::showHelp();
        // The window shows before anything is loaded, with no title of its own.
        QVERIFY(window->isVisible());
        QCOMPARE(window->windowTitle(), QString());
        QVERIFY(QTest::qWaitFor([window] { return !view(window)->isBusy(); }));

        const QString start = QDir::toNativeSeparators(QCoreApplication::applicationDirPath()) + QDir::separator() +
                              QStringLiteral("INDEX.HTM");
        QCOMPARE(window->startingAddress(), start);
        QCOMPARE(view(window)->locationName(), QStringLiteral("Page introuvable"));
        QVERIFY(view(window)->toPlainText().contains(start));
        QTRY_COMPARE(window->windowTitle(), QStringLiteral("Page introuvable"));
        // The address reached is the one added at load: it stands once.
        QCOMPARE(history(window), QStringList{start});
        QCOMPARE(addressBox(window)->currentText(), start);
    }

    void historyKeepsEachAddressOnceMostRecentFirst_data() {
        QTest::addColumn<QStringList>("visits");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("A, B, A") << QStringList{"A", "B", "A"} << QStringList{"A", "B", "start"};
        QTest::newRow("A, A") << QStringList{"A", "A"} << QStringList{"A", "start"};
        QTest::newRow("A, B, C, B") << QStringList{"A", "B", "C", "B"} << QStringList{"B", "C", "A", "start"};
        QTest::newRow("start page again") << QStringList{"A", "start"} << QStringList{"start", "A"};
    }

    void historyKeepsEachAddressOnceMostRecentFirst() {
        QFETCH(QStringList, visits);
        QFETCH(QStringList, expected);
        HelpBrowser *window = openIdle();
        QVERIFY(window);
        for (const QString &token : visits)
            QVERIFY(typeAndEnter(window, page(token)));
        QStringList paths;
        for (const QString &token : expected)
            paths.append(page(token));
        QCOMPARE(history(window), paths);
        QCOMPARE(addressBox(window)->currentIndex(), 0);
        QCOMPARE(addressBox(window)->currentText(), page(visits.last()));
    }

    void enterNavigatesToTheTextAsTyped_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shownName");
        QTest::newRow("empty") << QString() << QStringLiteral("Page introuvable");
        QTest::newRow("blanks kept") << QStringLiteral("  B  ") << QStringLiteral("Page introuvable");
        QTest::newRow("no folder completed") << QStringLiteral("B.HTM") << QStringLiteral("Page introuvable");
        QTest::newRow("no scheme completed") << QStringLiteral("www.example.org") << QStringLiteral("Page introuvable");
        QTest::newRow("local page") << QStringLiteral("@B") << QStringLiteral("Page B");
    }

    void enterNavigatesToTheTextAsTyped() {
        QFETCH(QString, typed);
        QFETCH(QString, shownName);
        if (typed.startsWith(QLatin1Char('@')))
            typed = page(typed.mid(1));
        HelpBrowser *window = openIdle();
        QVERIFY(window);
        QSignalSpy requests(view(window), &HtmlView::navigationRequested);
        QVERIFY(typeAndEnter(window, typed));
        QCOMPARE(requests.size(), 1);
        QCOMPARE(requests.at(0).at(0).toString(), typed);
        QCOMPARE(view(window)->locationName(), shownName);
        QTRY_COMPARE(window->windowTitle(), shownName);
    }

    void listSelectionNavigates() {
        HelpBrowser *window = openIdle();
        QVERIFY(window);
        QVERIFY(typeAndEnter(window, page(QStringLiteral("A"))));
        QVERIFY(typeAndEnter(window, page(QStringLiteral("B"))));
        QSignalSpy requests(view(window), &HtmlView::navigationRequested);

        // Moving the selection to the second entry goes there.
        QTest::keyClick(addressBox(window), Qt::Key_Down);
        QVERIFY(QTest::qWaitFor([window] { return !view(window)->isBusy(); }));
        QCOMPARE(requests.size(), 1);
        QCOMPARE(view(window)->locationAddress(), page(QStringLiteral("A")));
        QCOMPARE(history(window), (QStringList{page("A"), page("B"), page("start")}));

        // Once the history step is over, choosing entry 0 again loads it again.
        emit addressBox(window)->activated(0);
        QVERIFY(QTest::qWaitFor([window] { return !view(window)->isBusy(); }));
        QCOMPARE(requests.size(), 2);
        QCOMPARE(requests.at(1).at(0).toString(), page(QStringLiteral("A")));
    }

    void leavingTheAddressBoxDoesNotNavigate() {
        HelpBrowser *window = openIdle();
        QVERIFY(window);
        QVERIFY(typeAndEnter(window, page(QStringLiteral("A"))));
        QVERIFY(typeAndEnter(window, page(QStringLiteral("B"))));
        QSignalSpy requests(view(window), &HtmlView::navigationRequested);
        window->activateWindow();
        addressBox(window)->setFocus();
        // Typing the text of another entry, then moving on, is not a selection.
        addressBox(window)->setEditText(QString());
        QTest::keyClicks(addressBox(window), page(QStringLiteral("A")));
        view(window)->setFocus();
        QCoreApplication::processEvents();
        QCOMPARE(requests.size(), 0);
    }

    void openingAgainKeepsPageAndHistory() {
        HelpBrowser *window = openIdle();
        QVERIFY(window);
        QVERIFY(typeAndEnter(window, page(QStringLiteral("A"))));
        QVERIFY(typeAndEnter(window, page(QStringLiteral("B"))));
        const QStringList before = history(window);
        QSignalSpy requests(view(window), &HtmlView::navigationRequested);

        QCOMPARE(HelpBrowser::showHelp(), window);
        QCoreApplication::processEvents();
        QCOMPARE(requests.size(), 0);
        QCOMPARE(view(window)->locationAddress(), page(QStringLiteral("B")));
        QCOMPARE(history(window), before);
    }

    void closingForgetsPageAndHistory() {
        HelpBrowser *window = openIdle();
        QVERIFY(window);
        QVERIFY(typeAndEnter(window, page(QStringLiteral("A"))));
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!HelpBrowser::instance());

        window = openIdle();
        QVERIFY(window);
        QCOMPARE(history(window), QStringList{page(QStringLiteral("start"))});
        QCOMPARE(view(window)->locationAddress(), page(QStringLiteral("start")));
    }

    void titleReadsBusyWhileLoadingThenThePageName() {
        HelpBrowser *window = openIdle();
        QVERIFY(window);
        view(window)->setLoadDelay(200);
        QVERIFY(typeAndEnter(window, page(QStringLiteral("A")), false));
        QVERIFY(view(window)->isBusy());
        // The busy timer ticks well before the page is read.
        QTRY_COMPARE(window->windowTitle(), HelpBrowser::BusyTitle);
        QTRY_COMPARE(window->windowTitle(), QStringLiteral("Page A"));
        QVERIFY(!view(window)->isBusy());
    }

    void stopSetsTheTitleAtOnce() {
        HelpBrowser *window = openIdle();
        QVERIFY(window);
        QVERIFY(typeAndEnter(window, page(QStringLiteral("A"))));
        view(window)->setLoadDelay(60 * 60 * 1000);
        QVERIFY(typeAndEnter(window, page(QStringLiteral("B")), false));
        QTRY_COMPARE(window->windowTitle(), HelpBrowser::BusyTitle);

        button(window, QStringLiteral("Stop"))->trigger();
        QCOMPARE(window->windowTitle(), QStringLiteral("Page A"));
        QVERIFY(!view(window)->isBusy());
        QCOMPARE(view(window)->locationAddress(), page(QStringLiteral("A")));
        QCoreApplication::processEvents();
        QCOMPARE(window->windowTitle(), QStringLiteral("Page A"));
    }

    void backAndNextWalkTheViewsHistory() {
        HelpBrowser *window = openIdle();
        QVERIFY(window);
        QVERIFY(typeAndEnter(window, page(QStringLiteral("A"))));
        QVERIFY(typeAndEnter(window, page(QStringLiteral("B"))));

        button(window, QStringLiteral("Back"))->trigger();
        QVERIFY(QTest::qWaitFor([window] { return !view(window)->isBusy(); }));
        QCOMPARE(view(window)->locationAddress(), page(QStringLiteral("A")));
        QTRY_COMPARE(window->windowTitle(), QStringLiteral("Page A"));
        QCOMPARE(history(window).first(), page(QStringLiteral("A")));

        button(window, QStringLiteral("Next"))->trigger();
        QVERIFY(QTest::qWaitFor([window] { return !view(window)->isBusy(); }));
        QCOMPARE(view(window)->locationAddress(), page(QStringLiteral("B")));

        // At the end of the history the page stays, and the busy timer still settles the title.
        window->setWindowTitle(QStringLiteral("autre"));
        QSignalSpy requests(view(window), &HtmlView::navigationRequested);
        button(window, QStringLiteral("Next"))->trigger();
        QTRY_COMPARE(window->windowTitle(), QStringLiteral("Page B"));
        QCOMPARE(requests.size(), 0);
        QCOMPARE(view(window)->locationAddress(), page(QStringLiteral("B")));
    }

    void resizeRule_data() {
        QTest::addColumn<QSizeF>("inner");
        QTest::addColumn<double>("address");
        QTest::addColumn<double>("viewWidth");
        QTest::addColumn<double>("viewHeight");
        QTest::newRow("design size") << QSizeF(8910, 6465) << 8810.0 << 8810.0 << 5150.0;
        QTest::newRow("just enough") << QSizeF(100, 1315) << 0.0 << 0.0 << 0.0;
        QTest::newRow("too small") << QSizeF(60, 900) << 0.0 << 0.0 << 0.0;
        QTest::newRow("minimised") << QSizeF(0, 0) << 0.0 << 0.0 << 0.0;
    }

    void resizeRule() {
        QFETCH(QSizeF, inner);
        QFETCH(double, address);
        QFETCH(double, viewWidth);
        QFETCH(double, viewHeight);
        const BrowserLayout layout = BrowserLayout::forInnerSize(inner.width(), inner.height());
        QCOMPARE(layout.addressWidth, address);
        QCOMPARE(layout.viewWidth, viewWidth);
        QCOMPARE(layout.viewHeight, viewHeight);
    }

    void resizingKeepsViewAndAddressNarrowerThanTheWindow() {
        HelpBrowser *window = openIdle();
        QVERIFY(window);
        QComboBox *box = addressBox(window);
        HtmlView *html = view(window);
        // The address box sits 15 below the label, 50 from the left.
        QCOMPARE(box->pos(), QPoint(Twips::toPixels(50), Twips::toPixels(330)));
        for (const QSize size : {QSize(900, 700), QSize(420, 300), QSize(1200, 500), QSize(60, 40)}) {
            window->resize(size);
            QTRY_COMPARE(window->size(), size);
            const int narrower = Twips::toPixels(Twips::fromPixels(size.width()) - 100);
            QCOMPARE(box->width(), std::max(0, narrower));
            QCOMPARE(html->width(), std::max(0, narrower));
            QCOMPARE(html->height(), std::max(0, Twips::toPixels(Twips::fromPixels(size.height()) - 1315)));
            QCOMPARE(html->pos(), QPoint(Twips::toPixels(50), Twips::toPixels(1215)));
        }
    }
};

QTEST_MAIN(TestHelpBrowser)
#include "tst_helpbrowser.moc"
