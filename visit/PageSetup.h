#pragma once

class SessionPrinter;
class QWidget;

// The page set-up command: the platform's page dialog on the printer the report will use.
// Whatever the user does there is the dialog's business; the command reads nothing back.
class PageSetup
{
public:
    explicit PageSetup(SessionPrinter &printer) : m_printer(printer) {}

    void run(QWidget *parent);

private:
    SessionPrinter &m_printer;
};
