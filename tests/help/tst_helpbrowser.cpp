#include "AboutDialog.h"
#include "HelpBrowser.h"
#include "HelpSearch.h"
#include "HtmlView.h"
#include "IniRegistry.h"
#include "MessageBox.h"
#include "Registry.h"
#include "SystemInfoLauncher.h"
#include "TestSupport.h"
#include "Twips.h"
#include "VersionText.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QUrl>

#include <cstring>
#include <utility>

// A registry in memory, under HKEY_LOCAL_MACHINE only, recording every key opening.
struct FakeRegistry final : Registry {
    QHash<QByteArray, QHash<QByteArray, std::pair<quint32, QByteArray>>> keys;
    QList<std::pair<QByteArray, quint32>> opened; // path and access mask
    QHash<Handle, QByteArray> open;

    qint32 openKey(quint32 root, const QByteArray &path, quint32, quint32 access, Handle &key) override
    {
        opened.append({path, access});
        if (root != LocalMachine || !keys.contains(path))
            return FileNotFound;
        key = Handle(opened.size());
        open.insert(key, path);
        return Success;
    }
    qint32 queryValue(Handle key, const QByteArray &name, quint32 &type, char *data, quint32 &size) override
    {
        const auto values = keys.value(open.value(key));
        if (!values.contains(name))
            return FileNotFound;
        type = values.value(name).first;
        const QByteArray bytes = values.value(name).second;
        if (std::exchange(size, quint32(bytes.size())) < quint32(bytes.size()))
            return MoreData;
        std::memcpy(data, bytes.constData(), size);
        return Success;
    }
    qint32 closeKey(Handle key) override { return open.remove(key) ? Success : InvalidHandle; }
};

// The help: its window on the fixture's pages, a folder without its start page, so that
// each window opens on the view's error display; its view and its search on their own; the
// about box and the system-information launcher it starts.
class TestHelpBrowser : public QObject
{
    Q_OBJECT

    const QDir m_dir{QStringLiteral(TESSAVOR_TEST_DATA "/help")};
    HelpBrowser *m_window = nullptr;
    static inline const QByteArray FirstKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
    static inline const QByteArray SecondKey = "SOFTWARE\\Microsoft\\Shared Tools Location";

    QString page(const QString &name) const { return QDir::toNativeSeparators(m_dir.filePath(name + ".HTM")); }
    HtmlView *view() const { return m_window->findChild<HtmlView *>(); }
    static QStringList titles(const QList<HelpSearch::Found> &found)
    {
        QStringList list;
        for (const HelpSearch::Found &f : found)
            list.append(f.title);
        return list;
    }
    static bool idle(HtmlView *view)
    {
        return QTest::qWaitFor([view] { return !view->isBusy(); });
    }
    // The name of the page shown once the view is idle again.
    static QString settled(HtmlView &view) { return idle(&view) ? view.locationName() : QString(); }
    QComboBox *box() const { return m_window->findChild<QComboBox *>("cboAddress"); }
    QLineEdit *field() const { return m_window->findChild<QLineEdit *>("txtSearch"); }
    void trigger(const char *button) { m_window->findChild<QAction *>(button)->trigger(); }
    bool idle() const { return idle(view()); }
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
    void historyAddressAndStop()
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

