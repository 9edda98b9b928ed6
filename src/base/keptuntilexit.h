// Objects that the program keeps on purpose until it exits and never deletes: the controller's
// graphics engine, scene timeline, loading screen and the like. Under the leak checker they are
// marked as intended, with everything they point to, so that a check at exit reports only what
// was lost by mistake. Elsewhere this does nothing.
#pragma once

#if defined(__SANITIZE_ADDRESS__)
#define PINDLE_LEAK_CHECKER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PINDLE_LEAK_CHECKER 1
#endif
#endif

#ifdef PINDLE_LEAK_CHECKER
#include <sanitizer/lsan_interface.h>
#endif

template <typename T>
T* KeptUntilExit(T* object) {
#ifdef PINDLE_LEAK_CHECKER
    if (object) __lsan_ignore_object(object);
#endif
    return object;
}
