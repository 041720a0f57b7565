#include "AppPaths.h"

#include <QCoreApplication>
#include <QDir>

namespace AppPaths {

QString applicationFolder()
{
    return QCoreApplication::applicationDirPath();
}

QString inApplicationFolder(const QString &fileName)
{
    return QDir::toNativeSeparators(applicationFolder() + QLatin1Char('/') + fileName);
}

QString databasePath()
{
    return inApplicationFolder(QStringLiteral("Signes.mdb"));
}

} // namespace AppPaths
