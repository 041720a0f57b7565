#include "SignsToCheckDialog.h"

#include "Fonts.h"
#include "ItemList.h"
#include "SvgCursor.h"
#include "Twips.h"
#include "WindowPlacement.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <qdrawutil.h>

static void initResources()
{
    Q_INIT_RESOURCE(signselection);
}

namespace {

// The title's red, dark enough to read on the window's grey (contrast above 4.5:1).
const QColor TitleRed(192, 0, 0);

QLabel *wrappedLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

SignsToCheckDialog::SignsToCheckDialog(QWidget *parent, QList<SignsToCheck::Group> groups,
                                       const QList<ListEntry> &signes)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_groups(std::move(groups)), m_signes(signes)
{
    setObjectName(QStringLiteral("frmAVerifier"));
    setModal(true);
    setFixedSize(Twips::toPixels(6390, 7140));
    const QString title = QStringLiteral("Signes à vérifier");
    setWindowTitle(title);
    setAccessibleName(title);

    auto *titre = new QLabel(title, this);
    titre->setObjectName(QStringLiteral("Titre"));
    titre->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    titre->setFont(Fonts::msSansSerif(9.75, true));
    QPalette red = titre->palette();
    red.setColor(QPalette::WindowText, TitleRed);
    titre->setPalette(red);
    Twips::place(titre, 360, 120, 5655, 375);

    QWidget *body = nullptr;
    if (m_groups.isEmpty()) {
        auto *none = wrappedLabel(QStringLiteral("Aucun syndrome n'est classé : relevez d'abord des signes."), this);
        none->setObjectName(QStringLiteral("Groupes"));
        none->setAlignment(Qt::AlignCenter);
        none->setFont(Fonts::tahoma(8.25, true));
        body = none;
    } else {
        body = buildGroups();
    }
    Twips::place(body, 360, 600, 5655, 5460);
    buildButtons(!m_lists.isEmpty());
    if (!m_lists.isEmpty())
        m_lists.first()->setFocus(Qt::TabFocusReason);
    else
        m_choix[1]->setFocus();
    WindowPlacement::centreOnScreen(this);
}

SignsToCheckDialog::~SignsToCheckDialog() = default;

QWidget *SignsToCheckDialog::buildGroups()
{
    auto *area = m_area = new QScrollArea(this);
    area->setObjectName(QStringLiteral("Groupes"));
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setWidgetResizable(true);
    // Only the lists take the focus: the area scrolls to whichever has it.
    area->setFocusPolicy(Qt::NoFocus);
    auto *content = new QWidget(area);
    auto *column = new QVBoxLayout(content);
    column->setContentsMargins(4, 4, 4, 4);
    for (int i = 0; i < m_groups.size(); ++i)
        column->addWidget(buildGroup(i, content));
    column->addStretch(1);
    area->setWidget(content);
    return area;
}

QWidget *SignsToCheckDialog::buildGroup(int index, QWidget *parent)
{
    const SignsToCheck::Group &group = m_groups[index];
    auto *box = new QGroupBox(group.syndrome.text, parent);
    box->setObjectName(QStringLiteral("Groupe_%1").arg(index));
    box->setFont(Fonts::tahoma(8.25, true));
    auto *rows = new QVBoxLayout(box);
    // Tight, so that two groups fit the height the window has.
    rows->setContentsMargins(6, 4, 6, 6);
    rows->setSpacing(3);
    QLabel *found = wrappedLabel(group.found, box);
    found->setFont(Fonts::tahoma(8.25));
    rows->addWidget(found);

    if (group.toCheck.isEmpty()) {
        QLabel *none = wrappedLabel(QStringLiteral("Aucun signe à vérifier."), box);
        none->setFont(Fonts::tahoma(8.25));
        rows->addWidget(none);
        return box;
    }
    // The first would be confirmed by its signs; the others would come to the fore.
    QLabel *caption = wrappedLabel(index == 0 ? QStringLiteral("À vérifier, pour le confirmer :")
                                              : QStringLiteral("À vérifier, pour qu'il passe en tête :"),
                                   box);
    caption->setFont(Fonts::tahoma(8.25));
    rows->addWidget(caption);

    auto *list = new ItemList(box);
    list->setObjectName(QStringLiteral("ListeAVerifier_%1").arg(index));
    list->setAccessibleName(QStringLiteral("Signes à vérifier pour %1").arg(group.name));
    list->setAccessibleDescription(
        QStringLiteral("Espace ou clic : coche ou décoche le signe ; les signes cochés sont enregistrés par Valider"));
    list->setMarking(true);
    list->setFont(Fonts::tahoma(8.25, true));
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QList<ListEntry> entries;
    QStringList asides;
    for (const SignsToCheck::Sign &sign : group.toCheck) {
        entries.append(sign.entry);
        asides.append(SignsToCheck::alsoText(sign));
    }
    list->setEntries(entries, asides);
    for (int i = 0; i < group.toCheck.size(); ++i)
        list->setSpokenText(i, SignsToCheck::spokenName(group, group.toCheck[i]));
    // Whole: the area scrolls, the list does not.
    list->setFixedHeight(list->count() * list->sizeHintForRow(0) + 2 * list->frameWidth());
    connect(list, &ItemList::entryToggled, this,
            [this, list](int entry, bool marked) { markEverywhere(list->itemData(entry), marked); });
    list->installEventFilter(this);
    rows->addWidget(list);
    m_lists.append(list);
    return box;
}

void SignsToCheckDialog::buildButtons(bool offered)
{
    initResources();
    const char *captions[2] = {"Valider", "Annuler"};
    const char *descriptions[2] = {"Ajoute les signes cochés aux signes relevés et ferme la fenêtre",
                                   "Ferme la fenêtre sans rien relever"};
    const char *cursors[2] = {"valider.svg", "annuler.svg"};
    for (int i = 0; i < 2; ++i) {
        auto *button = new QPushButton(QString::fromLatin1(captions[i]), this);
        button->setObjectName(QStringLiteral("Choix_%1").arg(i));
        button->setAccessibleName(QString::fromLatin1(captions[i]));
        button->setAccessibleDescription(QString::fromUtf8(descriptions[i]));
        button->setFont(Fonts::msSansSerif(13.5));
        // Enter is handled by the dialog, for the focused button only.
        button->setAutoDefault(false);
        button->setDefault(false);
        button->setCursor(SvgCursor::fromResource(QStringLiteral(":/signselection/") + cursors[i], 1, 1));
        Twips::place(button, i == 0 ? 360 : 3480, 6360, 2535, 615);
        m_choix[i] = button;
    }
    // With nothing to check there is nothing to record.
    m_choix[0]->setEnabled(offered);
    connect(m_choix[0], &QPushButton::clicked, this, &QDialog::accept);
    connect(m_choix[1], &QPushButton::clicked, this, &QDialog::reject);
    QWidget *previous = nullptr;
    for (QWidget *next : std::as_const(m_lists)) {
        if (previous)
            setTabOrder(previous, next);
        previous = next;
    }
    if (previous)
        setTabOrder(previous, m_choix[0]);
    setTabOrder(m_choix[0], m_choix[1]);
}

void SignsToCheckDialog::markEverywhere(qint32 number, bool marked)
{
    for (ItemList *list : std::as_const(m_lists))
        for (int i = 0; i < list->count(); ++i)
            if (list->itemData(i) == number && list->isMarked(i) != marked)
                list->setMarked(i, marked);
}

QList<ListEntry> SignsToCheckDialog::validated() const
{
    QSet<qint32> marked;
    for (const ItemList *list : m_lists)
        for (int i = 0; i < list->count(); ++i)
            if (list->isMarked(i))
                marked.insert(list->itemData(i));
    return SignsToCheck::record(m_groups, m_signes, marked);
}

void SignsToCheckDialog::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        for (QPushButton *button : m_choix)
            if (button->hasFocus() && button->isEnabled())
                button->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool SignsToCheckDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn && m_area)
        if (auto *list = qobject_cast<ItemList *>(watched)) {
            m_area->ensureWidgetVisible(list->parentWidget(), 0, 0);
            m_area->ensureWidgetVisible(list, 0, 0);
        }
    return QDialog::eventFilter(watched, event);
}

void SignsToCheckDialog::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    // No title bar, so no frame from the window manager: a raised edge of our own, as the
    // sign dialog has.
    QPainter painter(this);
    qDrawShadePanel(&painter, rect(), palette(), false, 2);
}
