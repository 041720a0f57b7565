#include "AppPaths.h"

#include "Database.h"
#include "ImportHelper.h"
#include "InstallLayout.h"
#include "KnowledgeBaseReader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace AppPaths {

namespace {

const QString DatabaseName = QStringLiteral("Signes.mdb");

QString join(const QString &folder, const QString &name)
{
    return QDir::toNativeSeparators(folder + QLatin1Char('/') + name);
}

QString holds(const QString &folder)
{
    const QString file = join(folder, DatabaseName);
    return QFileInfo(file).isFile() ? file : QString();
}

// Copies to a temporary name beside the target, then renames; a failure leaves neither
// the temporary file nor a target behind.
CopyFailure copyOnce(const QString &from, const QString &to, const FileOperations &files)
{
    CopyFailure failure;
    failure.target = to;
    if (const Failure reason = files.makeFolder(QFileInfo(to).absolutePath())) {
        failure.step = CopyFailure::Step::MakeFolder;
        failure.reason = *reason;
        return failure;
    }
    const QString partial = to + QStringLiteral(".partiel-%1").arg(QCoreApplication::applicationPid());
    files.remove(partial);
    if (const Failure reason = files.copy(from, partial)) {
        files.remove(partial);
        failure.step = CopyFailure::Step::Copy;
        failure.reason = *reason;
        return failure;
    }
    if (const Failure reason = files.rename(partial, to)) {
        files.remove(partial);
        // Another start of the program may have made the copy meanwhile: it is used as is.
        if (QFileInfo(to).isFile())
            return {};
        failure.step = CopyFailure::Step::Rename;
        failure.reason = *reason;
    }
    return failure.step == CopyFailure::Step::None ? CopyFailure{} : failure;
}

// The knowledge of the bundled bases published before copies were recorded (the second
// edition and its two corrections): a copy that still holds one of them was never changed.
const QList<QByteArray> EarlierEditions{
    QByteArrayLiteral("7b3dc0ba513c6def4939ccf2c7175bb61ba13a52f8f6642435561166bc60a731"),
    QByteArrayLiteral("d6bf4faebf7582e1f4ea20c793fb5e19ee55fc60dd0aacd112ca453876c1a7a4"),
    QByteArrayLiteral("f8ad728381f78e213abfc20e3f12e28638a636ceb9876b6da9af6932d34b23ea"),
};

// Signes-<date>.mdb in the folder of `path`, numbered when that name is taken.
QString datedName(const QString &path, QDate today)
{
    const QString folder = QFileInfo(path).absolutePath();
    const QString stem = QStringLiteral("Signes-") + today.toString(QStringLiteral("yyyy-MM-dd"));
    QString name = join(folder, stem + QStringLiteral(".mdb"));
    for (int n = 2; QFileInfo::exists(name); ++n)
        name = join(folder, QStringLiteral("%1-%2.mdb").arg(stem).arg(n));
    return name;
}

// Puts a copy of `from` in place of `to`, which is kept as `kept`. A failure leaves `to` as
// it was and no copy behind.
CopyFailure replace(const QString &from, const QString &to, const QString &kept, const FileOperations &files)
{
    const QString partial = to + QStringLiteral(".partiel-%1").arg(QCoreApplication::applicationPid());
    files.remove(partial);
    if (const Failure reason = files.copy(from, partial)) {
        files.remove(partial);
        return {CopyFailure::Step::Copy, to, *reason};
    }
    if (const Failure reason = files.rename(to, kept)) {
        files.remove(partial);
        return {CopyFailure::Step::Rename, to, *reason};
    }
    if (const Failure reason = files.rename(partial, to)) {
        files.rename(kept, to);
        files.remove(partial);
        return {CopyFailure::Step::Rename, to, *reason};
    }
    return {};
}

void remember(const CopyMemory &memory, const CopyRecord &record)
{
    if (memory.write)
        memory.write(record);
}

// The user's copy against the bundled edition: replaced when unchanged and older, the new
// edition offered when changed.
// The stamp of the bundled base, remembered as the origin of the copy just made from it.
void rememberBundled(const KnowledgeBase &kb, const FileOperations &files, const CopyMemory &memory)
{
    if (const std::optional<int> edition = files.edition ? files.edition(kb.bundled) : std::nullopt)
        remember(memory, {{*edition, files.checksum(kb.bundled)}, 0});
}

// The user's copy against the bundled edition: replaced when unchanged and older, the new
// edition offered when changed. A start with nothing newer only reads two editions.
void compareEditions(KnowledgeBase &kb, const FileOperations &files, const CopyMemory &memory, QDate today)
{
    const std::optional<int> bundled = files.edition ? files.edition(kb.bundled) : std::nullopt;
    if (!bundled)
        return;
    const std::optional<CopyRecord> record = memory.read ? memory.read() : std::nullopt;
    const std::optional<int> origin = record ? record->madeFrom.edition : files.edition(kb.database);
    // Refused once, an edition is not offered again.
    if (!origin || *bundled <= *origin || (record && record->keptAgainst >= *bundled))
        return;
    const QByteArray copy = files.checksum(kb.database);
    if (copy.isEmpty())
        return;
    const bool unchanged = record ? copy == record->madeFrom.checksum : EarlierEditions.contains(copy);
    const QString kept = datedName(kb.database, today);
    if (!unchanged) {
        kb.newEdition = *bundled;
        kb.keptName = kept;
        return;
    }
    kb.editionFailure = replace(kb.bundled, kb.database, kept, files);
    if (kb.editionFailure)
        return;
    kb.previousCopy = kept;
    rememberBundled(kb, files, memory);
}

} // namespace