        // Enter asks for the text exactly as typed, an empty one too; leaving the box with the
        // text of another entry goes nowhere. "Arrêter" ends a load at once, on the page shown
        // and named.
        QVERIFY(enter(page("A")) && enter(page("B"), false));
        trigger("Stop");
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Page A"));
        QVERIFY(!view()->isBusy());
        QVERIFY(enter(page("B")));
        requests.clear();
        QVERIFY(enter(QString()) && enter("  B  "));
        box()->setFocus();
        box()->setEditText(QString());
        QTest::keyClicks(box(), page("A"));
        view()->setFocus();
        QCoreApplication::processEvents();
        QCOMPARE(QList<QVariantList>(requests), (QList<QVariantList>{{QString()}, {QString("  B  ")}}));
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
        const QString secret =
            TestSupport::writeFile(QDir(outside.path()).filePath("SECRET.HTM"), "<title>Secret</title>mot de passe");
        QVERIFY(enter(page("A")));
        const auto shows = [this](const QString &what) {
            return idle() && m_window->windowTitle() == what && !view()->toPlainText().contains("mot de passe") &&
                   !view()->toPlainText().contains("root:");
        };
        for (const QString &address :
             {QString("/etc/passwd"), QUrl::fromLocalFile(secret).toString(), m_dir.filePath("AIDE.CSS")}) {
            QVERIFY(enter(address));
            QVERIFY2(shows("Page introuvable"), qPrintable(address));
        }
        QVERIFY(enter(page("A")));
        emit view()->anchorClicked(QUrl(m_dir.relativeFilePath(secret)));
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
            QCOMPARE(std::pair(box()->width(), view()->width()), std::pair(narrower, narrower));
            QCOMPARE(view()->height(), std::max(0, Twips::toPixels(Twips::fromPixels(size.height()) - 1315)));
        }
    }

    // The view alone: how a page is read and named, its history and links; and the links of
    // the help pages shipped beside the program.
    // A page is named by its title (the anchor aside), else by its file name, read in its
    // declared encoding; a missing file, an empty address, a web address and markup in the
    // address show the "page introuvable" page, the address as text.
    void viewPagesAndLinks()
    {
        const QString notFound = "Page introuvable";
        for (const auto &[address, name, text] : std::initializer_list<std::tuple<QString, QString, QString>>{
                 {page("A") + "#fin", "Page A", "été"},
                 {page("SANS-TITRE"), "SANS-TITRE.HTM", "rien"},
                 {page("LATIN"), "Été", "x"},
                 {page("ABSENT"), notFound, page("ABSENT")},
                 {QString(), notFound, "(vide)"},
                 {"http://example.org/", notFound, "sur cet ordinateur"},
                 {"<b>x</b>", notFound, "<b>x</b>"}}) {
            HtmlView alone;
            alone.navigate(address);
            QVERIFY(alone.isBusy()); // until a later turn of the event loop
            QCOMPARE(settled(alone), name);
            QVERIFY2(alone.toPlainText().contains(text), qPrintable(alone.toPlainText()));
        }

        // A link is read against the page shown; a new page drops those that lay ahead; going
        // further than the history reaches stays where it is.
        HtmlView alone;
        QStringList visited;
        for (const std::function<void()> &step : QList<std::function<void()>>{
                 [&] { alone.navigate(page("A")); }, [&] { emit alone.anchorClicked(QUrl("B.HTM")); },
                 [&] { alone.goBack(); }, [&] { alone.goForward(); }, [&] { alone.goBack(); }, [&] { alone.goBack(); },
                 [&] { alone.navigate(page("SANS-TITRE")); }, [&] { alone.goForward(); }, [&] { alone.goBack(); }}) {
            step();
            visited.append(settled(alone));
        }
        QCOMPARE(visited, QStringList({"Page A", "Page B", "Page A", "Page B", "Page A", "Page A", "SANS-TITRE.HTM",
                                       "SANS-TITRE.HTM", "Page A"}));

        // The help pages shipped beside the program link to pages that exist.
        const QDir pages = QFileInfo(QFINDTESTDATA("../../help/pages/INDEX.HTM")).dir();
        const QStringList names = pages.entryList(QDir::Files); // names compared with their case
        QVERIFY(names.contains("INDEX.HTM"));
        static const QRegularExpression href("href=\"([^\"#]*)");
        for (const QString &name : names) {
            const QString text = QString::fromUtf8(TestSupport::readFile(pages.filePath(name)));
            for (const QRegularExpressionMatch &link : href.globalMatch(text))
                QVERIFY2(link.captured(1).isEmpty() || names.contains(link.captured(1)),
                         qPrintable(name + " links to " + link.captured(1)));
        }
    }

    // The about box.
    // Escape closes the box as OK does; "Infos système..." tells that the program is not
    // there and leaves the box open, and Enter then closes it, not another message.
    void aboutBox()
    {
        QTemporaryDir dir; // an empty registry, in which the system-information program is never found
        IniRegistry registry(dir.filePath("absent.ini"));
        AboutDialog about(nullptr, &registry);
        // No title text: an empty title would show the application's name instead.
        QVERIFY2(!about.windowTitle().isEmpty() && about.windowTitle().trimmed().isEmpty(),
                 qPrintable(about.windowTitle()));
        QCOMPARE(about.findChild<QLabel *>("lblVersion")->text(), VersionText::application());
        QCOMPARE(VersionText::of(2, 10, 3), QStringLiteral("Version 2.10.3"));
        for (const QPushButton *button : about.findChildren<QPushButton *>())
            QVERIFY2(button->width() >= button->sizeHint().width() && about.rect().contains(button->geometry()),
                     qPrintable(button->objectName()));

        about.show();
        QTest::keyClick(&about, Qt::Key_Escape);
        QVERIFY(!about.isVisible());
        QCOMPARE(about.result(), int(QDialog::Accepted));
        about.show();
        auto *sysInfo = about.findChild<QPushButton *>("cmdSysInfo");
        QTest::mouseClick(sysInfo, Qt::LeftButton);
        QVERIFY(about.isVisible());
        const QList<MessageBox::Shown> shown = MessageBox::takeShown();
        QCOMPARE(std::pair(shown.size(), shown.value(0).icon), std::pair(qsizetype(1), MessageBox::Icon::None));
        QCOMPARE(shown[0].text + " / " + shown[0].title,
                 "Les informations système ne sont pas disponibles pour l'instant / Tessavor");
        sysInfo->setFocus();
        QTest::keyClick(sysInfo, Qt::Key_Return);
        QVERIFY(!about.isVisible() && MessageBox::takeShown().isEmpty());
    }

    // The help window's search: which pages hold the words typed, which of their sentences
    // are shown and how, on the fixture's small pages and on the program's own help pages.
    void searchPagesAndSentences()
    {
        const QString carte = "Relever les signes", regen = "Régénérer les poids", base = "La base de connaissances";
        const HelpSearch search(m_dir.path());
        for (const auto &[typed, found] : std::initializer_list<std::pair<QString, QStringList>>{
                 {"REGENERER", {regen}},          // accents and case aside
                 {"régén", {regen}},              // the beginning of a word
                 {"générer", {}},                 // not the middle of one
                 {"vide de qi", {base}},          // the knowledge base's page too
                 {"langue pouls", {carte, base}}, // every word, anywhere in the page; two each, then by title
                 {"pouls zèbre", {}},             // a word no page holds
                 {"oedeme", {carte}},             // ligature spelled out
                 {" ,;! ", {}},                   // no word typed
                 {"pouls", {carte, base, regen}}, // most often first
                 {"color", {}}})                  // no style sheet, no head
            QVERIFY2(titles(search.find(typed)) == found, qPrintable(typed));

        // The sentences where the words stand, those holding the most words first, at most
        // three, shown in the page's order, linked to their page, the words in bold.
        const QList<HelpSearch::Found> regenFound = search.find("régén"); // one page, as above
        QCOMPARE(regenFound[0].path, QDir::toNativeSeparators(m_dir.filePath("REGENERATION.HTM")));
        QCOMPARE(regenFound[0].hits, 4);
        QCOMPARE(regenFound[0].sentences, (QStringList{"Choisissez « Régénérer la base... » dans le menu Fichier.",
                                                       "Les poids sont régénérés.", "Régénérer prend un instant."}));
        QCOMPARE(search.find("pouls langue")[0].sentences,
                 (QStringList{"Le pouls et la langue s'y relèvent.", "La langue pâle", "Pouls rapide"}));

        const QString page = HelpSearch::resultsPage("régén", regenFound);
        const QString link = QUrl::fromLocalFile(m_dir.filePath("REGENERATION.HTM")).toString(QUrl::FullyEncoded);
        QVERIFY2(page.contains("<title>Rechercher dans l'aide</title>"), qPrintable(page));
        QVERIFY(page.contains(QString("<h3><a href=\"%1\">Régénérer les poids</a></h3>").arg(link)));
        QVERIFY(page.contains("Choisissez « <b>Régén</b>érer la base... » dans le menu Fichier."));
        QCOMPARE(page.count(QString("href=\"%1\"").arg(link)), 1 + HelpSearch::MaxSentences); // title, sentences
        QVERIFY(HelpSearch::resultsPage("zèbre <b>", {})
                    .contains("Aucune page de l'aide ne contient « zèbre &lt;b&gt; »."));
        QVERIFY(HelpSearch::resultsPage("pouls", search.find("pouls")).contains("3 pages contiennent « pouls » :"));
        QVERIFY(HelpSearch::resultsPage(QString(), {}).contains("Tapez un ou plusieurs mots"));
    }

    void readingAPage()
    {
        const HelpSearch::Page page = HelpSearch::readHtml(
            "<html><head><title>Aide &amp; conseils</title><script>var x = 'pouls';</script></head><body>"
            "<!-- <p>caché</p> --><h1>Titre</h1><p>Une phrase. Une autre&nbsp;? Oui&nbsp;! « Mise en page... » "
            "dans le menu.<br>Ligne&#160;deux &#x2013; fin &laquo;&raquo;</p><table><tr><td>a</td><td>b</td></tr>"
            "</table><script type=\"text/javascript\">alert(1)</script><pre>-- un\n-- "
            "deux\n</pre>Dernier</body></html>");
        QCOMPARE(page.title, QStringLiteral("Aide & conseils"));
        QCOMPARE(page.sentences,
                 (QStringList{"Titre", "Une phrase.", "Une autre ?", "Oui !", "« Mise en page... » dans le menu.",
                              "Ligne deux – fin «»", "a", "b", "-- un", "-- deux", "Dernier"}));

        // The program's own pages, the knowledge base's among them, as the build leaves them.
        const HelpSearch search(QStringLiteral(TESSAVOR_BIN_DIR));
        const QStringList found = titles(search.find("régénérer poids"));
        QVERIFY2(found.contains("Modifier la base et régénérer les poids"), qPrintable(found.join(", ")));
        QVERIFY(!search.find("shang han lun").isEmpty()); // only on the knowledge base's page
    }

    // The system-information launcher: the two registry values it reads, what it makes of
    // them, and the program it then starts (only "C:/info" and "C:/with/MSINFO32.EXE" exist
    // and start).
    void startSysInfo()
    {
        const QByteArray info("C:/info\0", 8), with("C:/with\0", 8), none("C:/none\0", 8);
        const QStringList programs{"C:/info", "C:/with/MSINFO32.EXE"};
        const auto exists = [&](const QString &path) { return programs.contains(QDir::fromNativeSeparators(path)); };
        // The first value's type (0: no value) and bytes, the program's path; the second value,
        // its folder (no value when empty); the program started, or none (the message then);
        // whether the second value was looked up.
        for (const auto &[firstType, first, second, attempted, secondTried] :
             std::initializer_list<std::tuple<int, QByteArray, QByteArray, QString, bool>>{
                 {1, info, with, "C:/info", false},                                     // first names the program
                 {1, QByteArray("C:/info\0def\0", 12), with, "C:/info", false},         // text cut at its first zero
                 {1, none, with, "C:/none", false},                                     // first names a missing file
                 {4, QByteArray("\xFE\xFF\xFF\xFF", 4), with, "4294967294", false},     // double-word unsigned
                 {2, info, with, "", false},                                            // expandable first: empty path
                 {1, QByteArray(1024, 'x'), with, QString(), false},                    // first fills the buffer
                 {1, QByteArray(1024, 'x') + '\0', with, "C:/with/MSINFO32.EXE", true}, // first longer than it
                 {0, {}, with, "C:/with/MSINFO32.EXE", true},                           // folder with the program
                 {0, {}, QByteArray("C:/without\0", 11), QString(), true},              // folder without the program
                 {0, {}, {}, QString(), true}}) {                                       // neither value
            FakeRegistry registry;
            if (firstType != 0)
                registry.keys[FirstKey]["PATH"] = {quint32(firstType), first};
            if (!second.isEmpty())
                registry.keys[SecondKey]["MSINFO"] = {Registry::TextType, second};
            QStringList started;
            const auto start = [&](const QString &path) {
                started.append(QDir::fromNativeSeparators(path));
                return exists(path);
            };
            QCOMPARE(SystemInfoLauncher(registry, exists, start).startSysInfo(), programs.contains(attempted));
            QCOMPARE(started, attempted.isNull() ? QStringList() : QStringList{attempted});
            QCOMPARE(registry.opened.contains({SecondKey, 0x2003F}), secondTried);
            QCOMPARE(registry.opened.first(), std::make_pair(FirstKey, quint32(0x2003F)));
            QVERIFY(registry.open.isEmpty()); // every key closed
        }
    }
};

QTEST_MAIN(TestHelpBrowser)
#include "tst_helpbrowser.moc"
