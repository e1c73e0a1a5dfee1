// JSON-RPC 2.0 requests and answers.
#include "messaging_host/rpc_messages.h"

#include "messaging_host/message_frames.h"

namespace {

using nlohmann::json;

std::string Dump(const json& value) {
    return value.dump(-1, ' ', false, json::error_handler_t::replace);
}

bool IsId(const json& id) {
    return id.is_null() || id.is_string() || id.is_number_integer() || id.is_number_unsigned();
}

} // namespace

bool ReadRequest(const std::string& text, RpcRequest& request, std::string& answer) {
    const json message = json::parse(text, nullptr, false);
    if (message.is_discarded()) {
        answer = ErrorAnswer(nullptr, RpcParseError, "Parse error: the message is not JSON");
        return false;
    }
    const json id = message.is_object() && message.contains("id") && IsId(message["id"])
                        ? message["id"]
                        : json(nullptr);
    if (!message.is_object() || message.value("jsonrpc", json()) != "2.0" ||
        !message.contains("id") || !IsId(message["id"]) || !message.contains("method") ||
        !message["method"].is_string() ||
        (message.contains("params") && !message["params"].is_object())) {
        answer = ErrorAnswer(id, RpcInvalidRequest,
                             "Invalid request: jsonrpc \"2.0\", an id, a method name and an "
                             "object of params are needed");
        return false;
    }
    request.id = id;
    request.method = message["method"].get<std::string>();
    request.params = message.contains("params") ? message["params"] : json::object();
    return true;
}

std::string ResultAnswer(const json& id, const json& result) {
    return Dump(json{{"jsonrpc", "2.0"}, {"id", id}, {"result", result}});
}

std::string ErrorAnswer(const json& id, int nCode, const std::string& message) {
    return Dump(json{
        {"jsonrpc", "2.0"}, {"id", id}, {"error", json{{"code", nCode}, {"message", message}}}});
}

std::string BoundedAnswer(const json& id, const std::string& answer) {
    if (answer.size() <= kMaxAnswerBytes) {
        return answer;
    }
    return ErrorAnswer(id, RpcInternalError, "Internal error: the answer would be too long");
}
