// Fuzzer input taken apart as numbers, flags, bytes and UTF-16 text; reads past the end give zero.
#ifndef NPDESKLAUNCH_TESTS_FUZZ_FUZZ_INPUT_H
#define NPDESKLAUNCH_TESTS_FUZZ_FUZZ_INPUT_H

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include <vector>

#include "common/wide_text.h"

class FuzzInput {
  public:
    FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size), offset_(0) {}

    bool Empty() const { return offset_ >= size_; }

    uint8_t Byte() { return Empty() ? 0 : data_[offset_++]; }

    uint16_t Unit16() {
        const uint16_t low = Byte();
        return static_cast<uint16_t>(low | (Byte() << 8));
    }

    uint32_t Number32() {
        const uint32_t low = Unit16();
        return low | (static_cast<uint32_t>(Unit16()) << 16);
    }

    int32_t Int32() { return static_cast<int32_t>(Number32()); }

    // A number from 0 to `nMax`.
    size_t Below(size_t nMax) { return nMax == 0 ? 0 : Unit16() % (nMax + 1); }

    // Up to `nMax` bytes, as many as are left.
    std::vector<unsigned char> Bytes(size_t nMax) {
        std::vector<unsigned char> bytes;
        const size_t nCount = Below(nMax);
        for (size_t i = 0; i < nCount && !Empty(); ++i) {
            bytes.push_back(Byte());
        }
        return bytes;
    }

    // Text of up to `nMax` units. A byte below 0x80 is that ASCII unit, so that paths, braces,
    // colons and percents come cheaply; any other byte is followed by a raw 16-bit unit
    // (surrogates, lone or paired, and zero units included).
    WideString Text(size_t nMax) {
        WideString text;
        const size_t nCount = Below(nMax);
        for (size_t i = 0; i < nCount && !Empty(); ++i) {
            const uint8_t byte = Byte();
            text += static_cast<WideChar>(byte < 0x80 ? byte : Unit16());
        }
        return text;
    }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t offset_;
};

inline bool StartsWith(const WideString& text, const WideString& start) {
    return text.size() >= start.size() && text.compare(0, start.size(), start) == 0;
}

inline bool EndsWith(const WideString& text, const WideString& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Each target's entry point, as libFuzzer and the replay program call it.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

// Ends the process with a message when a property does not hold, in the fuzzer and the replay
// alike (assert would vanish from a release build).
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            FuzzCheckFailed(#condition, __FILE__, __LINE__);                                       \
        }                                                                                          \
    } while (0)

[[noreturn]] inline void FuzzCheckFailed(const char* condition, const char* file, int line) {
    fprintf(stderr, "%s:%d: property does not hold: %s\n", file, line, condition);
    abort();
}

#endif
