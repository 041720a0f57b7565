#include "JetImport.h"

#include "DatabaseError.h"
#include "ImportFiles.h"
#include "ImportTemporary.h"
#include "JetFile.h"

#include <QDir>
#include <QFileInfo>

namespace {

using Kind = DatabaseError::Kind;

} // namespace

JetImport::JetImport(ImportFiles &files, Converter converter) : m_files(files), m_converter(std::move(converter)) {}

bool JetImport::isAvailable()
{
#if TESSAVOR_JET_IMPORT
    return true;
#else
    return false;
#endif
}

bool JetImport::isJetFile(const QString &path)
{
    return JetFile::versionOf(path) != 0;
}

bool JetImport::isSameFile(const QString &a, const QString &b)
{
    const QFileInfo first(a), second(b);
    return first.absoluteFilePath() == second.absoluteFilePath() ||
           (first.exists() && second.exists() && first.canonicalFilePath() == second.canonicalFilePath());
}

QString JetImport::freeName(const QString &folder, const QString &stem, const QString &suffix)
{
    const QDir dir(folder);
    QString name = dir.filePath(stem + QLatin1Char('.') + suffix);
    for (int n = 2; m_files.exists(name); ++n)
        name = dir.filePath(QStringLiteral("%1-%2.%3").arg(stem).arg(n).arg(suffix));
    return name;
}

JetImport::Summary JetImport::convertInPlace(const QString &jetPath)
{
    return convert(jetPath, jetPath);
}

JetImport::Summary JetImport::replaceWith(const QString &jetPath, const QString &basePath)
{
    return isSameFile(jetPath, basePath) ? convertInPlace(jetPath) : convert(jetPath, basePath);
}

QString JetImport::keptCopyName(const QString &jetPath, const QString &basePath)
{
    if (!m_files.exists(basePath))
        return {};
    const QFileInfo base(basePath);
    const QString prefix =
        base.completeBaseName() + (isSameFile(jetPath, basePath) ? QStringLiteral("-access-") : QStringLiteral("-"));
    const QDate date = m_date.isValid() ? m_date : QDate::currentDate();
    return freeName(base.absolutePath(), prefix + date.toString(QStringLiteral("yyyy-MM-dd")), QStringLiteral("mdb"));
}

JetImport::Summary JetImport::convert(const QString &jetPath, const QString &basePath)
{
    const QFileInfo base(basePath);
    const ImportTemporary temporary(m_files, base.absolutePath(), base.completeBaseName() + QStringLiteral("-import"));
    qint64 total = 0;
    Summary summary = m_converter(jetPath, temporary.path(), [&](qint64 done, qint64 all) {
        total = all;
        if (m_progress)
            m_progress(done, all);
    });

    const auto fail = [&](Kind kind, const QString &message, const QString &from, const QString &to) {
        m_files.remove(temporary.path());
        throw DatabaseError(kind, jetPath, message, {{{}, {}, from, to, {}}});
    };
    QString kept;
    QString error;
    if (m_files.exists(basePath)) {
        kept = keptCopyName(jetPath, basePath);
        if (!m_files.rename(basePath, kept, error))
            fail(Kind::RenameFailed, error, basePath, kept);
    }
    if (!m_files.rename(temporary.path(), basePath, error)) {
        QString restoreError;
        if (!kept.isEmpty() && !m_files.rename(kept, basePath, restoreError))
            fail(Kind::RestoreFailed, error + QStringLiteral("; ") + restoreError, kept, basePath);
        fail(Kind::RenameFailed, error, temporary.path(), basePath);
    }
    if (m_progress)
        m_progress(total, total);

    summary.source = jetPath;
    summary.knowledgeBase = basePath;
    summary.keptCopy = kept;
    return summary;
}
