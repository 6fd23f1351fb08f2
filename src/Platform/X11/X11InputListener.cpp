#include "Platform/X11/X11InputListener.h"

#include "Platform/X11/X11Connection.h"

#include <map>
#include <memory>
#include <poll.h>
#include <set>
#include <sys/eventfd.h>
#include <unistd.h>

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

namespace tremlor::x11 {

namespace {

std::int64_t nanosOf(std::chrono::steady_clock::time_point time)
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count();
}

// Valuator numbers of each device's scroll axes: smooth-scrolling devices report the wheel
// as raw motion on those axes.
std::map<int, std::set<int>> scrollValuators(Display* d)
{
    std::map<int, std::set<int>> result;
    int count = 0;
    XIDeviceInfo* devices = XIQueryDevice(d, XIAllDevices, &count);
    if (!devices)
        return result;
    for (int i = 0; i < count; ++i) {
        for (int c = 0; c < devices[i].num_classes; ++c) {
            if (devices[i].classes[c]->type == XIScrollClass) {
                const auto* scroll = reinterpret_cast<const XIScrollClassInfo*>(devices[i].classes[c]);
                result[devices[i].deviceid].insert(scroll->number);
            }
        }
    }
    XIFreeDeviceInfo(devices);
    return result;
}

} // namespace

X11InputListener::X11InputListener(const QString& displayName)
{
    for (auto& slot : m_lastSeen)
        slot.store(never);
    auto connection = std::make_unique<X11Connection>(displayName);
    Display* d = connection->display();
    if (!d)
        return;
    int opcode = 0, event = 0, error = 0;
    if (!XQueryExtension(d, "XInputExtension", &opcode, &event, &error))
        return;
    int major = 2, minor = 2;
    if (XIQueryVersion(d, &major, &minor) != Success || major < 2 || (major == 2 && minor < 1))
        return;

    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawKeyPress);
    XISetMask(bits, XI_RawButtonPress);
    XISetMask(bits, XI_RawButtonRelease);
    XISetMask(bits, XI_RawMotion);
    XIEventMask mask { XIAllMasterDevices, static_cast<int>(sizeof(bits)), bits };
    XISelectEvents(d, DefaultRootWindow(d), &mask, 1);
    XSync(d, False);
    if (connection->isLost())
        return;

    m_wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_wakeFd < 0)
        return;
    m_listening = true;
    m_thread = std::thread([this, conn = connection.release(), opcode] {
        std::unique_ptr<X11Connection> owned(conn);
        run(owned.get(), opcode);
        m_listening = false;
    });
}

X11InputListener::~X11InputListener()
{
    if (m_thread.joinable()) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const auto written = ::write(m_wakeFd, &one, sizeof(one));
        m_thread.join();
    }
    if (m_wakeFd >= 0)
        ::close(m_wakeFd);
}

void X11InputListener::record(InputEventType type, std::int64_t nanos)
{
    m_lastSeen[static_cast<std::size_t>(type)].store(nanos);
}

void X11InputListener::run(void* connectionPointer, int opcode)
{
    auto* connection = static_cast<X11Connection*>(connectionPointer);
    Display* d = connection->display();
    std::map<int, std::set<int>> scrollAxes = scrollValuators(d);
    bool button1Held = false;
    pollfd fds[2] = { { connection->fileDescriptor(), POLLIN, 0 }, { m_wakeFd, POLLIN, 0 } };
    while (true) {
        if (connection->isLost())
            return;
        while (!connection->isLost() && XPending(d) > 0) {
            XEvent event;
            XNextEvent(d, &event);
            XGenericEventCookie* cookie = &event.xcookie;
            if (cookie->type != GenericEvent || cookie->extension != opcode || !XGetEventData(d, cookie))
                continue;
            const auto now = nanosOf(std::chrono::steady_clock::now());
            const auto* raw = static_cast<const XIRawEvent*>(cookie->data);
            ++m_eventCount;
            switch (cookie->evtype) {
            case XI_RawKeyPress:
                record(InputEventType::keyDown, now);
                break;
            case XI_RawButtonPress:
                if (raw->detail == 1) {
                    button1Held = true;
                    record(InputEventType::leftMouseDown, now);
                } else if (raw->detail == 3) {
                    record(InputEventType::rightMouseDown, now);
                } else if (raw->detail >= 4 && raw->detail <= 7) {
                    record(InputEventType::scrollWheel, now);
                }
                break;
            case XI_RawButtonRelease:
                if (raw->detail == 1)
                    button1Held = false;
                break;
            case XI_RawMotion: {
                bool scrolled = false;
                auto axes = scrollAxes.find(raw->sourceid);
                if (axes == scrollAxes.end()) {
                    // A device plugged in since: ask once, and remember devices without axes.
                    scrollAxes = scrollValuators(d);
                    axes = scrollAxes.try_emplace(raw->sourceid).first;
                }
                if (axes != scrollAxes.end()) {
                    for (int number : axes->second) {
                        if (number < raw->valuators.mask_len * 8 && XIMaskIsSet(raw->valuators.mask, number))
                            scrolled = true;
                    }
                }
                if (scrolled) {
                    record(InputEventType::scrollWheel, now);
                } else {
                    record(InputEventType::mouseMoved, now);
                    if (button1Held)
                        record(InputEventType::leftMouseDragged, now);
                }
                break;
            }
            default:
                break;
            }
            XFreeEventData(d, cookie);
        }
        if (connection->isLost())
            return;
        fds[0].revents = 0;
        fds[1].revents = 0;
        if (::poll(fds, 2, -1) < 0)
            continue;
        if (fds[1].revents & POLLIN)
            return;
        if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) {
            // Let Xlib notice the loss itself so the connection is marked lost.
            XPending(d);
            if (connection->isLost() || (fds[0].revents & POLLNVAL))
                return;
        }
    }
}

double X11InputListener::secondsSinceLastEvent(InputEventType type, std::chrono::steady_clock::time_point now) const
{
    const std::int64_t seen = m_lastSeen[static_cast<std::size_t>(type)].load();
    if (seen == never)
        return 63113904000.0;
    return static_cast<double>(nanosOf(now) - seen) / 1e9;
}

} // namespace tremlor::x11
