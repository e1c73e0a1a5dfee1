// The least a native messaging host can be: a console program that reads one message and
// answers it with a fixed one. The benchmark's measure of what starting any host costs.
#include <windows.h>

int main() {
    const HANDLE hInput = GetStdHandle(STD_INPUT_HANDLE);
    unsigned char header[4];
    DWORD dwRead = 0;
    for (DWORD dwDone = 0; dwDone < 4; dwDone += dwRead) {
        if (!ReadFile(hInput, header + dwDone, 4 - dwDone, &dwRead, NULL) || dwRead == 0) {
            return 1;
        }
    }
    const DWORD dwLength =
        header[0] | header[1] << 8 | header[2] << 16 | static_cast<DWORD>(header[3]) << 24;
    char buffer[4096];
    for (DWORD dwDone = 0; dwDone < dwLength; dwDone += dwRead) {
        const DWORD dwAsked =
            dwLength - dwDone < sizeof(buffer) ? dwLength - dwDone : sizeof(buffer);
        if (!ReadFile(hInput, buffer, dwAsked, &dwRead, NULL) || dwRead == 0) {
            return 1;
        }
    }
    static const char kAnswer[] = "\x24\0\0\0{\"jsonrpc\":\"2.0\",\"id\":1,\"result\":{}}";
    DWORD dwWritten = 0;
    return WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), kAnswer, sizeof(kAnswer) - 1, &dwWritten,
                     NULL)
               ? 0
               : 1;
}
