// What the timing editor works on, given by the window that opens it: the table it edits, the
// bound card, and the list that shows the table's user formats. The editor knows the window
// only through this, so the editor sits below the main window.
#pragma once

namespace device {
struct DeviceHandle;
}

namespace fmt {
class FormatTable;
}

namespace ui {
class CDialog;
class CListCtrl;
}  // namespace ui

namespace timing {

class IEditorOwner {
  public:
    // The window the editor opens over.
    virtual ui::CDialog* EditorParent() = 0;
    virtual fmt::FormatTable& EditedTable() = 0;
    virtual const device::DeviceHandle* BoundDevice() const = 0;
    virtual ui::CListCtrl& UserFormatList() = 0;
    // Appends the resolution row of record `record` to `list` (by the Id rule of the lists).
    virtual void AppendResolutionRow(ui::CListCtrl& list, int record) = 0;

  protected:
    ~IEditorOwner() = default;
};

}  // namespace timing
