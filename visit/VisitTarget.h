#pragma once

#include "DatabaseMessage.h"
#include "ListEntry.h"

#include <QList>
#include <QString>

#include <functional>

class ItemList;
class QAction;
class QWidget;

// What the visit commands act on, all owned by the main window.
struct VisitTarget {
    QWidget *window = nullptr;     // parent for message boxes
    ItemList *signes = nullptr;    // recorded signs
    ItemList *syndromes = nullptr; // ranked syndromes
    // Cut and New visit: the recorded signs become these, ranked, and what they lose can be
    // brought back.
    std::function<void(const QList<ListEntry> &remaining)> removeSigns;
    QWidget *toolBar = nullptr; // shown and hidden by the toggles
    QWidget *statusBar = nullptr;
    QAction *viewToolbar = nullptr; // their checkable menu items (ticked at start)
    QAction *viewStatusBar = nullptr;
    QString databasePath; // Signes.mdb, for the report
    // Before a failure of the base is told: the import's offer for an Access file found there.
    DatabaseMessage::ImportOffer offerImport;
    // Before the report reads the base: true when another program had replaced it, which
    // the window has then told and dealt with; the command goes no further.
    std::function<bool()> baseReplaced;
};
