// The host's methods: hello, recentApplications, runApplication and selectApplication.
#include "messaging_host/host_methods.h"

namespace {

using nlohmann::json;

json EntryObject(const HostEntry& entry) {
    return json{{"path", entry.path},
                {"name", entry.name},
                {"icon", entry.icon.empty() ? json(nullptr) : json(entry.icon)}};
}

std::string InvalidParams(const RpcRequest& request, const char* what) {
    return ErrorAnswer(request.id, RpcInvalidParams, std::string("Invalid params: ") + what);
}

} // namespace

std::string AnswerRequest(const RpcRequest& request, HostOperations& operations) {
    const json& params = request.params;
    const bool bKnown = request.method == "hello" || request.method == "recentApplications" ||
                        request.method == "runApplication" || request.method == "selectApplication";
    if (!bKnown) {
        return ErrorAnswer(request.id, RpcMethodNotFound,
                           "Method not found: " + request.method.substr(0, 64));
    }
    if (!params.contains("origin") || !params["origin"].is_string()) {
        return InvalidParams(request, "params.origin, the page's origin, is needed");
    }
    const OriginStanding standing = operations.StandingOf(params["origin"].get<std::string>());
    if (standing == OriginRefused) {
        return ErrorAnswer(request.id, RpcOriginRefused,
                           "Origin refused: the administrator's policy does not list this site");
    }
    if (request.method == "hello") {
        json description = operations.Description();
        description["policy"] = standing == OriginListed ? "listed" : "none";
        return ResultAnswer(request.id, description);
    }
    if (request.method == "recentApplications") {
        std::string text;
        json entries = json::array();
        for (const HostEntry& entry : operations.RecentApplications(text)) {
            entries.push_back(EntryObject(entry));
        }
        return BoundedAnswer(request.id,
                             ResultAnswer(request.id, json{{"entries", entries}, {"text", text}}));
    }
    if (request.method == "runApplication") {
        if (!params.contains("application") || !params["application"].is_string() ||
            params["application"].get<std::string>().empty()) {
            return InvalidParams(request, "params.application, a path or a name, is needed");
        }
        if (!operations.RunApplication(params["application"].get<std::string>())) {
            return ErrorAnswer(request.id, RpcNothingStarted,
                               "Nothing started: no program of that path or name");
        }
        return ResultAnswer(request.id, json{{"started", true}});
    }
    HostEntry entry;
    switch (operations.SelectApplication(entry)) {
    case HostPicked:
        return ResultAnswer(request.id, json{{"entry", EntryObject(entry)}});
    case HostPickCancelled:
        return ResultAnswer(request.id, json{{"cancelled", true}});
    case HostPickBusy:
        return ErrorAnswer(request.id, RpcBusy, "Busy: a picker is open already");
    case HostPickFailed:
    default:
        return ErrorAnswer(request.id, RpcInternalError,
                           "Internal error: the chosen program's icon could not be made");
    }
}
