#include <QApplication>

#include <gmock/gmock.h>

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

// Every test binary runs inside a Qt application, offscreen unless a platform is given.
int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleMock(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
