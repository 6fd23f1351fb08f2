#pragma once

// Qt's queued calls synchronise through its own futex-based mutexes, which ThreadSanitizer
// cannot see. A hand-off through Qt carries an Edge: made where the work is posted, arrived
// at where it runs. Each edge has a tag of its own, so it links that post to that run and to
// nothing else. Without TSan an edge is empty.

#if defined(__SANITIZE_THREAD__)
#define TREMLOR_TSAN 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define TREMLOR_TSAN 1
#endif
#endif

#ifdef TREMLOR_TSAN
#include <memory>

extern "C" void __tsan_acquire(void* addr);
extern "C" void __tsan_release(void* addr);
#endif

namespace tremlor::handoff {

#ifdef TREMLOR_TSAN
class Edge {
public:
    Edge()
        : m_tag(std::make_shared<char>())
    {
        __tsan_release(m_tag.get());
    }
    // Where the posted work runs.
    void arrive() const { __tsan_acquire(m_tag.get()); }

private:
    std::shared_ptr<char> m_tag;
};
#else
class Edge {
public:
    void arrive() const { }
};
#endif

} // namespace tremlor::handoff
