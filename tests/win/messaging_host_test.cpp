// The native messaging host as a browser starts it: desklaunch-host.exe with pipes for its input
// and output, speaking length-prefixed JSON-RPC, on the real registry, shell and dialogs.
#include "family_fixture.h"

#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include <nlohmann/json.hpp>

#include "common/unique_resource.h"
#include "host/file_dialog_driver.h"
#include "host/resource_counters.h"
#include "host_process.h"
#include "messaging_host/host_arguments.h"
#include "messaging_host/host_service.h"
#include "messaging_host/message_frames.h"
#include "messaging_host/windows_operations.h"
#include "nphost/test_time.h"

namespace {

using nlohmann::json;

const std::wstring kHostFolder = std::wstring(kTestRoot) + L"\\host";
const std::wstring kChromium =
    L"chrome-extension://" + nphost::Widen(kChromiumExtensionId) + L"/ --parent-window=0";
const wchar_t kPolicyKey[] = L"Software\\Policies\\npDesklaunch";

std::vector<unsigned char> FromBase64(const std::string& text) {
    const std::string digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::vector<unsigned char> bytes;
    unsigned nBits = 0;
    int nHave = 0;
    for (char c : text) {
        const size_t nDigit = digits.find(c);
        if (nDigit == std::string::npos) {
            break;
        }
        nBits = (nBits << 6) | static_cast<unsigned>(nDigit);
        nHave += 6;
        if (nHave >= 8) {
            nHave -= 8;
            bytes.push_back(static_cast<unsigned char>((nBits >> nHave) & 0xFF));
        }
    }
    return bytes;
}

// desklaunch-host.exe from a folder of its own.
class Started : public HostProcess {
  public:
    explicit Started(const std::wstring& arguments, HANDLE hJob = nullptr)
        : HostProcess(kHostFolder + L"\\desklaunch-host.exe", arguments, hJob) {
        EXPECT_TRUE(HostProcess::Started());
    }
};

int Code(const json& answer) {
    return answer.contains("error") ? answer["error"].value("code", 0) : 0;
}

class Host : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(nphost::RemoveTree(kHostFolder));
        ASSERT_TRUE(nphost::CopyProgram(nphost::BesideExecutable(L"desklaunch-host.exe"),
                                        kHostFolder + L"\\desklaunch-host.exe"));
        nphost::ClearUsageHistory(ThisFamily());
    }
    void TearDown() override {
        nphost::ClearUsageHistory(ThisFamily());
        RegDeleteKeyW(HKEY_CURRENT_USER, kPolicyKey);
    }
};

