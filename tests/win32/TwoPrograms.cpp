// The shipped program and the console device command on one Windows machine, as two separate
// programs: the program locks the card; a roll-out (vuvereze-device.exe apply) puts another
// table in place; the program's next Apply asks before it writes, and No leaves the roll-out in
// place, with no reload asked. Run by tests/win32/device-command.sh with the simulated card
// registered.
// Usage: vz_two_programs PATH\Vuvereze.exe PATH\vuvereze-device.exe LOGFOLDER
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/win32/Checks.h"
#include "tests/win32/ChildWindow.h"
#include "tests/win32/SystemFiles.h"
#include "tools/win32driver/Driver.h"

namespace {

using namespace windriver;
using vztest::Check;
using vztest::ReadBytes;
using vztest::ReadLines;
using vztest::SystemFile;
using vztest::WindowsPath;

const wchar_t kQuestion[] =
    L"Another program has changed the format file since Lock! Yes: replace it with the table "
    L"of this window. No: keep the other program's table (Unlock and Lock to see it).";

bool Start(const std::wstring& command, PROCESS_INFORMATION& process) {
    std::wstring line = command;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    return CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process) != 0;
}

// Runs a console program to its end; its exit code, or -1.
int Run(const std::wstring& command) {
    PROCESS_INFORMATION process{};
    if (!Start(command, process))
        return -1;
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 99);
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

size_t Reloads(const std::string& log) {
    const std::vector<std::string> lines = ReadLines(log);
    return static_cast<size_t>(std::count(lines.begin(), lines.end(), "SET RELOAD 1"));
}

bool WriteBytes(const std::string& file, const std::vector<char>& bytes) {
    FILE* out = std::fopen(file.c_str(), "wb");
    if (out == nullptr)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    return std::fclose(out) == 0 && written;
}

void Story(const PROCESS_INFORMATION& program, HWND main, const std::wstring& command,
           const std::string& logFolder) {
    const DWORD pid = program.dwProcessId;
    const std::string cardLog = logFolder + "\\Vuvereze simulated card 000.log";
    HWND lock = GetDlgItem(main, 1001);
    Check(ChooseByMessage(GetDlgItem(main, 1000), L"Zeriveve HD Capture"),
          "the program lists the HD card");
    PostClick(lock);
    Check(WaitForText(lock, L"UnLock", 15000), "and locks it");
    Check(Eventually([&] { return ItemCount(GetDlgItem(main, 1004)) > 0; }),
          "the lists are filled from format.bin");

    // The roll-out: the table the window read with its first format switched the other way.
    const std::string installed = SystemFile("format.bin");
    std::vector<char> rollOut = ReadBytes(installed);
    if (rollOut.size() > 2 + 20)
        rollOut[2 + 20] = rollOut[2 + 20] != 0 ? 0 : 1;
    const std::string rollOutFile = logFolder + "\\rollout.bin";
    Check(rollOut.size() > 2 + 20 && WriteBytes(rollOutFile, rollOut), "a roll-out table is made");
    const size_t before = Reloads(cardLog);
    const std::wstring apply = L"\"" + command + L"\" apply \"Zeriveve HD Capture\" \"" +
                               std::wstring(rollOutFile.begin(), rollOutFile.end()) + L"\"";
    Check(Run(apply) == 0, "vuvereze-device.exe apply succeeds while the window is locked");
    Check(ReadBytes(installed) == rollOut && Reloads(cardLog) == before + 1,
          "the roll-out is in place and reloaded");

    PostClick(GetDlgItem(main, 1012));
    HWND box = WaitForModal(pid, main, 10000);
    Check(box != nullptr, "Apply in the window shows a box");
    if (box == nullptr)
        return;
    Check(TextOf(GetDlgItem(box, kMessageTextId)) == kQuestion,
          "the question: another program changed the table since Lock");
    Check(GetDlgItem(box, IDYES) != nullptr && GetDlgItem(box, IDNO) != nullptr, "with Yes and No");
    Check(ClickButton(box, IDNO) && Closes(box), "No closes it");
    Sleep(300);
    Check(WaitForModal(pid, main, 200) == nullptr, "and nothing else is shown");
    Check(ReadBytes(installed) == rollOut, "the roll-out survives, byte for byte");
    Check(Reloads(cardLog) == before + 1, "and the window asked the driver nothing");
    Check(TextOf(lock) == L"UnLock", "the window stays locked");
    PostClick(GetDlgItem(main, 1009));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr,
                     "usage: vz_two_programs PATH\\Vuvereze.exe PATH\\vuvereze-device.exe "
                     "LOGFOLDER\n");
        return 2;
    }
    PROCESS_INFORMATION program{};
    if (!Start(L"\"" + WindowsPath(argv[1]) + L"\"", program)) {
        std::printf("FAIL cannot start %s (error %lu)\n", argv[1], GetLastError());
        return 1;
    }
    HWND main = nullptr;
    Eventually(
        [&] { return (main = WindowOfProcess(program.dwProcessId, L"Zeriveve")) != nullptr; },
        30000);
    Check(main != nullptr, "the window \"Zeriveve\" is shown");
    if (main != nullptr)
        Story(program, main, WindowsPath(argv[2]), argv[3]);
    const bool ended = WaitForSingleObject(program.hProcess, 20000) == WAIT_OBJECT_0;
    if (!ended)
        TerminateProcess(program.hProcess, 99);
    Check(ended, "Cancel ends the program");
    CloseHandle(program.hThread);
    CloseHandle(program.hProcess);
    return vztest::Summary();
}
