#include "ItemList.h"

#include "Contrast.h"
#include "TextFold.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QScopeGuard>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QToolTip>

#include <algorithm>

namespace {

// The mark itself; the selection and the check box only show it.
constexpr int MarkRole = Qt::UserRole + 1;
constexpr int AsideRole = Qt::UserRole + 2;
constexpr int NoteRole = Qt::UserRole + 3;

// Space between an entry's text and the dimmed text beside it (pixels).
constexpr int AsideGap = 12;
// The width of the keyboard focus's frames (pixels).
constexpr int FocusWidth = 2;

// The colour of the keyboard focus's frames: the palette's highlight, dark enough to read
// as clearly as text on the list.
QColor focusColour(const QPalette &palette)
{
    return Contrast::readable(palette.color(QPalette::Highlight), palette.color(QPalette::Base), 4.5);
}

void drawFocusFrame(QPainter &painter, const QRect &rect, const QColor &colour)
{
    painter.setPen(QPen(colour, FocusWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(rect).adjusted(FocusWidth / 2.0, FocusWidth / 2.0, -FocusWidth / 2.0, -FocusWidth / 2.0));
}

// The toolkit draws a scroll bar's handle near-white on a grey track, so the track reads as
// the handle and the bar as upside down: the handle is drawn again over it, dark enough to
// stand out from the track (3:1), darker still while it is dragged.
class ScrollHandleStyle final : public QProxyStyle
{
public:
    static ScrollHandleStyle *instance()
    {
        static QPointer<ScrollHandleStyle> style;
        if (!style) {
            style = new ScrollHandleStyle;
            style->setParent(qApp);
        }
        return style;
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                            const QWidget *widget) const override
    {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        if (control != CC_ScrollBar)
            return;
        const QRect handle = subControlRect(control, option, SC_ScrollBarSlider, widget);
        if (!handle.isValid() || !(option->state & State_Enabled))
            return;
        const bool dragged = (option->activeSubControls & SC_ScrollBarSlider) && (option->state & State_Sunken);
        const QColor track = option->palette.color(QPalette::Window);
        const QColor colour = Contrast::dimmed(option->palette.color(QPalette::WindowText), track, dragged ? 6.0 : 3.0);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        painter->setBrush(colour);
        painter->drawRoundedRect(QRectF(handle).adjusted(2, 1, -2, -1), 3, 3);
        painter->restore();
    }

private:
    ScrollHandleStyle() = default; // on the application's style, whichever it is
};

} // namespace

// The entries and the closing note. Rows past the entries hold the note.
class EntryModel final : public QAbstractListModel
{
public:
    struct Row {
        QString text;
        qint32 data = 0;
        bool hasData = false;
        bool marked = false;
        QString aside;
        QString spoken;
        bool enabled = true;
    };

    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(rows.size()) + (note.isEmpty() ? 0 : 1);
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid())
            return {};
        if (index.row() >= rows.size()) {
            if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
                return note;
            return role == NoteRole ? QVariant(true) : QVariant();
        }
        const Row &row = rows[index.row()];
        switch (role) {
        case Qt::DisplayRole:
            return row.text;
        case Qt::AccessibleTextRole:
            if (!row.spoken.isEmpty())
                return row.spoken;
            return row.aside.isEmpty() ? row.text : row.text + QStringLiteral(", catégorie ") + row.aside;
        case Qt::AccessibleDescriptionRole:
            return describe ? describe(index.row()) : QString();
        case Qt::UserRole:
            return row.hasData ? QVariant(row.data) : QVariant();
        case Qt::CheckStateRole:
            return checkBoxes && row.enabled ? QVariant(row.marked ? Qt::Checked : Qt::Unchecked) : QVariant();
        case MarkRole:
            return row.marked;
        case AsideRole:
            return row.aside.isEmpty() ? QVariant() : QVariant(row.aside);
        default:
            return {};
        }
    }

    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        // Not user-checkable: the check box only shows the mark, so a click on it toggles
        // once, through the list, like a click anywhere else on the entry.
        if (!index.isValid() || index.row() >= rows.size())
            return Qt::NoItemFlags;
        if (!rows[index.row()].enabled)
            return Qt::ItemNeverHasChildren;
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    }

    void append(Row row)
    {
        const int at = int(rows.size());
        beginInsertRows({}, at, at);
        rows.append(std::move(row));
        m_foldedValid = false;
        endInsertRows();
    }
    void replace(QList<Row> all)
    {
        beginResetModel();
        rows = std::move(all);
        m_foldedValid = false;
        endResetModel();
    }
    void remove(int row)
    {
        beginRemoveRows({}, row, row);
        rows.removeAt(row);
        m_foldedValid = false;
        endRemoveRows();
    }
    void setNote(const QString &text)
    {
        const int at = int(rows.size());
        if (note.isEmpty() == text.isEmpty()) {
            note = text;
            if (!note.isEmpty())
                changed(at);
        } else if (text.isEmpty()) {
            beginRemoveRows({}, at, at);
            note.clear();
            endRemoveRows();
        } else {
            beginInsertRows({}, at, at);
            note = text;
            endInsertRows();
        }
    }

    void changed(int row) { emit dataChanged(index(row), index(row)); }
    void allChanged()
    {
        if (!rows.isEmpty())
            emit dataChanged(index(0), index(int(rows.size()) - 1));
    }

    const QStringList &folded() const
    {
        if (!m_foldedValid) {
            m_folded.clear();
            m_folded.reserve(rows.size());
            for (const Row &row : rows)
                m_folded.append(TextFold::fold(row.text));
            m_foldedValid = true;
        }
        return m_folded;
    }

    QList<Row> rows;
    QString note;
    bool checkBoxes = false;
    std::function<QString(int)> describe;

