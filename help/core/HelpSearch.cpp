#include "HelpSearch.h"

#include "TextFold.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QStringDecoder>
#include <QUrl>

#include <algorithm>

namespace {

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber();
}

// Calls `hit(position)` for each place of `folded` where `word` begins a word.
template <typename Hit> void forEachStart(const QString &folded, const QString &word, Hit hit)
{
    for (qsizetype at = folded.indexOf(word); at >= 0; at = folded.indexOf(word, at + 1))
        if (at == 0 || !isWordChar(folded[at - 1]))
            hit(at);
}

QString decodeEntity(const QString &name)
{
    if (name.startsWith(u'#')) {
        bool ok = false;
        const uint code = name.startsWith(QLatin1String("#x"), Qt::CaseInsensitive) ? name.mid(2).toUInt(&ok, 16)
                                                                                    : name.mid(1).toUInt(&ok, 10);
        const char32_t point = code;
        return ok && code > 0 && code <= 0x10FFFF ? QString::fromUcs4(&point, 1) : QString();
    }
    static const QHash<QString, QString> named{
        {QStringLiteral("nbsp"), QStringLiteral("\u00a0")}, {QStringLiteral("amp"), QStringLiteral("&")},
        {QStringLiteral("lt"), QStringLiteral("<")},        {QStringLiteral("gt"), QStringLiteral(">")},
        {QStringLiteral("quot"), QStringLiteral("\"")},     {QStringLiteral("apos"), QStringLiteral("'")},
        {QStringLiteral("ndash"), QStringLiteral("–")},     {QStringLiteral("mdash"), QStringLiteral("—")},
        {QStringLiteral("laquo"), QStringLiteral("«")},     {QStringLiteral("raquo"), QStringLiteral("»")},
        {QStringLiteral("hellip"), QStringLiteral("…")},    {QStringLiteral("rsquo"), QStringLiteral("’")},
        {QStringLiteral("lsquo"), QStringLiteral("‘")},     {QStringLiteral("ldquo"), QStringLiteral("“")},
        {QStringLiteral("rdquo"), QStringLiteral("”")},     {QStringLiteral("middot"), QStringLiteral("·")},
        {QStringLiteral("deg"), QStringLiteral("°")},       {QStringLiteral("times"), QStringLiteral("×")},
        {QStringLiteral("rarr"), QStringLiteral("→")},      {QStringLiteral("larr"), QStringLiteral("←")},
        {QStringLiteral("eacute"), QStringLiteral("é")},    {QStringLiteral("egrave"), QStringLiteral("è")},
        {QStringLiteral("ecirc"), QStringLiteral("ê")},     {QStringLiteral("agrave"), QStringLiteral("à")},
        {QStringLiteral("acirc"), QStringLiteral("â")},     {QStringLiteral("ccedil"), QStringLiteral("ç")},
        {QStringLiteral("icirc"), QStringLiteral("î")},     {QStringLiteral("ocirc"), QStringLiteral("ô")},
        {QStringLiteral("ucirc"), QStringLiteral("û")},     {QStringLiteral("ugrave"), QStringLiteral("ù")},
        {QStringLiteral("euml"), QStringLiteral("ë")},      {QStringLiteral("iuml"), QStringLiteral("ï")},
        {QStringLiteral("Eacute"), QStringLiteral("É")},    {QStringLiteral("oelig"), QStringLiteral("œ")},
    };
    return named.value(name);
}

QString decodeEntities(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&') {
            const qsizetype semicolon = text.indexOf(u';', i + 1);
            if (semicolon > i + 1 && semicolon - i <= 10) {
                const QString decoded = decodeEntity(text.mid(i + 1, semicolon - i - 1));
                if (!decoded.isEmpty()) {
                    out += decoded;
                    i = semicolon;
                    continue;
                }
            }
        }
        out += text[i];
    }
    return out;
}

bool endsSentence(QStringView tag)
{
    static const QStringList blocks{
        QStringLiteral("p"),   QStringLiteral("br"),         QStringLiteral("div"),    QStringLiteral("li"),
        QStringLiteral("ul"),  QStringLiteral("ol"),         QStringLiteral("dl"),     QStringLiteral("dt"),
        QStringLiteral("dd"),  QStringLiteral("table"),      QStringLiteral("tr"),     QStringLiteral("td"),
        QStringLiteral("th"),  QStringLiteral("h1"),         QStringLiteral("h2"),     QStringLiteral("h3"),
        QStringLiteral("h4"),  QStringLiteral("h5"),         QStringLiteral("h6"),     QStringLiteral("hr"),
        QStringLiteral("pre"), QStringLiteral("blockquote"), QStringLiteral("caption")};
    return blocks.contains(tag.toString().toLower());
}

