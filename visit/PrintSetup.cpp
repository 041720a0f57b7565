#include "PrintSetup.h"

#include <QMarginsF>
#include <QPageSize>

QPageLayout PrintSetup::defaultLayout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                       QPageLayout::Millimeter);
}

QPageLayout PrintSetup::layoutFor(const QString &printerPaper) const
{
    QPageLayout page = layout;
    if (!pageChosen && !printerPaper.isEmpty()) {
        const QPageSize size = Papers::fromKey(printerPaper);
        if (size.isValid())
            page.setPageSize(size);
    }
    return page;
}

namespace Papers {

QPageSize fromKey(const QString &key)
{
    for (int id = 0; id <= QPageSize::LastPageSize; ++id) {
        if (QPageSize::key(QPageSize::PageSizeId(id)) == key)
            return QPageSize(QPageSize::PageSizeId(id));
    }
    return QPageSize();
}

QList<QPageSize> common()
{
    return {QPageSize(QPageSize::A4), QPageSize(QPageSize::A5), QPageSize(QPageSize::A3), QPageSize(QPageSize::Letter),
            QPageSize(QPageSize::Legal)};
}

} // namespace Papers
