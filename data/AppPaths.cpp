#include "AppPaths.h"

#include "ImportHelper.h"
#include "InstallLayout.h"

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
    if (QString reason = files.makeFolder(QFileInfo(to).absolutePath()); !reason.isEmpty()) {
        failure.step = CopyFailure::Step::MakeFolder;
        failure.reason = reason;
        return failure;
    }
    const QString partial = to + QStringLiteral(".partiel-%1").arg(QCoreApplication::applicationPid());
    files.remove(partial);
    if (QString reason = files.copy(from, partial); !reason.isEmpty()) {
        files.remove(partial);
        failure.step = CopyFailure::Step::Copy;
        failure.reason = reason;
        return failure;
    }
    if (QString reason = files.rename(partial, to); !reason.isEmpty()) {
        files.remove(partial);
        // Another start of the program may have made the copy meanwhile: it is used as is.
        if (QFileInfo(to).isFile())
            return {};
        failure.step = CopyFailure::Step::Rename;
        failure.reason = reason;
    }
    return failure.step == CopyFailure::Step::None ? CopyFailure{} : failure;
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
    files.makeFolder = [](const QString &folder) {
        return QDir().mkpath(folder) ? QString()
                                     : QStringLiteral("cannot create %1").arg(QDir::toNativeSeparators(folder));
    };
    files.copy = [](const QString &from, const QString &to) {
        QFile source(from);
        if (!source.copy(to))
            return source.errorString();
        // The copy is the user's to edit, whatever the bundled file's permissions.
        QFile copy(to);
        copy.setPermissions(copy.permissions() | QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        return QString();
    };
    files.rename = [](const QString &from, const QString &to) {
        QFile file(from);
        return file.rename(to) ? QString() : file.errorString();
    };
    files.remove = [](const QString &path) { QFile::remove(path); };
    return files;
}

QString importHelper(const QString &programFolder)
{
    const QString own = join(programFolder, ImportHelper::fileName());
    if (QFileInfo(own).isFile())
        return own;
    return QDir::toNativeSeparators(QDir::cleanPath(programFolder + QLatin1Char('/') +
                                                    QLatin1String(InstallLayout::HelperFromBin) + QLatin1Char('/') +
                                                    ImportHelper::fileName()));
}

KnowledgeBase knowledgeBase(const QString &programFolder, const QString &userDataFolder, const FileOperations &files)
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
    return kb;
}

KnowledgeBase knowledgeBase()
{
    return knowledgeBase(applicationFolder(), QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

} // namespace AppPaths
