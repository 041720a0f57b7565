#include "PrintDialogs.h"

#include <QFileDialog>
#include <QPageSetupDialog>

#include <deque>

namespace {

bool testing = false;
std::deque<QString> fileNames;
QList<PrintDialogs::Shown> shown;

} // namespace

QString PrintDialogs::saveFileName(QWidget *parent, const QString &caption, const QString &proposedPath,
                                   const QString &filter)
{
    shown.append({Kind::SaveFile, caption, proposedPath, nullptr});
    if (testing) {
        if (fileNames.empty())
            return QString();
        QString path = fileNames.front();
        fileNames.pop_front();
        return path;
    }
    return QFileDialog::getSaveFileName(parent, caption, proposedPath, filter);
}

void PrintDialogs::pageSetup(QWidget *parent, QPrinter &printer)
{
    shown.append({Kind::PageSetup, QString(), QString(), &printer});
    if (testing)
        return;
    QPageSetupDialog dialog(&printer, parent);
    dialog.exec();
}

void PrintDialogs::setTesting(bool on)
{
    testing = on;
    fileNames.clear();
    shown.clear();
}

void PrintDialogs::setNextFileName(const QString &path)
{
    fileNames.push_back(path);
}

QList<PrintDialogs::Shown> PrintDialogs::takeShown()
{
    return std::exchange(shown, {});
}
