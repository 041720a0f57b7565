#include "Twips.h"

#include <QWidget>

namespace Twips {

void place(QWidget *widget, double left, double top, double width, double height)
{
    widget->setGeometry(toPixels(left, top, width, height));
}

void place(QWidget *widget, const QRectF &twips)
{
    place(widget, twips.left(), twips.top(), twips.width(), twips.height());
}

} // namespace Twips