private:
    mutable QStringList m_folded;
    mutable bool m_foldedValid = false;
};

namespace {

// Draws an entry as the toolkit does, then the dimmed text beside it; draws the note
// dimmed and slanted, never highlighted. Every row is as wide as the list: a longer entry
// is cut short with an ellipsis and its tip tells it whole.
class EntryDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // A little taller than the toolkit's rows, so that the focus frame clears the text.
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return {1, QStyledItemDelegate::sizeHint(option, index).height() + FocusWidth};
    }

    // The width the entry needs to show whole.
    int naturalWidth(const QStyleOptionViewItem &option, const QModelIndex &index) const
    {
        int width = QStyledItemDelegate::sizeHint(option, index).width();
        const QString aside = index.data(AsideRole).toString();
        if (!aside.isEmpty())
            width += AsideGap + option.fontMetrics.horizontalAdvance(aside);
        return width;
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QWidget *widget = option.widget;
        QStyle *style = widget ? widget->style() : QApplication::style();
        const bool isNote = index.data(NoteRole).toBool();
        const bool disabled = !isNote && !(index.flags() & Qt::ItemIsEnabled);
        const QString aside = index.data(AsideRole).toString();
        if (!isNote && !disabled && aside.isEmpty()) {
            style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
            drawFocus(painter, opt);
            return;
        }
        if (isNote) {
            opt.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus | QStyle::State_MouseOver);
            opt.font.setItalic(true);
            opt.fontMetrics = QFontMetrics(opt.font);
        }
        const QRect textRect =
            style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget)
                .adjusted(style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1, 0,
                          -(style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1), 0);
        const QString text = opt.text;
        opt.text.clear();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

        // The note and an entry that cannot be marked are drawn dimmed, not in the toolkit's
        // pale disabled grey: both are read all the same.
        const QPalette::ColorGroup group = (opt.state & QStyle::State_Active) ? QPalette::Normal : QPalette::Inactive;
        const bool selected = opt.state & QStyle::State_Selected;
        const QColor background = opt.palette.color(group, selected ? QPalette::Highlight : QPalette::Base);
        const QColor dimmed = Contrast::dimmed(
            opt.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text), background);
        const QColor colour =
            disabled ? dimmed : opt.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text);

        painter->save();
        painter->setFont(opt.font);
        const QFontMetrics &fm = opt.fontMetrics;
        const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
        if (isNote) {
            painter->setPen(dimmed);
            painter->drawText(textRect, flags, fm.elidedText(text, Qt::ElideRight, textRect.width()));
        } else {
            painter->setPen(colour);
            const int width = fm.horizontalAdvance(text);
            painter->drawText(textRect, flags, fm.elidedText(text, Qt::ElideRight, textRect.width()));
            const QRect asideRect = textRect.adjusted(width + AsideGap, 0, 0, 0);
            if (asideRect.width() > fm.horizontalAdvance(QStringLiteral("…"))) {
                painter->setPen(dimmed);
                painter->drawText(asideRect, flags, fm.elidedText(aside, Qt::ElideRight, asideRect.width()));
            }
        }
        painter->restore();
        drawFocus(painter, opt);
    }

