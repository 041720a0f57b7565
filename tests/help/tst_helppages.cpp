#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <QTest>
#include <QTextDocument>

// The help pages that ship beside the program: each one well-formed enough to be shown with
// its title, every link leading to a page that exists under exactly that name (file names
// are case-sensitive on most systems), and every page reachable from the summary.
class TestHelpPages : public QObject {
    Q_OBJECT

    QDir m_pages;

    QString read(const QString &name) {
        QFile file(m_pages.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString text = utf8.decode(file.readAll());
        return utf8.hasError() ? QString() : text;
    }

    static QStringList links(const QString &html) {
        QStringList found;
        static const QRegularExpression href(QStringLiteral("href=\"([^\"]*)\""));
        for (const QRegularExpressionMatch &match : href.globalMatch(html))
            found.append(match.captured(1));
        return found;
    }

private slots:
    void initTestCase() {
        const QString index = QFINDTESTDATA("../../help/pages/INDEX.HTM");
        QVERIFY(!index.isEmpty());
        m_pages = QFileInfo(index).dir();
    }

    void pages_data() {
        QTest::addColumn<QString>("name");
        const QStringList names = m_pages.entryList(QDir::Files);
        QVERIFY(names.size() >= 7);
        for (const QString &name : names)
            QTest::newRow(qPrintable(name)) << name;
    }

    void pages() {
        QFETCH(QString, name);
        QVERIFY2(QRegularExpression(QStringLiteral("^[A-Z0-9_]+\\.HTM$")).match(name).hasMatch(),
                 "help pages are named in capitals with .HTM");
        const QString html = read(name);
        QVERIFY2(!html.isEmpty(), "not readable as UTF-8");
        QVERIFY(html.contains(QStringLiteral("charset=utf-8")));

        QTextDocument document;
        document.setHtml(html);
        QVERIFY(!document.metaInformation(QTextDocument::DocumentTitle).isEmpty());

        const QStringList targets = links(html);
        for (const QString &target : targets) {
            const QString file = target.section(QLatin1Char('#'), 0, 0);
            if (file.isEmpty())
                continue;
            QVERIFY2(m_pages.entryList(QDir::Files).contains(file), qPrintable(name + " links to " + target));
        }
        if (name != QLatin1String("INDEX.HTM"))
            QVERIFY2(targets.contains(QStringLiteral("INDEX.HTM")), "no way back to the summary");
    }

    void everyPageIsReachableFromTheSummary() {
        QSet<QString> reached{QStringLiteral("INDEX.HTM")};
        QStringList queue{QStringLiteral("INDEX.HTM")};
        while (!queue.isEmpty()) {
            for (const QString &target : links(read(queue.takeFirst()))) {
                const QString file = target.section(QLatin1Char('#'), 0, 0);
                if (!file.isEmpty() && !reached.contains(file)) {
                    reached.insert(file);
                    queue.append(file);
                }
            }
        }
        const QStringList names = m_pages.entryList(QDir::Files);
        QCOMPARE(QSet<QString>(names.begin(), names.end()), reached);
    }
};

QTEST_MAIN(TestHelpPages)
#include "tst_helppages.moc"
