#include "TypeAhead.h"

#include "TextFold.h"

#include <algorithm>

namespace TypeAhead {

bool matchesFolded(QStringView text, QStringView typed)
{
    if (typed.isEmpty())
        return false;
    for (qsizetype at = 0; at + typed.size() <= text.size(); ++at) {
        const bool wordStart = at == 0 || !text[at - 1].isLetterOrNumber();
        if (wordStart && text.mid(at).startsWith(typed))
            return true;
    }
    return false;
}

bool matches(QStringView text, QStringView typed)
{
    return matchesFolded(TextFold::fold(text), TextFold::fold(typed));
}

int findFolded(const QStringList &texts, QStringView typed, int from)
{
    const int n = static_cast<int>(texts.size());
    if (n == 0)
        return -1;
    from = ((from % n) + n) % n;
    for (int k = 0; k < n; ++k) {
        const int i = (from + k) % n;
        if (matchesFolded(texts[i], typed))
            return i;
    }
    return -1;
}

int Buffer::type(const QString &text, qint64 msecs, const QStringList &foldedTexts, int current)
{
    const bool goesOn = this->goesOn(msecs);
    m_last = msecs;
    const QString typed = TextFold::fold(text);
    if (typed.isEmpty())
        return -1;
    const bool sameLetterAgain = goesOn && m_typed.size() == 1 && typed == m_typed;
    m_typed = goesOn && !sameLetterAgain ? m_typed + typed : typed;
    const int from = goesOn && !sameLetterAgain ? std::max(current, 0) : current + 1;
    return findFolded(foldedTexts, m_typed, from);
}

} // namespace TypeAhead
