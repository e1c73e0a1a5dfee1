// The methods of the host: each request's parameters checked, the operation asked, the answer
// written. The operations themselves (the application core, the policy) come through
// HostOperations.
#ifndef NPDESKLAUNCH_MESSAGING_HOST_HOST_METHODS_H
#define NPDESKLAUNCH_MESSAGING_HOST_HOST_METHODS_H

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "messaging_host/rpc_messages.h"

// One program of the catalogue or of a pick, in UTF-8; `icon` is a data: URL, empty for none.
struct HostEntry {
    std::string path;
    std::string name;
    std::string icon;
};

enum HostPick { HostPicked, HostPickCancelled, HostPickFailed, HostPickBusy };

// How the administrator's policy stands to a page's origin.
enum OriginStanding {
    OriginUnregulated, // no origin policy: the user decides (the extension asks)
    OriginListed,      // the policy lists the origin
    OriginRefused,     // the policy is set and does not list it
};

// What the host does for a request, once its parameters are checked.
class HostOperations {
  public:
    virtual ~HostOperations() {}
    // Whether the page at `origin` may use the host (the administrator's policy).
    virtual OriginStanding StandingOf(const std::string& origin) = 0;
    // The protocol, product, Windows and rules served, for `hello`.
    virtual nlohmann::json Description() = 0;
    // The catalogue's entries and its text in the plug-in's form.
    virtual std::vector<HostEntry> RecentApplications(std::string& text) = 0;
    // Whether a program started.
    virtual bool RunApplication(const std::string& application) = 0;
    virtual HostPick SelectApplication(HostEntry& entry) = 0;
};

// The answer to `request`.
std::string AnswerRequest(const RpcRequest& request, HostOperations& operations);

#endif
