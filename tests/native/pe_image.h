// A reader of Windows module files (PE32 and PE32+): headers, exports, imports and resources.
#ifndef NPDESKLAUNCH_TESTS_NATIVE_PE_IMAGE_H
#define NPDESKLAUNCH_TESTS_NATIVE_PE_IMAGE_H

#include <stdint.h>

#include <string>
#include <vector>

struct PeExport {
    std::string name;
    uint32_t ordinal;
};

struct PeImport {
    std::string dll;
    std::vector<std::string> functions; // by name; ordinals as "#N"
};

struct PeResource {
    uint32_t type; // numeric types only
    uint32_t id;   // numeric names only
    uint32_t language;
    std::vector<uint8_t> data;
};

struct PeImage {
    bool bValid = false;
    std::string error;
    uint16_t machine = 0;
    uint16_t characteristics = 0;
    bool bPe32Plus = false;
    uint16_t majorOsVersion = 0, minorOsVersion = 0;
    uint16_t majorSubsystemVersion = 0, minorSubsystemVersion = 0;
    uint16_t subsystem = 0;
    std::vector<PeExport> exports;
    std::vector<PeImport> imports;
    std::vector<PeResource> resources;
};

PeImage ReadPeImage(const std::vector<uint8_t>& file);

// The fixed part of a version resource (VS_FIXEDFILEINFO), found by its signature.
struct FixedFileInfo {
    bool bFound = false;
    uint32_t fileVersionMS = 0, fileVersionLS = 0;
    uint32_t productVersionMS = 0, productVersionLS = 0;
    uint32_t fileFlagsMask = 0, fileFlags = 0, fileOS = 0, fileType = 0, fileSubtype = 0;
};

FixedFileInfo ReadFixedFileInfo(const std::vector<uint8_t>& versionResource);

#endif
