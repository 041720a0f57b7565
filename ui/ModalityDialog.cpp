#include "ModalityDialog.h"

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

ModalityDialog::ModalityDialog(QWidget *parent, const QString &title, DataSource &listeValeurs, ItemList &signes,
                               const ItemList &syndromes)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      m_choice(Shared::signeChoisi, Shared::categorieChoisie, selectedSyndrome(syndromes)), m_signes(signes)
{
    setObjectName(QStringLiteral("frmModalités"));
    setModal(true);
    setFixedSize(Twips::toPixels(6390, 7140));

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
    // The syndromes of a sign are read only: their marks change nothing, so no check boxes.
    m_liste->setMarking(true, m_choice.entriesCarryItemData());
    m_liste->setFont(Fonts::tahoma(8.25, true));
    Twips::place(m_liste, 360, 600, 5655, 5460);

    const char *captions[2] = {"Valider", "Annuler"};
    const QCursor cursors[2] = {buttonCursor(QStringLiteral("valider.svg"), 1, 1),
                                buttonCursor(QStringLiteral("annuler.svg"), 1, 1)};
    for (int i = 0; i < 2; ++i) {
        auto *button = new QPushButton(QString::fromLatin1(captions[i]), this);
        button->setObjectName(QStringLiteral("Choix_%1").arg(i));
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

    try {
        m_choice.load(listeValeurs);
    } catch (const DatabaseError &error) {
        DatabaseMessage::show(parent, error);
    }
    for (const ListEntry &entry : m_choice.entries()) {
        if (m_choice.entriesCarryItemData())
            m_liste->addEntry(entry);
        else
            m_liste->addEntry(entry.text);
    }
    const QList<bool> marks = m_choice.initialMarks(m_signes.entries());
    for (int i = 0; i < marks.size(); ++i)
        if (marks[i])
            m_liste->setMarked(i, true);
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

void ModalityDialog::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    // Without a title bar the window manager draws no frame either: a raised edge of our
    // own keeps the dialog apart from the window beneath it.
    QPainter painter(this);
    qDrawShadePanel(&painter, rect(), palette(), false, 2);
}

void ModalityDialog::valider()
{
    QList<bool> marked;
    marked.reserve(m_choice.nombreEntrees());
    for (int i = 0; i < m_choice.nombreEntrees(); ++i)
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
