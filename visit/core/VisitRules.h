#pragma once

#include <QDateTime>
#include <QString>

class PrintFailure;

// What the visit commands decide, apart from the windows they act on.
namespace VisitRules {

enum class Command { None, New, Open, Save, Print, Cut, Carnet, Visites };

// The command of a toolbar key ("New", "Open", "Save", "Print", "Cut", "Carnet",
// "Visites"); keys compare exactly, case included, and any other key is None.
Command commandForKey(const QString &key);

// What "Enregistrer" tells: there is no visit store, so saving never succeeds.
QString saveMessage(int recordedSigns);

// The file proposed for the report saved as PDF at `when`: "Visite 2026-12-05 14-05.pdf".
QString pdfFileName(const QDateTime &when);
// The chosen file, given the ".pdf" ending when it has none (in any case).
QString withPdfSuffix(const QString &path);

// What the practitioner reads when the printer or the PDF file failed.
QString printFailureText(const PrintFailure &failure);

} // namespace VisitRules
