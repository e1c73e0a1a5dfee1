// Helpers of the tests that run once per OS family.
#include "family_fixture.h"

#include <windows.h>
#include <shlobj.h>

#include <fstream>
#include <sstream>

#include "nphost/test_time.h"

const wchar_t kTestRoot[] = L"C:\\npd-e2e";

namespace {

const wchar_t* const kAccessoryFiles[] = {L"mspaint", L"notepad", L"calc", L"control", L"explorer"};
const wchar_t* const kAccessoryNames[] = {L"\u753B\u56FE", L"\u8BB0\u4E8B\u672C",
                                          L"\u8BA1\u7B97\u5668", L"\u63A7\u5236\u9762\u677F",
                                          L"\u8D44\u6E90\u7BA1\u7406\u5668"};

} // namespace

std::wstring SystemFolder() {
    wchar_t wszPath[MAX_PATH] = {0};
    SHGetSpecialFolderPathW(NULL, wszPath, CSIDL_SYSTEM, FALSE);
    return wszPath;
}

std::wstring AccessoryBlock() {
    const std::wstring system = SystemFolder();
    const std::wstring windows = system.substr(0, system.find_last_of(L'\\'));
    std::wstring text;
    for (size_t k = 0; k < 5; ++k) {
        text += (k < 4 ? system : windows) + L"\\" + kAccessoryFiles[k] + L".exe*" +
                kAccessoryNames[k] + L"#";
    }
    return text;
}

nphost::HistoryFamily ThisFamily() {
    return g_expectedFamily == 3 ? nphost::HistoryFamily::Nt5 : nphost::HistoryFamily::Nt6;
}

std::wstring MarkerProgram(const wchar_t* wszName) {
    return nphost::BesideExecutable(wszName);
}

std::vector<std::string> RunsOf(const std::wstring& path) {
    std::vector<std::string> lines;
    std::ifstream file((path + L".ran").c_str(), std::ios::binary);
    std::string line;
    while (std::getline(file, line)) {
        lines.push_back(line);
    }
    return lines;
}

bool WaitForRuns(const std::wstring& path, size_t nRuns) {
    const DWORD dwTries = nphost::PatientWait(200);
    for (DWORD i = 0; i < dwTries; ++i) {
        if (RunsOf(path).size() >= nRuns) {
            return true;
        }
        Sleep(50);
    }
    return false;
}
