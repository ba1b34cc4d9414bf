#include "ui/Placement.h"

namespace ui {
namespace {

int Inside(int start, int size, int low, int high) {
    if (start + size > high) {
        start = high - size;
    }
    return start < low ? low : start;
}

}  // namespace

ScreenRect CentredWindow(const ScreenRect& window, const ScreenRect* owner,
                         const ScreenRect& workArea) {
    const ScreenRect& around = owner != nullptr ? *owner : workArea;
    const int width = window.Width();
    const int height = window.Height();
    int left = around.left + (around.Width() - width) / 2;
    int top = around.top + (around.Height() - height) / 2;
    left = Inside(left, width, workArea.left, workArea.right);
    top = Inside(top, height, workArea.top, workArea.bottom);
    return ScreenRect{left, top, left + width, top + height};
}

}  // namespace ui
