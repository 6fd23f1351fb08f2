#pragma once

// Qt's queued calls synchronise through its own futex-based mutexes, which ThreadSanitizer
// cannot see. Our hand-offs to and from a serial queue mark the edge themselves, so a TSan
// build reports only races of our own. Without TSan these are empty.

#if defined(__SANITIZE_THREAD__)
#define TREMLOR_TSAN 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define TREMLOR_TSAN 1
#endif
#endif

#ifdef TREMLOR_TSAN
extern "C" void __tsan_acquire(void* addr);
extern "C" void __tsan_release(void* addr);
#endif

namespace tremlor::handoff {

inline char tag;

// Before handing work to another thread.
inline void release()
{
#ifdef TREMLOR_TSAN
    __tsan_release(&tag);
#endif
}

// When the work (or its completion) arrives.
inline void acquire()
{
#ifdef TREMLOR_TSAN
    __tsan_acquire(&tag);
#endif
}

} // namespace tremlor::handoff
