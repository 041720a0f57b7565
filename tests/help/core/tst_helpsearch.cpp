#include "HelpSearch.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace Qt::StringLiterals;

// The help window's search: which pages hold the words typed, and which of their sentences
// are shown, on a folder of small pages and on the program's own help pages.
class TestHelpSearch : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    void write(const QString &name, const QString &body, const QString &title = QString())
    {
        QFile file(m_dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write((u"<html><head><meta charset=\"utf-8\"><title>"_s + title +
                    u"</title><style>p { color: red; }</style></head><body>"_s + body + u"</body></html>"_s)
                       .toUtf8());
    }

    static QStringList titles(const QList<HelpSearch::Found> &found)
    {
        QStringList list;
        for (const HelpSearch::Found &f : found)
            list.append(f.title);
        return list;
    }

private slots:
    void initTestCase()
    {
        write(
            u"CARTE.HTM"_s,
            u"<h1>Relever les signes</h1><p>Cliquez une région de la carte. Le pouls et la langue "
            "s'y relèvent.</p><ul><li>La langue pâle</li><li>Un <b>œdème</b> des jambes</li><li>Pouls rapide</li></ul>"_s,
            u"Relever les signes"_s);
        write(u"REGENERATION.HTM"_s,
              u"<p>Choisissez « Régénérer la base... » dans le menu Fichier. Les poids sont régénérés. "
              "Régénérer prend un instant.</p><p>Une régénération suit chaque modification.</p>"
              "<p>Le pouls n'y change rien.</p>"_s,
              u"Régénérer les poids"_s);
        write(u"BASE.HTM"_s, u"<table><tr><td>Vide de Qi</td><td>Pouls faible, langue pâle</td></tr></table>"_s,
              u"La base de connaissances"_s);
        QFile other(m_dir.filePath(u"AIDE.CSS"_s));
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.write("p { /* pouls langue */ }");
    }

    void pagesHoldingEveryWord_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("titles");
        const QString carte = u"Relever les signes"_s, regen = u"Régénérer les poids"_s,
                      base = u"La base de connaissances"_s;
        QTest::newRow("accents and case aside") << u"REGENERER"_s << QStringList{regen};
        QTest::newRow("the beginning of a word") << u"régén"_s << QStringList{regen};
        QTest::newRow("not the middle of one") << u"générer"_s << QStringList{};
        QTest::newRow("the knowledge base's page too") << u"vide de qi"_s << QStringList{base};
        QTest::newRow("every word, anywhere in the page")
            << u"langue pouls"_s << QStringList{carte, base}; // two each, then by title
        QTest::newRow("a word no page holds") << u"pouls zèbre"_s << QStringList{};
        QTest::newRow("ligature spelled out") << u"oedeme"_s << QStringList{carte};
        QTest::newRow("no word typed") << u" ,;! "_s << QStringList{};
        QTest::newRow("most often first") << u"pouls"_s << QStringList{carte, base, regen};
        QTest::newRow("no style sheet, no head") << u"color"_s << QStringList{};
    }
    void pagesHoldingEveryWord()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, titles);
        QCOMPARE(TestHelpSearch::titles(HelpSearch(m_dir.path()).find(typed)), titles);
    }

    // The sentences where the words stand, those holding the most words first, at most
    // three, shown in the page's order.
    void sentencesAroundTheWords()
    {
        const HelpSearch search(m_dir.path());
        const QList<HelpSearch::Found> regen = search.find(u"régénérer"_s);
        QCOMPARE(regen.size(), 1);
        QCOMPARE(regen[0].path, QDir::toNativeSeparators(m_dir.filePath(u"REGENERATION.HTM"_s)));
        QCOMPARE(regen[0].hits, 2);
        QCOMPARE(regen[0].sentences, (QStringList{u"Choisissez « Régénérer la base... » dans le menu Fichier."_s,
                                                  u"Régénérer prend un instant."_s}));

        const QList<HelpSearch::Found> both = search.find(u"pouls langue"_s);
        QCOMPARE(both[0].sentences,
                 (QStringList{u"Le pouls et la langue s'y relèvent."_s, u"La langue pâle"_s, u"Pouls rapide"_s}));
        QCOMPARE(both[0].hits, 4);

        const QList<HelpSearch::Found> many = search.find(u"r"_s);
        for (const HelpSearch::Found &f : many)
            QVERIFY(f.sentences.size() <= HelpSearch::MaxSentences);
    }

    void readingAPage()
    {
        const HelpSearch::Page page = HelpSearch::readHtml(
            u"<html><head><title>Aide &amp; conseils</title><script>var x = 'pouls';</script></head><body>"
            "<!-- <p>caché</p> --><h1>Titre</h1><p>Une phrase. Une autre&nbsp;? Oui&nbsp;! « Mise en page... » "
            "dans le menu.<br>Ligne&#160;deux &#x2013; fin &laquo;&raquo;</p><table><tr><td>a</td><td>b</td></tr>"
            "</table><script type=\"text/javascript\">alert(1)</script><pre>-- un\n-- deux\n</pre>Dernier</body></html>"_s);
        QCOMPARE(page.title, u"Aide & conseils"_s);
        QCOMPARE(page.sentences, (QStringList{u"Titre"_s, u"Une phrase."_s, u"Une autre ?"_s, u"Oui !"_s,
                                              u"« Mise en page... » dans le menu."_s, u"Ligne deux – fin «»"_s, u"a"_s,
                                              u"b"_s, u"-- un"_s, u"-- deux"_s, u"Dernier"_s}));
    }

    void resultsPageInFrench()
    {
        const HelpSearch search(m_dir.path());
        const QString typed = u"régén"_s;
        const QString page = HelpSearch::resultsPage(typed, search.find(typed));
        const QString link = QUrl::fromLocalFile(m_dir.filePath(u"REGENERATION.HTM"_s)).toString(QUrl::FullyEncoded);
        QVERIFY2(page.contains(u"<title>Rechercher dans l'aide</title>"_s), qPrintable(page));
        QVERIFY(page.contains(u"Une page contient « régén » :"_s));
        QVERIFY(page.contains(u"<h3><a href=\"%1\">Régénérer les poids</a></h3>"_s.arg(link)));
        QVERIFY(page.contains(u"Choisissez « <b>Régén</b>érer la base... » dans le menu Fichier."_s));
        QCOMPARE(page.count(u"href=\"%1\""_s.arg(link)), 1 + HelpSearch::MaxSentences); // title, sentences

        QVERIFY(HelpSearch::resultsPage(u"zèbre <b>"_s, {})
                    .contains(u"Aucune page de l'aide ne contient « zèbre &lt;b&gt; »."_s));
        QVERIFY(HelpSearch::resultsPage(u"pouls"_s, search.find(u"pouls"_s))
                    .contains(u"3 pages contiennent « pouls » :"_s));
        QVERIFY(HelpSearch::resultsPage(QString(), {}).contains(u"Tapez un ou plusieurs mots"_s));
    }

    // The program's own pages, the knowledge base's among them, as the build leaves them.
    void theProgramsOwnPages()
    {
        const HelpSearch search(QStringLiteral(TESSAVOR_BIN_DIR));
        const QList<HelpSearch::Found> found = search.find(u"régénérer poids"_s);
        QVERIFY(!found.isEmpty());
        QVERIFY2(titles(found).contains(u"Modifier la base et régénérer les poids"_s),
                 qPrintable(titles(found).join(u", ")));
        QVERIFY(!search.find(u"shang han lun"_s).isEmpty()); // only on the knowledge base's page
    }
};

QTEST_GUILESS_MAIN(TestHelpSearch)
#include "tst_helpsearch.moc"
