#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class DatabaseError;
class QWidget;

// The menu command "&Régénérer la base": rebuilds the weight table from the links while
// the progress window shows how far it got. The rebuild is all or nothing: on a failure
// the practitioner is told what failed and that the weights are unchanged.
class RegenerateCommand
{
public:
    // A monotonic clock in milliseconds, which paces the progress window's painting.
    using Clock = std::function<qint64()>;

    // Returns once the progress window is gone. The practitioner can start nothing else
    // meanwhile. The main window re-ranks when it becomes active again, as after any of
    // the program's windows. Without a clock, the system's steady clock. A rebuild that
    // succeeded closes with what the checker remarks on the base (signs and syndromes its
    // editor may not have meant so), which never undoes or blocks the rebuild.
    static void run(QWidget *mainWindow, const QString &databasePath, const Clock &clock = {});

    // The French message for a failed rebuild.
    static QString failureText(const DatabaseError &error);
    // The closing message of a rebuild that succeeded: "Aucune remarque", or the first
    // `Shown` remarks (the others in the box's details).
    static QString remarksText(const QStringList &remarks);

    static inline const QString Title = QStringLiteral("Régénération de la base");
    static constexpr qsizetype Shown = 10;

private:
    static void showRemarks(QWidget *mainWindow, const QString &databasePath);
};
