#include "ItemList.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

namespace {

// The mark itself; the selection and the check box only show it.
constexpr int MarkRole = Qt::UserRole + 1;

} // namespace

ItemList::ItemList(QWidget *parent) : QListWidget(parent), m_typed(QApplication::keyboardInputInterval())
{
    setSortingEnabled(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    m_clock.start();
}

void ItemList::setMarking(bool on, bool checkBoxes)
{
    m_marking = on;
    m_checkBoxes = on && checkBoxes;
    // In marking mode the view itself never selects: selecting is how the toolkit's
    // many-marks mode let type-ahead and arrow keys change marks. The selection only
    // mirrors the marks this class sets.
    setSelectionMode(on ? QAbstractItemView::NoSelection : QAbstractItemView::SingleSelection);
    for (int i = 0; i < count(); ++i)
        prepare(item(i));
}

void ItemList::prepare(QListWidgetItem *item) const
{
    // Not user-checkable: the check box only shows the mark, so a click on it toggles once,
    // through this class, like a click anywhere else on the entry.
    if (m_checkBoxes)
        item->setData(Qt::CheckStateRole, item->data(MarkRole).toBool() ? Qt::Checked : Qt::Unchecked);
    else
        item->setData(Qt::CheckStateRole, QVariant());
}

void ItemList::addEntry(const QString &text)
{
    auto *item = new QListWidgetItem(text);
    prepare(item);
    addItem(item);
}

void ItemList::addEntry(const ListEntry &entry)
{
    auto *item = new QListWidgetItem(entry.text);
    item->setData(Qt::UserRole, entry.data);
    prepare(item);
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
    return it && it->data(MarkRole).toBool();
}

void ItemList::setMarked(int index, bool marked)
{
    QListWidgetItem *it = item(index);
    if (!it)
        return;
    it->setData(MarkRole, marked);
    prepare(it);
    selectionModel()->select(indexFromItem(it), marked ? QItemSelectionModel::Select : QItemSelectionModel::Deselect);
}

void ItemList::toggle(int index)
{
    setMarked(index, !isMarked(index));
}

QStringList ItemList::foldedTexts() const
{
    QStringList texts;
    texts.reserve(count());
    for (int i = 0; i < count(); ++i)
        texts.append(TypeAhead::fold(text(i)));
    return texts;
}

void ItemList::keyboardSearch(const QString &search)
{
    const int found = m_typed.type(search, m_clock.elapsed(), foldedTexts(), currentRow());
    if (found < 0)
        return;
    // In marking mode the view selects nothing, so this moves the current entry only; in
    // the ordinary mode it selects the entry found, as a click would.
    setCurrentRow(found);
    scrollToItem(item(found));
}

void ItemList::keyPressEvent(QKeyEvent *event)
{
    const bool space = event->key() == Qt::Key_Space || event->key() == Qt::Key_Select;
    if (space && event->modifiers() == Qt::NoModifier) {
        // A blank typed in the middle of a word search is part of it ("Pouls s").
        if (m_typed.goesOn(m_clock.elapsed())) {
            keyboardSearch(event->text());
        } else if (m_marking && currentRow() >= 0) {
            toggle(currentRow());
        } else {
            QListWidget::keyPressEvent(event);
            return;
        }
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}

void ItemList::mousePressEvent(QMouseEvent *event)
{
    QListWidget::mousePressEvent(event);
    if (!m_marking || event->button() != Qt::LeftButton)
        return;
    if (QListWidgetItem *it = itemAt(event->position().toPoint()))
        toggle(row(it));
}

void ItemList::mouseDoubleClickEvent(QMouseEvent *event)
{
    // Each click toggles, the second of a double-click too.
    const QListWidgetItem *pressed = currentItem();
    QListWidget::mouseDoubleClickEvent(event);
    if (!m_marking || event->button() != Qt::LeftButton)
        return;
    QListWidgetItem *it = itemAt(event->position().toPoint());
    if (it && it == pressed)
        toggle(row(it));
}
