#include "AppPaths.h"
#include "HelpBrowser.h"
#include "HtmlView.h"
#include "MessageBox.h"
#include "Twips.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>

using namespace Qt::StringLiterals;

// The help window. Its start page is missing beside the test program, so each window opens
// on the view's error display; the pages visited are in a temporary folder.
class TestHelpBrowser : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    const QString m_start = AppPaths::inApplicationFolder(u"INDEX.HTM"_s);
    HelpBrowser *m_window = nullptr;

    QString page(const char *name) const { return QDir::toNativeSeparators(m_dir.filePath(name + u".HTM"_s)); }
    HtmlView *view() const { return m_window->findChild<HtmlView *>(); }
    QComboBox *box() const { return m_window->findChild<QComboBox *>(u"cboAddress"_s); }
    QStringList history() const
    {
        QStringList entries;
        for (int i = 0; i < box()->count(); ++i)
            entries.append(box()->itemText(i));
        return entries;
    }
    bool enter(const QString &text, bool wait = true)
    {
        box()->setEditText(text);
        QTest::keyClick(box(), Qt::Key_Return);
        return !wait || QTest::qWaitFor([this] { return !view()->isBusy(); });
    }

private slots:
    void initTestCase()
    {
        MessageBox::setTesting(true);
        for (const char *name : {"A", "B"}) {
            QFile file(page(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("<html><head><title>Page " + QByteArray(name) + "</title></head><body>x</body></html>");
        }
    }

    void init()
    {
        m_window = HelpBrowser::showHelp(AppPaths::applicationFolder());
        QVERIFY(QTest::qWaitFor([this] { return !view()->isBusy(); }));
    }

    void cleanup()
    {
        m_window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(MessageBox::takeShown().isEmpty()); // whatever happened, no message box
    }

    void missingStartPageShowsTheErrorDisplay()
    {
        QVERIFY(view()->toPlainText().contains(m_start));
        QTRY_COMPARE(m_window->windowTitle(), u"Page introuvable"_s);
        QCOMPARE(history(), QStringList{m_start});
    }

    void historyKeepsEachAddressOnceMostRecentFirst()
    {
        QVERIFY(enter(page("A")) && enter(page("B")) && enter(page("A")));
        QCOMPARE(history(), (QStringList{page("A"), page("B"), m_start}));
    }

    void enterAsksForTheTextAsTyped()
    {
        QSignalSpy requests(view(), &HtmlView::navigationRequested);
        QVERIFY(enter(QString()) && enter(u"  B  "_s));
        QCOMPARE(QList<QVariantList>(requests), (QList<QVariantList>{{QString()}, {u"  B  "_s}}));
    }

    void leavingTheAddressBoxDoesNotNavigate()
    {
        QVERIFY(enter(page("A")) && enter(page("B")));
        QSignalSpy requests(view(), &HtmlView::navigationRequested);
        box()->setFocus();
        box()->setEditText(QString());
        QTest::keyClicks(box(), page("A")); // the text of another entry
        view()->setFocus();
        QCoreApplication::processEvents();
        QCOMPARE(requests.size(), 0);
    }

    void openingAgainKeepsPageAndHistory()
    {
        QVERIFY(enter(page("A")) && enter(page("B")));
        m_window->showMinimized();
        QSignalSpy requests(view(), &HtmlView::navigationRequested);
        QCOMPARE(HelpBrowser::showHelp(AppPaths::applicationFolder()), m_window);
        QCoreApplication::processEvents();
        QVERIFY(!m_window->isMinimized());
        QCOMPARE(requests.size(), 0);
        QCOMPARE(history(), (QStringList{page("B"), page("A"), m_start}));
    }

    void titleReadsBusyWhileLoadingThenThePageNameAndStopSetsItAtOnce()
    {
        QSignalSpy titles(m_window, &QWidget::windowTitleChanged);
        view()->setLoadDelay(100);
        QVERIFY(enter(page("A")));
        QCOMPARE(titles.first().first().toString(), u"Traitement en cours..."_s);
        QCOMPARE(m_window->windowTitle(), u"Page A"_s);
        view()->setLoadDelay(60 * 60 * 1000);
        QVERIFY(enter(page("B"), false));
        QTRY_COMPARE(m_window->windowTitle(), u"Traitement en cours..."_s);
        m_window->findChild<QAction *>(u"Stop"_s)->trigger();
        QCOMPARE(m_window->windowTitle(), u"Page A"_s);
        QVERIFY(!view()->isBusy());
    }

    void homeGoesToTheStartPage()
    {
        QVERIFY(enter(page("A")));
        m_window->findChild<QAction *>(u"Home"_s)->trigger();
        QVERIFY(QTest::qWaitFor([this] { return !view()->isBusy(); }));
        QCOMPARE(view()->locationAddress(), m_start);
        QCOMPARE(history(), (QStringList{m_start, page("A")}));
    }

    // "Rechercher" opens a field above the view; as words are typed the view lists the help
    // pages holding them, each linked; Escape closes the field.
    void searchListsThePagesAsTheWordsAreTyped()
    {
        // The help folder is the temporary one, holding the page to find beside A and B.
        const QString found = page("ESSAI");
        QFile file(found);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(u"<html><head><title>Page d'essai</title></head><body><p>Le zèbre rayé galope. Une autre "
                   "phrase.</p></body></html>"_s.toUtf8());
        file.close();
        m_window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        m_window = HelpBrowser::showHelp(m_dir.path());
        QVERIFY(QTest::qWaitFor([this] { return !view()->isBusy(); }));

        QVERIFY(enter(page("A")));
        auto *field = m_window->findChild<QLineEdit *>(u"txtSearch"_s);
        QVERIFY(!field->isVisible());
        const int viewTop = view()->y();
        m_window->findChild<QAction *>(u"Search"_s)->trigger();
        QVERIFY(field->isVisible());
        QCOMPARE(m_window->focusWidget(), field);
        QVERIFY(view()->y() >= field->mapTo(m_window, QPoint(0, field->height())).y());
        QCOMPARE(m_window->windowTitle(), u"Rechercher dans l'aide"_s);

        QTest::keyClicks(field, u"ZEBRE ray"_s);
        QCOMPARE(m_window->windowTitle(), u"Rechercher dans l'aide"_s);
        QVERIFY2(view()->toPlainText().contains(u"Une page contient « ZEBRE ray » :"_s),
                 qPrintable(view()->toPlainText()));
        const QTextCursor sentence = view()->document()->find(u"Le zèbre rayé galope."_s);
        QVERIFY(!sentence.isNull());
        const QString link = sentence.charFormat().anchorHref();
        QCOMPARE(QUrl(link).toLocalFile(), QDir::fromNativeSeparators(found));

        emit view()->anchorClicked(QUrl(link));
        QVERIFY(QTest::qWaitFor([this] { return !view()->isBusy(); }));
        QCOMPARE(view()->locationAddress(), QDir::toNativeSeparators(found));
        QCOMPARE(m_window->windowTitle(), u"Page d'essai"_s);

        QTest::keyClick(field, Qt::Key_Escape);
        QVERIFY(!field->isVisible());
        QCOMPARE(view()->y(), viewTop);
        QCOMPARE(view()->locationAddress(), QDir::toNativeSeparators(found));
    }

    // The results take no place in the history: "Précédent" and Escape return to the page
    // they replaced.
    void leavingTheResultsReturnsToThePage()
    {
        QVERIFY(enter(page("A")) && enter(page("B")));
        auto *field = m_window->findChild<QLineEdit *>(u"txtSearch"_s);
        m_window->findChild<QAction *>(u"Search"_s)->trigger();
        QTest::keyClicks(field, u"nulle part"_s);
        QVERIFY(view()->toPlainText().contains(u"Aucune page de l'aide ne contient « nulle part »."_s));
        m_window->findChild<QAction *>(u"Back"_s)->trigger();
        QVERIFY(QTest::qWaitFor([this] { return !view()->isBusy(); }));
        QCOMPARE(view()->locationAddress(), page("B"));
        QTRY_COMPARE(m_window->windowTitle(), u"Page B"_s);

        m_window->findChild<QAction *>(u"Search"_s)->trigger();
        QVERIFY(view()->locationAddress().isEmpty());
        QTest::keyClick(field, Qt::Key_Escape);
        QVERIFY(QTest::qWaitFor([this] { return !view()->isBusy(); }));
        QCOMPARE(view()->locationAddress(), page("B"));
        QCOMPARE(history(), (QStringList{page("B"), page("A"), m_start}));
    }

    void resizingKeepsViewAndAddressNarrowerThanTheWindow()
    {
        for (const QSize size : {QSize(1200, 700), QSize(420, 300), QSize(5, 40)}) {
            m_window->resize(size);
            QTRY_COMPARE(m_window->size(), size);
            const int narrower = std::max(0, Twips::toPixels(Twips::fromPixels(size.width()) - 100));
            QCOMPARE(box()->width(), narrower);
            QCOMPARE(view()->width(), narrower);
            QCOMPARE(view()->height(), std::max(0, Twips::toPixels(Twips::fromPixels(size.height()) - 1315)));
        }
    }
};

QTEST_MAIN(TestHelpBrowser)
#include "tst_helpbrowser.moc"
