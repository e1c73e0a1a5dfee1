// The picker's rules over plain data: dialog placement and the naming of a chosen file.
#include "picker/picker_rules.h"

namespace {

const uint32_t kStyleVisible = 0x10000000;   // WS_VISIBLE
const uint32_t kStyleMinimised = 0x20000000; // WS_MINIMIZE

// One axis: centred on [nLow, nHigh), then at most one correction into [nAreaLow, nAreaHigh).
// Sizes and sums are 64-bit, so that no rectangle overflows them; a dialog larger than the area
// may be pushed past the coordinate range, and is then held at its end.
int32_t PlaceOnAxis(int32_t nLow, int32_t nHigh, int64_t nSize, int32_t nAreaLow,
                    int32_t nAreaHigh) {
    const int64_t nCentre = (static_cast<int64_t>(nLow) + nHigh) / 2;
    int64_t nPosition = nCentre - nSize / 2;
    if (nPosition < nAreaLow) {
        nPosition = nAreaLow;
    } else if (nPosition + nSize > nAreaHigh) {
        nPosition = static_cast<int64_t>(nAreaHigh) - nSize;
    }
    if (nPosition < INT32_MIN) {
        return INT32_MIN;
    }
    return nPosition > INT32_MAX ? INT32_MAX : static_cast<int32_t>(nPosition);
}

} // namespace

ScreenPoint CenterDialogPosition(const ScreenRect& dialog, const ScreenRect* pCentering,
                                 const ScreenRect& workArea) {
    const int64_t nWidth = static_cast<int64_t>(dialog.right) - dialog.left;
    const int64_t nHeight = static_cast<int64_t>(dialog.bottom) - dialog.top;
    const ScreenRect& around = pCentering ? *pCentering : workArea;
    ScreenPoint point;
    point.x = PlaceOnAxis(around.left, around.right, nWidth, workArea.left, workArea.right);
    point.y = PlaceOnAxis(around.top, around.bottom, nHeight, workArea.top, workArea.bottom);
    return point;
}

bool CanCenterOnOwner(bool bHasOwner, uint32_t dwOwnerStyle) {
    return bHasOwner && (dwOwnerStyle & kStyleVisible) != 0 &&
           (dwOwnerStyle & kStyleMinimised) == 0;
}

WideString TitleWithoutLastExtension(const WideString& wstrTitle) {
    const size_t nDot = wstrTitle.rfind(WIDE('.'));
    return nDot == WideString::npos ? wstrTitle : wstrTitle.substr(0, nDot);
}

WideString ReplyDisplayName(const WideString& wstrName) {
    return CutToLength(wstrName, kPathCapacity - 1);
}