// The sentences of one paragraph: a sentence ends with ".", "!", "?" or "…" followed by a
// blank and a capital, a digit or an opening quote ("« Mise en page... » dans" goes on).
QStringList splitSentences(const QString &block)
{
    QStringList sentences;
    qsizetype start = 0;
    for (qsizetype i = 0; i < block.size(); ++i) {
        const QChar c = block[i];
        if (c != u'.' && c != u'!' && c != u'?' && c != u'…')
            continue;
        qsizetype next = i + 1;
        while (next < block.size() && (block[next] == u'.' || block[next] == u'!' || block[next] == u'?'))
            ++next;
        if (next >= block.size() || !block[next].isSpace())
            continue;
        qsizetype word = next;
        while (word < block.size() && block[word].isSpace())
            ++word;
        if (word < block.size() && !block[word].isUpper() && !block[word].isDigit() && block[word] != u'«')
            continue;
        sentences.append(block.mid(start, next - start).trimmed());
        start = word;
        i = word - 1;
    }
    if (start < block.size())
        sentences.append(block.mid(start).trimmed());
    sentences.removeAll(QString());
    return sentences;
}

} // namespace

HelpSearch::HelpSearch(QString folder) : m_folder(std::move(folder)) {}

HelpSearch::Page HelpSearch::readHtml(const QString &html)
{
    Page page;
    const qsizetype titleOpen = html.indexOf(QLatin1String("<title"), 0, Qt::CaseInsensitive);
    const qsizetype titleStart = titleOpen < 0 ? -1 : html.indexOf(u'>', titleOpen);
    const qsizetype titleEnd =
        titleStart < 0 ? -1 : html.indexOf(QLatin1String("</title"), titleStart, Qt::CaseInsensitive);
    if (titleEnd > titleStart)
        page.title = decodeEntities(html.mid(titleStart + 1, titleEnd - titleStart - 1)).simplified();

    // The body's text, blanks as one, with a line break wherever a sentence must end: at the
    // tags that end one, and at each line of preformatted text.
    QString text;
    bool preformatted = false;
    qsizetype i = 0;
    const qsizetype headEnd = html.indexOf(QLatin1String("</head"), 0, Qt::CaseInsensitive);
    if (headEnd >= 0)
        i = headEnd;
    while (i < html.size()) {
        const QChar c = html[i];
        if (c != u'<') {
            text += preformatted && c == u'\n' ? c : c.isSpace() && c != QChar(0xa0) ? QChar(u' ') : c;
            ++i;
            continue;
        }
        if (html.mid(i, 4) == QLatin1String("<!--")) {
            const qsizetype end = html.indexOf(QLatin1String("-->"), i + 4);
            i = end < 0 ? html.size() : end + 3;
            continue;
        }
        const qsizetype close = html.indexOf(u'>', i);
        if (close < 0)
            break;
        qsizetype nameStart = i + 1;
        if (nameStart < close && html[nameStart] == u'/')
            ++nameStart;
        qsizetype nameEnd = nameStart;
        while (nameEnd < close && html[nameEnd].isLetterOrNumber())
            ++nameEnd;
        const QString name = html.mid(nameStart, nameEnd - nameStart).toLower();
        i = close + 1;
        if ((name == QLatin1String("script") || name == QLatin1String("style")) && html[nameStart - 1] != u'/') {
            const qsizetype end = html.indexOf(QStringLiteral("</%1").arg(name), i, Qt::CaseInsensitive);
            const qsizetype endClose = end < 0 ? -1 : html.indexOf(u'>', end);
            i = endClose < 0 ? html.size() : endClose + 1;
            continue;
        }
        if (name == QLatin1String("pre"))
            preformatted = html[nameStart - 1] != u'/';
        if (endsSentence(name))
            text += u'\n';
    }
    for (const QString &line : decodeEntities(text).split(u'\n'))
        page.sentences += splitSentences(line.simplified());
    return page;
}

QStringList HelpSearch::words(const QString &typed)
{
    QStringList found;
    QString word;
    for (const QChar c : TextFold::fold(typed)) {
        if (isWordChar(c)) {
            word += c;
        } else if (!word.isEmpty()) {
            found.append(word);
            word.clear();
        }
    }
    if (!word.isEmpty())
        found.append(word);
    found.removeDuplicates();
    return found;
}

QList<std::pair<qsizetype, qsizetype>> HelpSearch::matches(const QString &text, const QStringList &words)
{
    const TextFold::Mapped folded = TextFold::foldMapped(text);
    QList<std::pair<qsizetype, qsizetype>> ranges;
    for (const QString &word : words)
        forEachStart(folded.text, word, [&](qsizetype at) {
            const qsizetype first = folded.origin[at];
            const qsizetype last = folded.origin[at + word.size() - 1];
            ranges.append({first, last - first + 1});
        });
    std::sort(ranges.begin(), ranges.end());
    // Overlapping matches ("pouls" and "pou") make one.
    QList<std::pair<qsizetype, qsizetype>> merged;
    for (const auto &range : std::as_const(ranges)) {
        if (!merged.isEmpty() && range.first <= merged.last().first + merged.last().second)
            merged.last().second =
                std::max(merged.last().first + merged.last().second, range.first + range.second) - merged.last().first;
        else
            merged.append(range);
    }
    return merged;
}

