#pragma once

#include <QByteArray>
#include <QString>

// The file operations of an import. Each one either succeeds or leaves things as they
// were and says why, in the system's words. Tests derive from it to make one of them
// fail: the machines that run them run as root, for whom no permission ever fails.
class ImportFiles
{
public:
    virtual ~ImportFiles() = default;

    // Creates `path` with `bytes`, flushed to the disk; never replaces an existing file.
    virtual bool write(const QString &path, const QByteArray &bytes, QString &error);
    // Renames `from` to `to`; never replaces an existing `to`.
    virtual bool rename(const QString &from, const QString &to, QString &error);
    virtual bool remove(const QString &path);
    virtual bool exists(const QString &path);

    // The operations as the system performs them.
    static ImportFiles &system();
};
