#pragma once

#include <QString>

#include <memory>

class ImportFiles;
class QLockFile;

// The temporary name an import writes its converted file under, beside the knowledge base,
// held for as long as the import runs by a lock file beside it: another import in the same
// folder (another start of the program) then knows the file is being written. A temporary
// file whose lock no running program holds was left by an import that was killed; the next
// import in that folder removes it before it starts.
class ImportTemporary
{
public:
    // Removes the leftovers of killed imports named after `stem` in `folder`, then takes
    // the first name "<stem>.tmp", "<stem>-2.tmp"... that no file bears and no import holds.
    ImportTemporary(ImportFiles &files, const QString &folder, const QString &stem);
    // Removes the file if it is still there, and lets go of the name.
    ~ImportTemporary();
    ImportTemporary(const ImportTemporary &) = delete;
    ImportTemporary &operator=(const ImportTemporary &) = delete;

    const QString &path() const { return m_path; }

private:
    void removeLeftovers(const QString &folder, const QString &stem);

    ImportFiles &m_files;
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};
