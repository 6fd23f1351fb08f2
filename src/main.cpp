#include <QApplication>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPipe[2] = { -1, -1 };

// Quit through the event loop on Ctrl-C or a terminate request, so whatever the program holds
// (keys, inhibitors) is released on the way out. The handler only writes a byte.
void quitOnSignals(QCoreApplication& app)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [] {
        char byte = 0;
        [[maybe_unused]] const auto n = ::read(signalPipe[1], &byte, 1);
        QCoreApplication::quit();
    });
    for (int sig : { SIGINT, SIGTERM, SIGHUP }) {
        std::signal(sig, [](int) {
            const char byte = 1;
            [[maybe_unused]] const auto n = ::write(signalPipe[0], &byte, 1);
        });
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tremlor"));
    QApplication::setApplicationVersion(QStringLiteral(TREMLOR_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);
    quitOnSignals(app);
    return QApplication::exec();
}
