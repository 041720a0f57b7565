// Writes the help page "La base de connaissances" from the knowledge base's CSV sources, so
// that the page lists what the bundled base holds and never goes stale. The page's text is
// its template among the help pages; each marker line of the template is replaced:
//   <!-- chiffres -->          the totals of the base
//   <!-- méthode N -->         the syndromes of method N (1 to 5), in a table
//   <!-- syndromes retirés --> the syndromes kept only for their number (no link)
//   <!-- signes retirés -->    the signs kept only for their number (no link), each with the
//                              live signs that now record it
//   tessavor_kbpage <folder with the CSV files> <template> <output page>
#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QLocale>
#include <QMap>
#include <QTextStream>

#include <algorithm>

namespace {

// The rows of one CSV source, header left out; empty when the file cannot be read.
QList<QStringList> readRows(const QString &path, QString &error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        error = path + QStringLiteral(": ") + file.errorString();
        return {};
    }
    QList<QStringList> rows;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (qsizetype i = 1; i < lines.size(); ++i)
        if (!lines[i].trimmed().isEmpty())
            rows.append(lines[i].split(QLatin1Char(';')));
    return rows;
}

struct Base {
    int categories = 0;
    QMap<int, QString> signs;                     // number -> text
    QMap<int, std::pair<int, QString>> syndromes; // number -> method, name
    QMap<int, QList<int>> links;                  // syndrome -> signs
    QHash<int, int> linkCount;                    // sign -> links, whose weight is 10 - links, at least 1
    QMap<int, QList<int>> replacements;           // retired sign -> the signs that now record it
};

QString methodTable(const Base &base, int method)
{
    const QLocale french(QLocale::French);
    QString html;
    int count = 0;
    for (auto it = base.syndromes.cbegin(); it != base.syndromes.cend(); ++it) {
        if (it->first != method || !base.links.contains(it.key()))
            continue;
        ++count;
        // The signs that weigh most, that is those shared by the fewest syndromes.
        QList<int> signs = base.links.value(it.key());
        std::stable_sort(signs.begin(), signs.end(),
                         [&](int a, int b) { return base.linkCount.value(a) < base.linkCount.value(b); });
        QStringList specific;
        for (int sign : signs.first(std::min<qsizetype>(3, signs.size())))
            specific.append(base.signs.value(sign).toHtmlEscaped());
        html += QStringLiteral("<tr><td>%1</td><td>%2</td><td align=\"right\">%3</td><td>%4</td></tr>\n")
                    .arg(it.key())
                    .arg(it->second.toHtmlEscaped())
                    .arg(base.links.value(it.key()).size())
                    .arg(specific.join(QStringLiteral(", ")));
    }
    return QStringLiteral("<p>%1 syndromes.</p>\n<table id=\"methode-%2\" width=\"100%\" cellpadding=\"4\" "
                          "cellspacing=\"0\" border=\"1\">\n<tr><th>N°</th><th>Syndrome</th><th>Signes</th>"
                          "<th>Signes les plus spécifiques</th></tr>\n")
               .arg(french.toString(count))
               .arg(method) +
           html + QStringLiteral("</table>\n");
}

QString retiredSyndromes(const Base &base)
{
    QString html = QStringLiteral("<ul id=\"syndromes-retires\">\n");
    for (auto it = base.syndromes.cbegin(); it != base.syndromes.cend(); ++it)
        if (!base.links.contains(it.key()))
            html += QStringLiteral("<li>%1 &ndash; %2</li>\n").arg(it.key()).arg(it->second.toHtmlEscaped());
    return html + QStringLiteral("</ul>\n");
}

QString retiredSigns(const Base &base)
{
    QString html = QStringLiteral("<ul id=\"signes-retires\">\n");
    for (auto it = base.signs.cbegin(); it != base.signs.cend(); ++it) {
        if (base.linkCount.contains(it.key()))
            continue;
        QStringList replacements;
        for (int sign : base.replacements.value(it.key()))
            replacements.append(base.signs.value(sign).toHtmlEscaped());
        html +=
            QStringLiteral("<li>%1 &ndash; %2%3</li>\n")
                .arg(it.key())
                .arg(it->toHtmlEscaped(), replacements.isEmpty()
                                              ? QStringLiteral("&nbsp;: ne correspond à aucun syndrome de la base")
                                              : QStringLiteral(" &rarr; ") + replacements.join(QStringLiteral(" + ")));
    }
    return html + QStringLiteral("</ul>\n");
}

QString totals(const Base &base)
{
    const QLocale french(QLocale::French);
    int links = 0;
    for (const QList<int> &signs : base.links)
        links += int(signs.size());
    return QStringLiteral("<p>La base livrée compte %1&nbsp;syndromes, %2&nbsp;signes à relever répartis en "
                          "%3&nbsp;catégories et %4&nbsp;liens entre signes et syndromes.</p>\n")
        .arg(french.toString(int(base.links.size())), french.toString(int(base.linkCount.size())),
             french.toString(base.categories), french.toString(links));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    if (args.size() != 4) {
        err << "usage: tessavor_kbpage <source folder> <template> <output page>\n";
        return 2;
    }
    QString error;
    Base base;
    const QString folder = args[1] + QLatin1Char('/');
    base.categories = int(readRows(folder + QStringLiteral("categories.csv"), error).size());
    for (const QStringList &row : readRows(folder + QStringLiteral("modalites.csv"), error))
        if (row.size() == 3)
            base.signs.insert(row[0].toInt(), row[2]);
    for (const QStringList &row : readRows(folder + QStringLiteral("syndromes.csv"), error))
        if (row.size() == 3)
            base.syndromes.insert(row[0].toInt(), {row[1].toInt(), row[2]});
    for (const QStringList &row : readRows(folder + QStringLiteral("liens.csv"), error)) {
        if (row.size() < 2)
            continue;
        base.links[row[0].toInt()].append(row[1].toInt());
        ++base.linkCount[row[1].toInt()];
    }
    for (const QStringList &row : readRows(folder + QStringLiteral("remplacements.csv"), error))
        if (row.size() >= 2)
            base.replacements[row[0].toInt()].append(row[1].toInt());
    QFile templateFile(args[2]);
    if (error.isEmpty() && !templateFile.open(QIODevice::ReadOnly))
        error = args[2] + QStringLiteral(": ") + templateFile.errorString();
    if (!error.isEmpty()) {
        err << error << '\n';
        return 1;
    }

    QHash<QString, QString> generated{{QStringLiteral("<!-- chiffres -->"), totals(base)},
                                      {QStringLiteral("<!-- syndromes retirés -->"), retiredSyndromes(base)},
                                      {QStringLiteral("<!-- signes retirés -->"), retiredSigns(base)}};
    for (int method = 1; method <= 5; ++method)
        generated.insert(QStringLiteral("<!-- méthode %1 -->").arg(method), methodTable(base, method));

    QString page;
    for (const QString &line : QString::fromUtf8(templateFile.readAll()).split(QLatin1Char('\n'))) {
        const auto it = generated.constFind(line.trimmed());
        if (it == generated.cend()) {
            page += line + QLatin1Char('\n');
            continue;
        }
        page += *it;
        generated.erase(it);
    }
    if (!generated.isEmpty()) {
        err << args[2] << ": marqueur absent " << generated.keys().join(QStringLiteral(", ")) << '\n';
        return 1;
    }
    page.chop(1); // the template's own last line break is kept, not doubled

    QFile out(args[3]);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(page.toUtf8()) < 0 || !out.flush()) {
        err << args[3] << ": " << out.errorString() << '\n';
        return 1;
    }
    return 0;
}
