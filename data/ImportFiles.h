#pragma once

#include <QByteArray>
#include <QString>

// The file operations of an import. Each one either succeeds or leaves things as they
// were and says why, in the system's words. Tests derive from it to make one of them
// fail: the machines that run them run as root, for whom no permission ever fails.
class ImportFiles
{
public:
    // Why a write failed: the system's words, and whether it was for lack of room (a full
    // disk, or the user's quota spent), which the practitioner can mend.
    struct WriteError {
        QString reason;
        bool noSpace = false;
    };

    virtual ~ImportFiles() = default;

    // Creates `path` with `bytes`, flushed to the disk; never replaces an existing file.
    virtual bool write(const QString &path, const QByteArray &bytes, WriteError &error);
    // Renames `from` to `to`; never replaces an existing `to`.
    virtual bool rename(const QString &from, const QString &to, QString &error);
    virtual bool remove(const QString &path);
    virtual bool exists(const QString &path);
    // The first `size` bytes of the file (fewer when it is shorter); false, and why, when
    // it cannot be opened or read.
    virtual bool readStart(const QString &path, qint64 size, QByteArray &bytes, QString &error);

    // The operations as the system performs them.
    static ImportFiles &system();
};
