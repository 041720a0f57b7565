#include "ImportFiles.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

bool ImportFiles::write(const QString &path, const QByteArray &bytes, QString &error)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        error = file.errorString();
        return false;
    }
    bool ok = file.write(bytes) == bytes.size() && file.flush();
#ifdef Q_OS_UNIX
    // The original is renamed away next: the new file must be on the disk first.
    ok = ok && ::fsync(file.handle()) == 0;
#endif
    if (!ok) {
        error = file.errorString();
        file.close();
        file.remove();
        return false;
    }
    file.close();
    return true;
}

bool ImportFiles::rename(const QString &from, const QString &to, QString &error)
{
    QFile file(from);
    if (file.rename(to))
        return true;
    error = file.errorString();
    return false;
}

bool ImportFiles::remove(const QString &path)
{
    return QFile::remove(path);
}

bool ImportFiles::exists(const QString &path)
{
    return QFileInfo::exists(path);
}

ImportFiles &ImportFiles::system()
{
    static ImportFiles files;
    return files;
}
