#pragma once

#include "DatabaseMessage.h"

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

    // Returns once the progress window is gone, true when the weights were rebuilt. The
    // practitioner can start nothing else meanwhile. A rebuild that succeeded closes with
    // what the checker remarks on the base (signs and syndromes its editor may not have
    // meant so), which never undoes or blocks the rebuild. A failure is told, unless it is
    // an Access file found as the base and `offerImport` made the import's offer instead.
    // Without a clock, the system's steady clock.
    static bool run(QWidget *mainWindow, const QString &databasePath,
                    const DatabaseMessage::ImportOffer &offerImport = {}, const Clock &clock = {});

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
