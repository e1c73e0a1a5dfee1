// Bounds-checked reading of PE headers, export and import tables and the resource tree.
#include "pe_image.h"

#include <string.h>

namespace {

class Reader {
  public:
    explicit Reader(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}
    bool Has(uint64_t offset, uint64_t size) const {
        return offset <= bytes_.size() && size <= bytes_.size() - offset;
    }
    uint32_t U32(uint64_t offset) const { return Has(offset, 4) ? Read<uint32_t>(offset) : 0; }
    uint16_t U16(uint64_t offset) const { return Has(offset, 2) ? Read<uint16_t>(offset) : 0; }
    uint64_t U64(uint64_t offset) const { return Has(offset, 8) ? Read<uint64_t>(offset) : 0; }
    std::string Text(uint64_t offset) const {
        std::string text;
        while (Has(offset, 1) && bytes_[offset] != 0 && text.size() < 4096) {
            text.push_back(static_cast<char>(bytes_[offset++]));
        }
        return text;
    }
    std::vector<uint8_t> Bytes(uint64_t offset, uint32_t size) const {
        if (!Has(offset, size)) {
            return std::vector<uint8_t>();
        }
        return std::vector<uint8_t>(bytes_.begin() + static_cast<long>(offset),
                                    bytes_.begin() + static_cast<long>(offset + size));
    }

  private:
    template <typename T> T Read(uint64_t offset) const {
        T value;
        memcpy(&value, &bytes_[offset], sizeof(T));
        return value; // the files are little-endian, as is every machine that runs these tests
    }
    const std::vector<uint8_t>& bytes_;
};

struct Section {
    uint32_t virtualAddress, virtualSize, rawOffset, rawSize;
};

struct Layout {
    std::vector<Section> sections;
    // The file offset of an address in the loaded image, or 0 when no section holds it.
    uint64_t Offset(uint32_t rva) const {
        for (const Section& s : sections) {
            const uint32_t extent = s.virtualSize > s.rawSize ? s.virtualSize : s.rawSize;
            if (rva >= s.virtualAddress && rva - s.virtualAddress < extent) {
                return static_cast<uint64_t>(s.rawOffset) + (rva - s.virtualAddress);
            }
        }
        return 0;
    }
};

void ReadExports(const Reader& r, const Layout& layout, uint32_t rva, PeImage& image) {
    const uint64_t dir = layout.Offset(rva);
    if (!rva || !dir) {
        return;
    }
    const uint32_t base = r.U32(dir + 16);
    const uint32_t nNames = r.U32(dir + 24);
    const uint64_t names = layout.Offset(r.U32(dir + 32));
    const uint64_t ordinals = layout.Offset(r.U32(dir + 36));
    for (uint32_t i = 0; i < nNames && i < 65536; ++i) {
        PeExport entry;
        entry.name = r.Text(layout.Offset(r.U32(names + 4ull * i)));
        entry.ordinal = base + r.U16(ordinals + 2ull * i);
        image.exports.push_back(entry);
    }
}

void ReadImports(const Reader& r, const Layout& layout, uint32_t rva, PeImage& image) {
    uint64_t descriptor = layout.Offset(rva);
    if (!rva || !descriptor) {
        return;
    }
    for (int n = 0; n < 512 && r.Has(descriptor, 20); ++n, descriptor += 20) {
        const uint32_t lookup = r.U32(descriptor) ? r.U32(descriptor) : r.U32(descriptor + 16);
        const uint32_t nameRva = r.U32(descriptor + 12);
        if (!nameRva) {
            break;
        }
        PeImport import;
        import.dll = r.Text(layout.Offset(nameRva));
        uint64_t thunk = layout.Offset(lookup);
        const unsigned width = image.bPe32Plus ? 8 : 4;
        for (int k = 0; thunk && k < 65536; ++k, thunk += width) {
            const uint64_t value = image.bPe32Plus ? r.U64(thunk) : r.U32(thunk);
            if (!value) {
                break;
            }
            const uint64_t ordinalFlag = image.bPe32Plus ? (1ull << 63) : (1ull << 31);
            if (value & ordinalFlag) {
                import.functions.push_back("#" + std::to_string(value & 0xFFFF));
            } else {
                import.functions.push_back(r.Text(layout.Offset(static_cast<uint32_t>(value)) + 2));
            }
        }
        image.imports.push_back(import);
    }
}

// Walks type, name and language levels; only numeric types and names are kept.
void ReadResources(const Reader& r, const Layout& layout, uint32_t rva, PeImage& image) {
    const uint64_t root = layout.Offset(rva);
    if (!rva || !root) {
        return;
    }
    struct Entry {
        uint32_t id;
        bool bNamed;
        bool bDirectory;
        uint32_t offset;
    };
    auto entries = [&](uint64_t dir) {
        std::vector<Entry> list;
        const uint32_t nCount = r.U16(dir + 12) + static_cast<uint32_t>(r.U16(dir + 14));
        for (uint32_t i = 0; i < nCount && i < 4096; ++i) {
            const uint64_t at = dir + 16 + 8ull * i;
            const uint32_t name = r.U32(at);
            const uint32_t target = r.U32(at + 4);
            list.push_back(Entry{name & 0x7FFFFFFF, (name & 0x80000000u) != 0,
                                 (target & 0x80000000u) != 0, target & 0x7FFFFFFF});
        }
        return list;
    };
    for (const Entry& type : entries(root)) {
        if (type.bNamed || !type.bDirectory) {
            continue;
        }
        for (const Entry& name : entries(root + type.offset)) {
            if (name.bNamed || !name.bDirectory) {
                continue;
            }
            for (const Entry& language : entries(root + name.offset)) {
                if (language.bDirectory) {
                    continue;
                }
                const uint64_t leaf = root + language.offset;
                PeResource resource;
                resource.type = type.id;
                resource.id = name.id;
                resource.language = language.id;
                resource.data = r.Bytes(layout.Offset(r.U32(leaf)), r.U32(leaf + 4));
                image.resources.push_back(resource);
            }
        }
    }
}

} // namespace

