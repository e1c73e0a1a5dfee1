// The dialog placement with rectangles anywhere in the 32-bit range, and the naming of a chosen
// file with hostile titles.
#include <algorithm>

#include "common/path_text.h"
#include "fuzz_input.h"
#include "picker/picker_rules.h"

namespace {

ScreenRect TakeRect(FuzzInput& input) {
    ScreenRect rect;
    rect.left = input.Int32();
    rect.top = input.Int32();
    rect.right = input.Int32();
    rect.bottom = input.Int32();
    return rect;
}

// On one axis, a dialog of `nSize` (> 0) that fits the area [nLow, nHigh) lies wholly inside.
void CheckAxis(int64_t nPosition, int64_t nSize, int64_t nLow, int64_t nHigh) {
    if (nSize >= 0 && nSize <= nHigh - nLow) {
        FUZZ_CHECK(nPosition >= nLow);
        FUZZ_CHECK(nPosition + nSize <= nHigh);
    }
}

void CheckPlacement(const ScreenRect& dialog, const ScreenRect* pCentering,
                    const ScreenRect& workArea) {
    const ScreenPoint point = CenterDialogPosition(dialog, pCentering, workArea);
    CheckAxis(point.x, static_cast<int64_t>(dialog.right) - dialog.left, workArea.left,
              workArea.right);
    CheckAxis(point.y, static_cast<int64_t>(dialog.bottom) - dialog.top, workArea.top,
              workArea.bottom);
}

void CheckNaming(const WideString& wstrTitle) {
    const WideString wstrStem = TitleWithoutLastExtension(wstrTitle);
    FUZZ_CHECK(StartsWith(wstrTitle, wstrStem));
    if (wstrStem.size() < wstrTitle.size()) {
        const WideString wstrExtension = wstrTitle.substr(wstrStem.size());
        FUZZ_CHECK(wstrExtension[0] == WIDE('.'));
        FUZZ_CHECK(wstrExtension.find(WIDE('.'), 1) == WideString::npos);
    } else {
        FUZZ_CHECK(wstrTitle.find(WIDE('.')) == WideString::npos);
    }
    const WideString wstrName = ReplyDisplayName(wstrTitle);
    FUZZ_CHECK(wstrName.size() < kPathCapacity);
    FUZZ_CHECK(StartsWith(wstrTitle, wstrName));
    FUZZ_CHECK(wstrName.size() + 1 >= std::min(wstrTitle.size(), kPathCapacity - 1));
    FUZZ_CHECK(IsShortcutPath(wstrTitle) == (wstrTitle.find(WIDE(".lnk")) != WideString::npos));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    const uint8_t flags = input.Byte();
    const ScreenRect dialog = TakeRect(input);
    const ScreenRect owner = TakeRect(input);
    const ScreenRect workArea = TakeRect(input);
    CheckPlacement(dialog, (flags & 1) != 0 ? &owner : nullptr, workArea);

    const uint32_t dwStyle = input.Number32();
    const bool bCentre = CanCenterOnOwner((flags & 2) != 0, dwStyle);
    FUZZ_CHECK(!bCentre ||
               ((flags & 2) != 0 && (dwStyle & 0x10000000) != 0 && (dwStyle & 0x20000000) == 0));

    CheckNaming(input.Text(400));
    return 0;
}