private:
    // The current entry of a list that has the keyboard: a frame as wide as the list's own.
    static void drawFocus(QPainter *painter, const QStyleOptionViewItem &opt)
    {
        if (!(opt.state & QStyle::State_HasFocus) || !opt.widget || !opt.widget->hasFocus())
            return;
        painter->save();
        drawFocusFrame(*painter, opt.rect, focusColour(opt.palette));
        // A light line inside it keeps the frame apart from a highlighted entry.
        painter->setPen(QPen(opt.palette.color(QPalette::Base), 1));
        painter->drawRect(
            QRectF(opt.rect).adjusted(FocusWidth + 0.5, FocusWidth + 0.5, -FocusWidth - 0.5, -FocusWidth - 0.5));
        painter->restore();
    }
};

} // namespace

ItemList::ItemList(QWidget *parent)
    : QListView(parent), m_model(new EntryModel(this)), m_typed(QApplication::keyboardInputInterval())
{
    setModel(m_model);
    setItemDelegate(new EntryDelegate(this));
    // One row height for all: the list lays out a few thousand entries without measuring
    // each one.
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &index) {
        if (index.row() < count())
            emit entryDoubleClicked(index.row());
    });
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &ItemList::updateHint);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, &ItemList::updateHint);
    connect(m_model, &QAbstractItemModel::modelReset, this, &ItemList::updateHint);
    verticalScrollBar()->setStyle(ScrollHandleStyle::instance());
    m_clock.start();
}

void ItemList::setTipProvider(TipProvider provider)
{
    m_tipProvider = std::move(provider);
    m_model->describe = m_tipProvider;
}

ItemList::~ItemList() = default;

void ItemList::setMarking(bool on, bool checkBoxes)
{
    m_marking = on;
    m_model->checkBoxes = on && checkBoxes;
    // In marking mode the view itself never selects: selecting is how the toolkit's
    // many-marks mode let type-ahead and arrow keys change marks. The selection only
    // mirrors the marks this class sets.
    setSelectionMode(on ? QAbstractItemView::NoSelection : QAbstractItemView::SingleSelection);
    m_model->allChanged();
}

int ItemList::count() const
{
    return int(m_model->rows.size());
}

void ItemList::addEntry(const QString &text)
{
    m_model->append({text, 0, false, false, {}, {}});
}

void ItemList::addEntry(const ListEntry &entry, const QString &aside)
{
    m_model->append({entry.text, entry.data, true, false, aside, {}});
}

QString ItemList::text(int index) const
{
    return index >= 0 && index < count() ? m_model->rows[index].text : QString();
}

qint32 ItemList::itemData(int index) const
{
    return index >= 0 && index < count() ? m_model->rows[index].data : 0;
}

bool ItemList::hasItemData(int index) const
{
    return index >= 0 && index < count() && m_model->rows[index].hasData;
}

void ItemList::setItemData(int index, qint32 data)
{
    if (index < 0 || index >= count())
        return;
    m_model->rows[index].data = data;
    m_model->rows[index].hasData = true;
    m_model->changed(index);
}

ListEntry ItemList::entry(int index) const
{
    return {text(index), itemData(index)};
}

QList<ListEntry> ItemList::entries() const
{
    QList<ListEntry> all;
    all.reserve(count());
    for (const EntryModel::Row &row : std::as_const(m_model->rows))
        all.append({row.text, row.data});
    return all;
}

void ItemList::setEntries(const QList<ListEntry> &entries, const QStringList &asides)
{
    QList<EntryModel::Row> rows;
    rows.reserve(entries.size());
    for (qsizetype i = 0; i < entries.size(); ++i)
        rows.append({entries[i].text, entries[i].data, true, false, asides.value(i), {}});
    m_model->replace(std::move(rows));
}

void ItemList::removeAt(int index)
{
    if (index >= 0 && index < count())
        m_model->remove(index);
}

void ItemList::removeAll()
{
    m_model->setNote(QString());
    m_model->replace({});
}

void ItemList::setSpokenText(int index, const QString &spoken)
{
    if (index < 0 || index >= count())
        return;
    m_model->rows[index].spoken = spoken;
    m_model->changed(index);
}

void ItemList::setNote(const QString &note)
{
    m_model->setNote(note);
}

QString ItemList::note() const
{
    return m_model->note;
}