PeImage ReadPeImage(const std::vector<uint8_t>& file) {
    PeImage image;
    Reader r(file);
    if (r.U16(0) != 0x5A4D) {
        image.error = "no MZ header";
        return image;
    }
    const uint64_t pe = r.U32(0x3C);
    if (r.U32(pe) != 0x00004550) {
        image.error = "no PE signature";
        return image;
    }
    const uint64_t coff = pe + 4;
    image.machine = r.U16(coff);
    const uint16_t nSections = r.U16(coff + 2);
    const uint16_t nOptional = r.U16(coff + 16);
    image.characteristics = r.U16(coff + 18);
    const uint64_t opt = coff + 20;
    const uint16_t magic = r.U16(opt);
    if (magic != 0x10B && magic != 0x20B) {
        image.error = "unknown optional header";
        return image;
    }
    image.bPe32Plus = magic == 0x20B;
    image.majorOsVersion = r.U16(opt + 40);
    image.minorOsVersion = r.U16(opt + 42);
    image.majorSubsystemVersion = r.U16(opt + 48);
    image.minorSubsystemVersion = r.U16(opt + 50);
    image.subsystem = r.U16(opt + 68);
    const uint64_t directories = opt + (image.bPe32Plus ? 112 : 96);

    Layout layout;
    const uint64_t table = opt + nOptional;
    for (uint16_t i = 0; i < nSections; ++i) {
        const uint64_t s = table + 40ull * i;
        if (!r.Has(s, 40)) {
            image.error = "section table cut short";
            return image;
        }
        layout.sections.push_back(
            Section{r.U32(s + 12), r.U32(s + 8), r.U32(s + 20), r.U32(s + 16)});
    }
    ReadExports(r, layout, r.U32(directories + 0), image);
    ReadImports(r, layout, r.U32(directories + 8), image);
    ReadResources(r, layout, r.U32(directories + 16), image);
    image.bValid = true;
    return image;
}

FixedFileInfo ReadFixedFileInfo(const std::vector<uint8_t>& data) {
    FixedFileInfo info;
    Reader r(data);
    for (uint64_t at = 0; r.Has(at, 52); at += 4) {
        if (r.U32(at) != 0xFEEF04BDu) {
            continue;
        }
        info.bFound = true;
        info.fileVersionMS = r.U32(at + 8);
        info.fileVersionLS = r.U32(at + 12);
        info.productVersionMS = r.U32(at + 16);
        info.productVersionLS = r.U32(at + 20);
        info.fileFlagsMask = r.U32(at + 24);
        info.fileFlags = r.U32(at + 28);
        info.fileOS = r.U32(at + 32);
        info.fileType = r.U32(at + 36);
        info.fileSubtype = r.U32(at + 40);
        break;
    }
    return info;
}
