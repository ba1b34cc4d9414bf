#include "app/AboutDlg.h"

#include "resources/Resource.h"

namespace app {

CAboutDlg::CAboutDlg(ui::CDialog* parent) : ui::CDialog(res::AboutTemplate(), parent) {}

}  // namespace app