QString ItemList::aside(int index) const
{
    return index >= 0 && index < count() ? m_model->rows[index].aside : QString();
}

int ItemList::selectedIndex() const
{
    int first = -1;
    for (const QModelIndex &index : selectionModel()->selectedIndexes())
        if (index.row() < count() && (first < 0 || index.row() < first))
            first = index.row();
    return first;
}

int ItemList::currentRow() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() && current.row() < count() ? current.row() : -1;
}

void ItemList::setCurrentRow(int index)
{
    // As a click would: selects the entry in the ordinary mode, only moves in marking mode.
    setCurrentIndex(modelIndex(index));
}

bool ItemList::isMarked(int index) const
{
    return index >= 0 && index < count() && m_model->rows[index].marked;
}

void ItemList::setMarked(int index, bool marked)
{
    if (index < 0 || index >= count())
        return;
    m_model->rows[index].marked = marked;
    m_model->changed(index);
    selectionModel()->select(modelIndex(index), marked ? QItemSelectionModel::Select : QItemSelectionModel::Deselect);
}

void ItemList::setEntryEnabled(int index, bool enabled)
{
    if (index < 0 || index >= count())
        return;
    m_model->rows[index].enabled = enabled;
    if (!enabled)
        setMarked(index, false);
    m_model->changed(index);
}

bool ItemList::isEntryEnabled(int index) const
{
    return index >= 0 && index < count() && m_model->rows[index].enabled;
}

void ItemList::setHint(const QString &hint)
{
    m_hint = hint;
    updateHint();
}

bool ItemList::isHintShown() const
{
    return !m_hint.isEmpty() && m_model->rowCount() == 0;
}

void ItemList::updateHint()
{
    const bool shown = isHintShown();
    if (shown && !m_hintShown)
        m_description = accessibleDescription();
    if (shown)
        setAccessibleDescription(m_hint);
    else if (m_hintShown)
        setAccessibleDescription(m_description);
    m_hintShown = shown;
    viewport()->update();
}

QRect ItemList::entryRect(int index) const
{
    return visualRect(modelIndex(index));
}

QModelIndex ItemList::modelIndex(int index) const
{
    return index >= 0 && index < count() ? m_model->index(index) : QModelIndex();
}

void ItemList::toggle(int index)
{
    if (!isEntryEnabled(index))
        return;
    setMarked(index, !isMarked(index));
    emit entryToggled(index, isMarked(index));
}

bool ItemList::fits(int index) const
{
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const auto *delegate = static_cast<const EntryDelegate *>(itemDelegate());
    return delegate->naturalWidth(option, modelIndex(index)) <= viewport()->width();
}

QString ItemList::tipText(int index) const
{
    if (index < 0 || index >= count())
        return {};
    const EntryModel::Row &row = m_model->rows[index];
    const QString whole = row.aside.isEmpty() ? row.text : row.text + QStringLiteral(" — ") + row.aside;
    const QString said = m_tipProvider ? m_tipProvider(index) : QString();
    // Always marked up: a text escaped but shown as plain would read "&lt;" for "<".
    if (said.isEmpty())
        return fits(index) ? QString()
                           : QStringLiteral("<p style=\"white-space:pre\">%1</p>").arg(whole.toHtmlEscaped());
    // Rich text, so that a long explanation wraps instead of running off the screen; a
    // short one stays on one line, which the toolkit would otherwise fold into a column.
    constexpr qsizetype OneLine = 80;
    return QStringLiteral("<p style=\"white-space:pre\"><b>%1</b></p><p%3>%2</p>")
        .arg(whole.toHtmlEscaped(), said.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>")),
             said.size() <= OneLine ? QStringLiteral(" style=\"white-space:pre\"") : QString());
}

void ItemList::showTipAt(int index)
{
    const QString tip = tipText(index);
    const QRect rect = entryRect(index);
    if (tip.isEmpty() || rect.isEmpty()) {
        QToolTip::hideText();
        return;
    }
    QToolTip::showText(viewport()->mapToGlobal(QPoint(rect.left() + rect.height(), rect.top())), tip, viewport(), rect);
}

const QStringList &ItemList::foldedTexts() const
{
    return m_model->folded();
}

void ItemList::keyboardSearch(const QString &search)
{
    const int found = m_typed.type(search, m_clock.elapsed(), foldedTexts(), currentRow());
    if (found < 0)
        return;
    // In marking mode the view selects nothing, so this moves the current entry only; in
    // the ordinary mode it selects the entry found, as a click would.
    setCurrentRow(found);
    scrollTo(modelIndex(found));
}