QString applicationFolder()
{
    return QCoreApplication::applicationDirPath();
}

QString inApplicationFolder(const QString &fileName)
{
    return join(applicationFolder(), fileName);
}

FileOperations FileOperations::system()
{
    FileOperations files;
    files.isWritableFolder = [](const QString &folder) {
        // Trying is the only test that also knows read-only mounts and access lists.
        QTemporaryFile probe(folder + QStringLiteral("/.tessavor-XXXXXX"));
        return probe.open();
    };
    files.makeFolder = [](const QString &folder) -> Failure {
        if (QDir().mkpath(folder))
            return std::nullopt;
        return QStringLiteral("cannot create %1").arg(QDir::toNativeSeparators(folder));
    };
    files.copy = [](const QString &from, const QString &to) -> Failure {
        QFile source(from);
        if (!source.copy(to))
            return source.errorString();
        // The copy is the user's to edit, whatever the bundled file's permissions.
        QFile copy(to);
        copy.setPermissions(copy.permissions() | QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        return std::nullopt;
    };
    files.rename = [](const QString &from, const QString &to) -> Failure {
        QFile file(from);
        if (file.rename(to))
            return std::nullopt;
        return file.errorString();
    };
    files.remove = [](const QString &path) { QFile::remove(path); };
    // A file not readable as a knowledge base has nothing to compare: it is left alone, and
    // the program's first query says what is wrong with it.
    files.edition = [](const QString &path) -> std::optional<int> {
        try {
            return KnowledgeBaseReader::edition(*Database::open(path));
        } catch (const DatabaseError &) {
            return std::nullopt;
        }
    };
    files.checksum = [](const QString &path) {
        try {
            return KnowledgeBaseReader::checksum(KnowledgeBaseReader::read(*Database::open(path)));
        } catch (const DatabaseError &) {
            return QByteArray();
        }
    };
    return files;
}

QString importHelper(const QString &programFolder)
{
    const QString own = join(programFolder, ImportHelper::fileName());
    if (QFileInfo(own).isFile())
        return own;
    return QDir::toNativeSeparators(QDir::cleanPath(programFolder + QLatin1Char('/') +
                                                    QLatin1String(InstallLayout::HelpersFromBin) + QLatin1Char('/') +
                                                    ImportHelper::fileName()));
}

KnowledgeBase knowledgeBase(const QString &programFolder, const QString &userDataFolder, const FileOperations &files,
                            const CopyMemory &memory, QDate today)
{
    KnowledgeBase kb;
    kb.importHelper = importHelper(programFolder);
    const QString own = holds(programFolder);
    if (!own.isEmpty() && files.isWritableFolder(programFolder)) {
        kb.database = kb.bundled = own;
        kb.pageFolder = QDir::toNativeSeparators(programFolder);
        return kb;
    }

    const QString shared =
        QDir::cleanPath(programFolder + QLatin1Char('/') + QLatin1String(InstallLayout::DataFromBin));
    kb.bundled = !own.isEmpty() ? own : holds(shared);
    kb.pageFolder = QDir::toNativeSeparators(!own.isEmpty() || kb.bundled.isEmpty() ? programFolder : shared);

    const QString perUser = userDataFolder.isEmpty() ? QString() : join(userDataFolder, DatabaseName);
    if (!perUser.isEmpty() && QFileInfo(perUser).isFile()) {
        kb.database = perUser;
        if (!kb.bundled.isEmpty())
            compareEditions(kb, files, memory, today);
        return kb;
    }
    if (kb.bundled.isEmpty()) {
        kb.database = kb.bundled = join(programFolder, DatabaseName);
        return kb;
    }
    if (perUser.isEmpty()) {
        // A session without a home folder: nowhere to copy to.
        kb.failure = {CopyFailure::Step::MakeFolder, perUser, QStringLiteral("no user data folder")};
        kb.database = kb.bundled;
        return kb;
    }
    kb.failure = copyOnce(kb.bundled, perUser, files);
    kb.database = kb.failure ? kb.bundled : perUser;
    if (!kb.failure)
        rememberBundled(kb, files, memory);
    return kb;
}

CopyFailure takeNewEdition(const KnowledgeBase &kb, const FileOperations &files, const CopyMemory &memory)
{
    const CopyFailure failure = replace(kb.bundled, kb.database, kb.keptName, files);
    if (!failure)
        rememberBundled(kb, files, memory);
    return failure;
}

void keepCopy(const KnowledgeBase &kb, const CopyMemory &memory)
{
    CopyRecord record = memory.read ? memory.read().value_or(CopyRecord{}) : CopyRecord{};
    record.keptAgainst = kb.newEdition;
    remember(memory, record);
}

KnowledgeBase knowledgeBase(const CopyMemory &memory)
{
    return knowledgeBase(applicationFolder(), QStandardPaths::writableLocation(QStandardPaths::AppDataLocation),
                         FileOperations::system(), memory);
}

} // namespace AppPaths
