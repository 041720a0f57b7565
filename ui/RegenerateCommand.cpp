#include "RegenerateCommand.h"

#include "DatabaseError.h"
#include "DatabaseMessage.h"
#include "ProgressPacer.h"
#include "ProgressWindow.h"
#include "WeightRebuild.h"

#include <QDir>
#include <QElapsedTimer>

#include <memory>
#include <optional>

bool RegenerateCommand::run(QWidget *mainWindow, const QString &databasePath,
                            const DatabaseMessage::ImportOffer &offerImport, const Clock &clock)
{
    auto window = std::make_unique<ProgressWindow>(mainWindow);
    // Modal to the whole program while it lives, so that no other window takes input
    // or is closed in the middle of the rebuild.
    window->setWindowModality(Qt::ApplicationModal);
    window->show();
    window->paintNow();

    // The bar is the only feedback: the pointer stays as it is.
    std::optional<DatabaseError> failure;
    ProgressPacer pacer;
    QElapsedTimer steady;
    steady.start();
    const Clock now = clock ? clock : [&steady] { return steady.elapsed(); };
    try {
        WeightRebuild::run(databasePath, [&](float value) {
            if (pacer.shouldPaint(window->setValue(value), now()))
                window->paintNow();
        });
    } catch (const DatabaseError &error) {
        failure = error;
    }
    window->close();
    window.reset();
    if (mainWindow)
        mainWindow->activateWindow();
    if (!failure)
        return true;
    if (!offerImport || !offerImport(*failure))
        DatabaseMessage::show(mainWindow, failureText(*failure), *failure, Title);
    return false;
}

QString RegenerateCommand::failureText(const DatabaseError &error)
{
    QString text = QStringLiteral("La régénération de la base « %1 » a échoué : %2.")
                       .arg(QDir::toNativeSeparators(error.path()), DatabaseMessage::reason(error));
    if (const QString advice = DatabaseMessage::advice(error); !advice.isEmpty())
        text += QStringLiteral("\n\n") + advice;
    return text + QStringLiteral("\n\nLes poids n'ont pas été modifiés.");
}
