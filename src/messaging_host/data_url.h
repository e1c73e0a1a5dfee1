// Bytes as a data: URL that a page can use as an image's source.
#ifndef NPDESKLAUNCH_MESSAGING_HOST_DATA_URL_H
#define NPDESKLAUNCH_MESSAGING_HOST_DATA_URL_H

#include <string>
#include <vector>

// Base64 (RFC 4648, with padding) of `bytes`.
std::string Base64(const std::vector<unsigned char>& bytes);

// "data:<mediaType>;base64," and the bytes in base64.
std::string DataUrl(const char* mediaType, const std::vector<unsigned char>& bytes);

#endif
