// A native messaging host started as a browser starts one: its input and output are pipes, its
// messages length-prefixed JSON. For the messaging host's tests and its benchmark.
#ifndef NPDESKLAUNCH_TESTS_WIN_HOST_PROCESS_H
#define NPDESKLAUNCH_TESTS_WIN_HOST_PROCESS_H

#include <windows.h>

#include <map>
#include <string>

#include <nlohmann/json.hpp>

#include "common/unique_resource.h"

// The origin the tests' requests come from unless they name another.
extern const char kTestOrigin[];

// A JSON-RPC request; `params` gets kTestOrigin as its origin when it has none.
std::string RpcRequestText(const nlohmann::json& id, const std::string& method,
                           nlohmann::json params = nlohmann::json::object());

class HostProcess {
  public:
    // Starts `wstrProgram` with `wstrArguments`, in `hJob` when one is given.
    HostProcess(const std::wstring& wstrProgram, const std::wstring& wstrArguments,
                HANDLE hJob = nullptr);

    bool Started() const { return bool(process_); }
    DWORD Id() const { return dwId_; }

    bool Send(const std::string& bytes);
    bool Ask(const std::string& message); // one framed message
    void CloseInput() { input_.reset(); }

    // The next answer's text, waiting on the pipe; false when the host's output ended first.
    bool ReadAnswer(std::string& body);
    // The next answer, the browser's thread pumping meanwhile; null when none came in time.
    nlohmann::json Next();
    // The answer to the request `id`; answers to others that come first are kept for later.
    nlohmann::json AnswerTo(const nlohmann::json& id);
    nlohmann::json Call(const nlohmann::json& id, const std::string& method,
                        nlohmann::json params = nlohmann::json::object());

    // The exit code once the host has ended, STILL_ACTIVE when it has not in time.
    DWORD ExitCode();
    // What is left on the host's output and its error stream once it has ended.
    std::string RestOfOutput() { return Rest(output_); }
    std::string Errors() { return Rest(errors_); }

  private:
    static std::string Rest(const UniqueHandle& pipe);

    UniqueHandle input_, output_, errors_, process_;
    DWORD dwId_ = 0;
    std::map<std::string, nlohmann::json> kept_;
};

#endif
