// The Windows resource script, generated from the templates so that the Win32 host and the
// others can never disagree about a window.
#include <cstdio>
#include <string>

#include "resources/Resource.h"
#include "ui/Dialog.h"

namespace res {
namespace {

constexpr uint32_t WS_CHILD = 0x40000000;
constexpr uint32_t BS_GROUPBOX = 0x7;

std::string Hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
}

// A resource-script string: quotes doubled, backslashes doubled.
std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"')
            out += "\"\"";
        else if (c == '\\')
            out += "\\\\";
        else
            out += c;
    }
    return out + "\"";
}

const char* ClassName(ui::ControlKind kind) {
    switch (kind) {
        case ui::ControlKind::Edit:
            return "EDIT";
        case ui::ControlKind::PushButton:
        case ui::ControlKind::CheckBox:
        case ui::ControlKind::GroupBox:
            return "BUTTON";
        case ui::ControlKind::ComboBox:
        case ui::ControlKind::DropDownList:
            return "COMBOBOX";
        case ui::ControlKind::ListView:
            return "SysListView32";
        case ui::ControlKind::Static:
        case ui::ControlKind::Icon:
            return "STATIC";
    }
    return "STATIC";
}

std::string Control(const ui::ControlTemplate& c) {
    uint32_t style = WS_CHILD | c.style;
    if (!c.hidden)
        style |= ui::WS_VISIBLE;
    if (c.disabled)
        style |= ui::WS_DISABLED;
    if (c.kind == ui::ControlKind::GroupBox)
        style |= BS_GROUPBOX;
    if (c.kind == ui::ControlKind::Edit)
        style |= ui::WS_BORDER;
    std::string caption = c.kind == ui::ControlKind::Icon ? "#" + c.caption : c.caption;
    char rect[64];
    std::snprintf(rect, sizeof rect, "%d, %d, %d, %d", c.rect.x, c.rect.y, c.rect.cx, c.rect.cy);
    return "    CONTROL " + Quoted(caption) + ", " + std::to_string(c.id) + ", " +
           Quoted(ClassName(c.kind)) + ", " + Hex(style) + ", " + rect + "\n";
}

std::string Dialog(const ui::DialogTemplate& t) {
    std::string out = std::to_string(t.id) + " DIALOGEX 0, 0, " + std::to_string(t.cx) + ", " +
                      std::to_string(t.cy) + "\n";
    out += "STYLE " + Hex(t.style) + "\n";
    if (t.exStyle)
        out += "EXSTYLE " + Hex(t.exStyle) + "\n";
    out += "CAPTION " + Quoted(t.title) + "\n";
    out += "FONT " + std::to_string(t.fontSize) + ", " + Quoted(t.fontName) + ", 0, 0, 0x1\n";
    out += "BEGIN\n";
    for (const ui::ControlTemplate& c : t.controls)
        out += Control(c);
    // The drop-down lists get their items from the script's own dialog-init data.
    out += "END\n\n";
    bool items = false;
    for (const ui::ControlTemplate& c : t.controls)
        items = items || !c.items.empty();
    if (items) {
        // As a resource of type 240 (RT_DLGINIT) with its raw words, since not every resource
        // compiler knows the DLGINIT keyword; the bytes are the same.
        out += std::to_string(t.id) + " 240\nBEGIN\n";
        for (const ui::ControlTemplate& c : t.controls) {
            for (const std::string& item : c.items) {
                // Each entry: control id, CB_ADDSTRING (0x0403), the length with the
                // terminator as a double word, then exactly that many bytes: the reader steps
                // by the length, so an odd length must not be padded to a whole word. The last
                // odd byte is a one-byte string.
                const std::string bytes = item + '\0';
                out += "    " + std::to_string(c.id) + ", 0x403, " + std::to_string(bytes.size()) +
                       ", 0,\n   ";
                for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
                    char word[16];
                    std::snprintf(word, sizeof word, " 0x%02X%02X,",
                                  static_cast<unsigned char>(bytes[i + 1]),
                                  static_cast<unsigned char>(bytes[i]));
                    out += word;
                }
                if (bytes.size() % 2) {
                    char last[16];
                    std::snprintf(last, sizeof last, " \"\\%03o\",",
                                  static_cast<unsigned char>(bytes.back()));
                    out += last;
                }
                out += "\n";
            }
        }
        out += "    0\nEND\n\n";
    }
    return out;
}

