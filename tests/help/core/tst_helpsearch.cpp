#include "HelpSearch.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QUrl>

// The help window's search: which pages hold the words typed, which of their sentences are
// shown and how, on the fixture's small pages and on the program's own help pages.
class TestHelpSearch : public QObject
{
    Q_OBJECT

    const QDir m_dir{QStringLiteral(TESSAVOR_TEST_DATA "/help")};

    static QStringList titles(const QList<HelpSearch::Found> &found)
    {
        QStringList list;
        for (const HelpSearch::Found &f : found)
            list.append(f.title);
        return list;
    }

private slots:
    void pagesHoldingEveryWord_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("titles");
        const QString carte = "Relever les signes", regen = "Régénérer les poids", base = "La base de connaissances";
        QTest::newRow("accents and case aside") << "REGENERER" << QStringList{regen};
        QTest::newRow("the beginning of a word") << "régén" << QStringList{regen};
        QTest::newRow("not the middle of one") << "générer" << QStringList{};
        QTest::newRow("the knowledge base's page too") << "vide de qi" << QStringList{base};
        QTest::newRow("every word, anywhere in the page")
            << "langue pouls" << QStringList{carte, base}; // two each, then by title
        QTest::newRow("a word no page holds") << "pouls zèbre" << QStringList{};
        QTest::newRow("ligature spelled out") << "oedeme" << QStringList{carte};
        QTest::newRow("no word typed") << " ,;! " << QStringList{};
        QTest::newRow("most often first") << "pouls" << QStringList{carte, base, regen};
        QTest::newRow("no style sheet, no head") << "color" << QStringList{};
    }

    void pagesHoldingEveryWord()
    {
        QFETCH(QString, typed);
        QTEST(titles(HelpSearch(m_dir.path()).find(typed)), "titles");
    }

    // The sentences where the words stand, those holding the most words first, at most
    // three, shown in the page's order, linked to their page, the words in bold.
    void sentencesAndResultsPage()
    {
        const HelpSearch search(m_dir.path());
        const QList<HelpSearch::Found> regen = search.find("régén");
        QCOMPARE(regen.size(), 1);
        QCOMPARE(regen[0].path, QDir::toNativeSeparators(m_dir.filePath("REGENERATION.HTM")));
        QCOMPARE(regen[0].hits, 4);
        QCOMPARE(regen[0].sentences, (QStringList{"Choisissez « Régénérer la base... » dans le menu Fichier.",
                                                  "Les poids sont régénérés.", "Régénérer prend un instant."}));
        QCOMPARE(search.find("pouls langue")[0].sentences,
                 (QStringList{"Le pouls et la langue s'y relèvent.", "La langue pâle", "Pouls rapide"}));

        const QString page = HelpSearch::resultsPage("régén", regen);
        const QString link = QUrl::fromLocalFile(m_dir.filePath("REGENERATION.HTM")).toString(QUrl::FullyEncoded);
        QVERIFY2(page.contains("<title>Rechercher dans l'aide</title>"), qPrintable(page));
        QVERIFY(page.contains("Une page contient « régén » :"));
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
    }

    // The program's own pages, the knowledge base's among them, as the build leaves them.
    void theProgramsOwnPages()
    {
        const HelpSearch search(QStringLiteral(TESSAVOR_BIN_DIR));
        const QStringList found = titles(search.find("régénérer poids"));
        QVERIFY2(found.contains("Modifier la base et régénérer les poids"), qPrintable(found.join(", ")));
        QVERIFY(!search.find("shang han lun").isEmpty()); // only on the knowledge base's page
    }
};

QTEST_GUILESS_MAIN(TestHelpSearch)
#include "tst_helpsearch.moc"
