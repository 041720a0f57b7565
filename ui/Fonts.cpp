#include "Fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace Fonts {

void installSubstitutions()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    // Liberation Sans has Arial's metrics; DejaVu Sans is the nearest common face to
    // Tahoma and MS Sans Serif.
    if (!QFontDatabase::hasFamily(QStringLiteral("Arial")))
        QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    if (!QFontDatabase::hasFamily(QStringLiteral("Tahoma")))
        QFont::insertSubstitutions(QStringLiteral("Tahoma"),
                                   QStringList{QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    if (!QFontDatabase::hasFamily(QStringLiteral("MS Sans Serif")))
        QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                                   QStringList{QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    if (!QFontDatabase::hasFamily(QStringLiteral("Times New Roman")))
        QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
}

static QFont make(const QString &family, double pointSize, bool bold, bool italic = false)
{
    installSubstitutions();
    QFont font(family);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

QFont tahoma(double pointSize, bool bold)
{
    return make(QStringLiteral("Tahoma"), pointSize, bold);
}

QFont msSansSerif(double pointSize, bool bold)
{
    return make(QStringLiteral("MS Sans Serif"), pointSize, bold);
}

QFont arial(double pointSize, bool bold, bool italic)
{
    return make(QStringLiteral("Arial"), pointSize, bold, italic);
}

} // namespace Fonts