TEST_F(Host, AnswersBadInputWithAnErrorAndNothingElse) {
    Started host(kChromium);
    const struct {
        std::string message;
        int nCode;
    } cases[] = {
        {"not json", -32700},
        {"[1,2]", -32600},
        // Lengths of 0x0A and 0x1A bytes, which a stream in text mode would change or end on.
        {"1234567890", -32600},
        {"abcdefghijklmnopqrstuvwxyz", -32700},
        {R"({"jsonrpc":"2.0","method":"hello","params":{"origin":"https://a.b"}})", -32600},
        {RpcRequestText(1, "launch"), -32601},
        {R"({"jsonrpc":"2.0","id":2,"method":"hello","params":{}})", -32602},
        {RpcRequestText(3, "runApplication", {{"application", 5}}), -32602},
        {RpcRequestText(4, "runApplication", {{"application", "C:\\npd-e2e\\missing\\x.exe"}}),
         -32001},
        {RpcRequestText(5, "runApplication", {{"application", "No Such Program"}}), -32001},
    };
    for (const auto& c : cases) {
        host.Ask(c.message);
        const json answer = host.Next();
        EXPECT_EQ(c.nCode, Code(answer)) << c.message << " -> " << answer.dump();
    }
    // Over the input limit: an answer, the bytes skipped, and the next request served.
    const std::string big(kMaxRequestBytes + 1, ' ');
    host.Send(FrameMessage(big));
    const json tooLong = host.Next();
    EXPECT_EQ(-32600, Code(tooLong)) << tooLong.dump();
    EXPECT_TRUE(tooLong["id"].is_null());
    EXPECT_EQ("NT 6", host.Call(6, "hello")["result"].value("rules", "")) << "after the skip";
    // A stream that ends inside a message: the host ends quietly.
    host.Send(FrameMessage(RpcRequestText(7, "hello")).substr(0, 10));
    host.CloseInput();
    EXPECT_EQ(0u, host.ExitCode());
    EXPECT_EQ("", host.RestOfOutput());
    EXPECT_EQ("", host.Errors());
}

TEST_F(Host, ServesOnlyTheExtensionsItIsBuiltFor) {
    const std::wstring firefox = nphost::Widen(kFirefoxExtensionId);
    const struct {
        std::wstring arguments;
        bool bServed;
    } cases[] = {
        {kChromium, true},
        {L"C:\\hosts\\desklaunch.json " + firefox, true},
        {L"chrome-extension://aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa/ --parent-window=0", false},
        {L"C:\\hosts\\desklaunch.json other@example.org", false},
        {L"", false},
    };
    for (const auto& c : cases) {
        Started host(c.arguments);
        if (c.bServed) {
            EXPECT_EQ(1, host.Call(1, "hello")["result"].value("protocol", 0))
                << nphost::Narrow(c.arguments);
        }
        host.CloseInput();
        EXPECT_EQ(c.bServed ? 0u : 1u, host.ExitCode()) << nphost::Narrow(c.arguments);
        EXPECT_EQ(c.bServed ? ""
                            : "desklaunch-host: started for an extension this host does not "
                              "serve\r\n",
                  host.Errors());
    }
}

TEST_F(Host, OriginsAreCheckedAgainstTheAdministratorsPolicy) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, kPolicyKey, 0, nullptr, 0,
                                             KEY_SET_VALUE, nullptr, &key, nullptr));
    const wchar_t allowed[] = L"https://*.corvid.example\0";
    RegSetValueExW(key, L"AllowedOrigins", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(allowed),
                   sizeof(allowed));
    RegCloseKey(key);
    Started host(kChromium);
    EXPECT_EQ(-32000, Code(host.Call(1, "recentApplications")));
    EXPECT_EQ(-32000, Code(host.Call(2, "hello", {{"origin", "null"}})));
    EXPECT_EQ("listed",
              host.Call(3, "hello", {{"origin", "https://apps.corvid.example"}})["result"].value(
                  "policy", ""));
}

TEST_F(Host, CatalogueIsThePluginsWithTheSameIconsKeptInMemory) {
    const std::wstring tool = std::wstring(kTestRoot) + L"\\apps\\\u901F\u5199.exe";
    ASSERT_TRUE(nphost::CopyProgram(MarkerProgram(L"sketch_program.exe"), tool));
    ASSERT_TRUE(
        nphost::SeedUsageHistory(ThisFamily(), {{nphost::RunPathName(ThisFamily(), tool), 5, 1}}));
    nphost::Instance instance(Module());
    const std::string pluginText = CallForText(instance.ScriptableObject(), "RecentlyApplications");

    Started host(kChromium);
    const json result = host.Call(1, "recentApplications")["result"];
    EXPECT_EQ(pluginText, result.value("text", ""));
    std::string entries;
    int nIcons = 0;
    for (const json& entry : result["entries"]) {
        entries += entry["path"].get<std::string>() + "*" + entry["name"].get<std::string>() + "#";
        if (entry["icon"].is_null()) {
            continue;
        }
        const std::string icon = entry["icon"].get<std::string>();
        ASSERT_EQ(0u, icon.find("data:image/bmp;base64,")) << icon.substr(0, 40);
        const std::wstring path = nphost::Widen(entry["path"].get<std::string>());
        const std::wstring stem = path.substr(path.rfind(L'\\') + 1);
        const std::wstring stored =
            nphost::BesideExecutable(L"images\\" + stem.substr(0, stem.rfind(L'.')) + L".bmp");
        EXPECT_EQ(ReadBytes(stored), FromBase64(icon.substr(icon.find(',') + 1)))
            << "not the bitmap the plug-in stored: " << Show(stored);
        ++nIcons;
    }
    EXPECT_EQ(pluginText, entries);
    EXPECT_EQ(3, nIcons) << "Notepad's, the Control Panel's and the program's";
    EXPECT_EQ(std::vector<std::wstring>{L"desklaunch-host.exe"}, nphost::FilesIn(kHostFolder))
        << "the host wrote files";
}

