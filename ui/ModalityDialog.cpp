#include "ModalityDialog.h"

#include "Contrast.h"
#include "DatabaseError.h"
#include "DatabaseMessage.h"
#include "Fonts.h"
#include "ItemList.h"
#include "SvgCursor.h"
#include "Twips.h"
#include "WindowPlacement.h"

#include <QCursor>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <qdrawutil.h>

static void initResources()
{
    Q_INIT_RESOURCE(signselection);
}

namespace {

QCursor buttonCursor(const QString &file, int hotX, int hotY)
{
    initResources();
    return SvgCursor::fromResource(QStringLiteral(":/signselection/") + file, hotX, hotY);
}

} // namespace

ModalityDialog::ModalityDialog(QWidget *parent, const QString &title, ModalityChoice choice,
                               const QList<ListEntry> &signes)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_choice(std::move(choice)), m_signes(signes)
{
    setObjectName(QStringLiteral("frmModalités"));
    setModal(true);
    setFixedSize(Twips::toPixels(6390, 7140));
    setAccessibleName(title);

    buildTitle(title);
    buildList(title);
    if (m_choice.use() == ModalityChoice::Use::Search)
        buildSearchField();
    buildButtons();

    if (m_choice.entriesCarryItemData()) {
        m_liste->setEntries(m_choice.entries());
    } else {
        for (const ListEntry &entry : m_choice.entries())
            m_liste->addEntry(entry.text);
    }
    showMarks();
    if (m_recherche)
        m_recherche->setFocus();
    else
        m_liste->setFocus();
    WindowPlacement::centreOnScreen(this);
}

void ModalityDialog::buildTitle(const QString &title)
{
    m_titre = new QLabel(title, this);
    m_titre->setObjectName(QStringLiteral("Titre"));
    m_titre->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_titre->setFont(Fonts::msSansSerif(9.75, true));
    // Red, dark enough to read on the dialog's face.
    QPalette red = m_titre->palette();
    red.setColor(QPalette::WindowText, Contrast::readable(QColor(255, 0, 0), red.color(QPalette::Window)));
    m_titre->setPalette(red);
    Twips::place(m_titre, 360, 120, 5655, 375);
}

void ModalityDialog::buildList(const QString &title)
{
    const bool searching = m_choice.use() == ModalityChoice::Use::Search;
    m_liste = new ItemList(this);
    m_liste->setObjectName(QStringLiteral("ListeModalités"));
    m_liste->setAccessibleName(searching ? QStringLiteral("Signes trouvés") : title);
    m_liste->setAccessibleDescription(
        m_choice.entriesCarryItemData()
            ? QStringLiteral("Espace ou clic : coche ou décoche le signe ; les signes cochés sont enregistrés par "
                             "Valider")
            : QString());
    // The syndromes of a sign are read only: their marks change nothing, so no check boxes.
    m_liste->setMarking(true, m_choice.entriesCarryItemData());
    m_liste->setFont(Fonts::tahoma(8.25, true));
    Twips::place(m_liste, 360, 600, 5655, 5460);
}

void ModalityDialog::buildSearchField()
{
    // The field takes the top of the list's place; the list keeps its width and bottom.
    m_recherche = new QLineEdit(this);
    m_recherche->setObjectName(QStringLiteral("Recherche"));
    m_recherche->setAccessibleName(QStringLiteral("Rechercher un signe"));
    m_recherche->setAccessibleDescription(
        QStringLiteral("Le début des mots du signe ou de sa catégorie ; Entrée : aller à la liste ; Échap : "
                       "effacer"));
    m_recherche->setPlaceholderText(QStringLiteral("Début des mots du signe ou de sa catégorie"));
    m_recherche->setFont(Fonts::tahoma(8.25, true));
    m_recherche->installEventFilter(this);
    Twips::place(m_recherche, 360, 600, 5655, 375);
    Twips::place(m_liste, 360, 1080, 5655, 4980);
    connect(m_recherche, &QLineEdit::textChanged, this, &ModalityDialog::search);
    connect(m_liste, &ItemList::entryToggled, this, [this](int index, bool marked) {
        m_choice.setMark(index, marked);
        // A retired sign's entry marks its live signs, listed beside it perhaps.
        showMarks();
    });
}

