// Where a modal window goes on the screen, as the dialog framework places one when it starts.
#pragma once

namespace ui {

struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const ScreenRect&) const = default;
};

// `window` moved to the middle of its owner, or of the work area when it has no owner on screen
// (none, hidden or minimised), then back inside the work area wherever that would cut it off; a
// window larger than the work area keeps its top left corner in it.
ScreenRect CentredWindow(const ScreenRect& window, const ScreenRect* owner,
                         const ScreenRect& workArea);

}  // namespace ui
