#pragma once

#include "ui/Dialog.h"

namespace app {

// The About box: icon, text and one button, nothing of its own.
class CAboutDlg : public ui::CDialog {
  public:
    explicit CAboutDlg(ui::CDialog* parent = nullptr);
};

}  // namespace app
