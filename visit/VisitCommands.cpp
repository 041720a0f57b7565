#include "VisitCommands.h"

#include "Beep.h"
#include "ItemList.h"
#include "MessageBox.h"
#include "PrintSpooler.h"
#include "SystemPrinters.h"
#include "VisitRules.h"
#ifdef TESSAVOR_HAVE_CUPS
#include "CupsSpooler.h"
#endif

#include <QAction>
#include <QWidget>

#include <algorithm>

namespace {

const QString ManipulationTitle = QStringLiteral("Erreur de manipulation");

} // namespace

namespace {

std::unique_ptr<PrintSpooler> systemSpooler()
{
#ifdef TESSAVOR_HAVE_CUPS
    return std::make_unique<CupsSpooler>();
#else
    return nullptr;
#endif
}

} // namespace

VisitCommands::VisitCommands(VisitTarget target, QObject *parent)
    : QObject(parent), m_target(std::move(target)), m_systemPrinters(std::make_unique<SystemPrinters>()),
      m_systemSpooler(systemSpooler()), m_printCommand(*m_systemPrinters, m_systemSpooler.get(), m_setup),
      m_pageSetup(*m_systemPrinters, m_setup)
{
    m_printCommand.setImportOffer(m_target.offerImport);
}

VisitCommands::VisitCommands(VisitTarget target, const PrinterCatalog &printers, PrintSpooler *spooler, QObject *parent)
    : QObject(parent), m_target(std::move(target)), m_printCommand(printers, spooler, m_setup),
      m_pageSetup(printers, m_setup)
{
    m_printCommand.setImportOffer(m_target.offerImport);
}

VisitCommands::~VisitCommands() = default;

void VisitCommands::newVisit()
{
    if (MessageBox::show(m_target.window, QStringLiteral("Nouvelle Visite?"), MessageBox::Buttons::OkCancel,
                         MessageBox::Icon::Question) != MessageBox::Answer::Ok)
        return;
    // With no sign the ranking asks nothing and empties the ranked list.
    m_target.removeSigns({});
}

void VisitCommands::open()
{
    Beep::sound();
}

void VisitCommands::save()
{
    Beep::sound();
    MessageBox::show(m_target.window, VisitRules::saveMessage(m_target.signes->count()), MessageBox::Buttons::Ok,
                     MessageBox::Icon::Critical, ManipulationTitle);
}

void VisitCommands::print()
{
    if (m_target.baseReplaced && m_target.baseReplaced())
        return;
    m_printCommand.run(m_target.window, m_target.signes->entries(), m_target.syndromes->entries(),
                       m_target.databasePath);
}

void VisitCommands::exportPdf()
{
    if (m_target.baseReplaced && m_target.baseReplaced())
        return;
    m_printCommand.exportPdf(m_target.window, m_target.signes->entries(), m_target.syndromes->entries(),
                             m_target.databasePath);
}

void VisitCommands::cut()
{
    ItemList *signes = m_target.signes;
    const int selected = signes->selectedIndex();
    if (selected < 0)
        return;
    QList<ListEntry> remaining = signes->entries();
    remaining.removeAt(selected);
    m_target.removeSigns(remaining);
    // The entry now at the same place (or the last one) is the next to go, so that cuts
    // repeated remove the signs one after another.
    if (signes->count() > 0)
        signes->setCurrentRow(std::min(selected, signes->count() - 1));
}

void VisitCommands::carnet() {}

void VisitCommands::visites() {}

void VisitCommands::toggle(QWidget *bar, QAction *item)
{
    bool ticked = item->isChecked();
    // Coming from the item's own `triggered`, the tick is already the new one.
    if (sender() == item && item->isCheckable())
        ticked = !ticked;
    if (ticked) {
        bar->hide();
        item->setChecked(false);
    } else {
        bar->show();
        item->setChecked(true);
    }
}

void VisitCommands::toggleToolbar()
{
    toggle(m_target.toolBar, m_target.viewToolbar);
}

void VisitCommands::toggleStatusBar()
{
    toggle(m_target.statusBar, m_target.viewStatusBar);
}

void VisitCommands::pageSetup()
{
    m_pageSetup.run(m_target.window);
}

void VisitCommands::toolbarClicked(const QString &key)
{
    using Command = VisitRules::Command;
    switch (VisitRules::commandForKey(key)) {
    case Command::New:
        return newVisit();
    case Command::Open:
        return open();
    case Command::Save:
        return save();
    case Command::Print:
        return print();
    case Command::Cut:
        return cut();
    case Command::Carnet:
        return carnet();
    case Command::Visites:
        return visites();
    case Command::None:
        return;
    }
}
