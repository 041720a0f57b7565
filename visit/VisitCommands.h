#pragma once

#include "PageSetup.h"
#include "PrintCommand.h"
#include "SessionPrinter.h"
#include "VisitTarget.h"

#include <QObject>

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
    explicit VisitCommands(VisitTarget target, QObject *parent = nullptr);
    // For tests: whether a printer is installed is decided here instead of by the platform.
    VisitCommands(VisitTarget target, bool printerInstalled, QObject *parent = nullptr);

    const VisitTarget &target() const { return m_target; }

public slots:
    void newVisit();
    void open();
    void save();
    void print();
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
    SessionPrinter m_printer;
    PrintCommand m_printCommand;
    PageSetup m_pageSetup;
};
