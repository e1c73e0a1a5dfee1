// What a browser tells the host on its command line, and the extensions the host serves.
// Chromium-family browsers pass the caller's origin, "chrome-extension://<id>/", and on Windows
// "--parent-window=<handle>"; Firefox passes the path of the host's manifest and the add-on id.
#ifndef NPDESKLAUNCH_MESSAGING_HOST_HOST_ARGUMENTS_H
#define NPDESKLAUNCH_MESSAGING_HOST_HOST_ARGUMENTS_H

#include <stdint.h>

#include <string>
#include <vector>

// The extensions this host is built for: the Chromium extension's id (fixed by the key in its
// manifest) and the Firefox add-on's id.
extern const char kChromiumExtensionId[];
extern const char kFirefoxExtensionId[];

struct HostCaller {
    enum Browser { Unknown, Chromium, Firefox };
    Browser browser;
    std::string extension; // the extension's id as the browser named it
    uint64_t parentWindow; // the browser window's handle, 0 when none was passed
};

// Reads the arguments after the program's name, in UTF-8.
HostCaller ReadHostArguments(const std::vector<std::string>& vecArguments);

// Whether the caller is an extension the host is built for.
bool IsServedCaller(const HostCaller& caller);

#endif
