#include "FileIdentity.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

std::optional<FileIdentity> FileIdentity::of(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat status {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return FileIdentity{quint64(status.st_dev), quint64(status.st_ino)};
#else
    // Without file numbers, the moment the file was made stands for it: a file moved or
    // copied in its place was made at another moment.
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return std::nullopt;
    return FileIdentity{0, quint64(info.birthTime().toMSecsSinceEpoch())};
#endif
}
