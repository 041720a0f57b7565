#include "HtmlView.h"

#include <QDir>
#include <QFile>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// The help window's HTML view on its own: which page an address text stands for, how a
// page is read and named, and its history, reload and stop.
class TestHtmlView : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const QString &name) const { return QDir::toNativeSeparators(m_dir.filePath(name)); }

    void write(const QString &name, const QByteArray &content) {
        QFile file(m_dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    static bool settle(HtmlView &view) {
        return QTest::qWaitFor([&view] { return !view.isBusy(); });
    }

private slots:
    void initTestCase() {
        write(QStringLiteral("A.HTM"), "<html><head><meta charset=\"utf-8\"><title>Page A</title></head>"
                                       "<body><p>début</p><p style=\"margin-top: 4000px\"><a name=\"fin\">fin</a></p>"
                                       "</body></html>");
        write(QStringLiteral("B.HTM"), "<html><head><title>Page B</title></head><body>B</body></html>");
        write(QStringLiteral("SANS-TITRE.HTM"), "<html><body>rien</body></html>");
        // A page in another encoding, announced by its own meta element.
        write(QStringLiteral("LATIN.HTM"), "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
                                           "charset=iso-8859-1\"><title>\xC9t\xE9</title></head><body>x</body></html>");
        write(QStringLiteral("NOTES.TXT"), "<b>pas du HTML</b>");
    }

    void addressToPage_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QUrl>("expected");
        const QString a = m_dir.filePath(QStringLiteral("A.HTM"));
        QUrl withFragment = QUrl::fromLocalFile(a);
        withFragment.setFragment(QStringLiteral("fin"));
        QTest::newRow("empty") << QString() << QUrl();
        QTest::newRow("plain path") << QDir::toNativeSeparators(a) << QUrl::fromLocalFile(a);
        QTest::newRow("file URL") << QUrl::fromLocalFile(a).toString() << QUrl::fromLocalFile(a);
        QTest::newRow("path and anchor") << QDir::toNativeSeparators(a) + QStringLiteral("#fin") << withFragment;
        QTest::newRow("missing path keeps its '#'")
            << QDir::toNativeSeparators(m_dir.filePath(QStringLiteral("X#1.HTM")))
            << QUrl::fromLocalFile(m_dir.filePath(QStringLiteral("X#1.HTM")));
        QTest::newRow("relative name") << QStringLiteral("A.HTM") << QUrl(QStringLiteral("A.HTM"));
        QTest::newRow("web address") << QStringLiteral("http://example.org/")
                                     << QUrl(QStringLiteral("http://example.org/"));
    }

    void addressToPage() {
        QFETCH(QString, address);
        QFETCH(QUrl, expected);
        QCOMPARE(HtmlView::urlFromAddress(address), expected);
    }

    void pagesAreReadAndNamed_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reported");
        QTest::addColumn<QString>("text");
        QTest::newRow("title") << path("A.HTM") << QStringLiteral("Page A") << path("A.HTM") << QStringLiteral("début");
        QTest::newRow("file URL reported as a path")
            << QUrl::fromLocalFile(m_dir.filePath(QStringLiteral("B.HTM"))).toString() << QStringLiteral("Page B")
            << path("B.HTM") << QStringLiteral("B");
        QTest::newRow("no title: the file name") << path("SANS-TITRE.HTM") << QStringLiteral("SANS-TITRE.HTM")
                                                 << path("SANS-TITRE.HTM") << QStringLiteral("rien");
        QTest::newRow("declared encoding")
            << path("LATIN.HTM") << QStringLiteral("Été") << path("LATIN.HTM") << QStringLiteral("x");
        QTest::newRow("text file shown as text") << path("NOTES.TXT") << QStringLiteral("NOTES.TXT")
                                                 << path("NOTES.TXT") << QStringLiteral("<b>pas du HTML</b>");
        QTest::newRow("missing file") << path("ABSENT.HTM") << QStringLiteral("Page introuvable") << path("ABSENT.HTM")
                                      << path("ABSENT.HTM");
        QTest::newRow("folder") << QDir::toNativeSeparators(m_dir.path()) << QStringLiteral("Page introuvable")
                                << QDir::toNativeSeparators(m_dir.path()) << QStringLiteral("introuvable");
        QTest::newRow("web address") << QStringLiteral("http://example.org/") << QStringLiteral("Page introuvable")
                                     << QStringLiteral("http://example.org/")
                                     << QStringLiteral("enregistrées sur cet ordinateur");
        QTest::newRow("markup in the address stays text")
            << QStringLiteral("<b>x</b>") << QStringLiteral("Page introuvable") << QStringLiteral("<b>x</b>")
            << QStringLiteral("<b>x</b>");
    }

    void pagesAreReadAndNamed() {
        QFETCH(QString, address);
        QFETCH(QString, name);
        QFETCH(QString, reported);
        QFETCH(QString, text);
        HtmlView view;
        QSignalSpy completed(&view, &HtmlView::navigationCompleted);
        QSignalSpy ended(&view, &HtmlView::downloadEnded);
        view.navigate(address);
        // Busy from the request until the page has been read on a later turn.
        QVERIFY(view.isBusy());
        QCOMPARE(view.locationName(), QString());
        QVERIFY(settle(view));
        QCOMPARE(completed.size(), 1);
        QCOMPARE(ended.size(), 1);
        QCOMPARE(view.locationName(), name);
        QCOMPARE(view.locationAddress(), reported);
        QVERIFY2(view.toPlainText().contains(text), qPrintable(view.toPlainText()));
    }

    void anchorScrollsToItsPlace() {
        HtmlView view;
        view.resize(300, 200);
        view.show();
        view.navigate(path("A.HTM") + QStringLiteral("#fin"));
        QVERIFY(settle(view));
        QCOMPARE(view.locationName(), QStringLiteral("Page A"));
        QVERIFY(view.verticalScrollBar()->value() > 0);
    }

    void historyBackForwardReload() {
        HtmlView view;
        QSignalSpy completed(&view, &HtmlView::navigationCompleted);
        QSignalSpy ended(&view, &HtmlView::downloadEnded);
        view.navigate(path("A.HTM"));
        QVERIFY(settle(view));
        view.navigate(path("B.HTM"));
        QVERIFY(settle(view));

        // At the start of the history there is nothing further back.
        view.goBack();
        QVERIFY(settle(view));
        QCOMPARE(view.locationName(), QStringLiteral("Page A"));
        view.goBack();
        QVERIFY(!view.isBusy());
        QCOMPARE(view.locationName(), QStringLiteral("Page A"));

        view.goForward();
        QVERIFY(settle(view));
        QCOMPARE(view.locationName(), QStringLiteral("Page B"));
        view.goForward();
        QVERIFY(!view.isBusy());

        // A new page drops what lay ahead.
        view.goBack();
        QVERIFY(settle(view));
        view.navigate(path("SANS-TITRE.HTM"));
        QVERIFY(settle(view));
        view.goForward();
        QVERIFY(!view.isBusy());
        QCOMPARE(view.locationName(), QStringLiteral("SANS-TITRE.HTM"));

        // A reload reads the page again without being a navigation.
        completed.clear();
        ended.clear();
        view.reload();
        QVERIFY(settle(view));
        QCOMPARE(completed.size(), 0);
        QCOMPARE(ended.size(), 1);
        view.goBack();
        QVERIFY(settle(view));
        QCOMPARE(view.locationName(), QStringLiteral("Page A"));
    }

    void homeAndSearchAreTheViewsOwn() {
        HtmlView view;
        QSignalSpy requests(&view, &HtmlView::navigationRequested);
        view.goHome();
        view.goSearch();
        QCOMPARE(requests.size(), 0);
        view.setHomeAddress(path("A.HTM"));
        view.setSearchAddress(path("B.HTM"));
        view.goHome();
        QVERIFY(settle(view));
        QCOMPARE(view.locationName(), QStringLiteral("Page A"));
        view.goSearch();
        QVERIFY(settle(view));
        QCOMPARE(view.locationName(), QStringLiteral("Page B"));
    }

    void stopKeepsThePageShown() {
        HtmlView view;
        view.navigate(path("A.HTM"));
        QVERIFY(settle(view));
        QSignalSpy completed(&view, &HtmlView::navigationCompleted);
        view.navigate(path("B.HTM"));
        view.stop();
        QVERIFY(!view.isBusy());
        QCoreApplication::processEvents();
        QCOMPARE(completed.size(), 0);
        QCOMPARE(view.locationName(), QStringLiteral("Page A"));
        QVERIFY(view.toPlainText().contains(QStringLiteral("début")));
    }

    void aNewerRequestReplacesAPendingOne() {
        HtmlView view;
        QSignalSpy completed(&view, &HtmlView::navigationCompleted);
        view.navigate(path("A.HTM"));
        view.navigate(path("B.HTM"));
        QVERIFY(settle(view));
        QCoreApplication::processEvents();
        QCOMPARE(completed.size(), 1);
        QCOMPARE(view.locationName(), QStringLiteral("Page B"));
        view.goBack();
        QVERIFY(!view.isBusy());
    }

    void linksResolveAgainstThePageShown() {
        HtmlView view;
        view.navigate(path("A.HTM"));
        QVERIFY(settle(view));
        view.setSource(QUrl(QStringLiteral("B.HTM")));
        QVERIFY(settle(view));
        QCOMPARE(view.locationAddress(), path("B.HTM"));
        emit view.anchorClicked(QUrl(QStringLiteral("A.HTM#fin")));
        QVERIFY(settle(view));
        QCOMPARE(view.locationAddress(), path("A.HTM") + QStringLiteral("#fin"));
    }
};

QTEST_MAIN(TestHtmlView)
#include "tst_htmlview.moc"
