#include "SvgCursor.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace SvgCursor {

QCursor fromResource(const QString &resource, int hotX, int hotY)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(resource);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    painter.end();
    return QCursor(pixmap, hotX, hotY);
}

} // namespace SvgCursor