// The process ids of running programs named `name`.
std::vector<DWORD> ProcessesNamed(const wchar_t* name) {
    std::vector<DWORD> ids;
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL b = Process32FirstW(snapshot.get(), &entry); b;
         b = Process32NextW(snapshot.get(), &entry)) {
        if (_wcsicmp(entry.szExeFile, name) == 0) {
            ids.push_back(entry.th32ProcessID);
        }
    }
    return ids;
}

TEST_F(Host, AProgramItStartsOutlivesTheJobThatEndsWithThePort) {
    // The job Firefox puts its host in: everything in it ends when it closes; breaking away is
    // allowed.
    UniqueHandle job(CreateJobObjectW(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags =
        JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE | JOB_OBJECT_LIMIT_BREAKAWAY_OK;
    ASSERT_TRUE(SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits,
                                        sizeof(limits)));
    const std::vector<DWORD> before = ProcessesNamed(L"notepad.exe");
    Started host(kChromium, job.get());
    const json answer = host.Call(
        1, "runApplication", {{"application", nphost::Narrow(SystemFolder()) + "\\notepad.exe"}});
    EXPECT_EQ(json({{"started", true}}), answer["result"]) << answer.dump();
    host.CloseInput();
    EXPECT_EQ(0u, host.ExitCode());
    job.reset();
    Sleep(nphost::PatientWait(500));
    std::vector<DWORD> started;
    for (DWORD id : ProcessesNamed(L"notepad.exe")) {
        if (std::find(before.begin(), before.end(), id) == before.end()) {
            started.push_back(id);
        }
    }
    EXPECT_EQ(1u, started.size()) << "Notepad ended with the job";
    for (DWORD id : started) {
        UniqueHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, id));
        TerminateProcess(process.get(), 0);
    }
}

TEST_F(Host, PickerIsOwnedByTheBrowserWindowAndHoldsUpNothingElse) {
    const HWND hBrowser =
        CreateWindowExW(0, L"STATIC", L"browser", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 80, 900,
                        700, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, hBrowser);
    const std::wstring chosen = std::wstring(kTestRoot) + L"\\apps\\Atlas.exe";
    ASSERT_TRUE(nphost::CopyProgram(MarkerProgram(L"atlas_program.exe"), chosen));
    Started host(L"chrome-extension://" + nphost::Widen(kChromiumExtensionId) +
                 L"/ --parent-window=" + std::to_wstring(reinterpret_cast<uintptr_t>(hBrowser)));
    host.Ask(RpcRequestText(1, "selectApplication"));
    const HWND hDialog = nphost::WaitForFileDialog(nphost::PatientWait(20000), {}, host.Id());
    ASSERT_NE(nullptr, hDialog);
    EXPECT_EQ(hBrowser, GetWindow(hDialog, GW_OWNER));
    RECT rcBrowser, rcDialog;
    GetWindowRect(hBrowser, &rcBrowser);
    GetWindowRect(hDialog, &rcDialog);
    EXPECT_NEAR((rcBrowser.left + rcBrowser.right) / 2, (rcDialog.left + rcDialog.right) / 2, 1);
    EXPECT_NEAR((rcBrowser.top + rcBrowser.bottom) / 2, (rcDialog.top + rcDialog.bottom) / 2, 1);
    // While it is open: other requests are answered, a second picker is refused, and the
    // browser's window is not left disabled by another process.
    EXPECT_EQ(1, host.Call(2, "hello")["result"].value("protocol", 0));
    EXPECT_EQ(-32002, Code(host.Call(3, "selectApplication")));
    EXPECT_TRUE(nphost::Browser::Get().PumpUntil([&] { return IsWindowEnabled(hBrowser) != FALSE; },
                                                 nphost::PatientWait(5000)));
    nphost::ChooseFile(hDialog, chosen);
    const json entry = host.AnswerTo(1)["result"]["entry"];
    EXPECT_EQ(nphost::Narrow(chosen), entry.value("path", ""));
    EXPECT_EQ("Atlas", entry.value("name", "")) << entry.dump().substr(0, 200);
    EXPECT_EQ(4150u, FromBase64(entry.value("icon", ",").substr(22)).size());

    host.Ask(RpcRequestText(4, "selectApplication"));
    const HWND hSecond = nphost::WaitForFileDialog(nphost::PatientWait(20000), {}, host.Id());
    ASSERT_NE(nullptr, hSecond);
    nphost::PressCancel(hSecond);
    EXPECT_EQ(json({{"cancelled", true}}), host.AnswerTo(4)["result"]);
    // The port closing while a picker is open ends the host.
    host.Ask(RpcRequestText(5, "selectApplication"));
    ASSERT_NE(nullptr, nphost::WaitForFileDialog(nphost::PatientWait(20000), {}, host.Id()));
    host.CloseInput();
    EXPECT_EQ(0u, host.ExitCode());
    DestroyWindow(hBrowser);
}

