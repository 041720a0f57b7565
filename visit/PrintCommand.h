#pragma once

#include "ListEntry.h"
#include "RegionalClock.h"

#include <QList>
#include <QString>

#include <functional>
#include <memory>

class PrintDevice;
class QPrinter;
class SessionPrinter;
class QWidget;

// The print command: asks for confirmation, then prints the visit report on the session's
// printer under the busy pointer. Without a printer it offers to save the report as a PDF
// file. Failures of the database or of the printer are told to the practitioner; none
// leaves the busy pointer behind.
class PrintCommand
{
public:
    enum class Outcome { Cancelled, Printed, Failed };

    // The device the report is printed on, for the session's printer.
    using DeviceFactory = std::function<std::unique_ptr<PrintDevice>(QPrinter &printer)>;

    // Without a factory, the report goes to a PrinterDevice.
    explicit PrintCommand(SessionPrinter &printer, RegionalClock clock = {}, DeviceFactory makeDevice = {});

    Outcome run(QWidget *parent, const QList<ListEntry> &signes, const QList<ListEntry> &syndromes,
                const QString &databasePath);

    // The file proposed for the PDF: "Visite 2026-12-05 14-05.pdf" in the documents folder.
    QString proposedPdfPath() const;

private:
    bool choosePdfFile(QWidget *parent);

    SessionPrinter &m_printer;
    RegionalClock m_clock;
    DeviceFactory m_makeDevice;
};
