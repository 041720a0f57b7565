#pragma once

#include <QString>

#include <memory>

class QPrinter;

// The one printer of the session: the page set-up dialog edits it and the report prints on
// it, so a choice made there holds for the next print. Without any installed printer it is
// a PDF printer, and the report goes to a file.
class SessionPrinter
{
public:
    explicit SessionPrinter(bool printerInstalled = anyPrinterInstalled());
    ~SessionPrinter();
    Q_DISABLE_COPY_MOVE(SessionPrinter)

    static bool anyPrinterInstalled();

    bool printerInstalled() const { return m_printerInstalled; }
    // Made on first use.
    QPrinter &printer();

private:
    bool m_printerInstalled;
    std::unique_ptr<QPrinter> m_printer;
};