void ItemList::paintEvent(QPaintEvent *event)
{
    QListView::paintEvent(event);
    QPainter painter(viewport());
    // Along the edge of the list (inside its thin frame): it has the keyboard.
    if (hasFocus())
        drawFocusFrame(painter, viewport()->rect(), focusColour(palette()));
    if (!isHintShown())
        return;
    // Grey, whatever colour the entries take (the ranked syndromes are red).
    painter.setPen(Contrast::dimmed(palette().color(QPalette::WindowText), palette().color(QPalette::Base)));
    // In the face the menus already use: the list's own may not be loaded yet, and loading
    // one at start-up, for a line of help, cost a tenth of the program's own work there.
    // Each property set, or the painter would take the list's own (bold) in its place.
    QFont font = QApplication::font();
    font.setFamilies(font.families());
    font.setPointSizeF(font.pointSizeF());
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    painter.setFont(font);
    const int margin = QFontMetrics(font).height() / 2;
    painter.drawText(viewport()->rect().adjusted(margin, margin, -margin, -margin),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, m_hint);
}

void ItemList::scrollContentsBy(int dx, int dy)
{
    QListView::scrollContentsBy(dx, dy);
    // Scrolling moves what is drawn: the focus frame along the edge is drawn again.
    if (hasFocus())
        viewport()->update();
}

void ItemList::focusInEvent(QFocusEvent *event)
{
    QListView::focusInEvent(event);
    // Reached by Tab, a list of one selection selects the entry it is on, as the arrows
    // would: the toolkit leaves it unselected, and the commands on the selected entry
    // (Delete, Ctrl+X) would do nothing on the entry the frame shows.
    const bool tabbed = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
    if (!m_marking && tabbed && selectedIndex() < 0 && count() > 0)
        setCurrentRow(std::max(currentRow(), 0));
    viewport()->update();
}

void ItemList::focusOutEvent(QFocusEvent *event)
{
    QListView::focusOutEvent(event);
    viewport()->update();
}

void ItemList::keyPressEvent(QKeyEvent *event)
{
    // Whatever the key moves to is "selected with the keyboard": its tip shows.
    m_keyMove = true;
    const auto done = qScopeGuard([this] { m_keyMove = false; });
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && !m_marking && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && currentRow() >= 0) {
        emit entryActivated(currentRow());
        event->accept();
        return;
    }
    const bool space = event->key() == Qt::Key_Space || event->key() == Qt::Key_Select;
    if (space && event->modifiers() == Qt::NoModifier) {
        // A blank typed in the middle of a word search is part of it ("Pouls s").
        if (m_typed.goesOn(m_clock.elapsed())) {
            keyboardSearch(event->text());
        } else if (m_marking && currentRow() >= 0) {
            toggle(currentRow());
        } else {
            QListView::keyPressEvent(event);
            return;
        }
        event->accept();
        return;
    }
    QListView::keyPressEvent(event);
}

void ItemList::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QListView::currentChanged(current, previous);
    // The note belongs with the last entry: reaching it brings the note into view.
    if (current.isValid() && current.row() == count() - 1 && !note().isEmpty())
        scrollTo(m_model->index(count()));
    if (m_keyMove && current.isValid() && current.row() < count())
        showTipAt(current.row());
}

QModelIndex ItemList::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex moved = QListView::moveCursor(cursorAction, modifiers);
    return moved.isValid() && moved.row() >= count() ? modelIndex(count() - 1) : moved;
}

void ItemList::mousePressEvent(QMouseEvent *event)
{
    QListView::mousePressEvent(event);
    if (!m_marking || event->button() != Qt::LeftButton)
        return;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && index.row() < count())
        toggle(index.row());
}

void ItemList::mouseDoubleClickEvent(QMouseEvent *event)
{
    // Each click toggles, the second of a double-click too.
    const QModelIndex pressed = currentIndex();
    QListView::mouseDoubleClickEvent(event);
    if (!m_marking || event->button() != Qt::LeftButton)
        return;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && index == pressed && index.row() < count())
        toggle(index.row());
}

bool ItemList::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const QModelIndex index = indexAt(help->pos());
        const QString tip = index.isValid() ? tipText(index.row()) : QString();
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, viewport(), visualRect(index));
        return true;
    }
    return QListView::viewportEvent(event);
}
