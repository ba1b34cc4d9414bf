// The style the host's windows are drawn with: the one the application already has, so that a
// desktop's or a user's choice holds.
#pragma once

namespace ui::qt {

// Wraps the application's style once per process, before the first window is built (needs the
// QApplication). Every drawing and metric stays the wrapped style's own.
void InstallHostStyle();

}  // namespace ui::qt