void ModalityDialog::buildButtons()
{
    const char *captions[2] = {"Valider", "Annuler"};
    const char *descriptions[2] = {"Enregistre les signes cochés et ferme la liste",
                                   "Ferme la liste sans rien changer"};
    const QCursor cursors[2] = {buttonCursor(QStringLiteral("valider.svg"), 1, 1),
                                buttonCursor(QStringLiteral("annuler.svg"), 1, 1)};
    for (int i = 0; i < 2; ++i) {
        auto *button = new QPushButton(QString::fromLatin1(captions[i]), this);
        button->setObjectName(QStringLiteral("Choix_%1").arg(i));
        button->setAccessibleName(QString::fromLatin1(captions[i]));
        button->setAccessibleDescription(QString::fromUtf8(descriptions[i]));
        button->setFont(Fonts::msSansSerif(13.5));
        // No button is the dialog's default: Enter presses only the button that has the
        // keyboard (see eventFilter), never one elsewhere in the dialog.
        button->setAutoDefault(false);
        button->setDefault(false);
        button->installEventFilter(this);
        button->setCursor(cursors[i]);
        Twips::place(button, i == 0 ? 360 : 3480, 6360, 2535, 615);
        m_choix[i] = button;
    }
    connect(m_choix[0], &QPushButton::clicked, this, &QDialog::accept);
    connect(m_choix[1], &QPushButton::clicked, this, &QDialog::reject);
    if (m_recherche)
        setTabOrder(m_recherche, m_liste);
    setTabOrder(m_liste, m_choix[0]);
    setTabOrder(m_choix[0], m_choix[1]);
}

ModalityDialog::~ModalityDialog() = default;

QList<ListEntry> ModalityDialog::validated() const
{
    QList<bool> marked;
    marked.reserve(m_liste->count());
    for (int i = 0; i < m_liste->count(); ++i)
        marked.append(m_liste->isMarked(i));
    return m_choice.valider(m_signes, marked);
}

void ModalityDialog::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool ModalityDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    const bool enter = (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
                       (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (auto *button = qobject_cast<QPushButton *>(watched); button && enter) {
        button->click();
        return true;
    }
    if (watched != m_recherche)
        return QDialog::eventFilter(watched, event);
    if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
        if (m_recherche->text().isEmpty())
            reject();
        else
            m_recherche->clear();
        return true;
    }
    if (enter) {
        // As Tab would: the first entry found becomes the one Space marks.
        m_liste->setFocus(Qt::TabFocusReason);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void ModalityDialog::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    // Without a title bar the window manager draws no frame either: a raised edge of our
    // own keeps the dialog apart from the window beneath it.
    QPainter painter(this);
    qDrawShadePanel(&painter, rect(), palette(), false, 2);
}

void ModalityDialog::search(const QString &typed)
{
    try {
        if (!m_searchFailed)
            m_choice.find(typed);
    } catch (const DatabaseError &error) {
        // Told once: a failing base would otherwise answer every keystroke with a message.
        m_searchFailed = true;
        DatabaseMessage::show(this, error);
    }
    const bool failed = m_searchFailed;
    m_liste->setEntries(failed ? QList<ListEntry>() : m_choice.entries(),
                        failed ? QStringList() : m_choice.categories());
    for (int i = 0; i < m_liste->count(); ++i)
        if (!m_choice.isMarkable(i))
            m_liste->setEntryEnabled(i, false);
    showMarks();
    const int more = failed ? 0 : m_choice.more();
    m_liste->setNote(more > 0 ? QStringLiteral("… et %1 autres : précisez la recherche").arg(more) : QString());
}

void ModalityDialog::showMarks()
{
    const QList<bool> marks = m_choice.initialMarks(m_signes);
    for (int i = 0; i < marks.size() && i < m_liste->count(); ++i)
        if (marks[i] != m_liste->isMarked(i))
            m_liste->setMarked(i, marks[i]);
}
