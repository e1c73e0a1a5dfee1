// The host's command line: caller and parent window.
#include "messaging_host/host_arguments.h"

const char kChromiumExtensionId[] = "ndlnobkomhldkoefdojhmlafpaocchga";
const char kFirefoxExtensionId[] = "desklaunch@corvid-application";

namespace {

const char kOriginPrefix[] = "chrome-extension://";
const char kParentWindowPrefix[] = "--parent-window=";

bool BeginsWith(const std::string& text, const char* prefix) {
    return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

// The decimal number of `text`, or 0 when it is none or does not fit 64 bits.
uint64_t DecimalValue(const std::string& text) {
    uint64_t nValue = 0;
    if (text.empty() || text.size() > 20) {
        return 0;
    }
    for (char c : text) {
        if (c < '0' || c > '9') {
            return 0;
        }
        const uint64_t nDigit = static_cast<uint64_t>(c - '0');
        if (nValue > (UINT64_MAX - nDigit) / 10) {
            return 0;
        }
        nValue = nValue * 10 + nDigit;
    }
    return nValue;
}

} // namespace

HostCaller ReadHostArguments(const std::vector<std::string>& vecArguments) {
    HostCaller caller = {HostCaller::Unknown, std::string(), 0};
    for (const std::string& argument : vecArguments) {
        if (BeginsWith(argument, kParentWindowPrefix)) {
            caller.parentWindow =
                DecimalValue(argument.substr(std::char_traits<char>::length(kParentWindowPrefix)));
        } else if (BeginsWith(argument, kOriginPrefix) && caller.browser == HostCaller::Unknown) {
            // The origin ends with the one "/" after the id.
            const std::string rest = argument.substr(std::char_traits<char>::length(kOriginPrefix));
            if (!rest.empty() && rest.find('/') == rest.size() - 1) {
                caller.browser = HostCaller::Chromium;
                caller.extension = rest.substr(0, rest.size() - 1);
            }
        }
    }
    if (caller.browser == HostCaller::Unknown && vecArguments.size() == 2 &&
        !BeginsWith(vecArguments[0], "--") && !BeginsWith(vecArguments[1], "--")) {
        caller.browser = HostCaller::Firefox;
        caller.extension = vecArguments[1];
    }
    return caller;
}

bool IsServedCaller(const HostCaller& caller) {
    switch (caller.browser) {
    case HostCaller::Chromium:
        return caller.extension == kChromiumExtensionId;
    case HostCaller::Firefox:
        return caller.extension == kFirefoxExtensionId;
    default:
        return false;
    }
}
