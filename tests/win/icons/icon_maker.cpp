// Writes the test icons of icon_patterns.h as .ico files, and one resource script per carrier
// program that names its icon. Runs on the build machine:  icon_maker OUTPUT_FOLDER
#include <stdint.h>
#include <stdio.h>

#include <string>
#include <vector>

#include "../test_bytes.h"
#include "icon_patterns.h"

namespace {

using test_bytes::Bytes;
using test_bytes::Put16;
using test_bytes::Put32;
using test_bytes::WriteWholeFile;

void Put32BigEndian(Bytes& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<uint8_t>((value >> shift) & 0xFF));
    }
}

// An icon image as icon resources hold it: information header (height doubled), colour table
// for one bit per pixel, image rows and AND-mask rows, both bottom row first.
Bytes BitmapImage(icons::IconKind kind) {
    const int side = icons::SideOf(kind);
    const int bits = icons::BitsOf(kind);
    const int imageStride = ((side * bits + 31) / 32) * 4;
    const int maskStride = ((side + 31) / 32) * 4;
    Bytes out;
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(side));
    Put32(out, static_cast<uint32_t>(side * 2));
    Put16(out, 1);
    Put16(out, static_cast<uint32_t>(bits));
    Put32(out, 0);
    Put32(out, static_cast<uint32_t>((imageStride + maskStride) * side));
    for (int i = 0; i < 4; ++i) {
        Put32(out, 0);
    }
    if (bits == 1) {
        Put32(out, 0x00000000); // index 0: black
        Put32(out, 0x00FFFFFF); // index 1: white
    }
    for (int y = side - 1; y >= 0; --y) {
        Bytes row(static_cast<size_t>(imageStride), 0);
        for (int x = 0; x < side; ++x) {
            const icons::IconPixel pixel = icons::PixelOf(kind, x, y);
            if (bits == 1) {
                if (pixel.b != 0) {
                    row[static_cast<size_t>(x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
                }
                continue;
            }
            const size_t at = static_cast<size_t>(x * bits / 8);
            row[at] = pixel.b;
            row[at + 1] = pixel.g;
            row[at + 2] = pixel.r;
            if (bits == 32) {
                row[at + 3] = pixel.a;
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    for (int y = side - 1; y >= 0; --y) {
        Bytes row(static_cast<size_t>(maskStride), 0);
        for (int x = 0; x < side; ++x) {
            if (icons::PixelOf(kind, x, y).bMask) {
                row[static_cast<size_t>(x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

uint32_t Crc32(const uint8_t* data, size_t size) {
    uint32_t crc = 0xFFFFFFFF;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return crc ^ 0xFFFFFFFF;
}

void PutChunk(Bytes& out, const char* type, const Bytes& data) {
    Put32BigEndian(out, static_cast<uint32_t>(data.size()));
    Bytes typed(type, type + 4);
    typed.insert(typed.end(), data.begin(), data.end());
    out.insert(out.end(), typed.begin(), typed.end());
    Put32BigEndian(out, Crc32(typed.data(), typed.size()));
}

// A zlib stream of stored (uncompressed) deflate blocks.
Bytes ZlibStored(const Bytes& raw) {
    Bytes out = {0x78, 0x01};
    size_t at = 0;
    do {
        const size_t size = raw.size() - at < 65535 ? raw.size() - at : 65535;
        out.push_back(at + size == raw.size() ? 1 : 0);
        Put16(out, static_cast<uint32_t>(size));
        Put16(out, static_cast<uint32_t>(~size & 0xFFFF));
        out.insert(out.end(), raw.begin() + static_cast<long>(at),
                   raw.begin() + static_cast<long>(at + size));
        at += size;
    } while (at < raw.size());
    uint32_t a = 1, b = 0;
    for (uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    Put32BigEndian(out, (b << 16) | a);
    return out;
}

// An icon image as PNG: 8-bit RGBA, no filtering.
Bytes PngImage(icons::IconKind kind) {
    const int side = icons::SideOf(kind);
    Bytes out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    Bytes header;
    Put32BigEndian(header, static_cast<uint32_t>(side));
    Put32BigEndian(header, static_cast<uint32_t>(side));
    header.insert(header.end(), {8, 6, 0, 0, 0});
    PutChunk(out, "IHDR", header);
    Bytes raw;
    for (int y = 0; y < side; ++y) {
        raw.push_back(0);
        for (int x = 0; x < side; ++x) {
            const icons::IconPixel pixel = icons::PixelOf(kind, x, y);
            raw.insert(raw.end(), {pixel.r, pixel.g, pixel.b, pixel.a});
        }
    }
    PutChunk(out, "IDAT", ZlibStored(raw));
    PutChunk(out, "IEND", Bytes());
    return out;
}

// An .ico file of the given images (PNG for 256x256, else bitmap) and the carrier's script.
bool WriteIcon(const std::string& folder, const std::string& name,
               const std::vector<icons::IconKind>& kinds) {
    std::vector<Bytes> images;
    for (icons::IconKind kind : kinds) {
        images.push_back(icons::SideOf(kind) == 256 ? PngImage(kind) : BitmapImage(kind));
    }
    Bytes out;
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, static_cast<uint32_t>(kinds.size()));
    uint32_t offset = static_cast<uint32_t>(6 + 16 * kinds.size());
    for (size_t i = 0; i < kinds.size(); ++i) {
        const int side = icons::SideOf(kinds[i]);
        out.push_back(static_cast<uint8_t>(side == 256 ? 0 : side));
        out.push_back(static_cast<uint8_t>(side == 256 ? 0 : side));
        out.push_back(icons::BitsOf(kinds[i]) == 1 ? 2 : 0);
        out.push_back(0);
        Put16(out, 1);
        Put16(out, static_cast<uint32_t>(icons::BitsOf(kinds[i])));
        Put32(out, static_cast<uint32_t>(images[i].size()));
        Put32(out, offset);
        offset += static_cast<uint32_t>(images[i].size());
    }
    for (const Bytes& image : images) {
        out.insert(out.end(), image.begin(), image.end());
    }
    const std::string icoPath = folder + "/" + name + ".ico";
    // Resource identifier 2, so that a negative index can name it (-1 has a meaning of its own).
    const std::string script = "2 ICON \"" + icoPath + "\"\n";
    return WriteWholeFile(icoPath, out) &&
           WriteWholeFile(folder + "/carrier_" + name + ".rc", Bytes(script.begin(), script.end()));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: icon_maker OUTPUT_FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    const bool ok = WriteIcon(folder, "alpha", {icons::kAlpha}) &&
                    WriteIcon(folder, "classic", {icons::kClassic}) &&
                    WriteIcon(folder, "invert", {icons::kInvert}) &&
                    WriteIcon(folder, "small", {icons::kSmall}) &&
                    WriteIcon(folder, "large", {icons::kLarge48, icons::kLarge256}) &&
                    WriteIcon(folder, "png", {icons::kLarge256}) &&
                    WriteIcon(folder, "mono", {icons::kMonochrome});
    return ok ? 0 : 1;
}
