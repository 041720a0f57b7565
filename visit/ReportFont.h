#pragma once

#include <QFont>
#include <QString>

// The report's typeface as the machine can give it, and the height of its lines. Both
// devices measure lines the same way, from the face's own design metrics, so that where a
// page breaks does not depend on the printer's resolution.
namespace ReportFont {

// The font for a requested face. "Times New Roman" is replaced by the metric-compatible
// "Liberation Serif" where it is not installed, so that lines keep their height.
QFont font(const QString &name, double points, bool bold);

// The family actually used for a requested face.
QString resolvedFamily(const QString &name);

// Height of one line (ascent, descent and line gap) in centimetres.
double lineHeight(const QString &name, double points, bool bold);
// Width of a text, in centimetres.
double textWidth(const QString &name, double points, bool bold, const QString &text);
// Distance from the top of a line to its baseline, in centimetres.
double ascent(const QString &name, double points, bool bold);

inline constexpr double CmPerPoint = 2.54 / 72.0;

} // namespace ReportFont
