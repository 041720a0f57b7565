#include "Contrast.h"

#include <algorithm>
#include <cmath>

namespace Contrast {

namespace {

double luminance(const QColor &colour)
{
    const auto linear = [](double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
}

QColor mix(const QColor &from, const QColor &to, float t)
{
    const auto channel = [t](float a, float b) { return a + (b - a) * t; };
    return QColor::fromRgbF(channel(from.redF(), to.redF()), channel(from.greenF(), to.greenF()),
                            channel(from.blueF(), to.blueF()));
}

// Steps enough for every 8-bit value on the way.
constexpr int Steps = 256;

} // namespace

double ratio(const QColor &a, const QColor &b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor readable(const QColor &wanted, const QColor &background, double minimum)
{
    const QColor extreme =
        ratio(Qt::black, background) >= ratio(Qt::white, background) ? QColor(Qt::black) : QColor(Qt::white);
    for (int step = 0; step <= Steps; ++step) {
        const QColor candidate = mix(wanted, extreme, float(step) / Steps);
        if (ratio(candidate, background) >= minimum)
            return candidate;
    }
    return extreme;
}

QColor dimmed(const QColor &text, const QColor &background, double minimum)
{
    QColor faded = text;
    for (int step = 1; step <= Steps; ++step) {
        const QColor candidate = mix(text, background, float(step) / Steps);
        if (ratio(candidate, background) < minimum)
            break;
        faded = candidate;
    }
    return faded;
}

} // namespace Contrast
