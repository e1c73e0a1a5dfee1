// The host's own books: each misuse that a real browser punishes is recorded, with a message
// that says what was misused.
#include <string.h>

#include "module_fixture.h"

namespace {

using nphost::Browser;

// Runs `misuse` and answers what the host recorded during it (and forgets it, so that the
// strict listener does not fail this test for the misuse it provokes on purpose).
template <typename Misuse> std::vector<std::string> Recorded(Misuse misuse) {
    const size_t nBefore = Browser::Get().Violations().size();
    misuse();
    return Browser::Get().TakeViolations(nBefore);
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return text;
}

void ExpectOne(const std::vector<std::string>& recorded, const std::string& expectedPart) {
    ASSERT_EQ(1u, recorded.size()) << Joined(recorded);
    EXPECT_NE(std::string::npos, recorded[0].find(expectedPart)) << recorded[0];
}

TEST(StrictHost, BrowserBlocksComeFromItsOwnHeapAndAreCheckedWhenFreed) {
    const NPNetscapeFuncs funcs = Browser::Get().Funcs();
    char* block = static_cast<char*>(funcs.memalloc(8));
    ASSERT_NE(nullptr, block);
    EXPECT_FALSE(HeapValidate(GetProcessHeap(), 0, block)) << "a block of the process heap";
    block[8] = 'x';
    ExpectOne(Recorded([&] { funcs.memfree(block); }), "written past its end");
    ExpectOne(Recorded([&] { funcs.memfree(block); }), "freed twice");
    char* own = static_cast<char*>(malloc(4));
    ExpectOne(Recorded([&] { funcs.memfree(own); }), "not a block that NPN_MemAlloc gave out");
    free(own);
}

TEST(StrictHost, ObjectsMustBeLive) {
    NPObject* function = Browser::Get().CreateFunction();
    Browser::Get().ReleaseObject(function);
    ExpectOne(Recorded([&] { Browser::Get().RetainObject(function); }),
              "used after it was deallocated");
    ExpectOne(Recorded([&] { Browser::Get().ReleaseObject(function); }),
              "used after it was deallocated");
    NPObject stranger = {nullptr, 1};
    ExpectOne(Recorded([&] { Browser::Get().ReleaseObject(&stranger); }),
              "which the browser never created");
}

DWORD WINAPI AllocateOffThread(void*) {
    Browser::Get().Funcs().memfree(Browser::Get().Funcs().memalloc(4));
    return 0;
}

TEST(StrictHost, ServicesOtherThanTheAsynchronousCallBelongToThePluginThread) {
    const std::vector<std::string> recorded = Recorded([] {
        HANDLE hThread = CreateThread(nullptr, 0, AllocateOffThread, nullptr, 0, nullptr);
        WaitForSingleObject(hThread, INFINITE);
        CloseHandle(hThread);
    });
    ASSERT_EQ(2u, recorded.size()) << Joined(recorded);
    EXPECT_EQ(0u, recorded[0].find("NPN_MemAlloc called off the plug-in thread")) << recorded[0];
    EXPECT_EQ(0u, recorded[1].find("NPN_MemFree called off the plug-in thread")) << recorded[1];
}

void NP_TABLE CountCall(void* pCount) {
    ++*static_cast<int*>(pCount);
}

TEST(StrictHost, AnAsynchronousCallForADestroyedInstanceIsMisuseAndDoesNotRun) {
    NPP_t gone;
    memset(&gone, 0, sizeof(gone));
    int nCalls = 0;
    ExpectOne(
        Recorded([&] { Browser::Get().Funcs().pluginthreadasynccall(&gone, CountCall, &nCalls); }),
        "destroyed or was never created");
    Browser::Get().PumpUntil([] { return Browser::Get().PendingAsyncCalls() == 0; }, 1000);
    EXPECT_EQ(0, nCalls);
}

} // namespace
