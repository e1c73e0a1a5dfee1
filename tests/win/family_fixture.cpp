// Helpers of the tests that run once per OS family.
#include "family_fixture.h"

#include <windows.h>

#include <fstream>
#include <sstream>

#include "host/test_time.h"

const wchar_t kTestRoot[] = L"C:\\npd-e2e";

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
