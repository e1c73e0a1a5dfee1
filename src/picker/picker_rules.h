// The picker's rules over plain data: where its dialog goes and how a chosen file is named.
#ifndef NPDESKLAUNCH_PICKER_PICKER_RULES_H
#define NPDESKLAUNCH_PICKER_PICKER_RULES_H

#include <stdint.h>

#include "common/wide_text.h"

// A window rectangle in screen coordinates, right and bottom exclusive.
struct ScreenRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

struct ScreenPoint {
    int32_t x;
    int32_t y;
};

// Where the dialog `dialog` goes: centred over `pCentering` (the visible, not minimised owner)
// or, without one, over `workArea`; then pushed inside `workArea`, one correction per axis.
ScreenPoint CenterDialogPosition(const ScreenRect& dialog, const ScreenRect* pCentering,
                                 const ScreenRect& workArea);

// Whether the owner's style lets it serve as the window to centre on.
bool CanCenterOnOwner(bool bHasOwner, uint32_t dwOwnerStyle);

// The file title without its last extension; the whole title when it has no ".".
WideString TitleWithoutLastExtension(const WideString& wstrTitle);

// The display name of a reply, cut to what a name buffer holds (259 units).
WideString ReplyDisplayName(const WideString& wstrName);

#endif
