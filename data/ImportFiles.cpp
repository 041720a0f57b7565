#include "ImportFiles.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <unistd.h>
#endif

bool ImportFiles::write(const QString &path, const QByteArray &bytes, WriteError &error)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
        error = {file.errorString(), false};
        return false;
    }
#ifdef Q_OS_UNIX
    // Written here rather than through QFile, which keeps no word of why a write failed.
    int failure = 0;
    for (qsizetype done = 0; done < bytes.size() && failure == 0;) {
        const ssize_t n = ::write(file.handle(), bytes.constData() + done, size_t(bytes.size() - done));
        if (n >= 0)
            done += n;
        else if (errno != EINTR)
            failure = errno;
    }
    // The original is renamed away next: the new file must be on the disk first.
    if (failure == 0 && ::fsync(file.handle()) != 0)
        failure = errno;
    if (failure != 0)
        error = {QString::fromLocal8Bit(std::strerror(failure)), failure == ENOSPC || failure == EDQUOT};
    const bool ok = failure == 0;
#else
    const bool ok = file.write(bytes) == bytes.size() && file.flush();
    if (!ok)
        error = {file.errorString(), false};
#endif
    file.close();
    if (!ok)
        file.remove();
    return ok;
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

bool ImportFiles::readStart(const QString &path, qint64 size, QByteArray &bytes, QString &error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return false;
    }
    bytes = file.read(size);
    if (file.error() != QFileDevice::NoError) {
        error = file.errorString();
        return false;
    }
    return true;
}

ImportFiles &ImportFiles::system()
{
    static ImportFiles files;
    return files;
}
