#include "ModalityDialog.h"

#include "BusyPointer.h"
#include "DatabaseError.h"
#include "DatabaseMessage.h"
#include "Fonts.h"
#include "ItemList.h"
#include "Shared.h"
#include "SvgCursor.h"
#include "Twips.h"

#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <qdrawutil.h>

#include <optional>

static void initResources()
{
    Q_INIT_RESOURCE(signselection);
}

namespace {

std::optional<qint32> selectedSyndrome(const ItemList &syndromes)
{
    const int selected = syndromes.selectedIndex();
    if (selected < 0)
        return std::nullopt;
    return syndromes.itemData(selected);
}

QCursor buttonCursor(const QString &file, int hotX, int hotY)
{
    initResources();
    return SvgCursor::fromResource(QStringLiteral(":/signselection/") + file, hotX, hotY);
}

} // namespace

void ModalityDialog::open(QWidget *parent, const QString &title, DataSource &listeValeurs, ItemList &signes,
                          const ItemList &syndromes)
{
    ModalityDialog dialog(parent, title, listeValeurs, signes, syndromes);
    dialog.exec();
}

void ModalityDialog::openSearch(QWidget *parent, DataSource &listeValeurs, ItemList &signes)
{
    ModalityDialog dialog(parent, listeValeurs, signes);
    dialog.exec();
}

ModalityDialog::ModalityDialog(QWidget *parent, const QString &title, DataSource &listeValeurs, ItemList &signes,
                               const ItemList &syndromes)
    : ModalityDialog(parent, title,
                     ModalityChoice(Shared::signeChoisi, Shared::categorieChoisie, selectedSyndrome(syndromes)),
                     listeValeurs, signes)
{}

ModalityDialog::ModalityDialog(QWidget *parent, DataSource &listeValeurs, ItemList &signes)
    : ModalityDialog(parent, QStringLiteral("Recherche de symptômes"), ModalityChoice::forSearch(), listeValeurs,
                     signes)
{}

ModalityDialog::ModalityDialog(QWidget *parent, const QString &title, ModalityChoice choice, DataSource &listeValeurs,
                               ItemList &signes)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_choice(std::move(choice)), m_signes(signes)
{
    const bool searching = m_choice.use() == ModalityChoice::Use::Search;
    setObjectName(QStringLiteral("frmModalités"));
    setModal(true);
    setFixedSize(Twips::toPixels(6390, 7140));
    setAccessibleName(title);

    m_titre = new QLabel(title, this);
    m_titre->setObjectName(QStringLiteral("Titre"));
    m_titre->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_titre->setFont(Fonts::msSansSerif(9.75, true));
    QPalette red = m_titre->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    m_titre->setPalette(red);
    Twips::place(m_titre, 360, 120, 5655, 375);

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
    if (searching) {
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
        connect(m_liste, &ItemList::entryToggled, this,
                [this](int index, bool marked) { m_choice.setMark(index, marked); });
    } else {
        Twips::place(m_liste, 360, 600, 5655, 5460);
    }

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
        // A dialog's buttons answer Enter by default; these answer only a click or Space.
        button->setAutoDefault(false);
        button->setDefault(false);
        button->setCursor(cursors[i]);
        Twips::place(button, i == 0 ? 360 : 3480, 6360, 2535, 615);
        m_choix[i] = button;
    }
    connect(m_choix[0], &QPushButton::clicked, this, &ModalityDialog::valider);
    connect(m_choix[1], &QPushButton::clicked, this, &ModalityDialog::annuler);
    if (m_recherche)
        setTabOrder(m_recherche, m_liste);
    setTabOrder(m_liste, m_choix[0]);
    setTabOrder(m_choix[0], m_choix[1]);

    try {
        // The search's word index is made from the whole base: on a large base, a moment.
        std::optional<BusyPointer::Scope> busy;
        if (m_recherche)
            busy.emplace();
        m_choice.load(listeValeurs);
    } catch (const DatabaseError &error) {
        m_searchFailed = true;
        DatabaseMessage::show(parent, error);
    }
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

    QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        QRect frame(QPoint(0, 0), size());
        frame.moveCenter(screen->geometry().center());
        move(frame.topLeft());
    }
}

ModalityDialog::~ModalityDialog()
{
    Shared::signeChoisi = 0;
    Shared::categorieChoisie = 0;
}

void ModalityDialog::done(int result)
{
    Shared::signeChoisi = 0;
    Shared::categorieChoisie = 0;
    QDialog::done(result);
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
    if (watched != m_recherche || event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
        if (m_recherche->text().isEmpty())
            annuler();
        else
            m_recherche->clear();
        return true;
    }
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
        (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
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
    showMarks();
    const int more = failed ? 0 : m_choice.more();
    m_liste->setNote(more > 0 ? QStringLiteral("… et %1 autres : précisez la recherche").arg(more) : QString());
}

void ModalityDialog::showMarks()
{
    const QList<bool> marks = m_choice.initialMarks(m_signes.entries());
    for (int i = 0; i < marks.size() && i < m_liste->count(); ++i)
        if (marks[i])
            m_liste->setMarked(i, true);
}

void ModalityDialog::valider()
{
    QList<bool> marked;
    marked.reserve(m_liste->count());
    for (int i = 0; i < m_liste->count(); ++i)
        marked.append(m_liste->isMarked(i));
    for (const ModalityChoice::Edit &edit : m_choice.valider(m_signes.entries(), marked)) {
        if (edit.kind == ModalityChoice::Edit::Kind::Remove) {
            m_signes.removeAt(edit.index);
        } else {
            m_signes.addEntry(edit.entry.text);
            m_signes.setItemData(m_signes.count() - 1, edit.entry.data);
        }
    }
    accept();
}

void ModalityDialog::annuler()
{
    reject();
}
