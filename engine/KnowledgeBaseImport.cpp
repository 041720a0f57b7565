#include "KnowledgeBaseImport.h"

#include "DatabaseError.h"
#include "ImportFiles.h"
#include "JetFile.h"

#include <QFileInfo>

namespace {

// Clears a flag however the scope ends.
struct BusyFlag {
    explicit BusyFlag(bool &flag) : m_flag(flag) { m_flag = true; }
    ~BusyFlag() { m_flag = false; }
    Q_DISABLE_COPY_MOVE(BusyFlag)
    bool &m_flag;
};

} // namespace

KnowledgeBaseImport::KnowledgeBaseImport(QString knowledgeBase, Hooks hooks, JetImport::Converter converter,
                                         ImportFiles &files, AppSettings *settings)
    : m_knowledgeBase(std::move(knowledgeBase)), m_hooks(std::move(hooks)), m_converter(std::move(converter)),
      m_files(files), m_settings(settings)
{}

KnowledgeBaseImport::KnowledgeBaseImport(QString knowledgeBase, Hooks hooks, JetImport::Converter converter,
                                         AppSettings *settings)
    : KnowledgeBaseImport(std::move(knowledgeBase), std::move(hooks), std::move(converter), ImportFiles::system(),
                          settings)
{}

bool KnowledgeBaseImport::isAvailable()
{
    return JetImport::isAvailable();
}

KnowledgeBaseImport::Outcome KnowledgeBaseImport::offerConversion(const QString &path)
{
    // While an import runs, a query that meets the file between two renames is told the
    // plain message rather than asked again.
    if (m_busy || !isAvailable() || !JetImport::isSameFile(path, m_knowledgeBase) ||
        !JetImport::isJetFile(m_knowledgeBase))
        return Outcome::NotOffered;
    const Stamp stamp = AppSettings::stampOf(m_knowledgeBase);
    if (m_askedAbout == stamp || (m_settings && m_settings->failedImport() == stamp))
        return Outcome::NotOffered;
    const Outcome outcome = import(m_knowledgeBase, m_hooks.visitHasSigns && m_hooks.visitHasSigns());
    if (outcome == Outcome::Imported)
        m_askedAbout.reset();
    else
        m_askedAbout = stamp;
    if (m_settings && (outcome == Outcome::Imported || m_helperFailed))
        m_settings->setFailedImport(m_helperFailed ? std::optional(stamp) : std::nullopt);
    return outcome;
}

KnowledgeBaseImport::Outcome KnowledgeBaseImport::replaceBy(const QString &jetPath)
{
    if (jetPath.isEmpty() || m_busy)
        return Outcome::NotOffered;
    // Refused before the question: asking to replace the base by a file that cannot
    // replace it would be a question for nothing.
    QByteArray head;
    QString reason;
    const auto refuse = [&](DatabaseError::Kind kind, const QString &message) {
        if (m_hooks.refused)
            m_hooks.refused(DatabaseError(kind, jetPath, message));
        return Outcome::Refused;
    };
    if (!m_files.readStart(jetPath, JetFile::HeaderBytes, head, reason))
        return refuse(DatabaseError::Kind::CannotRead, reason);
    if (JetFile::versionOfHeader(head) == 0)
        return refuse(DatabaseError::Kind::NotAccessFile, QStringLiteral("not an Access (Jet) file"));
    return import(jetPath, true);
}

KnowledgeBaseImport::Outcome KnowledgeBaseImport::import(const QString &jetPath, bool emptiesVisit)
{
    const BusyFlag busy(m_busy);
    m_helperFailed = false;
    // One date for the question and the work, so that the name told is the name given.
    JetImport jet(m_files, m_converter);
    jet.setDate(m_date.isValid() ? m_date : QDate::currentDate());
    const bool inPlace = JetImport::isSameFile(jetPath, m_knowledgeBase);
    const Question question{inPlace ? m_knowledgeBase : jetPath, m_knowledgeBase,
                            jet.keptCopyName(jetPath, m_knowledgeBase), emptiesVisit};
    if (!m_hooks.ask || !m_hooks.ask(question))
        return Outcome::Declined;

    const auto closeConnections = [this] {
        if (m_hooks.closeConnections)
            m_hooks.closeConnections();
    };
    // The connections let go of the file before it changes names, and again afterwards:
    // anything opened meanwhile would still read the former file under its new name.
    closeConnections();
    std::optional<JetImport::Summary> summary;
    const Work work = [&](const Progress &progress) {
        jet.setProgress(progress);
        summary = inPlace ? jet.convertInPlace(jetPath) : jet.replaceWith(jetPath, m_knowledgeBase);
    };
    try {
        if (m_hooks.run)
            m_hooks.run(QFileInfo(jetPath).size() >= ProgressFromBytes, work);
        else
            work({});
    } catch (const DatabaseError &error) {
        // A helper that could not be started is an installation to mend, not a file.
        m_helperFailed = error.kind() == DatabaseError::Kind::ReaderFailed &&
                         error.details().value(0).value != QLatin1String("start");
        closeConnections();
        if (m_hooks.refused)
            m_hooks.refused(error);
        return Outcome::Refused;
    }
    closeConnections();
    // The visit's signs carry the numbers of the former base.
    if (emptiesVisit && m_hooks.emptyVisit)
        m_hooks.emptyVisit();
    if (m_hooks.imported)
        m_hooks.imported(*summary);
    return Outcome::Imported;
}
