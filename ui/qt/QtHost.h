// The desktop host: every dialog of the program becomes a Qt Widgets window built from its
// template. The dialog's own state stays the truth; the windows only show it and hand the user's
// actions back as Input records.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/Dialog.h"

namespace ui {

namespace qt {
class CQtWindow;
}

class CQtHost : public IHost {
  public:
    // A QApplication must exist for as long as the host runs dialogs.
    CQtHost() = default;
    CQtHost(const CQtHost&) = delete;
    CQtHost& operator=(const CQtHost&) = delete;

    intptr_t RunModal(CDialog& dlg) override;
    void Changed(CDialog& dlg, int controlId) override;
    int MessageBox(const std::string& text, const std::string& caption, uint32_t type) override;
    bool FileDialog(const FileDialogRequest& request, std::string& path) override;
    int TextWidth(CDialog& dlg, int controlId, const std::string& text) override;
    int ListRowHeight(CDialog& dlg, int controlId) override;
    int ListPageRows(CDialog& dlg, int controlId) override;

    // The window showing `dlg`, while it runs; nullptr otherwise.
    qt::CQtWindow* WindowOf(const CDialog& dlg) const;

  private:
    std::vector<qt::CQtWindow*> m_open;  // the topmost at the back
};

// The Windows form "Label|*.a;*.b|...||" as Qt name filters ("Label (*.a *.b)"). "*.*" means every
// file there, so it becomes "*".
std::vector<std::string> QtNameFilters(const std::string& filter);

}  // namespace ui
