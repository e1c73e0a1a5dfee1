// Writes damaged copies of a good icon and of a good version resource, and one resource script
// per carrier program that holds one of them. Runs on the build machine:
//   damaged_maker GOOD_ICO OUTPUT_FOLDER
// The icon damages keep the .ico file's directory whole (the resource compiler reads only that)
// and spoil the image it points to; the version damages spoil the structure of the resource.
#include <stdint.h>
#include <stdio.h>

#include <string>
#include <vector>

#include "../test_bytes.h"

namespace {

using test_bytes::Bytes;
using test_bytes::Noise;
using test_bytes::Put16;
using test_bytes::WriteWholeFile;

// Offset of the one image in a one-image .ico file, and of its size in the directory entry.
const size_t kImageOffset = 6 + 16;
const size_t kEntrySizeOffset = 6 + 8;

void Set16(Bytes& out, size_t at, uint32_t value) {
    out[at] = static_cast<uint8_t>(value & 0xFF);
    out[at + 1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}

void Set32(Bytes& out, size_t at, uint32_t value) {
    Set16(out, at, value & 0xFFFF);
    Set16(out, at + 2, value >> 16);
}

bool ReadFile(const std::string& path, Bytes* bytes) {
    FILE* file = fopen(path.c_str(), "rb");
    if (file == NULL) {
        perror(path.c_str());
        return false;
    }
    int c;
    while ((c = fgetc(file)) != EOF) {
        bytes->push_back(static_cast<uint8_t>(c));
    }
    fclose(file);
    return true;
}

bool WriteText(const std::string& path, const std::string& text) {
    return WriteWholeFile(path, Bytes(text.begin(), text.end()));
}

// The good icon with its image replaced by `image`; the directory entry gives the new size.
Bytes WithImage(const Bytes& ico, const Bytes& image) {
    Bytes out(ico.begin(), ico.begin() + kImageOffset);
    Set32(out, kEntrySizeOffset, static_cast<uint32_t>(image.size()));
    out.insert(out.end(), image.begin(), image.end());
    return out;
}

// One node of a version resource: length, value length, type, key, value, children, each
// part aligned to four bytes from the start of the resource.
struct Node {
    std::string key;
    Bytes value;
    bool bText;
    std::vector<Node> children;
};

void Align(Bytes& out) {
    while (out.size() % 4 != 0) {
        out.push_back(0);
    }
}

void PutNode(Bytes& out, const Node& node) {
    Align(out);
    const size_t start = out.size();
    Put16(out, 0);
    Put16(out, static_cast<uint32_t>(node.bText ? node.value.size() / 2 : node.value.size()));
    Put16(out, node.bText ? 1 : 0);
    for (char c : node.key) {
        Put16(out, static_cast<uint8_t>(c));
    }
    Put16(out, 0);
    Align(out);
    out.insert(out.end(), node.value.begin(), node.value.end());
    for (const Node& child : node.children) {
        PutNode(out, child);
    }
    Set16(out, start, static_cast<uint32_t>(out.size() - start));
}

Bytes Text(const std::string& text) {
    Bytes out;
    for (char c : text) {
        Put16(out, static_cast<uint8_t>(c));
    }
    Put16(out, 0);
    return out;
}

// ProductName "Damaged Tool" under US English, Unicode, like a resource compiler writes it; the
// translation comes last, so that damage at the end of the resource meets it.
Bytes GoodVersion() {
    Bytes fixed(52, 0);
    Set32(fixed, 0, 0xFEEF04BD);
    Set32(fixed, 4, 0x00010000);
    Node strings = {
        "StringFileInfo",
        Bytes(),
        true,
        {{"040904b0", Bytes(), true, {{"ProductName", Text("Damaged Tool"), true, {}}}}}};
    Bytes translation;
    Put16(translation, 0x0409);
    Put16(translation, 1200);
    Node vars = {"VarFileInfo", Bytes(), true, {{"Translation", translation, false, {}}}};
    Node root = {"VS_VERSION_INFO", fixed, false, {strings, vars}};
    Bytes out;
    PutNode(out, root);
    return out;
}

size_t Find(const Bytes& bytes, const std::string& key) {
    const Bytes text = Text(key);
    for (size_t i = 0; i + text.size() <= bytes.size(); ++i) {
        if (Bytes(bytes.begin() + static_cast<long>(i),
                  bytes.begin() + static_cast<long>(i + text.size())) == text) {
            return i - 6; // the node starts with three 16-bit fields
        }
    }
    fprintf(stderr, "damaged_maker: %s not found\n", key.c_str());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: damaged_maker GOOD_ICO OUTPUT_FOLDER\n");
        return 2;
    }
    const std::string goodIco = argv[1];
    const std::string folder = argv[2];
    Bytes ico;
    if (!ReadFile(goodIco, &ico) || ico.size() <= kImageOffset + 40) {
        fprintf(stderr, "damaged_maker: %s is not a one-image icon\n", goodIco.c_str());
        return 1;
    }
    const Bytes image(ico.begin() + kImageOffset, ico.end());

    std::vector<std::pair<std::string, Bytes>> icons;
    // The header and a few pixels: the image ends long before its header says.
    icons.push_back({"icon_cut", Bytes(image.begin(), image.begin() + 60)});
    // A header of impossible sizes, depth and length over whole pixels.
    Bytes header = image;
    Set32(header, 0, 0x7FFFFFFF);
    Set32(header, 4, 0x40000000);
    Set32(header, 8, 0xFFFFFFC0);
    Set16(header, 14, 33);
    icons.push_back({"icon_header", header});
    // A header whose sizes are huge but plausible, over the pixels of 32 x 32.
    Bytes huge = image;
    Set32(huge, 4, 30000);
    Set32(huge, 8, 60000);
    icons.push_back({"icon_huge", huge});
    icons.push_back({"icon_noise", Noise(image.size(), 12)});
    // A PNG signature and header chunk for 32 x 32, then noise.
    Bytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0,  0, 0, 13, 'I', 'H', 'D',
                 'R',  0,   0,   0,   32,   0,    0,    0,    32, 8, 6, 0,  0,   0};
    const Bytes tail = Noise(image.size() - png.size(), 34);
    png.insert(png.end(), tail.begin(), tail.end());
    icons.push_back({"icon_png", png});

