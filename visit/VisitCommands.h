#pragma once

#include "PageSetup.h"
#include "PrintCommand.h"
#include "PrintSetup.h"
#include "VisitTarget.h"

#include <QObject>

#include <memory>

class QAction;

// The main window's commands on the current visit, the two bar toggles and the toolbar's
// dispatch. There is no visit store: Open, Save, Carnet and Visites open, write and show
// nothing.
//
// Wiring: connect the menu items' `triggered` and the toolbar's `buttonClicked` straight to
// these slots. The two view items are checkable, so Qt has flipped their tick before
// `triggered` arrives; the toggles know it when the signal comes from that very item.
class VisitCommands final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(VisitCommands)

public:
    // On the system's printers and spooler.
    explicit VisitCommands(VisitTarget target, QObject *parent = nullptr);
    // On the given ones, which must outlive the commands (tests); a null spooler prints
    // through QPrinter.
    VisitCommands(VisitTarget target, const PrinterCatalog &printers, PrintSpooler *spooler, QObject *parent = nullptr);
    ~VisitCommands() override;

    const VisitTarget &target() const { return m_target; }

public slots:
    void newVisit();
    void open();
    void save();
    void print();
    void exportPdf();
    void cut();
    void carnet();
    void visites();
    void toggleToolbar();
    void toggleStatusBar();
    void pageSetup();
    void toolbarClicked(const QString &key);

private:
    void toggle(QWidget *bar, QAction *item);

    VisitTarget m_target;
    std::unique_ptr<PrinterCatalog> m_systemPrinters;
    std::unique_ptr<PrintSpooler> m_systemSpooler;
    PrintSetup m_setup;
    PrintCommand m_printCommand;
    PageSetup m_pageSetup;
};
