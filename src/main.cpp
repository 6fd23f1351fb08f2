#include "CompositionRoot.h"

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
    // Read by the About views.
    app.setProperty("CFBundleShortVersionString", QStringLiteral(TREMLOR_VERSION));
    app.setProperty("CFBundleVersion", QStringLiteral(TREMLOR_BUILD));
    quitOnSignals(app);
    // Until the interface exists the program runs headless: a schedule window that covers
    // now starts a session as soon as the event loop runs.
    const tremlor::CompositionRoot root;
    return QApplication::exec();
}
