#include "HelpSearch.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

// Every place where the words were found lies inside the text, in order, apart.
void checkMatches(const QString &text, const QStringList &words)
{
    qsizetype end = 0;
    for (const auto &[start, length] : HelpSearch::matches(text, words)) {
        if (start < end || length <= 0 || start + length > text.size())
            std::abort();
        end = start + length;
    }
}

} // namespace

// The help's own search, on a page of any content and any typed words: the page is read
// (its title, its sentences), searched and listed, without a crash or an overrun.
// Input: what is typed, a byte 0x01, then the page (without that byte, the page alone).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype split = input.indexOf('\x01');
    const QString typed = split < 0 ? QStringLiteral("pouls langue") : QString::fromUtf8(input.left(split));
    const QByteArray html = split < 0 ? input : input.mid(split + 1);

    const HelpSearch::Page page = HelpSearch::readHtml(QString::fromUtf8(html));
    const QStringList words = HelpSearch::words(typed);
    checkMatches(page.title, words);
    for (const QString &sentence : page.sentences)
        checkMatches(sentence, words);

    // The same page as the help window reads it, from its folder, in whatever encoding it
    // declares.
    QFile file(QDir(dir.path()).filePath(QStringLiteral("PAGE.HTM")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(html) != html.size())
        std::abort();
    file.close();
    const QList<HelpSearch::Found> found = HelpSearch(dir.path()).find(typed);
    for (const HelpSearch::Found &f : found)
        if (f.sentences.size() > HelpSearch::MaxSentences)
            std::abort();
    HelpSearch::resultsPage(typed, found);
    return 0;
}
