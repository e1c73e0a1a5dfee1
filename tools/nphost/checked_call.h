// Calls into the plug-in that measure the stack pointer: on 32-bit Windows a function called
// with the wrong convention leaves the stack pointer off by its argument bytes.
#ifndef NPDESKLAUNCH_TOOLS_NPHOST_CHECKED_CALL_H
#define NPDESKLAUNCH_TOOLS_NPHOST_CHECKED_CALL_H

#include <stdint.h>

#include <string>
#include <type_traits>

namespace nphost {

enum class Convention { Cdecl, Stdcall };

// Told about every call whose callee left the stack pointer where its convention does not.
void ReportStackMismatch(const char* what, Convention convention, uint32_t nArgumentBytes,
                         long nPopped);

#if defined(_M_IX86) || defined(__i386__)
// Pushes `nWords` words, calls `function`, and reports how many bytes the callee removed.
extern "C" uint64_t NpdCallWords(const void* function, const uint32_t* words, uint32_t nWords,
                                 int32_t* pnPopped);

template <typename T> uint32_t ToWord(T value) {
    if constexpr (std::is_pointer<T>::value) {
        return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(value));
    } else {
        static_assert(sizeof(T) <= 4, "one stack word per argument");
        return static_cast<uint32_t>(value);
    }
}

template <typename R> R FromWords(uint64_t value) {
    if constexpr (std::is_void<R>::value) {
        return;
    } else if constexpr (std::is_same<R, bool>::value) {
        return (value & 0xFF) != 0; // only AL carries a bool
    } else if constexpr (std::is_pointer<R>::value) {
        return reinterpret_cast<R>(static_cast<uintptr_t>(static_cast<uint32_t>(value)));
    } else {
        return static_cast<R>(value);
    }
}

template <typename R, typename... A>
R CallChecked(const char* what, Convention convention, const void* function, A... args) {
    const uint32_t words[sizeof...(A) + 1] = {ToWord(args)..., 0};
    const uint32_t nWords = static_cast<uint32_t>(sizeof...(A));
    int32_t nPopped = 0;
    const uint64_t value = NpdCallWords(function, words, nWords, &nPopped);
    const long nExpected = convention == Convention::Stdcall ? static_cast<long>(nWords * 4) : 0;
    if (nPopped != nExpected) {
        ReportStackMismatch(what, convention, nWords * 4, nPopped);
    }
    return FromWords<R>(value);
}

// A table function (__cdecl) of the plug-in, called through the measuring thunk.
template <typename R, typename... P, typename... A>
R CallTable(const char* what, R (*function)(P...), A... args) {
    return CallChecked<R, P...>(what, Convention::Cdecl, reinterpret_cast<const void*>(function),
                                static_cast<P>(args)...);
}
#else
// One calling convention on 64-bit Windows: nothing to measure.
template <typename R, typename... P, typename... A>
R CallTable(const char*, R (*function)(P...), A... args) {
    return function(static_cast<P>(args)...);
}
#endif

} // namespace nphost

#endif
