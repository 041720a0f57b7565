#pragma once

#include <QList>
#include <QPageLayout>
#include <QString>

// What "Mise en page..." chose during this run: a printer, and the page (paper, orientation,
// margins) that applies to whichever printer a print goes to. Nothing is kept between runs.
struct PrintSetup {
    // Empty: follow the system's default printer.
    QString chosenPrinter;
    // Until the page is set up, each printer's own paper is used.
    bool pageChosen = false;
    QPageLayout layout = defaultLayout();

    // The page for a printer whose own paper is `printerPaper` (empty when unknown).
    QPageLayout layoutFor(const QString &printerPaper) const;

    // A4 upright with margins of 1 cm, which every printer can print within.
    static QPageLayout defaultLayout();
};

// The papers offered and their short names ("A4", "A5", "Letter"), as the spooler knows them.
namespace Papers {

QPageSize fromKey(const QString &key);
// The papers offered when a printer does not say which it takes.
QList<QPageSize> common();

} // namespace Papers
