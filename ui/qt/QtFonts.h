// The faces the desktop host draws with: the template's own, the desktop's, and a Ming face the
// program carries for its Chinese texts, so that they never show as empty boxes on a desktop
// without a CJK font.
#pragma once

#include <QFont>
#include <QString>
#include <string>

namespace ui::qt {

// Registers the embedded face with Qt's font database, once per process (needs the
// QApplication). From then on Qt's own fallback finds it for any glyph the machine's faces lack.
void RegisterEmbeddedFace();
// Puts the embedded face behind the application's font (message boxes, file dialogs), once.
void UseEmbeddedFonts();
// The family name of the embedded Ming face; empty when it could not be loaded.
QString EmbeddedMingFamily();
// `font` with the embedded face behind its own, before any CJK face of the machine.
QFont WithEmbeddedFace(const QFont& font);
// True for an ANSI text with a character beyond ASCII, which the Latin faces may lack.
bool NeedsEmbeddedFace(const std::string& ansi);
// The font of a template: its face when the machine has it, else the desktop's sans serif, at
// the template's point size. It names that one face alone, so that laying out Latin texts costs
// no fallback lookup; a window adds the embedded face once it shows a text that may need it.
QFont DialogFont(const QString& face, int pointSize);

}  // namespace ui::qt
