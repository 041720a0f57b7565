#pragma once

#include "PageSetupDialog.h"

#include <QList>
#include <QString>

#include <deque>
#include <optional>

class QWidget;

// The file picker and the page set-up dialog of the printing commands.
// Test seam: with testing on, nothing is shown; the file picker answers from a queue of
// file names (an empty name or an empty queue is a cancel), the page set-up from a queue of
// choices (an empty choice or an empty queue is Annuler), and every dialog asked for is
// recorded.
class PrintDialogs
{
public:
    enum class Kind { SaveFile, PageSetup };

    struct Shown {
        Kind kind;
        QString caption;
        QString proposedPath; // the file picker's starting file
        QStringList printers; // the page set-up's list
        PageChoice initial;   // and what it showed selected
    };

    // The chosen file, or an empty string when the user cancelled.
    static QString saveFileName(QWidget *parent, const QString &caption, const QString &proposedPath,
                                const QString &filter);
    // The choice made, or nothing when the user cancelled.
    static std::optional<PageChoice> pageSetup(QWidget *parent, const QStringList &printers,
                                               const std::function<QStringList(const QString &)> &papersOf,
                                               const PageChoice &initial);

    // Also empties the queues and the record.
    static void setTesting(bool on);
    static void setNextFileName(const QString &path);
    static void setNextPageChoice(const std::optional<PageChoice> &choice);
    static QList<Shown> takeShown();
};
