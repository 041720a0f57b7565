#pragma once

#include <QColor>

// Colours that stay legible: the contrast ratio of two colours as the accessibility
// guidelines measure it (1 to 21; text wants 4.5, a focus mark 3), and the colour nearest
// to the one wanted that reaches a ratio on a given background.
namespace Contrast {

double ratio(const QColor &a, const QColor &b);

// `wanted`, darkened on a light background (lightened on a dark one) with its hue kept,
// just enough to reach `minimum` on `background`.
QColor readable(const QColor &wanted, const QColor &background, double minimum = 4.5);

// `text` faded toward `background` as far as it may while it keeps `minimum` on it: the
// dimmed text of a hint or a category beside an entry. Text already below it is not faded.
QColor dimmed(const QColor &text, const QColor &background, double minimum = 4.5);

} // namespace Contrast
