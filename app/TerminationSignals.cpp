#include "TerminationSignals.h"

#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

// A signal handler may do almost nothing: it writes one byte that the event loop reads.
int signalPipe[2] = {-1, -1};

#ifdef Q_OS_UNIX
void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
    // The event loop may be held up by a long piece of work (a rebuild of a large base):
    // the session still ends the program within the grace time, by the alarm's default
    // action. The base's writes are transactions, which a stop in their middle undoes.
    ::alarm(TerminationSignals::GraceSeconds);
}
#endif

} // namespace

TerminationSignals::TerminationSignals(QObject *parent) : QObject(parent)
{
#ifdef Q_OS_UNIX
    if (signalPipe[0] != -1 || ::pipe(signalPipe) != 0)
        return;
    for (int fd : signalPipe) {
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
    m_notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    m_notifier->setEnabled(false);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::onActivated);

    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, &m_previousTerm);
    ::sigaction(SIGINT, &action, &m_previousInt);
#endif
}

TerminationSignals::~TerminationSignals()
{
#ifdef Q_OS_UNIX
    if (!m_notifier)
        return;
    ::sigaction(SIGTERM, &m_previousTerm, nullptr);
    ::sigaction(SIGINT, &m_previousInt, nullptr);
    ::alarm(0);
    delete m_notifier;
    for (int &fd : signalPipe) {
        ::close(fd);
        fd = -1;
    }
#endif
}

void TerminationSignals::listen()
{
    if (m_notifier)
        m_notifier->setEnabled(true);
}

void TerminationSignals::onActivated()
{
#ifdef Q_OS_UNIX
    char bytes[16];
    while (::read(signalPipe[0], bytes, sizeof bytes) > 0) {
    }
#endif
    emit received();
}
