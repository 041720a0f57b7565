#include "ImportTemporary.h"

#include "DatabaseError.h"
#include "ImportFiles.h"

#include <QDir>
#include <QLockFile>
#include <QRegularExpression>
#include <QSet>

namespace {

const QString LockSuffix = QStringLiteral(".lock");
constexpr int MaxNames = 1000;

// A lock that only a running program holds: not one that is merely old.
std::unique_ptr<QLockFile> lockFor(const QString &path)
{
    auto lock = std::make_unique<QLockFile>(path + LockSuffix);
    lock->setStaleLockTime(0);
    return lock;
}

} // namespace

ImportTemporary::ImportTemporary(ImportFiles &files, const QString &folder, const QString &stem) : m_files(files)
{
    removeLeftovers(folder, stem);
    const QDir dir(folder);
    for (int n = 1; n <= MaxNames; ++n) {
        const QString name =
            dir.filePath(n == 1 ? stem + QStringLiteral(".tmp") : QStringLiteral("%1-%2.tmp").arg(stem).arg(n));
        if (m_files.exists(name))
            continue;
        auto lock = lockFor(name);
        if (!lock->tryLock(0)) {
            if (lock->error() == QLockFile::LockFailedError)
                continue; // another import's
            // A folder that takes no new file: writing the converted file will say so.
            lock.reset();
        }
        if (m_files.exists(name))
            continue;
        m_path = name;
        m_lock = std::move(lock);
        return;
    }
    throw DatabaseError(DatabaseError::Kind::WriteFailed, dir.filePath(stem),
                        QStringLiteral("every temporary name is taken"), {{{}, {}, dir.filePath(stem), {}, {}}});
}

ImportTemporary::~ImportTemporary()
{
    if (m_files.exists(m_path))
        m_files.remove(m_path);
}

void ImportTemporary::removeLeftovers(const QString &folder, const QString &stem)
{
    const QRegularExpression own(QStringLiteral("^%1(-\\d+)?\\.tmp(%2)?$")
                                     .arg(QRegularExpression::escape(stem), QRegularExpression::escape(LockSuffix)));
    const QDir dir(folder);
    QSet<QString> names;
    for (const QString &file : dir.entryList(QDir::Files | QDir::Hidden))
        if (own.match(file).hasMatch())
            names.insert(file.endsWith(LockSuffix) ? file.chopped(LockSuffix.size()) : file);
    for (const QString &name : names) {
        // Taken only when no running program holds it; let go (and its lock file removed)
        // once the file is gone.
        const auto lock = lockFor(dir.filePath(name));
        if (lock->tryLock(0))
            m_files.remove(dir.filePath(name));
    }
}
