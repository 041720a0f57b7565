#include "HtmlView.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// The help window's view alone: how a page is read and named, its history and links; and the
// links of the help pages shipped beside the program.
class TestHtmlView : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const QString &name) const { return QDir::toNativeSeparators(m_dir.filePath(name)); }
    // The name of the page shown once the view is idle again.
    static QString settled(HtmlView &view)
    {
        return QTest::qWaitFor([&view] { return !view.isBusy(); }) ? view.locationName() : QString();
    }

private slots:
    void initTestCase()
    {
        const QList<std::pair<QString, QByteArray>> files = {
            {u"A.HTM"_s, "<meta charset=\"utf-8\"><title>Page A</title>\xC3\xA9t\xC3\xA9"},
            {u"B.HTM"_s, "<title>Page B</title>B"},
            {u"SANS-TITRE.HTM"_s, "<p>rien</p>"},
            {u"LATIN.HTM"_s, "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">"
                             "<title>\xC9t\xE9</title>x"}};
        for (const auto &[name, content] : files) {
            QFile file(m_dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        }
    }

    void pagesAreReadAndNamed_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        const QString notFound = u"Page introuvable"_s;
        QTest::newRow("title") << path(u"A.HTM"_s) << u"Page A"_s << u"été"_s;
        QTest::newRow("path and anchor") << path(u"A.HTM#fin"_s) << u"Page A"_s << u"été"_s;
        QTest::newRow("no title: the file name") << path(u"SANS-TITRE.HTM"_s) << u"SANS-TITRE.HTM"_s << u"rien"_s;
        QTest::newRow("declared encoding") << path(u"LATIN.HTM"_s) << u"Été"_s << u"x"_s;
        QTest::newRow("missing file") << path(u"ABSENT.HTM"_s) << notFound << path(u"ABSENT.HTM"_s);
        QTest::newRow("empty") << QString() << notFound << u"(vide)"_s;
        QTest::newRow("web address") << u"http://example.org/"_s << notFound << u"sur cet ordinateur"_s;
        QTest::newRow("markup in the address stays text") << u"<b>x</b>"_s << notFound << u"<b>x</b>"_s;
    }

    void pagesAreReadAndNamed()
    {
        QFETCH(QString, address);
        QFETCH(QString, name);
        QFETCH(QString, text);
        HtmlView view;
        view.navigate(address);
        QVERIFY(view.isBusy()); // until a later turn of the event loop
        QCOMPARE(settled(view), name);
        QVERIFY2(view.toPlainText().contains(text), qPrintable(view.toPlainText()));
    }

    void linksAndHistory()
    {
        HtmlView view;
        view.navigate(path(u"A.HTM"_s));
        QCOMPARE(settled(view), u"Page A"_s);
        emit view.anchorClicked(QUrl(u"B.HTM"_s)); // relative to the page shown
        QCOMPARE(settled(view), u"Page B"_s);
        view.goBack();
        QCOMPARE(settled(view), u"Page A"_s);
        view.goForward();
        QCOMPARE(settled(view), u"Page B"_s);
        view.goBack();
        QCOMPARE(settled(view), u"Page A"_s);
        view.goBack(); // nothing further back
        QVERIFY(!view.isBusy());
        view.navigate(path(u"SANS-TITRE.HTM"_s)); // drops B, which lay ahead
        QCOMPARE(settled(view), u"SANS-TITRE.HTM"_s);
        view.goBack();
        QCOMPARE(settled(view), u"Page A"_s);
    }

    void helpPagesLinkToExistingPages()
    {
        const QDir pages = QFileInfo(QFINDTESTDATA("../../help/pages/INDEX.HTM")).dir();
        const QStringList names = pages.entryList(QDir::Files); // names compared with their case
        QVERIFY(names.contains(u"INDEX.HTM"_s));
        static const QRegularExpression href(u"href=\"([^\"#]*)"_s);
        for (const QString &name : names) {
            QFile file(pages.filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            for (const QRegularExpressionMatch &link : href.globalMatch(QString::fromUtf8(file.readAll())))
                QVERIFY2(link.captured(1).isEmpty() || names.contains(link.captured(1)),
                         qPrintable(name + u" links to "_s + link.captured(1)));
        }
    }
};

QTEST_MAIN(TestHtmlView)
#include "tst_htmlview.moc"
