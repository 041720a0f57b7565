#pragma once

#include <QPoint>
#include <QRect>
#include <QRectF>
#include <QSize>

class QWidget;

// The whole interface is designed in twips (1/1440 inch). Conversion to the toolkit's
// device-independent pixels happens here and nowhere else: 15 twips per pixel at the
// usual 96 dots per inch; Qt's own high-DPI scaling takes care of larger screens.
namespace Twips {

inline constexpr double PerPixel = 15.0; // at 96 logical dpi

inline int toPixels(double twips)
{
    return static_cast<int>(twips / PerPixel + (twips >= 0 ? 0.5 : -0.5));
}
inline double fromPixels(int pixels)
{
    return pixels * PerPixel;
}
inline QRect toPixels(double left, double top, double width, double height)
{
    return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}
inline QSize toPixels(double width, double height)
{
    return QSize(toPixels(width), toPixels(height));
}

// Gives a control its design rectangle.
void place(QWidget *widget, double left, double top, double width, double height);
void place(QWidget *widget, const QRectF &twips);

} // namespace Twips
