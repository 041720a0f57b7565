#include "InfoLayout.h"

#include "Twips.h"

#include <QFontMetrics>
#include <QLabel>

#include <algorithm>

namespace InfoLayout {

QLabel *addLabel(QWidget *parent, const char *name, const QString &text, const QFont &font)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setFont(font);
    return label;
}

void placeLabel(QLabel *label, double left, double top, double width, double height, bool anchorRight)
{
    const QRect design = Twips::toPixels(left, top, width, height);
    const QFontMetrics metrics(label->font());
    QRect rect = design;
    rect.setHeight(std::max(design.height(), metrics.height()));
    if (!label->wordWrap()) {
        rect.setWidth(std::max(design.width(), metrics.horizontalAdvance(label->text()) + 2));
        if (anchorRight)
            rect.moveRight(design.right());
    }
    label->setGeometry(rect);
}

} // namespace InfoLayout