const QList<HelpSearch::Page> &HelpSearch::pages() const
{
    if (m_read)
        return m_pages;
    m_read = true;
    const QDir folder(m_folder);
    const QStringList names = folder.entryList({QStringLiteral("*.htm"), QStringLiteral("*.html")},
                                               QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase);
    for (const QString &name : names) {
        QFile file(folder.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray data = file.readAll();
        QStringDecoder decoder = QStringDecoder::decoderForHtml(data);
        if (!decoder.isValid())
            decoder = QStringDecoder(QStringDecoder::Utf8);
        Page page = readHtml(decoder.decode(data));
        page.path = QDir::toNativeSeparators(file.fileName());
        if (page.title.isEmpty())
            page.title = name;
        m_pages.append(page);
    }
    return m_pages;
}

QList<HelpSearch::Found> HelpSearch::find(const QString &typed) const
{
    const QStringList wanted = words(typed);
    QList<Found> found;
    if (wanted.isEmpty())
        return found;
    for (const Page &page : pages()) {
        QList<bool> present(wanted.size(), false);
        struct Hit {
            qsizetype sentence;
            int words;
        };
        QList<Hit> hits;
        int count = 0;
        for (qsizetype s = 0; s < page.sentences.size(); ++s) {
            const QString folded = TextFold::fold(page.sentences[s]);
            int distinct = 0;
            for (qsizetype w = 0; w < wanted.size(); ++w) {
                int here = 0;
                forEachStart(folded, wanted[w], [&](qsizetype) { ++here; });
                count += here;
                distinct += here > 0;
                present[w] = present[w] || here > 0;
            }
            if (distinct > 0)
                hits.append({s, distinct});
        }
        if (present.contains(false))
            continue;
        // The sentences that hold the most words, shown in the page's order.
        std::stable_sort(hits.begin(), hits.end(), [](const Hit &a, const Hit &b) { return a.words > b.words; });
        hits.resize(std::min<qsizetype>(hits.size(), MaxSentences));
        std::sort(hits.begin(), hits.end(), [](const Hit &a, const Hit &b) { return a.sentence < b.sentence; });
        Found f{page.path, page.title, {}, count};
        for (const Hit &hit : std::as_const(hits))
            f.sentences.append(page.sentences[hit.sentence]);
        found.append(f);
    }
    std::stable_sort(found.begin(), found.end(), [](const Found &a, const Found &b) {
        return a.hits != b.hits ? a.hits > b.hits : TextFold::fold(a.title) < TextFold::fold(b.title);
    });
    return found;
}

QString HelpSearch::resultsPage(const QString &typed, const QList<Found> &found)
{
    const QStringList wanted = words(typed);
    QString html = QStringLiteral("<html><head><meta charset=\"utf-8\"><title>Rechercher dans l'aide</title>"
                                  "<link rel=\"stylesheet\" type=\"text/css\" href=\"AIDE.CSS\"></head><body>"
                                  "<h1>Rechercher dans l'aide</h1>");
    const QString asTyped = typed.simplified().toHtmlEscaped();
    if (wanted.isEmpty()) {
        html += QStringLiteral("<p>Tapez un ou plusieurs mots dans le champ « Rechercher » : les pages de l'aide "
                               "qui les contiennent s'affichent ici à mesure que vous tapez.</p>");
    } else if (found.isEmpty()) {
        html += QStringLiteral("<p>Aucune page de l'aide ne contient « %1 ».</p>").arg(asTyped);
    } else {
        html +=
            (found.size() == 1 ? QStringLiteral("<p>Une page contient « %1 » :</p>").arg(asTyped)
                               : QStringLiteral("<p>%1 pages contiennent « %2 » :</p>").arg(found.size()).arg(asTyped));
    }
    for (const Found &f : found) {
        const QString link = QUrl::fromLocalFile(QDir::fromNativeSeparators(f.path)).toString(QUrl::FullyEncoded);
        html += QStringLiteral("<h3><a href=\"%1\">%2</a></h3>").arg(link, f.title.toHtmlEscaped());
        for (const QString &sentence : f.sentences) {
            QString marked;
            qsizetype at = 0;
            for (const auto &[start, length] : matches(sentence, wanted)) {
                marked += sentence.mid(at, start - at).toHtmlEscaped() + QStringLiteral("<b>") +
                          sentence.mid(start, length).toHtmlEscaped() + QStringLiteral("</b>");
                at = start + length;
            }
            marked += sentence.mid(at).toHtmlEscaped();
            html += QStringLiteral("<p><a href=\"%1\" style=\"color: #222222; text-decoration: none;\">%2</a></p>")
                        .arg(link, marked);
        }
    }
    return html + QStringLiteral("</body></html>");
}
