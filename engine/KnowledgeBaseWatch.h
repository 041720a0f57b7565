#pragma once

#include "FileIdentity.h"

#include <QString>

#include <functional>
#include <optional>

// Whether the knowledge base the program works on is still the file at its path. Another
// program may put another file there while Tessavor runs (a copy dropped in its place, a
// rename): the open connections would go on reading the former file while every new one
// opened, a rebuild's or a print's, would read the new one. The program's own import and
// rebuild change the base too, but knowingly: they accept the file they leave.
class KnowledgeBaseWatch
{
public:
    using Identify = std::function<std::optional<FileIdentity>(const QString &path)>;

    explicit KnowledgeBaseWatch(Identify identify = &FileIdentity::of);

    // The base at `path` is the one in use from now on.
    void watch(const QString &path);
    const QString &path() const { return m_path; }

    // True when the file now at the path is not the one in use: another file, or none where
    // there was one (or one where there was none).
    bool replaced() const;
    // The file now at the path is the one in use: after the program reopened it, or changed
    // it itself (its import, its rebuild).
    void accept();

    // Moves on each time the base in use changes, by another program or by this one, so that
    // whatever is kept from the base is known to be still its own while the number stays.
    quint64 generation() const { return m_generation; }

private:
    Identify m_identify;
    QString m_path;
    std::optional<FileIdentity> m_inUse;
    quint64 m_generation = 0;
};
