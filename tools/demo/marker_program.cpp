// A program that only records that it ran: it appends its command line, as UTF-8, and a line
// break to the file named like itself with ".ran" added (tool.exe writes tool.exe.ran).
#include <windows.h>

#include <string>

#include "common/unique_resource.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    std::wstring wstrSelf(32768, L'\0');
    const DWORD dwLength =
        GetModuleFileNameW(NULL, &wstrSelf[0], static_cast<DWORD>(wstrSelf.size()));
    if (dwLength == 0 || dwLength >= wstrSelf.size()) {
        return 1;
    }
    wstrSelf.resize(dwLength);
    UniqueFile hFile(CreateFileW((wstrSelf + L".ran").c_str(), FILE_APPEND_DATA,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, NULL));
    if (!hFile) {
        return 1;
    }
    const wchar_t* wszCommandLine = GetCommandLineW();
    const int nBytes = WideCharToMultiByte(CP_UTF8, 0, wszCommandLine, -1, NULL, 0, NULL, NULL);
    std::string line(nBytes > 0 ? static_cast<size_t>(nBytes) : 1u, '\0');
    if (nBytes > 0) {
        WideCharToMultiByte(CP_UTF8, 0, wszCommandLine, -1, &line[0], nBytes, NULL, NULL);
    }
    line.back() = '\n'; // in place of the terminator
    DWORD dwWritten = 0;
    return WriteFile(hFile.get(), line.data(), static_cast<DWORD>(line.size()), &dwWritten, NULL)
               ? 0
               : 1;
}
