#include "SpoolJob.h"

#include "PrintFailure.h"
#include "PrintSpooler.h"

#include <QDir>
#include <QTemporaryFile>

namespace {

// The IPP statuses (RFC 8011) the spooler answers that are told apart here.
constexpr int NotFound = 0x0406;
constexpr int ServiceUnavailable = 0x0502;
constexpr int NotAcceptingJobs = 0x0506;
constexpr int PrinterDeactivated = 0x050A;
// The IPP printer state of a paused queue.
constexpr int Stopped = 5;

} // namespace

SpoolJob::SpoolJob(PrintSpooler &spooler, QString printer, QString jobName, QString paper)
    : m_spooler(spooler), m_printer(std::move(printer)), m_jobName(std::move(jobName)), m_paper(std::move(paper))
{}

SpoolJob::Outcome SpoolJob::outcomeOf(int jobId, int ippStatus)
{
    if (jobId > 0)
        return Outcome::Accepted;
    switch (ippStatus) {
    case NotAcceptingJobs:
    case PrinterDeactivated:
        return Outcome::NotAccepting;
    case NotFound:
        return Outcome::UnknownPrinter;
    case ServiceUnavailable:
        return Outcome::Unreachable;
    default:
        return Outcome::Refused;
    }
}

SpoolJob::Result SpoolJob::run(const Render &render)
{
    // The spooler copies the file as it takes the job, so it never outlives this call.
    QTemporaryFile file(QDir(QDir::tempPath()).filePath(QStringLiteral("tessavor-XXXXXX.pdf")));
    if (!file.open())
        throw PrintFailure(PrintFailure::Stage::Start, file.fileName(), true);
    file.close();
    render(file.fileName());

    const PrintSpooler::Options options{{QStringLiteral("media"), m_paper},
                                        {QStringLiteral("print-scaling"), QStringLiteral("none")},
                                        {QStringLiteral("fit-to-page"), QStringLiteral("false")}};
    const int jobId = m_spooler.printFile(m_printer, file.fileName(), m_jobName, options);
    const Outcome outcome = outcomeOf(jobId, jobId > 0 ? 0 : m_spooler.lastError());
    if (outcome != Outcome::Accepted)
        return {outcome, m_spooler.lastErrorString()};
    // A paused queue takes jobs as any other, and holds them without a word.
    return {m_spooler.printerState(m_printer) == Stopped ? Outcome::Paused : Outcome::Accepted, {}};
}

QString SpoolJob::refusalText(const QString &printer, const Result &result)
{
    QString text;
    switch (result.outcome) {
    case Outcome::Accepted:
    case Outcome::Paused:
        return QString();
    case Outcome::NotAccepting:
        text = QStringLiteral("L'imprimante « %1 » n'accepte pas de travaux pour le moment : la visite n'a pas été "
                              "imprimée.");
        break;
    case Outcome::UnknownPrinter:
        text = QStringLiteral("Le gestionnaire d'impression ne connaît pas l'imprimante « %1 » : la visite n'a pas "
                              "été imprimée.");
        break;
    case Outcome::Unreachable:
        text = QStringLiteral("Le gestionnaire d'impression ne répond pas : la visite n'a pas pu être envoyée à "
                              "l'imprimante « %1 ».");
        break;
    case Outcome::Refused:
        text = QStringLiteral("L'imprimante « %1 » a refusé la visite : elle n'a pas été imprimée.");
        break;
    }
    text = text.arg(printer);
    if (!result.spoolerText.isEmpty()) {
        // A spooler that did not answer has said nothing: what is shown then is why it could
        // not be reached.
        text += (result.outcome == Outcome::Unreachable
                     ? QStringLiteral("\n\nDétail : « %1 »")
                     : QStringLiteral("\n\nRéponse du gestionnaire d'impression : « %1 »"))
                    .arg(result.spoolerText);
    }
    return text + QStringLiteral("\n\nVoulez-vous enregistrer la visite dans un fichier PDF ?");
}

QString SpoolJob::pausedText(const QString &printer)
{
    return QStringLiteral("L'imprimante « %1 » est en pause : le document attend dans sa file.").arg(printer);
}
