// The picker dialog's OPENFILENAMEW record as the common dialog receives it, and what a pick
// leaves on its thread.
#include <gtest/gtest.h>

#include <string.h>

#include <thread>

#include "app/pick_application.h"
#include "host/file_dialog_driver.h"
#include "nphost/test_time.h"
#include "picker/picker_dialog.h"

namespace {

TEST(PickerDialogRecord, IsTheRecordOfAnExecutablesOnlyOpenDialog) {
    wchar_t wszFilaPath[kPathCapacity] = {0};
    wchar_t wszAppName[kPathCapacity] = {0};
    const HWND hOwner = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234));
    CPickerDialog dlg(hOwner, wszFilaPath, wszAppName);
    const OPENFILENAMEW& ofn = dlg.m_ofn;

    // The size without the fields added with Windows 2000: 76 bytes on 32-bit Windows.
    EXPECT_EQ(offsetof(OPENFILENAMEW, lpTemplateName) + sizeof(ofn.lpTemplateName),
              static_cast<size_t>(ofn.lStructSize));
    if (sizeof(void*) == 4) {
        EXPECT_EQ(76u, ofn.lStructSize);
    }
    EXPECT_EQ(hOwner, ofn.hwndOwner);
    EXPECT_EQ(0x00980026u, ofn.Flags) << std::hex << "got 0x" << ofn.Flags;
    const wchar_t kFilter[] = L"Executive files\0*.exe\0";
    ASSERT_NE(nullptr, ofn.lpstrFilter);
    EXPECT_EQ(0, memcmp(kFilter, ofn.lpstrFilter, sizeof(kFilter)))
        << "filter pair and the empty string that ends the list";
    EXPECT_EQ(0u, ofn.nFilterIndex);
    EXPECT_EQ(wszFilaPath, ofn.lpstrFile);
    EXPECT_EQ(260u, ofn.nMaxFile);
    EXPECT_EQ(wszAppName, ofn.lpstrFileTitle);
    EXPECT_EQ(256u, ofn.nMaxFileTitle);
    ASSERT_NE(nullptr, ofn.lpstrDefExt);
    EXPECT_STREQ(L"exe", ofn.lpstrDefExt);
    EXPECT_EQ(nullptr, ofn.lpstrInitialDir);
    EXPECT_EQ(nullptr, ofn.lpstrTitle);
    EXPECT_EQ(nullptr, ofn.lpstrCustomFilter);
    EXPECT_EQ(0, ofn.lCustData);
    EXPECT_EQ(nullptr, ofn.lpTemplateName);
    ASSERT_NE(nullptr, ofn.lpfnHook);
    for (UINT uMsg : {WM_INITDIALOG, WM_NOTIFY, WM_COMMAND, WM_DESTROY}) {
        EXPECT_EQ(0u, ofn.lpfnHook(nullptr, uMsg, 0, 0))
            << "the dialog's hook leaves message 0x" << std::hex << uMsg << " to the dialog";
    }
}

// A pick runs on a thread of the front end's: COM there is as it was before, so a thread that
// ends after its pick leaves no apartment behind.
TEST(PickApplication, LeavesItsThreadWithoutAnApartment) {
    std::thread user([] {
        const HWND hDialog = nphost::WaitForFileDialog(nphost::PatientWait(10000));
        if (hDialog != NULL) {
            nphost::PressCancel(hDialog);
        }
    });
    PickedApplication entry;
    const PickOutcome outcome = PickApplication(entry);
    user.join();
    ASSERT_EQ(PickCancelled, outcome);
    const HRESULT hr = ::CoInitializeEx(NULL, COINIT_MULTITHREADED);
    EXPECT_EQ(S_OK, hr) << "the pick left its thread in an apartment: 0x" << std::hex << hr;
    if (SUCCEEDED(hr)) {
        ::CoUninitialize();
    }
}

} // namespace
