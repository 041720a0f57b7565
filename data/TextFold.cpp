#include "TextFold.h"

namespace TextFold {

namespace {

// Appends what `c` folds to; returns how many characters that made.
qsizetype append(QString &folded, QChar c)
{
    const qsizetype before = folded.size();
    // Most signs are plain letters: no decomposition to make for them.
    if (c.unicode() < 0x80) {
        folded += c.toLower();
        return 1;
    }
    switch (c.unicode()) {
    case u'œ':
    case u'Œ':
        folded += u"oe";
        return 2;
    case u'æ':
    case u'Æ':
        folded += u"ae";
        return 2;
    case u'’':
    case u'‘':
        folded += u'\'';
        return 1;
    default:
        break;
    }
    for (const QChar d : QString(c).normalized(QString::NormalizationForm_KD))
        if (d.category() != QChar::Mark_NonSpacing)
            folded += d.toCaseFolded();
    return folded.size() - before;
}

} // namespace

QString fold(QStringView text)
{
    QString folded;
    folded.reserve(text.size());
    for (const QChar c : text)
        append(folded, c);
    return folded;
}

Mapped foldMapped(QStringView text)
{
    Mapped mapped;
    mapped.text.reserve(text.size());
    mapped.origin.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i)
        for (qsizetype n = append(mapped.text, text[i]); n > 0; --n)
            mapped.origin.append(i);
    return mapped;
}

} // namespace TextFold