// The service itself, in this process, so that its resources can be counted as the plug-in's
// soak counts them.
TEST_F(Host, TenThousandRequestsLeaveTheCountersFlat) {
    UniqueHandle inRead, inWrite, outRead, outWrite;
    ASSERT_TRUE(CreatePipe(inRead.put(), inWrite.put(), nullptr, 0));
    ASSERT_TRUE(CreatePipe(outRead.put(), outWrite.put(), nullptr, 0));
    WindowsOperations operations(nullptr);
    std::thread service([&] { ServeMessages(inRead.get(), outWrite.get(), operations); });
    std::atomic<size_t> nAnswers(0);
    std::thread drain([&] {
        FrameReader reader;
        std::vector<FrameEvent> events;
        char buffer[65536];
        DWORD dwRead = 0;
        while (ReadFile(outRead.get(), buffer, sizeof(buffer), &dwRead, nullptr) && dwRead > 0) {
            reader.Feed(buffer, dwRead, events);
            nAnswers = events.size();
        }
    });
    const std::string requests[] = {
        FrameMessage(RpcRequestText(1, "hello")), FrameMessage("not json"),
        FrameMessage(RpcRequestText(2, "launch")),
        FrameMessage(RpcRequestText(3, "runApplication", {{"application", "No Such Program"}}))};
    auto send = [&](int nRequests) {
        for (int i = 0; i < nRequests; ++i) {
            const std::string& frame = i % 250 == 0
                                           ? FrameMessage(RpcRequestText(4, "recentApplications"))
                                           : requests[i % 4];
            DWORD dwWritten = 0;
            WriteFile(inWrite.get(), frame.data(), static_cast<DWORD>(frame.size()), &dwWritten,
                      nullptr);
        }
    };
    auto answered = [&](size_t nWanted) {
        while (nAnswers < nWanted) {
            Sleep(10);
        }
    };
    send(500);
    answered(500);
    const nphost::ResourceCounters start = nphost::ReadResourceCounters();
    send(10000);
    answered(10500);
    const nphost::ResourceCounters end = nphost::ReadResourceCounters();
    inWrite.reset();
    service.join();
    outWrite.reset();
    drain.join();
    EXPECT_EQ(10500u, nAnswers);
    const nphost::FlatnessMargins margins = {8, 8, 8, 4 << 20};
    for (const std::string& line : nphost::GrowthBeyond(start, end, margins)) {
        ADD_FAILURE() << line << "\n  start: " << nphost::Describe(start)
                      << "\n    end: " << nphost::Describe(end);
    }
}

} // namespace
