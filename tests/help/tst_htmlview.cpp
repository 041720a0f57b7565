#include "HtmlView.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

// The help window's view alone: how a page is read and named, its history and links; and the
// links of the help pages shipped beside the program.
class TestHtmlView : public QObject
{
    Q_OBJECT

    const QDir m_dir{QStringLiteral(TESSAVOR_TEST_DATA "/help")};

    QString path(const QString &name) const { return QDir::toNativeSeparators(m_dir.filePath(name)); }
    // The name of the page shown once the view is idle again.
    static QString settled(HtmlView &view)
    {
        return QTest::qWaitFor([&view] { return !view.isBusy(); }) ? view.locationName() : QString();
    }

private slots:
    void pagesAreReadAndNamed_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        const QString notFound = "Page introuvable";
        QTest::newRow("title, the anchor aside") << path("A.HTM#fin") << "Page A"
                                         << "été";
        QTest::newRow("no title: the file name") << path("SANS-TITRE.HTM") << "SANS-TITRE.HTM"
                                                 << "rien";
        QTest::newRow("declared encoding") << path("LATIN.HTM") << "Été"
                                           << "x";
        QTest::newRow("missing file") << path("ABSENT.HTM") << notFound << path("ABSENT.HTM");
        QTest::newRow("empty") << QString() << notFound << "(vide)";
        QTest::newRow("web address") << "http://example.org/" << notFound << "sur cet ordinateur";
        QTest::newRow("markup in the address stays text") << "<b>x</b>" << notFound << "<b>x</b>";
    }

    void pagesAreReadAndNamed()
    {
        QFETCH(QString, address);
        QFETCH(QString, text);
        HtmlView view;
        view.navigate(address);
        QVERIFY(view.isBusy()); // until a later turn of the event loop
        QTEST(settled(view), "name");
        QVERIFY2(view.toPlainText().contains(text), qPrintable(view.toPlainText()));
    }

    // A link is read against the page shown; a new page drops those that lay ahead; going
    // further than the history reaches stays where it is.
    void linksAndHistory()
    {
        HtmlView view;
        QStringList names;
        for (const std::function<void()> &step : QList<std::function<void()>>{
                 [&] { view.navigate(path("A.HTM")); }, [&] { emit view.anchorClicked(QUrl("B.HTM")); },
                 [&] { view.goBack(); }, [&] { view.goForward(); }, [&] { view.goBack(); }, [&] { view.goBack(); },
                 [&] { view.navigate(path("SANS-TITRE.HTM")); }, [&] { view.goForward(); }, [&] { view.goBack(); }}) {
            step();
            names.append(settled(view));
        }
        QCOMPARE(names, QStringList({"Page A", "Page B", "Page A", "Page B", "Page A", "Page A", "SANS-TITRE.HTM",
                                     "SANS-TITRE.HTM", "Page A"}));
    }

    void helpPagesLinkToExistingPages()
    {
        const QDir pages = QFileInfo(QFINDTESTDATA("../../help/pages/INDEX.HTM")).dir();
        const QStringList names = pages.entryList(QDir::Files); // names compared with their case
        QVERIFY(names.contains("INDEX.HTM"));
        static const QRegularExpression href("href=\"([^\"#]*)");
        for (const QString &name : names) {
            QFile file(pages.filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            for (const QRegularExpressionMatch &link : href.globalMatch(QString::fromUtf8(file.readAll())))
                QVERIFY2(link.captured(1).isEmpty() || names.contains(link.captured(1)),
                         qPrintable(name + " links to " + link.captured(1)));
        }
    }
};

QTEST_MAIN(TestHtmlView)
#include "tst_htmlview.moc"
