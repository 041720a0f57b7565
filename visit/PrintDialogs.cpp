#include "PrintDialogs.h"

#include <QFileDialog>

namespace {

bool testing = false;
std::deque<QString> fileNames;
std::deque<std::optional<PageChoice>> pageChoices;
QList<PrintDialogs::Shown> shown;

} // namespace

QString PrintDialogs::saveFileName(QWidget *parent, const QString &caption, const QString &proposedPath,
                                   const QString &filter)
{
    shown.append({Kind::SaveFile, caption, proposedPath, {}, {}});
    if (testing) {
        if (fileNames.empty())
            return QString();
        QString path = fileNames.front();
        fileNames.pop_front();
        return path;
    }
    return QFileDialog::getSaveFileName(parent, caption, proposedPath, filter);
}

std::optional<PageChoice> PrintDialogs::pageSetup(QWidget *parent, const QStringList &printers,
                                                  const std::function<QStringList(const QString &)> &papersOf,
                                                  const PageChoice &initial)
{
    shown.append({Kind::PageSetup, QString(), QString(), printers, initial});
    if (testing) {
        if (pageChoices.empty())
            return std::nullopt;
        std::optional<PageChoice> choice = pageChoices.front();
        pageChoices.pop_front();
        return choice;
    }
    PageSetupDialog dialog(printers, papersOf, initial, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.choice();
}

void PrintDialogs::setTesting(bool on)
{
    testing = on;
    fileNames.clear();
    pageChoices.clear();
    shown.clear();
}

void PrintDialogs::setNextFileName(const QString &path)
{
    fileNames.push_back(path);
}

void PrintDialogs::setNextPageChoice(const std::optional<PageChoice> &choice)
{
    pageChoices.push_back(choice);
}

QList<PrintDialogs::Shown> PrintDialogs::takeShown()
{
    return std::exchange(shown, {});
}
