#include "ExitSignals.h"

#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A signal handler may only write to a descriptor; the GUI thread reads the other end.
int g_SignalPipe[2] = {-1, -1};

void HandleSignal(int number)
{
    const unsigned char byte = static_cast<unsigned char>(number);
    const ssize_t written = ::write(g_SignalPipe[0], &byte, 1);
    (void)written;  // a full pipe already holds a pending request
}

const int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

} // namespace

ExitSignals::ExitSignals(QObject* parent)
    : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_SignalPipe) != 0)
        return;
    m_Notifier = new QSocketNotifier(g_SignalPipe[1], QSocketNotifier::Read, this);
    connect(m_Notifier, &QSocketNotifier::activated, this, &ExitSignals::ReadSignal);
    struct sigaction action {};
    action.sa_handler = HandleSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : kSignals)
        ::sigaction(number, &action, nullptr);
}

ExitSignals::~ExitSignals()
{
    for (int number : kSignals)
        ::signal(number, SIG_DFL);
    delete m_Notifier;
    for (int& fd : g_SignalPipe) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

void ExitSignals::ReadSignal()
{
    unsigned char byte = 0;
    int last = 0;
    while (::read(g_SignalPipe[1], &byte, 1) == 1)
        last = byte;
    if (last != 0)
        emit ExitRequested(last);
}
