#if !defined(TREMLOR_TEST_WITHOUT_APPLICATION)
#include <QApplication>
#endif
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gmock/gmock.h>

#include <optional>

#if defined(__SANITIZE_THREAD__)
#include <cstdarg>
#include <dlfcn.h>
#include <sched.h>
#include <sys/syscall.h>
#include <unistd.h>

// Qt starts a child process with clone() in vfork style: the child runs on the parent's memory
// and, under ThreadSanitizer, leaves the starting thread's checker state broken (every later
// lock of that thread goes unseen, then the checker aborts). In the test programs of a TSan
// build such a start becomes a fork the checker knows; Qt only reads the pidfd back.
extern "C" int clone(int (*fn)(void*), void* stack, int flags, void* arg, ...)
{
    va_list args;
    va_start(args, arg);
    int* parentTid = va_arg(args, int*);
    void* tls = va_arg(args, void*);
    int* childTid = va_arg(args, int*);
    va_end(args);
    if (flags & CLONE_VM) {
        const pid_t pid = fork();
        if (pid == 0)
            _exit(fn(arg));
        if (pid > 0 && (flags & CLONE_PIDFD))
            *parentTid = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
        return pid;
    }
    using Clone = int (*)(int (*)(void*), void*, int, void*, ...);
    static const auto real = reinterpret_cast<Clone>(dlsym(RTLD_NEXT, "clone"));
    return real(fn, stack, flags, arg, parentTid, tls, childTid);
}
#endif

namespace {

// Gives the test program its own HOME, XDG folders and temporary folder, all inside one folder
// removed at exit, and no session or system bus unless a test starts a private one: nothing of
// the caller's is read or written (Qt's file dialog keeps its state in the config folder, gsettings
// its dconf files, and a program on an X display with no bus address would start a bus for it).
// Programs a test starts (death tests, a child on a private display) share their parent's folder.
class PrivateEnvironment {
public:
    PrivateEnvironment()
    {
        if (qEnvironmentVariableIsSet(owner))
            return;
        m_root.emplace(QDir::tempPath() + QStringLiteral("/tremlor-test-XXXXXX"));
        if (!m_root->isValid())
            qFatal("cannot create a private folder for the tests: %s", qPrintable(m_root->errorString()));
        const QString root = m_root->path();
        const auto place = [&](const char* name, const QString& path) {
            QDir().mkpath(path);
            qputenv(name, QFile::encodeName(path));
        };
        place("HOME", root + "/home");
        place("XDG_CONFIG_HOME", root + "/home/.config");
        place("XDG_DATA_HOME", root + "/home/.local/share");
        place("XDG_STATE_HOME", root + "/home/.local/state");
        place("XDG_CACHE_HOME", root + "/home/.cache");
        place("XDG_RUNTIME_DIR", root + "/runtime");
        QFile::setPermissions(root + "/runtime", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        place("TMPDIR", root + "/tmp");
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/tremlor-test-session");
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/tremlor-test-system");
        qputenv(owner, QFile::encodeName(root));
    }

private:
    static constexpr const char* owner = "TREMLOR_TEST_ROOT";
    std::optional<QTemporaryDir> m_root;
};

} // namespace

// Every test binary runs in a private environment and, unless built without one, inside a Qt
// application, offscreen unless a platform is given.
int main(int argc, char* argv[])
{
    const PrivateEnvironment environment;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleMock(&argc, argv);
#if !defined(TREMLOR_TEST_WITHOUT_APPLICATION)
    QApplication app(argc, argv);
#endif
    return RUN_ALL_TESTS();
}
