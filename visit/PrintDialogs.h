#pragma once

#include <QList>
#include <QString>

class QPrinter;
class QWidget;

// The file picker and the page set-up dialog of the printing commands.
// Test seam: with testing on, nothing is shown; the file picker answers from a queue of
// file names (an empty name or an empty queue is a cancel) and every dialog asked for is
// recorded.
class PrintDialogs
{
public:
    enum class Kind { SaveFile, PageSetup };

    struct Shown {
        Kind kind;
        QString caption;
        QString proposedPath; // the file picker's starting file
        QPrinter *printer;    // the page set-up dialog's printer
    };

    // The chosen file, or an empty string when the user cancelled.
    static QString saveFileName(QWidget *parent, const QString &caption, const QString &proposedPath,
                                const QString &filter);
    static void pageSetup(QWidget *parent, QPrinter &printer);

    // Also empties the queue and the record.
    static void setTesting(bool on);
    static void setNextFileName(const QString &path);
    static QList<Shown> takeShown();
};