// The version block: numbers and texts of the project's version from the build's header, so
// the scripts stay the same from one version to the next. language is the block's hexadecimal
// language id, translation the same as a number; the texts are Unicode (code page 1200).
std::string VersionBlock(const std::string& fileName, const std::string& description, int fileType,
                         const std::string& language, const std::string& translation) {
    return "VS_VERSION_INFO VERSIONINFO\n"
           " FILEVERSION VUVEREZE_VERSION_FIELDS\n"
           " PRODUCTVERSION VUVEREZE_VERSION_FIELDS\n"
           " FILEFLAGSMASK 0x3fL\n"
           " FILEOS 0x40004L\n"
           " FILETYPE 0x" +
           std::to_string(fileType) +
           "L\n"
           "BEGIN\n"
           "    BLOCK \"StringFileInfo\"\n"
           "    BEGIN\n"
           "        BLOCK \"" +
           language +
           "04b0\"\n"
           "        BEGIN\n"
           "            VALUE \"FileDescription\", " +
           Quoted(description) +
           "\n"
           "            VALUE \"FileVersion\", VUVEREZE_VERSION_TEXT\n"
           "            VALUE \"InternalName\", " +
           Quoted(fileName) +
           "\n"
           "            VALUE \"OriginalFilename\", " +
           Quoted(fileName) +
           "\n"
           "            VALUE \"ProductName\", " +
           Quoted(kProductName) +
           "\n"
           "            VALUE \"ProductVersion\", VUVEREZE_VERSION_TEXT\n"
           "        END\n"
           "    END\n"
           "    BLOCK \"VarFileInfo\"\n"
           "    BEGIN\n"
           "        VALUE \"Translation\", " +
           translation +
           ", 1200\n"
           "    END\n"
           "END\n";
}

constexpr int kAppFileType = 1;      // VFT_APP
constexpr int kLibraryFileType = 2;  // VFT_DLL

}  // namespace

std::string ResourceScript() {
    std::string out =
        "// Generated by vuvereze-rcgen from resources/Templates.cpp: do not edit.\n"
        "#pragma code_page(65001)\n"
        "#include <windows.h>\n"
        "#include <commctrl.h>\n"
        // The version comes from the build (CMake's project version), so this script stays
        // the same from one version to the next.
        "#include \"VuverezeVersion.h\"\n\n"
        "LANGUAGE LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL\n\n";
    out += std::to_string(IDR_MAINFRAME) + " ICON \"Vuvereze.ico\"\n";
    out += "1 RT_MANIFEST \"Vuvereze.manifest\"\n\n";
    out += "STRINGTABLE\nBEGIN\n";
    for (int id : {IDS_ABOUTBOX, IDS_SIGNAL})
        out += "    " + std::to_string(id) + " " + Quoted(LoadResourceString(id)) + "\n";
    out += "END\n\n";
    for (int id :
         {IDD_ABOUTBOX, IDD_VUVEREZE_DIALOG, IDD_INPUT_FORMAT, IDD_STANDARD_TIMING, IDD_SIGNAL})
        out += Dialog(*FindTemplate(id));
    out += VersionBlock(kExecutableName, kProductName, kAppFileType, "0404", "0x404");
    return out;
}

std::string ImageResourceScript(const ImageResources& image) {
    std::string out =
        "// Generated by vuvereze-rcgen from resources/ResourceScript.cpp: do not edit.\n"
        "#pragma code_page(65001)\n"
        "#include <windows.h>\n"
        "#include \"VuverezeVersion.h\"\n\n"
        "LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US\n\n";
    // A program's manifest is resource 1; a DLL's is resource 2, the one Windows reads for the
    // DLL's own imports (a DLL cannot speak for its process).
    out +=
        std::string(image.library ? "2" : "1") + " RT_MANIFEST " + Quoted(image.manifest) + "\n\n";
    out += VersionBlock(image.fileName, image.description,
                        image.library ? kLibraryFileType : kAppFileType, "0409", "0x409");
    return out;
}

}  // namespace res
