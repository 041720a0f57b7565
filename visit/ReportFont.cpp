#include "ReportFont.h"

#include <QFontDatabase>
#include <QFontMetricsF>

namespace ReportFont {

namespace {

// Metrics are taken at a large pixel size, where hinting no longer rounds them, and
// scaled down: one design unit per thousandth of the point size.
constexpr int MeasureSize = 1000;

QFont measuringFont(const QString &name, bool bold)
{
    QFont f(resolvedFamily(name));
    f.setPixelSize(MeasureSize);
    f.setBold(bold);
    return f;
}

} // namespace

QString resolvedFamily(const QString &name)
{
    if (name == QLatin1String("Times New Roman") && !QFontDatabase::hasFamily(name))
        return QStringLiteral("Liberation Serif");
    return name;
}

QFont font(const QString &name, double points, bool bold)
{
    QFont f(resolvedFamily(name));
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

double lineHeight(const QString &name, double points, bool bold)
{
    const QFontMetricsF metrics(measuringFont(name, bold));
    return metrics.lineSpacing() / MeasureSize * points * CmPerPoint;
}

double textWidth(const QString &name, double points, bool bold, const QString &text)
{
    const QFontMetricsF metrics(measuringFont(name, bold));
    return metrics.horizontalAdvance(text) / MeasureSize * points * CmPerPoint;
}

double ascent(const QString &name, double points, bool bold)
{
    const QFontMetricsF metrics(measuringFont(name, bold));
    return metrics.ascent() / MeasureSize * points * CmPerPoint;
}

} // namespace ReportFont
