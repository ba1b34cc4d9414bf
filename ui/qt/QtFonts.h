// The faces the desktop host draws with: the template's own, the desktop's, and a Ming face the
// program carries for its Chinese texts, so that they never show as empty boxes on a desktop
// without a CJK font.
#pragma once

#include <QFont>
#include <QString>

namespace ui::qt {

// Registers the embedded face and adds it behind the application's font (message boxes,
// menus). Once per process; needs the QApplication.
void UseEmbeddedFonts();
// The family name of the embedded Ming face; empty when it could not be loaded.
QString EmbeddedMingFamily();
// The font of a template: its face when the machine has it, else the desktop's sans serif, at
// the template's point size; either way the embedded face draws what they lack.
QFont DialogFont(const QString& face, int pointSize);

}  // namespace ui::qt
