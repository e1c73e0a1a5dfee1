// Starting a host on pipes and speaking to it.
#include "host_process.h"

#include "messaging_host/message_frames.h"
#include "nphost/browser.h"
#include "nphost/test_time.h"

using nlohmann::json;

const char kTestOrigin[] = "https://launcher.example";

std::string RpcRequestText(const json& id, const std::string& method, json params) {
    if (!params.contains("origin")) {
        params["origin"] = kTestOrigin;
    }
    return json{{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", params}}.dump();
}

HostProcess::HostProcess(const std::wstring& wstrProgram, const std::wstring& wstrArguments,
                         HANDLE hJob) {
    SECURITY_ATTRIBUTES sa = {sizeof(sa), nullptr, TRUE};
    UniqueHandle inRead, outWrite, errWrite;
    if (!CreatePipe(inRead.put(), input_.put(), &sa, 0) ||
        !CreatePipe(output_.put(), outWrite.put(), &sa, 0) ||
        !CreatePipe(errors_.put(), errWrite.put(), &sa, 0)) {
        return;
    }
    for (HANDLE hOurs : {input_.get(), output_.get(), errors_.get()}) {
        SetHandleInformation(hOurs, HANDLE_FLAG_INHERIT, 0);
    }
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = inRead.get();
    si.hStdOutput = outWrite.get();
    si.hStdError = errWrite.get();
    std::wstring line = L"\"" + wstrProgram + L"\" " + wstrArguments;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, TRUE,
                        CREATE_SUSPENDED | CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi)) {
        return;
    }
    process_.reset(pi.hProcess);
    const UniqueHandle thread(pi.hThread);
    if (hJob && !AssignProcessToJobObject(hJob, pi.hProcess)) {
        TerminateProcess(pi.hProcess, 1);
        process_.reset();
        return;
    }
    ResumeThread(pi.hThread);
    dwId_ = pi.dwProcessId;
}

bool HostProcess::Send(const std::string& bytes) {
    DWORD dwWritten = 0;
    return WriteFile(input_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &dwWritten,
                     nullptr) &&
           dwWritten == bytes.size();
}

bool HostProcess::Ask(const std::string& message) {
    return Send(FrameMessage(message));
}

bool HostProcess::ReadAnswer(std::string& body) {
    unsigned char header[4];
    DWORD dwRead = 0;
    for (DWORD dwDone = 0; dwDone < 4; dwDone += dwRead) {
        if (!ReadFile(output_.get(), header + dwDone, 4 - dwDone, &dwRead, nullptr) || !dwRead) {
            return false;
        }
    }
    const DWORD dwLength =
        header[0] | header[1] << 8 | header[2] << 16 | static_cast<DWORD>(header[3]) << 24;
    body.assign(dwLength, '\0');
    for (DWORD dwDone = 0; dwDone < dwLength; dwDone += dwRead) {
        if (!ReadFile(output_.get(), &body[dwDone], dwLength - dwDone, &dwRead, nullptr) ||
            !dwRead) {
            return false;
        }
    }
    return true;
}

json HostProcess::Next() {
    std::string body;
    const bool bRead = nphost::Browser::Get().PumpUntil(
        [&] {
            DWORD dwAvailable = 0;
            unsigned char header[4];
            DWORD dwRead = 0;
            if (!PeekNamedPipe(output_.get(), header, 4, &dwRead, &dwAvailable, nullptr) ||
                dwRead < 4) {
                return false;
            }
            const DWORD dwLength =
                header[0] | header[1] << 8 | header[2] << 16 | static_cast<DWORD>(header[3]) << 24;
            return dwAvailable >= 4 + dwLength && ReadAnswer(body);
        },
        30000);
    return bRead ? json::parse(body, nullptr, false) : json();
}

json HostProcess::AnswerTo(const json& id) {
    const auto it = kept_.find(id.dump());
    if (it != kept_.end()) {
        const json answer = it->second;
        kept_.erase(it);
        return answer;
    }
    for (;;) {
        const json answer = Next();
        if (answer.is_null() || answer["id"] == id) {
            return answer;
        }
        kept_[answer["id"].dump()] = answer;
    }
}

json HostProcess::Call(const json& id, const std::string& method, json params) {
    Ask(RpcRequestText(id, method, params));
    return AnswerTo(id);
}

DWORD HostProcess::ExitCode() {
    DWORD dwCode = STILL_ACTIVE;
    if (WaitForSingleObject(process_.get(), nphost::PatientWait(30000)) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process_.get(), &dwCode);
    }
    return dwCode;
}

std::string HostProcess::Rest(const UniqueHandle& pipe) {
    std::string text;
    char buffer[4096];
    DWORD dwRead = 0;
    while (ReadFile(pipe.get(), buffer, sizeof(buffer), &dwRead, nullptr) && dwRead > 0) {
        text.append(buffer, dwRead);
    }
    return text;
}
