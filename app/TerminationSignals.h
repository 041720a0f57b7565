#pragma once

#include <QObject>

#include <csignal>

class QSocketNotifier;

// The session's request to end the program (SIGTERM, at logout or from a package manager)
// and Ctrl+C in a terminal (SIGINT), turned into an ordinary event: from construction on,
// these signals no longer kill the process; once listen() is called, each one emits
// received() from the event loop, where the program closes its windows as a person would.
// Whatever the program is doing, it is ended GraceSeconds after the signal if it has not
// ended by then. One instance at a time; the default handling comes back when it is
// destroyed, and the pending end with it.
class TerminationSignals final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TerminationSignals)

public:
    static constexpr unsigned GraceSeconds = 5;

    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

    // Signals caught before this call are delivered by it.
    void listen();

signals:
    void received();

private:
    void onActivated();

    QSocketNotifier *m_notifier = nullptr;
#ifdef Q_OS_UNIX
    struct sigaction m_previousTerm {};
    struct sigaction m_previousInt {};
#endif
};
