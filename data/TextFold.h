#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// Text the way a practitioner types it, for every search of the program (the type-ahead
// of the lists, the search across the base, the help search): case folded, accents and
// other combining marks dropped, compatibility forms taken apart ("ﬁ" → "fi"), ligatures
// spelled out ("Œdème" → "oedeme"), curly apostrophes straight.
namespace TextFold {

QString fold(QStringView text);

// The folded text and, for each of its characters, the index in `text` of the character it
// comes from (so that what matched in the folded text can be shown in the original).
struct Mapped {
    QString text;
    QList<qsizetype> origin;
};
Mapped foldMapped(QStringView text);

} // namespace TextFold
