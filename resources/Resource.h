// Resource numbers and control ids of the program's windows.
#pragma once

#include <string>
#include <vector>

#include "VuverezeVersion.h"
#include "ui/Template.h"

namespace res {

constexpr int IDD_ABOUTBOX = 100;
constexpr int IDS_ABOUTBOX = 101;
constexpr int IDD_VUVEREZE_DIALOG = 102;
constexpr int IDR_MAINFRAME = 128;
constexpr int IDD_INPUT_FORMAT = 129;
constexpr int IDD_STANDARD_TIMING = 130;
constexpr int IDD_SIGNAL = 131;
constexpr int IDS_SIGNAL = 103;

// System menu items: the About box, and the signal window below it. Windows keeps the low four
// bits of a system command for itself, and the system's own commands start at 0xF000.
constexpr unsigned IDM_ABOUTBOX = 0x0010;
constexpr unsigned IDM_SIGNAL = 0x0020;

// Main window (102).
constexpr int IDC_DEVICE_BOX = 1000;
constexpr int IDC_LOCK = 1001;
constexpr int IDC_USER_LIST = 1003;
constexpr int IDC_SUPPORTED_LIST = 1004;
constexpr int IDC_ADD = 1005;
constexpr int IDC_DELETE = 1006;
constexpr int IDC_OK = 1008;
constexpr int IDC_CANCEL = 1009;
constexpr int IDC_APPLY = 1012;
constexpr int IDC_EXPORT = 1014;
constexpr int IDC_IMPORT = 1056;
constexpr int IDC_SELECT_ALL_USER = 1060;
constexpr int IDC_SELECT_ALL_SUPPORTED = 1061;

// Timing editor (129): visible fields.
constexpr int IDC_H_TOTAL = 1016;
constexpr int IDC_V_TOTAL = 1017;
constexpr int IDC_H_ACTIVE = 1018;
constexpr int IDC_V_ACTIVE = 1019;
constexpr int IDC_H_FRONT_PORCH = 1020;
constexpr int IDC_V_FRONT_PORCH = 1021;
constexpr int IDC_H_SYNC = 1022;
constexpr int IDC_V_SYNC = 1023;
constexpr int IDC_FRAME_RATE = 1026;
constexpr int IDC_DETECTED_HEIGHT = 1028;
constexpr int IDC_DETECTED_WIDTH = 1029;
constexpr int IDC_STEP = 1030;
constexpr int IDC_UP = 1031;
constexpr int IDC_DOWN = 1032;
constexpr int IDC_LEFT = 1033;
constexpr int IDC_RIGHT = 1034;
constexpr int IDC_TEST = 1036;
constexpr int IDC_INTERLACE = 1037;
constexpr int IDC_DETECT = 1038;
constexpr int IDC_H_POLARITY = 1054;
constexpr int IDC_STANDARD = 1064;  // "Standard...": fills the timing from a standard
constexpr int IDC_V_POLARITY = 1055;
// Timing editor (129): hidden fields, the hand-off point of the register values.
constexpr int IDC_DE_H_START = 1040;
constexpr int IDC_DE_H_END = 1041;
constexpr int IDC_DE_V_START = 1042;
constexpr int IDC_DE_V_END = 1043;
constexpr int IDC_PLL_DIV_RATIO = 1046;
constexpr int IDC_FR_LL = 1047;
constexpr int IDC_L_MAX = 1048;
constexpr int IDC_PIXEL_CLOCK = 1050;
constexpr int IDC_F1_VBI_START = 1051;
constexpr int IDC_F1_VBI_END = 1052;
constexpr int IDC_F2_VBI_START = 1053;
constexpr int IDC_F2_VBI_END = 1056;
constexpr int IDC_LINE_LENGTH = 1057;
constexpr int IDC_LINE_FREQ = 1058;

// Standard timing dialog (130), opened by "Standard..." of the timing editor.
constexpr int IDC_STD_KIND = 1070;  // CVT ... CTA-861, From input, Modeline, EDID file
constexpr int IDC_STD_WIDTH = 1071;
constexpr int IDC_STD_HEIGHT = 1072;
constexpr int IDC_STD_RATE = 1073;
constexpr int IDC_STD_INTERLACED = 1074;
constexpr int IDC_STD_SHOW = 1075;       // computes the result and lists the fitting entries
constexpr int IDC_STD_LIST = 1076;       // DMT, CTA-861 or matching entries
constexpr int IDC_STD_RESULT = 1077;     // the result as the user reads it, or why there is none
constexpr int IDC_STD_TOLERANCE = 1078;  // how closely "From input" matches
constexpr int IDC_STD_MODELINE = 1079;   // the modeline of "Modeline"
constexpr int IDC_STD_EDID_FILE = 1080;  // the EDID file of "EDID file", read-only
constexpr int IDC_STD_EDID_OPEN = 1081;  // "Open...": chooses the EDID file
constexpr int IDC_STD_SOURCE = 1082;     // what the EDID holds, and what of it is left out

// Signal window (131), opened from the main window's system menu while a device is locked.
constexpr int IDC_SIG_DEVICE = 1100;   // the locked device's name
constexpr int IDC_SIG_VGA = 1101;      // the input status of VGA
constexpr int IDC_SIG_HDMI = 1102;     // the input status of HDMI
constexpr int IDC_SIG_SIZE = 1103;     // the detected size
constexpr int IDC_SIG_COUNT = 1104;    // the line-length count
constexpr int IDC_SIG_LINE = 1105;     // the line frequency
constexpr int IDC_SIG_MATCHES = 1106;  // the standard timings that agree
constexpr int IDC_SIG_STATE = 1107;    // what the last reads found, or why there are no figures
constexpr int IDC_SIG_ADD = 1108;      // "Add Format...": the editor with the chosen timing

const ui::DialogTemplate& AboutTemplate();
const ui::DialogTemplate& MainTemplate();
const ui::DialogTemplate& InputFormatTemplate();
const ui::DialogTemplate& StandardTimingTemplate();
const ui::DialogTemplate& SignalTemplate();
// All templates, for the hosts and the resource script generator.
const ui::DialogTemplate* FindTemplate(int templateId);
// String resources, UTF-8; empty for an unknown number.
std::string LoadResourceString(int stringId);

// The Windows resource script and the application manifest, generated from the records above.
std::string ResourceScript();
std::string ApplicationManifest();  // the desktop program's: the highest privileges available

// The other shipped Windows images (the console tools and the simulated card's DLL) carry a
// manifest and a version block of their own.
struct ImageResources {
    const char* fileName;     // "vuvereze-device.exe", also its InternalName
    const char* description;  // FileDescription
    const char* manifest;     // the manifest file the script names
    bool library;             // a DLL: its manifest is resource 2, its file type VFT_DLL
};
const std::vector<ImageResources>& ShippedImages();
std::string ImageResourceScript(const ImageResources& image);
std::string ConsoleManifest();  // the console tools: the rights of the prompt (asInvoker)
std::string LibraryManifest();  // a DLL's own: no execution level, which is its process's

// Every file vuvereze-rcgen writes into resources/, by name, with its text.
struct GeneratedFile {
    std::string name;
    std::string text;
};
std::vector<GeneratedFile> GeneratedResourceFiles();

// Version block and manifest values; the version is the project's (CMakeLists.txt).
constexpr const char* kVersionText = VUVEREZE_VERSION_TEXT;
constexpr const char* kProductName = "Vuvereze";
constexpr const char* kExecutableName = "Vuvereze.exe";

}  // namespace res
