#include "ItemList.h"

ItemList::ItemList(QWidget *parent) : QListWidget(parent)
{
    setSortingEnabled(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

void ItemList::setMarking(bool on)
{
    setSelectionMode(on ? QAbstractItemView::MultiSelection : QAbstractItemView::SingleSelection);
}

void ItemList::addEntry(const QString &text)
{
    addItem(text);
}

void ItemList::addEntry(const ListEntry &entry)
{
    auto *item = new QListWidgetItem(entry.text);
    item->setData(Qt::UserRole, entry.data);
    addItem(item);
}

QString ItemList::text(int index) const
{
    const QListWidgetItem *it = item(index);
    return it ? it->text() : QString();
}

qint32 ItemList::itemData(int index) const
{
    const QListWidgetItem *it = item(index);
    return it ? it->data(Qt::UserRole).toInt() : 0;
}

void ItemList::setItemData(int index, qint32 data)
{
    if (QListWidgetItem *it = item(index))
        it->setData(Qt::UserRole, data);
}

ListEntry ItemList::entry(int index) const
{
    return {text(index), itemData(index)};
}

QList<ListEntry> ItemList::entries() const
{
    QList<ListEntry> all;
    all.reserve(count());
    for (int i = 0; i < count(); ++i)
        all.append(entry(i));
    return all;
}

void ItemList::setEntries(const QList<ListEntry> &entries)
{
    clear();
    for (const ListEntry &e : entries)
        addEntry(e);
}

void ItemList::removeAt(int index)
{
    delete takeItem(index);
}

int ItemList::selectedIndex() const
{
    const QList<QListWidgetItem *> selected = selectedItems();
    return selected.isEmpty() ? -1 : row(selected.first());
}

bool ItemList::isMarked(int index) const
{
    const QListWidgetItem *it = item(index);
    return it && it->isSelected();
}

void ItemList::setMarked(int index, bool marked)
{
    if (QListWidgetItem *it = item(index))
        it->setSelected(marked);
}
