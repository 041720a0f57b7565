#include "KnowledgeBaseImport.h"

#include "DatabaseError.h"
#include "ImportFiles.h"

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

KnowledgeBaseImport::KnowledgeBaseImport(QString knowledgeBase, Hooks hooks, ImportFiles &files)
    : m_knowledgeBase(std::move(knowledgeBase)), m_hooks(std::move(hooks)), m_files(files)
{}

KnowledgeBaseImport::KnowledgeBaseImport(QString knowledgeBase, Hooks hooks)
    : KnowledgeBaseImport(std::move(knowledgeBase), std::move(hooks), ImportFiles::system())
{}

bool KnowledgeBaseImport::isAvailable()
{
    return JetImport::isAvailable();
}

KnowledgeBaseImport::Stamp KnowledgeBaseImport::stampOf(const QString &path)
{
    const QFileInfo info(path);
    return {info.absoluteFilePath(), info.exists() ? info.size() : -1, info.lastModified()};
}

KnowledgeBaseImport::Outcome KnowledgeBaseImport::offerConversion(const QString &path)
{
    // While an import runs, a query that meets the file between two renames is told the
    // plain message rather than asked again.
    if (m_busy || !isAvailable() || !JetImport::isSameFile(path, m_knowledgeBase) ||
        !JetImport::isJetFile(m_knowledgeBase))
        return Outcome::NotOffered;
    const Stamp stamp = stampOf(m_knowledgeBase);
    if (m_askedAbout == stamp)
        return Outcome::NotOffered;
    const Outcome outcome = import(m_knowledgeBase, m_hooks.visitHasSigns && m_hooks.visitHasSigns());
    if (outcome == Outcome::Imported)
        m_askedAbout.reset();
    else
        m_askedAbout = stamp;
    return outcome;
}

KnowledgeBaseImport::Outcome KnowledgeBaseImport::replaceBy(const QString &jetPath)
{
    if (jetPath.isEmpty() || m_busy)
        return Outcome::NotOffered;
    // Refused before the question: asking to replace the base by a file that cannot
    // replace it would be a question for nothing.
    if (!JetImport::isJetFile(jetPath)) {
        if (m_hooks.refused)
            m_hooks.refused(
                DatabaseError(DatabaseError::Kind::NotAccessFile, jetPath, QStringLiteral("not an Access (Jet) file")));
        return Outcome::Refused;
    }
    return import(jetPath, true);
}

KnowledgeBaseImport::Outcome KnowledgeBaseImport::import(const QString &jetPath, bool emptiesVisit)
{
    const BusyFlag busy(m_busy);
    // One date for the question and the work, so that the name told is the name given.
    JetImport jet(m_files);
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
