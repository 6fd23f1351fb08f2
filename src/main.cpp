#include "App/SingleInstance.h"
#include "TremlorApp.h"

#include <QApplication>
#include <QDBusConnection>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sys/socket.h>
#include <unistd.h>
#include <xcb/xcb.h>

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
        if (auto* tremlor = tremlor::TremlorApp::instance())
            tremlor->quit();
        else
            QCoreApplication::quit();
    });
    for (int sig : { SIGINT, SIGTERM, SIGHUP }) {
        std::signal(sig, [](int) {
            const char byte = 1;
            [[maybe_unused]] const auto n = ::write(signalPipe[0], &byte, 1);
        });
    }
}

// Tremlor drives an X11 session. Without a display Qt would abort with advice to reinstall;
// say what is missing instead.
bool x11DisplayUsable()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && !platform.startsWith("xcb"))
        return true;
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const bool usable = connection && xcb_connection_has_error(connection) == 0;
    if (connection)
        xcb_disconnect(connection);
    return usable;
}

} // namespace

int main(int argc, char* argv[])
{
    // Under Wayland the X11 backend runs through Xwayland.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    if (!x11DisplayUsable()) {
        const QByteArray display = qgetenv("DISPLAY");
        std::fprintf(stderr, "tremlor: an X11 display is needed, and %s.\n",
            display.isEmpty()
                ? "DISPLAY is not set"
                : qPrintable(QStringLiteral("display \"%1\" cannot be opened").arg(QString::fromLocal8Bit(display))));
        return 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tremlor"));
    QApplication::setApplicationVersion(QStringLiteral(TREMLOR_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("com.tremlor.app"));
    QApplication::setQuitOnLastWindowClosed(false);
    // Qt has no build number of its own; the About view reads ours beside the version.
    app.setProperty("buildNumber", QStringLiteral(TREMLOR_BUILD));
    quitOnSignals(app);

    std::unique_ptr<tremlor::TremlorApp> tremlorApp;
    tremlor::SingleInstance instance(QDBusConnection::sessionBus());
    instance.claim([&](tremlor::SingleInstance::Outcome outcome) {
        switch (outcome) {
        case tremlor::SingleInstance::Outcome::handedOver:
            QCoreApplication::exit(0);
            return;
        case tremlor::SingleInstance::Outcome::failed:
            std::fprintf(stderr, "tremlor: not starting: %s.\n", qPrintable(instance.failure()));
            QCoreApplication::exit(1);
            return;
        case tremlor::SingleInstance::Outcome::first:
            break;
        }
        tremlorApp = std::make_unique<tremlor::TremlorApp>();
        instance.setOpenSettingsHandler([] { tremlor::TremlorApp::openSettingsWindow(); });
    });
    const int status = QApplication::exec();
    tremlorApp.reset();
    return status;
}
