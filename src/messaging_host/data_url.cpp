// Base64 and data: URLs.
#include "messaging_host/data_url.h"

namespace {

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

} // namespace

std::string Base64(const std::vector<unsigned char>& bytes) {
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const size_t nLeft = bytes.size() - i;
        const unsigned long nGroup =
            static_cast<unsigned long>(bytes[i]) << 16 |
            (nLeft > 1 ? static_cast<unsigned long>(bytes[i + 1]) << 8 : 0) |
            (nLeft > 2 ? static_cast<unsigned long>(bytes[i + 2]) : 0);
        text += kAlphabet[(nGroup >> 18) & 0x3F];
        text += kAlphabet[(nGroup >> 12) & 0x3F];
        text += nLeft > 1 ? kAlphabet[(nGroup >> 6) & 0x3F] : '=';
        text += nLeft > 2 ? kAlphabet[nGroup & 0x3F] : '=';
    }
    return text;
}

std::string DataUrl(const char* mediaType, const std::vector<unsigned char>& bytes) {
    return std::string("data:") + mediaType + ";base64," + Base64(bytes);
}
