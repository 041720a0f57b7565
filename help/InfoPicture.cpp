#include "InfoPicture.h"

#include <QPainter>

InfoPicture::InfoPicture(const QString &resource, QWidget *parent) : QWidget(parent), m_renderer(resource) {}

void InfoPicture::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    if (!m_renderer.isValid())
        return;
    QSizeF size = m_renderer.defaultSize();
    size.scale(QSizeF(rect().size()), Qt::KeepAspectRatio);
    QRectF target(QPointF(0, 0), size);
    target.moveCenter(QRectF(rect()).center());
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    m_renderer.render(&painter, target);
}
