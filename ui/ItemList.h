#pragma once

#include "ListEntry.h"
#include "TypeAhead.h"

#include <QElapsedTimer>
#include <QListView>

#include <functional>

class EntryModel;

// A list box whose entries carry one signed 32-bit item data beside their text.
// Unsorted. Typing moves to the entry whose text or one of whose words begins with what
// was typed, accents and case aside.
//
// In marking mode any number of entries can be marked, and a mark changes only when the
// practitioner means it: a click or the space bar toggles the current entry; typing,
// arrows, Home/End and the page keys only move the current entry. Marked entries are
// highlighted and, where marks mean something, show a ticked check box as well.
//
// The entries live in a model of their own rather than one widget item each, so that a
// list of a few thousand entries fills within a display frame. An entry may carry a
// dimmed text beside it (its category, say) that is not part of its text, and the list
// may end with a note that is no entry: not counted, not markable, not in entries().
//
// Hovering an entry, or moving to it with the keyboard, shows its tip: what the tip
// provider says of it, and its whole text when it does not fit the list; a screen reader
// reads the same as the entry's description.
//
// An empty list may show a hint inside it (where to start, why it is empty): drawn over
// the list, never an entry, and the list's accessible description while it shows. The
// keyboard focus is drawn as a frame around the list and the current entry, clear enough
// to find at a glance.
class ItemList final : public QListView
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ItemList)

public:
    explicit ItemList(QWidget *parent = nullptr);
    ~ItemList() override;

    // `checkBoxes`: whether each entry shows a check box mirroring its mark.
    void setMarking(bool on, bool checkBoxes = true);
    bool isMarking() const { return m_marking; }

    int count() const;
    void addEntry(const QString &text); // an entry without item data
    void addEntry(const ListEntry &entry, const QString &aside = QString());
    QString text(int index) const;
    qint32 itemData(int index) const;
    bool hasItemData(int index) const;
    void setItemData(int index, qint32 data);
    ListEntry entry(int index) const;
    QList<ListEntry> entries() const;
    // Replaces every entry at once (unmarked); `asides`, when given, one per entry.
    void setEntries(const QList<ListEntry> &entries, const QStringList &asides = {});
    void removeAt(int index);
    void removeAll();

    // What a screen reader says of entry `index` instead of its text (and the text beside
    // it); empty for the text.
    void setSpokenText(int index, const QString &spoken);

    // The dimmed line after the last entry; empty for none.
    void setNote(const QString &note);
    QString note() const;
    QString aside(int index) const;

    // Index of the selected entry, negative when none.
    int selectedIndex() const;
    int currentRow() const;
    void setCurrentRow(int index);
    bool isMarked(int index) const;
    void setMarked(int index, bool marked);
    // An entry that can be marked (the default), or one shown dimmed, without a check box,
    // that neither a click nor a key marks.
    void setEntryEnabled(int index, bool enabled);
    bool isEntryEnabled(int index) const;

    // The hint drawn inside the list while it has no entry; empty for none. Set the list's
    // accessible description first: the hint stands in for it only while it shows.
    void setHint(const QString &hint);
    QString hint() const { return m_hint; }
    bool isHintShown() const;
    // Where entry `index` stands in the viewport.
    QRect entryRect(int index) const;
    QModelIndex modelIndex(int index) const;

    // What the tip of entry `index` says beside its text, a line per line of it; empty for
    // nothing. Called on hovering and on keyboard moves, so it must not raise a window of
    // its own.
    using TipProvider = std::function<QString(int index)>;
    void setTipProvider(TipProvider provider);
    // The tip of entry `index` as it is shown (rich text), empty when there is none.
    QString tipText(int index) const;

    void keyboardSearch(const QString &search) override;

signals:
    // The practitioner toggled the mark of entry `index` (click or space bar); never sent
    // for marks the program sets.
    void entryToggled(int index, bool marked);
    void entryDoubleClicked(int index);
    // Enter on the current entry, outside marking mode: what a double-click does.
    void entryActivated(int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    // The keys never stop on the note: End and the keys past the last entry stay on it.
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;

private:
    void toggle(int index);
    bool fits(int index) const;
    void showTipAt(int index);
    const QStringList &foldedTexts() const;
    void updateHint();

    EntryModel *m_model = nullptr;
    bool m_marking = false;
    bool m_keyMove = false;
    TypeAhead::Buffer m_typed;
    QElapsedTimer m_clock;
    TipProvider m_tipProvider;
    QString m_hint;
    bool m_hintShown = false;
    QString m_description; // the accessible description the hint stands in for
};
