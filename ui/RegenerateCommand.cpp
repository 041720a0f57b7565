#include "RegenerateCommand.h"

#include "DatabaseError.h"
#include "DatabaseMessage.h"
#include "KnowledgeBaseCheck.h"
#include "MessageBox.h"
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
    if (!failure) {
        showRemarks(mainWindow, databasePath);
        return true;
    }
    if (!offerImport || !offerImport(*failure))
        DatabaseMessage::show(mainWindow, failureText(*failure), *failure, Title);
    return false;
}

void RegenerateCommand::showRemarks(QWidget *mainWindow, const QString &databasePath)
{
    QStringList remarks;
    try {
        remarks = KnowledgeBaseCheck::read(databasePath).structural();
    } catch (const DatabaseError &error) {
        // The weights are rebuilt all the same: only the check is missing.
        remarks = {QStringLiteral("La base n'a pas pu être vérifiée : %1.").arg(DatabaseMessage::reason(error))};
    }
    const QString text = remarksText(remarks);
    MessageBox::show(mainWindow, text, MessageBox::Buttons::Ok, MessageBox::Icon::None, Title,
                     remarks.size() > Shown ? remarks.join(u'\n') : QString());
}

QString RegenerateCommand::remarksText(const QStringList &remarks)
{
    QString text = QStringLiteral("Les poids ont été régénérés.\n\n");
    if (remarks.isEmpty())
        return text + QStringLiteral("Aucune remarque.");
    text += remarks.size() == 1 ? QStringLiteral("Une remarque sur le contenu de la base :")
                                : QStringLiteral("%1 remarques sur le contenu de la base :").arg(remarks.size());
    for (const QString &remark : remarks.first(std::min<qsizetype>(remarks.size(), Shown)))
        text += QStringLiteral("\n- ") + remark;
    if (remarks.size() > Shown)
        text += QStringLiteral("\n… et %1 autres (voir les détails).").arg(remarks.size() - Shown);
    return text;
}

QString RegenerateCommand::failureText(const DatabaseError &error)
{
    QString text = QStringLiteral("La régénération de la base « %1 » a échoué : %2.")
                       .arg(QDir::toNativeSeparators(error.path()), DatabaseMessage::reason(error));
    if (const QString advice = DatabaseMessage::advice(error); !advice.isEmpty())
        text += QStringLiteral("\n\n") + advice;
    return text + QStringLiteral("\n\nLes poids n'ont pas été modifiés.");
}