    bool ok = true;
    for (const auto& icon : icons) {
        const std::string path = folder + "/" + icon.first + ".ico";
        ok = ok && WriteWholeFile(path, WithImage(ico, icon.second)) &&
             WriteText(folder + "/" + icon.first + ".rc", "1 ICON \"" + path + "\"\n");
    }

    const Bytes good = GoodVersion();
    std::vector<std::pair<std::string, Bytes>> versions;
    versions.push_back({"version_good", good});
    versions.push_back({"version_noise", Noise(good.size(), 56)});
    // The whole resource says it is far longer than it is.
    Bytes overlong = good;
    Set16(overlong, 0, 0xFFFF);
    versions.push_back({"version_overlong", overlong});
    // Cut inside the product name: every length still counts the part that is gone.
    const size_t name = Find(good, "ProductName");
    versions.push_back(
        {"version_cut", Bytes(good.begin(), good.begin() + static_cast<long>(name + 40))});
    // The product name's value runs to the end of the resource without a terminator.
    Bytes unterminated(good.begin(), good.begin() + static_cast<long>(Find(good, "VarFileInfo")));
    Set16(unterminated, unterminated.size() - 4, 'X');
    Set16(unterminated, unterminated.size() - 2, 'Y');
    Set16(unterminated, name + 2, 0x7FFF);
    Set16(unterminated, 0, static_cast<uint32_t>(unterminated.size()));
    versions.push_back({"version_unterminated", unterminated});
    // A translation table of no entries.
    Bytes empty = good;
    Set16(empty, Find(good, "Translation") + 2, 0);
    versions.push_back({"version_no_translation", empty});
    // A child of length zero, which a reader that steps by lengths never leaves.
    Bytes zero = good;
    Set16(zero, Find(good, "StringFileInfo"), 0);
    versions.push_back({"version_zero_child", zero});

    for (const auto& version : versions) {
        const std::string path = folder + "/" + version.first + ".bin";
        ok = ok && WriteWholeFile(path, version.second) &&
             WriteText(folder + "/" + version.first + ".rc",
                       "1 ICON \"" + goodIco + "\"\n1 16 \"" + path + "\"\n");
    }
    return ok ? 0 : 1;
}
