// Entry point of the Windows test programs.
#include <string.h>
#include <stdlib.h>

#include "host/strict_listener.h"
#include "module_fixture.h"

int g_expectedFamily = -1;

nphost::PluginModule& Module() {
    static nphost::PluginModule module(nphost::BesideExecutable(L"npDesklaunch.dll"));
    return module;
}

std::vector<nphost::SeenBox> CallRunAppointedApplication(NPObject* object,
                                                         const nphost::Arguments& args) {
    nphost::DialogWatcher watcher;
    NPVariant result = Sentinel();
    EXPECT_TRUE(
        nphost::Browser::Get().CallMethod(object, "RunAppointedApplication", args, &result));
    EXPECT_TRUE(IsSentinel(result)) << "the result was set";
    return watcher.Boxes();
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<uint8_t> ReadBytes(const std::wstring& path) {
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, NULL));
    std::vector<uint8_t> bytes;
    uint8_t buffer[4096];
    DWORD dwRead = 0;
    while (file && ::ReadFile(file.get(), buffer, sizeof(buffer), &dwRead, NULL) && dwRead > 0) {
        bytes.insert(bytes.end(), buffer, buffer + dwRead);
    }
    return bytes;
}

bool WriteBytes(const std::wstring& path, const std::vector<uint8_t>& bytes) {
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, NULL));
    DWORD dwWritten = 0;
    return file &&
           (bytes.empty() || ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                         &dwWritten, NULL)) &&
           dwWritten == bytes.size();
}

std::vector<nphost::SeenBox> FailureBoxes(const std::vector<nphost::SeenBox>& boxes) {
    std::vector<nphost::SeenBox> ours;
    for (const nphost::SeenBox& box : boxes) {
        if (box.caption == kErrorCaption) {
            ours.push_back(box);
        }
    }
    return ours;
}

std::string CallForText(NPObject* object, const char* method, const nphost::Arguments& args) {
    nphost::Value result;
    EXPECT_TRUE(nphost::Browser::Get().CallAndCopy(object, method, args, &result)) << method;
    return result.type == NPVariantType_String ? result.text : std::string();
}

NPVariant Sentinel() {
    NPVariant variant;
    memset(&variant, 0, sizeof(variant));
    variant.type = NPVariantType_Int32;
    variant.value.intValue = 0x5EED;
    return variant;
}

bool IsSentinel(const NPVariant& variant) {
    return variant.type == NPVariantType_Int32 && variant.value.intValue == 0x5EED;
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const char kFamily[] = "--expected-family=";
    for (int i = 1; i < argc; ++i) {
        if (strncmp(argv[i], kFamily, sizeof(kFamily) - 1) == 0) {
            g_expectedFamily = atoi(argv[i] + sizeof(kFamily) - 1);
        }
    }
    // The plug-in thread is this one: the browser records it before anything else runs.
    nphost::Browser::Get();
    nphost::InstallStrictListener();
    return RUN_ALL_TESTS();
}
