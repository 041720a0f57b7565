#pragma once

#include "ListEntry.h"

#include <QListWidget>

// A list box whose entries carry one signed 32-bit item data beside their text.
// Unsorted. In marking mode any number of entries can be marked, a click toggling one.
class ItemList final : public QListWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ItemList)

public:
    explicit ItemList(QWidget *parent = nullptr);

    void setMarking(bool on);

    int count() const { return QListWidget::count(); }
    void addEntry(const QString &text);
    void addEntry(const ListEntry &entry);
    QString text(int index) const;
    qint32 itemData(int index) const;
    void setItemData(int index, qint32 data);
    ListEntry entry(int index) const;
    QList<ListEntry> entries() const;
    void setEntries(const QList<ListEntry> &entries);
    void removeAt(int index);
    void removeAll() { clear(); }

    // Index of the selected entry, negative when none.
    int selectedIndex() const;
    bool isMarked(int index) const;
    void setMarked(int index, bool marked);
};
