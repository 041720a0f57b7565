#pragma once

#include <QString>

#include <optional>

// Which file a name stands for at this moment: the device and the number the file system
// gives it. A file renamed over another, or a copy put in its place, has another identity
// under the same name; a file edited in place keeps its own.
struct FileIdentity {
    quint64 device = 0;
    quint64 inode = 0;

    friend bool operator==(const FileIdentity &, const FileIdentity &) = default;

    // The identity of the file at `path`, or nothing when no file is there.
    static std::optional<FileIdentity> of(const QString &path);
};
