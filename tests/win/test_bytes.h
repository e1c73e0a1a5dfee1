// Bytes of test data: little-endian fields, the same noise on every run, whole files. Used by the
// generators that run on the build machine and by the Windows tests alike.
#ifndef NPDESKLAUNCH_TESTS_WIN_TEST_BYTES_H
#define NPDESKLAUNCH_TESTS_WIN_TEST_BYTES_H

#include <stdint.h>
#include <stdio.h>

#include <string>
#include <vector>

namespace test_bytes {

typedef std::vector<uint8_t> Bytes;

inline void Put16(Bytes& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

inline void Put32(Bytes& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// `nSize` bytes from a linear congruential generator started at `seed`.
inline Bytes Noise(size_t nSize, uint32_t seed) {
    Bytes out(nSize);
    for (uint8_t& byte : out) {
        seed = seed * 1103515245u + 12345u;
        byte = static_cast<uint8_t>(seed >> 16);
    }
    return out;
}

// Writes `bytes` as the whole file at `path`; says why on standard error when it cannot.
inline bool WriteWholeFile(const std::string& path, const Bytes& bytes) {
    FILE* file = fopen(path.c_str(), "wb");
    if (file == NULL) {
        perror(path.c_str());
        return false;
    }
    const bool ok = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return fclose(file) == 0 && ok;
}

} // namespace test_bytes

#endif
