#pragma once

#include <QString>

#include <memory>
#include <optional>

class QPrinter;

// The one printer of the session: the page set-up dialog edits it and the report prints on
// it, so a choice made there holds for the next print. Without any installed printer it is
// a PDF printer, and the report goes to a file.
class SessionPrinter
{
public:
    // Asks the platform for printers when first needed, not at start-up.
    SessionPrinter();
    // For tests: whether a printer is installed is decided here.
    explicit SessionPrinter(bool printerInstalled);
    ~SessionPrinter();
    Q_DISABLE_COPY_MOVE(SessionPrinter)

    static bool anyPrinterInstalled();

    bool printerInstalled();
    // Made on first use.
    QPrinter &printer();

private:
    std::optional<bool> m_printerInstalled;
    std::unique_ptr<QPrinter> m_printer;
};
