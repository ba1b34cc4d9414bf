// The shipped program over DirectShow, with the simulated card registered (by
// tests/win32/directshow.sh), driven by real input messages from this second process: the
// devices listed, Lock with both lists filled, Apply with the table rewritten and the driver
// asked to reload, Add with Test and OK, Unlock and Lock, the output position, buttons pressed
// by BM_CLICK and the keys of an open drop-down list, Edit, sorting,
// Export and Import through the file dialogs, Delete, the faults that reach the program through
// DirectShow, and OK.
// Usage: vz_directshow_program [--device-path] PATH\Vuvereze.exe LOGFOLDER
// --device-path plays only what goes through the system to the card: the devices listed, Lock,
// Apply, Add with Test and OK, Unlock and Lock, the output position, the faults and OK; for a
// run where every program is much slower (a 32-bit exe under an emulator), it leaves out the
// list views' mouse work, the keys and the file dialogs, which no card takes part in.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "format/FormatRecord.h"
#include "tests/win32/Checks.h"
#include "tests/win32/ChildWindow.h"
#include "tests/win32/DebugListener.h"
#include "tests/win32/SystemFiles.h"
#include "tools/win32driver/Driver.h"

namespace {

using namespace windriver;
using vztest::CDebugListener;
using vztest::Check;
using vztest::Contains;
using vztest::HasLineStarting;
using vztest::ReadBytes;
using vztest::ReadLines;
using vztest::SystemFile;
using vztest::WindowsPath;

// The main window's lists come to hold that many built-in and user formats.
bool ListsHold(HWND main, int builtin, int user) {
    return Eventually([&] {
        return ItemCount(GetDlgItem(main, 1004)) == builtin &&
               ItemCount(GetDlgItem(main, 1003)) == user;
    });
}

// Picks the device box's entry of that name as a user does: the selection changes and the
// box tells its dialog.
bool SelectDevice(HWND box, const std::wstring& name) {
    return ChooseByMessage(box, name) && WaitForText(box, name, 2000);
}

bool TableBecomes(const std::vector<char>& expected) {
    return Eventually([&] { return ReadBytes(SystemFile("format.bin")) == expected; });
}

// Locks the named device and answers what comes up; the message box's text, or "" when the
// program locked.
std::wstring LockDevice(DWORD process, HWND main, const std::wstring& name) {
    HWND box = GetDlgItem(main, 1000);
    HWND lock = GetDlgItem(main, 1001);
    if (!SelectDevice(box, name)) {
        return L"<not listed>";
    }
    PostClick(lock);
    const ULONGLONG end = GetTickCount64() + Patience(15000);
    while (GetTickCount64() < end) {
        if (TextOf(lock) == L"UnLock") {
            return L"";
        }
        if (WaitForModal(process, main, 50) != nullptr) {
            return AnswerMessageBox(process, main);
        }
    }
    return L"<nothing happened>";
}

// Types into an edit control as the keyboard does: all of its text selected, then the
// characters.
void Type(HWND edit, const std::wstring& text) {
    TypeOver(edit, text);
    WaitForText(edit, text, 2000);
}

// Picks a drop-down list's entry by its text.
bool Choose(HWND dialog, int id, const std::wstring& text) {
    return ChooseByMessage(GetDlgItem(dialog, id), text);
}

size_t RecordCount(const std::vector<char>& table) {
    return table.size() >= 2 ? (table.size() - 2) / 124 : 0;
}

// Add, Test and OK: the editor measures the card through DirectShow, the test loads
// "testformat.bin", OK stores the format and applies the table.
void AddWithTestAndOk(DWORD pid, HWND main, const std::string& log) {
    PostClick(GetDlgItem(main, 1005));
    HWND editor = WaitForModal(pid, main, 10000);
    Check(editor != nullptr, "Add opens the timing editor");
    if (editor == nullptr) {
        return;
    }
    Check(WaitForText(GetDlgItem(editor, 1029), L"1920", 5000) &&
              WaitForText(GetDlgItem(editor, 1028), L"1080", 5000),
          "it detects the card's 1920x1080 at once");
    const std::pair<int, const wchar_t*> fields[] = {
        {1018, L"1920"}, {1019, L"1080"}, {1021, L"4"}, {1023, L"5"},
        {1016, L"2200"}, {1017, L"1125"}, {1026, L"60"}};
    for (const auto& [id, text] : fields) {
        Type(GetDlgItem(editor, id), text);
    }
    Check(Choose(editor, 1054, L"Positive") && Choose(editor, 1055, L"Positive") &&
              Choose(editor, 1037, L"No"),
          "the polarities and the scan are chosen");
    PostClick(GetDlgItem(editor, 1036));
    const bool tested = Eventually([&] { return Contains(ReadLines(log), "SET RELOAD 2"); }, 10000);
    Check(tested && !ReadBytes(SystemFile("testformat.bin")).empty(),
          "Test writes testformat.bin and has the driver load it");
    Check(Contains(ReadLines(log), "SET CHIP 0x40 0x16 2 0x08 0x98"),
          "after programming the PLL for 2200 clocks a line");
    const size_t before = RecordCount(ReadBytes(SystemFile("format.bin")));
    PostClick(GetDlgItem(editor, 1008));
    Check(Closes(editor, 10000), "OK closes the editor");
    Check(Eventually([&] {
              return ItemCount(GetDlgItem(main, 1003)) == 4 &&
                     RecordCount(ReadBytes(SystemFile("format.bin"))) == before + 1;
          }),
          "the format is a new user row and a new record of format.bin");
}

void Unlock(HWND main) {
    HWND lock = GetDlgItem(main, 1001);
    PostClick(lock);
    WaitForText(lock, L"Lock", 5000);
}

// Clicks the row's check box where the list's own hit test finds it.
bool TickRow(HANDLE process, HWND list, int row) {
    const bool before = RowChecked(list, row);
    POINT at;
    if (!CheckBoxPoint(process, list, row, at))
        return false;
    PostClick(list, at);
    return Eventually([&] { return RowChecked(list, row) != before; });
}

// The Id column of every row, top to bottom.
std::vector<std::wstring> Ids(HANDLE process, HWND list) {
    std::vector<std::wstring> ids;
    for (int row = 0; row < ItemCount(list); ++row) {
        ids.push_back(CellText(process, list, row, 0));
    }
    return ids;
}

std::vector<std::wstring> Numbers(std::initializer_list<int> values) {
    std::vector<std::wstring> texts;
    for (int value : values) {
        texts.push_back(std::to_wstring(value));
    }
    return texts;
}

bool WaitForIds(HANDLE process, HWND list, const std::vector<std::wstring>& ids) {
    return Eventually([&] { return Ids(process, list) == ids; });
}

// Clicks a header section in its middle, as a user sorts by that column.
void ClickHeader(HANDLE process, HWND list, int column) {
    RECT rect{};
    HeaderItemRect(process, list, column, rect);
    PostClick(HeaderOf(list), (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

// The middle of the row's text in the list's client area.
POINT RowPoint(HANDLE process, HWND list, int row) {
    RECT rect{};
    RowRect(process, list, row, LVIR_LABEL, rect);
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

bool SelectRow(HANDLE process, HWND list, int row) {
    PostClick(list, RowPoint(process, list, row));
    return Eventually([&] { return RowSelected(list, row); });
}

void DoubleClickRow(HANDLE process, HWND list, int row) {
    PostDoubleClick(list, RowPoint(process, list, row));
}

std::vector<fmt::FormatRecord> Records(const std::vector<char>& table) {
    std::vector<fmt::FormatRecord> records;
    for (size_t i = 0; i < RecordCount(table); ++i) {
        records.push_back(
            fmt::DecodeRecord(reinterpret_cast<const uint8_t*>(table.data()) + 2 + i * 124));
    }
    return records;
}

// The output position buttons of the editor move the picture on the card at once: the
// horizontal ones through the scaler's registers, the vertical ones through the driver's
// shift, each shown in the editor's offset fields. Cancel stores no format.
void MoveThePicture(const PROCESS_INFORMATION& program, HWND main, const std::string& log,
                    CDebugListener& debug) {
    PostClick(GetDlgItem(main, 1005));
    HWND editor = WaitForModal(program.dwProcessId, main, 10000);
    Check(editor != nullptr && WaitForText(GetDlgItem(editor, 1029), L"1920", 5000),
          "Add opens the editor on the detected input");
    if (editor == nullptr) {
        return;
    }
    PostClick(GetDlgItem(editor, 1034));
    Check(WaitForText(GetDlgItem(editor, 1040), L"3FF", 5000) &&
              WaitForText(GetDlgItem(editor, 1041), L"3FF", 2000),
          "Right moves the picture by one: both horizontal offsets show 3FF");
    // The scaler keeps the offset's high bits in the low nibble of 0x8B beside bits of its own.
    Check(Eventually([&] {
              const std::vector<std::string> lines = ReadLines(log);
              return HasLineStarting(lines, "SET CHIP 0x44 0x8D 1 0xFF") &&
                     HasLineStarting(lines, "SET CHIP 0x44 0x8C 1 0xFF") &&
                     HasLineStarting(lines, "SET CHIP 0x44 0x8B 1 0x0C");
          }),
          "and writes the offset to the scaler's registers");
    PostClick(GetDlgItem(editor, 1031));
    Check(WaitForText(GetDlgItem(editor, 1042), L"1", 5000) &&
              WaitForText(GetDlgItem(editor, 1043), L"1", 2000),
          "Up moves it by one line: both vertical offsets show 1");
    Check(debug.Heard("New_DE_V_START = 0x001", 5000) && debug.Heard("New_DE_V_END = 0x001", 1000),
          "the debug output tells the new vertical start and end");
    Type(GetDlgItem(editor, 1030), L"600");
    PostClick(GetDlgItem(editor, 1031));
    const std::wstring range = AnswerMessageBox(program.dwProcessId, editor);
    Check(range == L"\x8F38\x5165 0 \x548C 511 \x4E4B\x9593\x7684\x6574\x6578\x3002",
          "a step beyond 511 is refused with the range message");
    Type(GetDlgItem(editor, 1030), L"1");
    PostClick(GetDlgItem(editor, 1009));
    Check(Closes(editor) && ItemCount(GetDlgItem(main, 1003)) == 4,
          "Cancel closes the editor and adds no format");
}

bool Dropped(HWND box) {
    return SendMessageW(box, CB_GETDROPPEDSTATE, 0, 0) != FALSE;
}

// The buttons pressed without the mouse, and the keys a drop-down list keeps while it is open:
// Esc and Enter there only close the list; Enter in a field is the editor's own OK, which
// closes it and stores nothing.
void PressAndKeys(const PROCESS_INFORMATION& program, HWND main) {
    HWND users = GetDlgItem(main, 1003);
    const int rows = ItemCount(users);
    HWND all = GetDlgItem(main, 1060);
    const LRESULT checked = SendMessageW(all, BM_GETCHECK, 0, 0);
    SendPress(all);
    Check(Eventually([&] { return SendMessageW(all, BM_GETCHECK, 0, 0) != checked; }),
          "BM_CLICK on a check box toggles it");
    SendPress(all);
    Eventually([&] { return SendMessageW(all, BM_GETCHECK, 0, 0) == checked; });
    // The box ticked every user row; Apply writes that, and the table as it then is stays.
    SendPress(GetDlgItem(main, 1012));
    Pause(500);
    const std::vector<char> table = ReadBytes(SystemFile("format.bin"));

    SendPress(GetDlgItem(main, 1005));
    HWND editor = WaitForModal(program.dwProcessId, main, 10000);
    Check(editor != nullptr && WaitForText(GetDlgItem(editor, 1029), L"1920", 5000),
          "BM_CLICK on Add opens the editor");
    if (editor == nullptr) {
        return;
    }
    HWND polarity = GetDlgItem(editor, 1054);
    PostKey(polarity, VK_F4);
    Check(Eventually([&] { return Dropped(polarity); }), "F4 opens the polarity list");
    PostKey(polarity, VK_ESCAPE, 27);
    Check(Eventually([&] { return !Dropped(polarity); }) && IsWindowVisible(editor),
          "Esc in the open list closes the list, not the editor");
    PostKey(polarity, VK_F4);
    Eventually([&] { return Dropped(polarity); });
    PostKey(polarity, VK_DOWN);
    PostKey(polarity, VK_DOWN);
    PostKey(polarity, VK_RETURN, L'\r');
    Check(WaitForText(polarity, L"Positive", 5000) && !Dropped(polarity) &&
              IsWindowVisible(editor) && ItemCount(users) == rows,
          "Enter in the open list chooses the highlighted item and stores nothing");
    SendPress(GetDlgItem(editor, 1034));
    Check(WaitForText(GetDlgItem(editor, 1040), L"3FF", 5000),
          "BM_CLICK on Right moves the picture as a click does");
    Type(GetDlgItem(editor, 1018), L"800");
    PostKey(GetDlgItem(editor, 1018), VK_RETURN, L'\r');
    Check(Closes(editor), "Enter in a field closes the editor");
    Check(ItemCount(users) == rows && TableBecomes(table),
          "and stores no format: format.bin is written as it was");

    SendPress(GetDlgItem(main, 1005));
    editor = WaitForModal(program.dwProcessId, main, 10000);
    Check(editor != nullptr && SendPress(GetDlgItem(editor, 1009)) && Closes(editor) &&
              ItemCount(users) == rows,
          "BM_CLICK on Cancel closes the editor");
}

// Edit of a user row: a double click opens the editor on its record, OK writes the change.
void EditAFormat(const PROCESS_INFORMATION& program, HWND main) {
    HWND users = GetDlgItem(main, 1003);
    DoubleClickRow(program.hProcess, users, 3);
    HWND editor = WaitForModal(program.dwProcessId, main, 10000);
    Check(editor != nullptr, "a double click on the added row opens the editor");
    if (editor == nullptr) {
        return;
    }
    Check(WaitForText(GetDlgItem(editor, 1018), L"1920", 5000) &&
              TextOf(GetDlgItem(editor, 1019)) == L"1080" &&
              TextOf(GetDlgItem(editor, 1016)) == L"2200" &&
              TextOf(GetDlgItem(editor, 1017)) == L"1125" &&
              TextOf(GetDlgItem(editor, 1026)) == L"60.00",
          "with the record's fields");
    Type(GetDlgItem(editor, 1026), L"50");
    const std::vector<char> before = ReadBytes(SystemFile("format.bin"));
    PostClick(GetDlgItem(editor, 1008));
    Check(Closes(editor, 10000), "OK closes the editor");
    std::vector<fmt::FormatRecord> records;
    Eventually([&] {
        records = Records(ReadBytes(SystemFile("format.bin")));
        return records.size() > 37 && records[37].Timing.FrameRate == 5000;
    });
    Check(records.size() == RecordCount(before) && records.size() > 37 &&
              records[37].Timing.FrameRate == 5000 && records[37].Timing.HActive == 1920 &&
              records[37].Enabled == 1,
          "format.bin holds the edited record in its place, at 50 Hz");
    Check(Eventually([&] { return CellText(program.hProcess, users, 3, 2) == L"50.00"; }),
          "and its row shows 50.00");
}

// Sorting by a column header: the rows reorder, the header shows the direction, and Apply
// still writes each row's check box to the record its Id names.
void SortTheUsers(const PROCESS_INFORMATION& program, HWND main) {
    HWND users = GetDlgItem(main, 1003);
    const std::wstring title = ColumnTitle(program.hProcess, users, 0);
    ClickHeader(program.hProcess, users, 0);
    Check(WaitForIds(program.hProcess, users, Numbers({0, 1, 2, 3})) &&
              Eventually([&] { return ColumnTitle(program.hProcess, users, 0) != title; }),
          "a click on \"Id\" sorts by it, ascending, and marks the header");
    ClickHeader(program.hProcess, users, 0);
    Check(WaitForIds(program.hProcess, users, Numbers({3, 2, 1, 0})),
          "a second click sorts descending");
    Check(Eventually([&] { return ColumnTitle(program.hProcess, users, 0) == L"Id \x25BC"; }),
          "the header shows \"Id\" with the descending arrow");
    const std::vector<char> before = ReadBytes(SystemFile("format.bin"));
    // Row 0 is now the format with Id 3.
    const bool wasOn = RowChecked(users, 0);
    Check(TickRow(program.hProcess, users, 0), "a click ticks the top row");
    PostClick(GetDlgItem(main, 1012));
    std::vector<char> expected = before;
    const size_t enabled = 2 + 37 * 124 + 20;
    if (expected.size() > enabled) {
        expected[enabled] = wasOn ? 0 : 1;
    }
    Check(TableBecomes(expected),
          "Apply switches the record of Id 3, not the fourth user record's neighbour");
    TickRow(program.hProcess, users, 0);
    PostClick(GetDlgItem(main, 1012));
    TableBecomes(before);
    ClickHeader(program.hProcess, users, 0);
    WaitForIds(program.hProcess, users, Numbers({0, 1, 2, 3}));
}

// Export writes the whole table; Import appends the file's user formats; Delete drops a user
// format, and Apply writes what the lists hold.
void ExportImportDelete(const PROCESS_INFORMATION& program, HWND main,
                        const std::string& logFolder) {
    HWND users = GetDlgItem(main, 1003);
    const std::vector<char> table = ReadBytes(SystemFile("format.bin"));
    const std::string exported = logFolder + "\\export.bin";
    DeleteFileA(exported.c_str());
    PostClick(GetDlgItem(main, 1014));
    Check(
        AnswerFileDialog(program.dwProcessId, main, std::wstring(exported.begin(), exported.end())),
        "Export asks for a file name in the system's file dialog");
    Check(Eventually([&] { return ReadBytes(exported) == table; }),
          "and writes the table there, byte for byte as format.bin");
    Check(WaitForModal(program.dwProcessId, main, 300) == nullptr, "with no message");

    PostClick(GetDlgItem(main, 1056));
    Check(
        AnswerFileDialog(program.dwProcessId, main, std::wstring(exported.begin(), exported.end())),
        "Import asks for the file to read");
    Check(WaitForIds(program.hProcess, users, Numbers({0, 1, 2, 3, 4, 5, 6, 7})) &&
              ItemCount(GetDlgItem(main, 1004)) == 34,
          "and appends its four user formats, no built-in one");
    PostClick(GetDlgItem(main, 1012));
    std::vector<char> expected = table;
    expected.insert(expected.end(), table.begin() + 2 + 34 * 124, table.end());
    Check(TableBecomes(expected), "Apply writes them after the table's own, byte for byte");

    Check(SelectRow(program.hProcess, users, 1), "a click selects the second user row");
    PostClick(GetDlgItem(main, 1006));
    Check(WaitForIds(program.hProcess, users, Numbers({0, 1, 2, 3, 4, 5, 6})),
          "Delete removes it; the rest close up");
    PostClick(GetDlgItem(main, 1012));
    expected.erase(expected.begin() + 2 + 35 * 124, expected.begin() + 2 + 36 * 124);
    Check(TableBecomes(expected), "Apply writes the table without that record, byte for byte");
}

}  // namespace

int main(int argc, char** argv) {
    const bool devicePath = argc == 4 && std::string(argv[1]) == "--device-path";
    if (devicePath) {
        --argc;
        ++argv;
    }
    if (argc != 3) {
        std::fprintf(stderr,
                     "usage: vz_directshow_program [--device-path] PATH\\Vuvereze.exe LOGFOLDER\n");
        return 2;
    }
    const std::string logFolder = argv[2];
    CDebugListener debug;
    std::wstring command = L"\"" + WindowsPath(argv[1]) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::printf("FAIL cannot start %s (error %lu)\n", argv[1], GetLastError());
        return 1;
    }
    HWND main = nullptr;
    Eventually(
        [&] { return (main = WindowOfProcess(process.dwProcessId, L"Zeriveve")) != nullptr; },
        30000);
    Check(main != nullptr, "the window \"Zeriveve\" is shown");
    if (main != nullptr) {
        const DWORD pid = process.dwProcessId;
        HWND box = GetDlgItem(main, 1000);
        const std::vector<std::wstring> listed = ComboItems(box);
        // The box sorts what the enumerator gives; the nameless device comes first.
        const std::vector<std::wstring> sorted = {L"",
                                                  L"Failing Bind Capture",
                                                  L"Get Only Capture",
                                                  L"No Reload Capture",
                                                  L"Removed Capture",
                                                  L"Zeriveve HD Capture",
                                                  L"Zeriveve HD Capture"};
        Check(listed == sorted && IsWindowEnabled(box),
              "the device box lists the seven registered devices, sorted");
        Check(TextOf(box) == L"", "with the first one selected");

        const std::string cardLog = logFolder + "\\Vuvereze simulated card 000.log";
        const std::vector<char> seeded = ReadBytes(SystemFile("format.bin"));
        Check(LockDevice(pid, main, L"Zeriveve HD Capture").empty(), "Lock binds the HD card");
        // The button says "UnLock" before the lists are filled.
        Check(ListsHold(main, 34, 3), "both lists are filled: 34 built-in, 3 user formats");
        Check(debug.Heard("ReadCertificatefromFile add format", 5000),
              "the debug output tells the table was read");
        // The first built-in format's check box: its record's Enabled word (after the 2-byte
        // header and the 20-byte tag) is all that changes.
        HWND supported = GetDlgItem(main, 1004);
        const bool wasOn = RowChecked(supported, 0);
        std::vector<char> expected = seeded;
        if (!devicePath) {
            Check(TickRow(process.hProcess, supported, 0),
                  "a click ticks the first built-in format");
            if (expected.size() > 2 + 20) {
                expected[2 + 20] = wasOn ? 0 : 1;
            }
        }
        PostClick(GetDlgItem(main, 1012));
        Pause(500);
        Check(WaitForModal(pid, main, 200) == nullptr, "Apply shows no message");
        Check(TableBecomes(expected), devicePath
                                          ? "Apply writes format.bin as it was read, byte for byte"
                                          : "Apply writes format.bin with that format switched, "
                                            "byte for byte");
        Check(Eventually([&] { return Contains(ReadLines(cardLog), "SET RELOAD 1"); }),
              "and the driver is asked to reload it");
        AddWithTestAndOk(pid, main, cardLog);
        Unlock(main);
        Check(TextOf(GetDlgItem(main, 1001)) == L"Lock" && IsWindowEnabled(box),
              "Unlock gives the device box back");
        Check(LockDevice(pid, main, L"Zeriveve HD Capture").empty(), "Lock again");
        Check(ListsHold(main, 34, 4), "reads the table anew: the added format is there");
        MoveThePicture(process, main, cardLog, debug);
        if (!devicePath) {
            PressAndKeys(process, main);
            EditAFormat(process, main);
            SortTheUsers(process, main);
            ExportImportDelete(process, main, logFolder);
        }
        Unlock(main);

        const std::wstring deviceError =
            L"Device initized error! Please check the device is available or not!";
        Check(LockDevice(pid, main, L"Failing Bind Capture") == deviceError,
              "a failing binding: the device error");
        Check(LockDevice(pid, main, L"") == deviceError,
              "a device whose name cannot be read is listed without one and locks nothing");
        Check(LockDevice(pid, main, L"No Reload Capture").empty(),
              "the device without reload support locks");
        PostClick(GetDlgItem(main, 1012));
        Check(AnswerMessageBox(pid, main) == L"ReLoad file is fail!",
              "and Apply reports the failed reload");
        Unlock(main);
        Check(LockDevice(pid, main, L"Get Only Capture").empty(), "the get-only device locks");
        PostClick(GetDlgItem(main, 1012));
        Check(AnswerMessageBox(pid, main) == L"ReLoad file is fail!",
              "and Apply reports the failed reload");
        Unlock(main);

        // The card goes away after the program listed it, as an unplugged card does.
        RegDeleteTreeW(HKEY_CLASSES_ROOT,
                       L"CLSID\\{860BB310-5D01-11D0-BD3B-00A0C911CE86}\\Instance\\"
                       L"Vuvereze simulated card 005");
        Check(LockDevice(pid, main, L"Removed Capture") == deviceError,
              "a removed device: the device error");

        Check(LockDevice(pid, main, L"Zeriveve HD Capture").empty(), "the HD card locks again");
        SendPress(GetDlgItem(main, 1008));
    }
    const bool ended = WaitForSingleObject(process.hProcess, Patience(20000)) == WAIT_OBJECT_0;
    DWORD code = 1234;
    if (!ended) {
        TerminateProcess(process.hProcess, 99);
    }
    GetExitCodeProcess(process.hProcess, &code);
    Check(ended && code == 0, "OK, pressed by BM_CLICK, ends the program with exit code 0");
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return vztest::Summary();
}
