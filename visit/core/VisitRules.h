#pragma once

#include <QDateTime>
#include <QString>

class PrintFailure;
struct RegionalClock;

// What the visit commands decide, apart from the windows they act on.
namespace VisitRules {

enum class Command { None, New, Open, Save, Print, Cut, Carnet, Visites };

// The command of a toolbar key ("New", "Open", "Save", "Print", "Cut", "Carnet",
// "Visites"); keys compare exactly, case included, and any other key is None.
Command commandForKey(const QString &key);

// What "Enregistrer" tells: there is no visit store, so saving never succeeds.
QString saveMessage(int recordedSigns);

// The document's name, in the report header's forms: "Visite du 05/12/2026 à 14:05:09". It
// is the PDF's title and the print job's name.
QString documentName(const RegionalClock &clock, const QDateTime &when);

// The file proposed for the report saved as PDF at `when`: "Visite 2026-12-05 14-05.pdf".
QString pdfFileName(const QDateTime &when);
// The folder the PDF is proposed in: the documents folder when it exists, else the home
// folder.
QString pdfFolder(const QString &documents, const QString &home);
// The chosen file, given the ".pdf" ending when it has none (in any case).
QString withPdfSuffix(const QString &path);

// What the practitioner reads when the printer has no such paper.
QString missingPaperText(const QString &printer, const QString &paper);

// What the practitioner reads when the printer or the PDF file failed.
QString printFailureText(const PrintFailure &failure);

} // namespace VisitRules
