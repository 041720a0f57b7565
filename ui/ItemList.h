#pragma once

#include "ListEntry.h"
#include "TypeAhead.h"

#include <QElapsedTimer>
#include <QListWidget>

// A list box whose entries carry one signed 32-bit item data beside their text.
// Unsorted. Typing moves to the entry whose text or one of whose words begins with what
// was typed, accents and case aside.
//
// In marking mode any number of entries can be marked, and a mark changes only when the
// practitioner means it: a click or the space bar toggles the current entry; typing,
// arrows, Home/End and the page keys only move the current entry. Marked entries are
// highlighted and, where marks mean something, show a ticked check box as well.
class ItemList final : public QListWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ItemList)

public:
    explicit ItemList(QWidget *parent = nullptr);

    // `checkBoxes`: whether each entry shows a check box mirroring its mark.
    void setMarking(bool on, bool checkBoxes = true);
    bool isMarking() const { return m_marking; }

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

    void keyboardSearch(const QString &search) override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void prepare(QListWidgetItem *item) const;
    void toggle(int index);
    QStringList foldedTexts() const;

    bool m_marking = false;
    bool m_checkBoxes = false;
    TypeAhead::Buffer m_typed;
    QElapsedTimer m_clock;
};
