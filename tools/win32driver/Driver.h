// Driving Win32 windows as a user does, for the programs that test them: reading what windows
// and their controls show, posting real input (clicks, keys, typed characters), choosing in combo
// boxes, answering the system's message boxes and file dialogs, and waiting for windows. Every
// reader works on windows of this process and of another one alike: texts go through the
// messages the system copies between processes, and the list view messages that carry a pointer
// are given memory in the list's own process (`process`; nullptr for this one).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace windriver {

// --- What windows show.

std::wstring TextOf(HWND hwnd);
std::wstring ClassOf(HWND hwnd);
// Enabled and visible: a control a user can reach.
bool Live(HWND hwnd);
POINT CentreOf(HWND hwnd);

std::vector<std::wstring> ComboItems(HWND box);
// The index of the entry of that text; -1 when the box has none.
int ComboIndex(HWND box, const std::wstring& text);

int ItemCount(HWND list);
bool RowChecked(HWND list, int row);
bool RowSelected(HWND list, int row);
bool HasCheckBoxes(HWND list);
HWND HeaderOf(HWND list);
int ColumnCount(HWND list);
std::wstring CellText(HANDLE process, HWND list, int row, int column);
std::wstring ColumnTitle(HANDLE process, HWND list, int column);
// `part` is LVIR_BOUNDS, LVIR_LABEL, ...
bool RowRect(HANDLE process, HWND list, int row, UINT part, RECT& rect);
bool HeaderItemRect(HANDLE process, HWND list, int column, RECT& rect);
// Where a click ticks the row's check box, as the list's own hit test finds it.
bool CheckBoxPoint(HANDLE process, HWND list, int row, POINT& at);
// A point of the list's empty area below its rows; false when the rows fill the list.
bool EmptyAreaPoint(HANDLE process, HWND list, POINT& at);

// A picture of the window as the screen shows it, written as a 32-bit BMP file.
bool SaveWindowPicture(HWND window, const std::string& file);

// What a screen reader reads of the window (Microsoft Active Accessibility, the window's
// client object): name, description, role (ROLE_SYSTEM_...) and state (STATE_SYSTEM_...).
struct AccessibleRead {
    std::wstring name;
    std::wstring description;
    long role = 0;
    long state = 0;
};
bool ReadAccessible(HWND hwnd, AccessibleRead& read);

// --- Input, posted as the mouse and the keyboard make it.

void PostClick(HWND hwnd, int x, int y, WPARAM keys = 0);
void PostClick(HWND hwnd, POINT at, WPARAM keys = 0);
// In the middle of the window.
void PostClick(HWND hwnd);
void PostDoubleClick(HWND hwnd, POINT at);
// A key pressed and let go; `character`, when given, is what the key types.
void PostKey(HWND hwnd, UINT key, wchar_t character = 0);
// What a screen reader, UI Automation's Invoke or a test tool sends a button: posted to a
// window of this thread, sent (and waited for) to another program's.
void PostPress(HWND button);
bool SendPress(HWND button, DWORD ms = 5000);
// The control's text selected and typed over; an empty text deletes it.
void TypeOver(HWND edit, const std::wstring& text);

// The entry chosen and the box's dialog told, as the system does after a pick with the mouse.
bool ChooseByMessage(HWND box, const std::wstring& text);
// Down and Up on the closed list, as far as entry `index` (Down from no entry takes the first).
void WalkComboTo(HWND box, int index);
// A click on the arrow of a box one can type into; `list` is the list it opens.
bool ClickComboArrow(HWND box, HWND& list);
enum class EntryClick { Clicked, NotOpen, NoEntry };
// A click on entry `index` of an open combo box's list, scrolled to first.
EntryClick ClickListEntry(HWND list, int index);

// --- The system's message boxes and file dialogs.

constexpr int kMessageTextId = 0xFFFF;  // the static of a message box that holds its text
// The file name box of the explorer-style dialog, or of the older one; nullptr when none.
HWND FileNameBox(HWND dialog);
// A click on the box's button `id`; false when the box has no such button.
bool ClickButton(HWND box, int id);
// The path typed into the dialog's file name box and OK clicked; false without a name box.
bool TypeFileName(HWND dialog, const std::wstring& path);

// --- Waiting for another program's windows.

// How long a wait of `ms` may take here: a program run under an emulator (a 32-bit exe on a
// host that runs no 32-bit code) is tens of times slower, and VZ_TEST_TIME_SCALE says how
// many times longer every wait of a test may be (1 unless set).
DWORD Patience(DWORD ms);
// A pause of `ms` by the same measure, for a test that must let the program act first.
void Pause(DWORD ms);

template <class Condition>
bool Eventually(Condition condition, DWORD ms = 5000) {
    const ULONGLONG end = GetTickCount64() + Patience(ms);
    while (!condition()) {
        if (GetTickCount64() >= end)
            return false;
        Sleep(20);
    }
    return true;
}

bool Closes(HWND window, DWORD ms = 5000);
bool WaitForText(HWND hwnd, const std::wstring& text, DWORD ms);
// The visible top-level window titled `title` of process `pid`: other programs on the same
// desktop (tests running beside this one) may show a window of the same title.
HWND WindowOfProcess(DWORD pid, const wchar_t* title);
// The newest modal window of the process (a message box, a dialog, a file dialog): a dialog
// other than `owner`, shown and enabled (a modal window disables its owner).
HWND WaitForModal(DWORD process, HWND owner, DWORD ms);
// Reads the message box's text and clicks its OK; empty when no box came up.
std::wstring AnswerMessageBox(DWORD process, HWND owner, DWORD ms = 10000);
// The path typed into the file dialog that comes up, then OK; true when the dialog closed.
bool AnswerFileDialog(DWORD process, HWND owner, const std::wstring& path, DWORD ms = 10000);

}  // namespace windriver
