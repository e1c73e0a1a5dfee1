// JSON-RPC 2.0 over native messaging: requests read, answers written, and the error codes.
#ifndef NPDESKLAUNCH_MESSAGING_HOST_RPC_MESSAGES_H
#define NPDESKLAUNCH_MESSAGING_HOST_RPC_MESSAGES_H

#include <string>

#include <nlohmann/json.hpp>

// The error codes of the answers; the README's table documents each.
enum RpcErrorCode {
    RpcParseError = -32700,     // the message is not JSON
    RpcInvalidRequest = -32600, // JSON, but not a request (or over the size limit)
    RpcMethodNotFound = -32601, // no such method
    RpcInvalidParams = -32602,  // the method's parameters are wrong
    RpcInternalError = -32603,  // the host failed, or the answer would be too long
    RpcOriginRefused = -32000,  // the page's origin may not use the host
    RpcNothingStarted = -32001, // runApplication started nothing
    RpcBusy = -32002,           // a picker is already open for this caller
};

// One request: `id` is a number, a string or null; `params` an object.
struct RpcRequest {
    nlohmann::json id;
    std::string method;
    nlohmann::json params;
};

// Reads one request. False with the error answer in `answer` when the text is not JSON or not
// a request; such an answer carries the request's id when one could be read, else null.
bool ReadRequest(const std::string& text, RpcRequest& request, std::string& answer);

// The answer texts. Strings that are not valid UTF-8 are written with U+FFFD in their place.
std::string ResultAnswer(const nlohmann::json& id, const nlohmann::json& result);
std::string ErrorAnswer(const nlohmann::json& id, int nCode, const std::string& message);

// `answer`, or an internal-error answer for `id` when it would be longer than a browser takes.
std::string BoundedAnswer(const nlohmann::json& id, const std::string& answer);

#endif
