// desklaunch-host.exe: the native messaging host that browsers start for the extension.
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <stdint.h>
#include <stdio.h>

#include <string>
#include <vector>

#include "common/wide_text.h"
#include "messaging_host/host_arguments.h"
#include "messaging_host/host_service.h"
#include "messaging_host/open_outside_job.h"
#include "messaging_host/windows_operations.h"

int wmain(int argc, wchar_t** argv) {
    if (argc >= 2 && WideString(argv[1]) == kOpenFileSwitch) {
        return OpenFileRole(GetCommandLineW());
    }
    // Lengths are binary: in text mode a byte 0x0A would gain a 0x0D and a 0x1A end the input.
    static_cast<void>(_setmode(_fileno(stdin), _O_BINARY));
    static_cast<void>(_setmode(_fileno(stdout), _O_BINARY));

    std::vector<std::string> vecArguments;
    for (int i = 1; i < argc; ++i) {
        vecArguments.push_back(Utf8FromWide(argv[i]));
    }
    const HostCaller caller = ReadHostArguments(vecArguments);
    if (!IsServedCaller(caller)) {
        fputs("desklaunch-host: started for an extension this host does not serve\n", stderr);
        return 1;
    }
    const HWND hParent = caller.parentWindow <= UINTPTR_MAX
                             ? reinterpret_cast<HWND>(static_cast<uintptr_t>(caller.parentWindow))
                             : NULL;
    WindowsOperations operations(hParent);
    ServeMessages(GetStdHandle(STD_INPUT_HANDLE), GetStdHandle(STD_OUTPUT_HANDLE), operations);
    return 0;
}
