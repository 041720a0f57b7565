#include "HelpBrowser.h"
#include "HtmlView.h"
#include "MessageBox.h"
#include "Twips.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>

// The help window on the fixture's pages, a folder without its start page, so that each
// window opens on the view's error display.
class TestHelpBrowser : public QObject
{
    Q_OBJECT

    const QDir m_dir{QStringLiteral(TESSAVOR_TEST_DATA "/help")};
    HelpBrowser *m_window = nullptr;

    QString page(const QString &name) const { return QDir::toNativeSeparators(m_dir.filePath(name + ".HTM")); }
    HtmlView *view() const { return m_window->findChild<HtmlView *>(); }
    QComboBox *box() const { return m_window->findChild<QComboBox *>("cboAddress"); }
    QLineEdit *field() const { return m_window->findChild<QLineEdit *>("txtSearch"); }
    void trigger(const char *button) { m_window->findChild<QAction *>(button)->trigger(); }
    bool idle() const
    {
        return QTest::qWaitFor([this] { return !view()->isBusy(); });
    }
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
        return !wait || idle();
    }

private slots:
    void initTestCase() { MessageBox::setTesting(true); }

    void init()
    {
        m_window = HelpBrowser::showHelp(m_dir.path());
        QVERIFY(idle());
    }

    void cleanup()
    {
        m_window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(MessageBox::takeShown().isEmpty()); // whatever happened, no message box
    }

    // Each address reached once in the history, most recent first; "Démarrage" goes to the
    // start page; opening the help again only shows the window, keeping page and history.
    void historyHomeAndOpeningAgain()
    {
        const QString start = page("INDEX");
        QVERIFY(view()->toPlainText().contains(start));
        QTRY_COMPARE(m_window->windowTitle(), QStringLiteral("Page introuvable"));
        QCOMPARE(history(), QStringList{start});
        QVERIFY(enter(page("A")) && enter(page("B")) && enter(page("A")));
        QCOMPARE(history(), (QStringList{page("A"), page("B"), start}));
        trigger("Home");
        QVERIFY(idle());
        QCOMPARE(history(), (QStringList{start, page("A"), page("B")}));

        m_window->showMinimized();
        QSignalSpy requests(view(), &HtmlView::navigationRequested);
        QCOMPARE(HelpBrowser::showHelp(m_dir.path()), m_window);
        QCoreApplication::processEvents();
        QVERIFY(!m_window->isMinimized());
        QCOMPARE(requests.size(), 0);
        QCOMPARE(history(), (QStringList{start, page("A"), page("B")}));
    }

    // Enter asks for the text exactly as typed, an empty one too; leaving the box with the
    // text of another entry goes nowhere.
    void addressBoxNavigatesOnEnterOnly()
    {
        QVERIFY(enter(page("A")) && enter(page("B")));
        QSignalSpy requests(view(), &HtmlView::navigationRequested);
        QVERIFY(enter(QString()) && enter("  B  "));
        box()->setFocus();
        box()->setEditText(QString());
        QTest::keyClicks(box(), page("A"));
        view()->setFocus();
        QCoreApplication::processEvents();
        QCOMPARE(QList<QVariantList>(requests), (QList<QVariantList>{{QString()}, {QString("  B  ")}}));
    }

    // "Arrêter" ends a load at once, on the page shown and named.
    void stopEndsTheLoad()
    {
        QVERIFY(enter(page("A")) && enter(page("B"), false));
        trigger("Stop");
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Page A"));
        QVERIFY(!view()->isBusy());
    }

    // "Rechercher" opens a field above the view; as words are typed the view lists the help
    // pages holding them, each linked; Escape closes the field. The results take no place in
    // the history: "Précédent" and Escape return to the page they replaced.
    void search()
    {
        QVERIFY(enter(page("A")));
        QVERIFY(!field()->isVisible());
        const int viewTop = view()->y();
        trigger("Search");
        QVERIFY(field()->isVisible());
        QCOMPARE(m_window->focusWidget(), field());
        QVERIFY(view()->y() >= field()->mapTo(m_window, QPoint(0, field()->height())).y());
        QTest::keyClicks(field(), "ZEBRE ray");
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Rechercher dans l'aide"));
        QVERIFY2(view()->toPlainText().contains("Une page contient « ZEBRE ray » :"),
                 qPrintable(view()->toPlainText()));
        const QString link = view()->document()->find("Le zèbre rayé galope.").charFormat().anchorHref();
        QCOMPARE(QDir::toNativeSeparators(QUrl(link).toLocalFile()), page("ESSAI"));
        emit view()->anchorClicked(QUrl(link));
        QVERIFY(idle());
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Page ESSAI"));
        QTest::keyClick(field(), Qt::Key_Escape);
        QVERIFY(!field()->isVisible());
        QCOMPARE(view()->y(), viewTop);
        QCOMPARE(view()->locationAddress(), page("ESSAI"));

        trigger("Search");
        QVERIFY(view()->locationAddress().isEmpty());
        QTest::keyClicks(field(), "nulle part");
        QVERIFY(view()->toPlainText().contains("Aucune page de l'aide ne contient « nulle part »."));
        trigger("Back");
        QVERIFY(idle());
        QTRY_COMPARE(m_window->windowTitle(), QStringLiteral("Page ESSAI"));
        trigger("Search");
        QTest::keyClick(field(), Qt::Key_Escape);
        QVERIFY(idle());
        QCOMPARE(view()->locationAddress(), page("ESSAI"));
        QCOMPARE(history(), (QStringList{page("ESSAI"), page("A"), page("INDEX")}));
    }

    // Only the help's own pages are shown: an address or a link leading out of its folder,
    // by a path, a file URL or "..", or to a file of the folder that is no page, shows the
    // "page introuvable" page, and nothing of the file.
    void onlyItsOwnPages()
    {
        QTemporaryDir outside;
        QFile secret(QDir(outside.path()).filePath("SECRET.HTM"));
        QVERIFY(secret.open(QIODevice::WriteOnly) && secret.write("<title>Secret</title>mot de passe") > 0);
        secret.close();
        QVERIFY(enter(page("A")));
        const auto shows = [this](const QString &what) {
            return idle() && m_window->windowTitle() == what && !view()->toPlainText().contains("mot de passe") &&
                   !view()->toPlainText().contains("root:");
        };
        for (const QString &address :
             {QString("/etc/passwd"), QUrl::fromLocalFile(secret.fileName()).toString(), m_dir.filePath("AIDE.CSS")}) {
            QVERIFY(enter(address));
            QVERIFY2(shows("Page introuvable"), qPrintable(address));
        }
        QVERIFY(enter(page("A")));
        emit view()->anchorClicked(QUrl(m_dir.relativeFilePath(secret.fileName())));
        QVERIFY(shows("Page introuvable"));
        emit view()->anchorClicked(QUrl::fromLocalFile(page("B")));
        QVERIFY(shows("Page B"));
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
