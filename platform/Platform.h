// What Windows itself provides to the program: system information, the system drive, the
// debugger output channel, sleeping and the ANSI code page. The portable core reaches the
// operating system only through these functions, so every behaviour can run against a virtual
// system (a folder standing for the system drive) with a virtual clock.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Processor architecture values of the native system information. A file that includes
// windows.h first gets the system's macros of the same names and values instead.
#ifndef PROCESSOR_ARCHITECTURE_INTEL
constexpr uint16_t PROCESSOR_ARCHITECTURE_INTEL = 0;
constexpr uint16_t PROCESSOR_ARCHITECTURE_ARM = 5;
constexpr uint16_t PROCESSOR_ARCHITECTURE_IA64 = 6;
constexpr uint16_t PROCESSOR_ARCHITECTURE_AMD64 = 9;
constexpr uint16_t PROCESSOR_ARCHITECTURE_ARM64 = 12;
#endif

// The native processor architecture (GetNativeSystemInfo where it exists, else GetSystemInfo).
uint16_t NativeProcessorArchitecture();

// --- The virtual system (Linux, tests and scenarios). On Linux drive C: is always a folder
// (the current one until set). On Windows the real system answers until a root or an
// architecture is set; an empty root gives the real system directories back.
void SetSystemRoot(const std::string& hostFolder);  // the folder that is drive C:
const std::string& SystemRoot();                    // "." until set
void SetNativeArchitecture(uint16_t architecture);
void ResetNativeArchitecture();  // the system's own answer again (AMD64 on Linux)

// Maps a Windows path on the system drive ("C:\Windows\Sysnative\format.bin") to the file that
// stands for it; under a system root "Sysnative" is the same folder as "System32". Paths that
// are not drive paths (a file chosen in a file dialog) are returned unchanged. On Windows without
// a root, drive paths are used as they are (a 64-bit build reads "Sysnative" as "System32").
std::string HostPath(const std::string& windowsPath);

// --- Files. Whole-file operations: the table files are small.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes);
// Reads the whole file into buffer and sets size. False when the file cannot be read or holds
// more than capacity bytes (a file that cannot be what the caller expects is not read further).
bool ReadFileInto(const std::string& path, uint8_t* buffer, size_t capacity, size_t& size);
// Only regular files are read: a folder, a named pipe or a device is refused at once, without
// waiting for data that may never come.
//
// Writes beside the target, flushes to disk and replaces the target in one step, so a failure
// leaves the old file as it was. Returns false when any step fails. The replacement respects its
// target as the user's own write would: a file the user may not write is refused, and so is a
// file (or a folder to write into) without any write permission bit, which stands for the
// read-only attribute and binds every user; a symbolic link is written through and stays a
// link; the new file keeps the old one's permissions, and its owner where the process may.
bool ReplaceFileAtomically(const std::string& path, const uint8_t* data, size_t size);

// What a file held when a program read it, for a later write to tell whether another program
// has replaced it since.
struct FileContents {
    bool exists = false;  // false: there was no file
    std::vector<uint8_t> bytes;

    bool operator==(const FileContents& other) const {
        return exists == other.exists && bytes == other.bytes;
    }
    bool operator!=(const FileContents& other) const { return !(*this == other); }
};

// The file as it is now: its bytes, or no file. False when something is there that cannot be
// read as a file (a folder, a pipe, a file this user may not read).
bool ReadFileContents(const std::string& path, FileContents& contents);

enum class ReplaceResult { Replaced, Changed, Failed };

// ReplaceFileAtomically, but only while the target still holds `expected`. When it holds
// anything else, nothing is written and the result is Changed, with what it holds now in
// `found` (when given); a target that cannot be read is Failed. Every replacement of a file by
// this program's processes, ReplaceFileAtomically's too, is made under an advisory lock of the
// target's folder, so no write of another of them comes between this check and the
// replacement. A lock held by another writer for longer than a few seconds fails the write.
ReplaceResult ReplaceFileIfUnchanged(const std::string& path, const uint8_t* data, size_t size,
                                     const FileContents& expected, FileContents* found = nullptr);
// Why the last ReplaceFileAtomically of this thread failed, for a message that can say so: the
// system's error number (GetLastError on Windows, errno elsewhere) and its text, and whether the
// system refused it for want of rights (where running with more of them would help) or the
// target carries the read-only mark. Cleared by a replacement that succeeds.
enum class FileErrorKind { None, Denied, ReadOnly, Other };
struct FileError {
    FileErrorKind kind = FileErrorKind::None;
    uint32_t code = 0;   // 0 for a refusal of ours (a read-only file, a folder, a device)
    std::string reason;  // "Access is denied.", "the file is read-only"
};
const FileError& LastWriteError();
// The system's error number as such a reason, in the system's words (English where Windows has
// them: the commands' other messages are English, and a console's code page may lack the user's
// own language).
FileError FileErrorOf(uint32_t systemCode);

// A write that fails part-way, as on a disk that fills up, for tests of the failure paths.
// While set, every ReplaceFileAtomically of exactly `path` (of every path when it is empty)
// writes at most `bytes` bytes and then fails as a full disk would; the target stays as it was.
// Each operating system's half honours it. ClearWriteFault switches it off.
void SetWriteFault(const std::string& path, size_t bytes);
void ClearWriteFault();

// --- The process. Called first thing in every program's main, before COM, a window or anything
// that has Windows load a DLL by name on the program's behalf: from then on a DLL named without
// a folder is looked for in the system folder only, never in the program's own folder or the
// current one, where whoever unpacked the download or opened the prompt may have left a DLL of
// that name for a program that runs with an administrator's rights. A DLL of the program's own
// is loaded by its full path. False where Windows can only leave the current folder out (7
// without its update KB2533623). Nothing to do elsewhere: true.
bool LoadSystemDllsOnly();

// --- Debugger output channel (OutputDebugStringA). Goes to standard error unless a sink is
// installed; tests install one to capture the traces.
using DebugSink = std::function<void(std::string_view)>;
void SetDebugSink(DebugSink sink);  // an empty sink restores standard error
void OutputDebugStringA(const char* text);

// printf-style into a string of the text's full length (the product's one printf helper).
std::string FormatText(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
std::string FormatTextV(const char* format, va_list args);

// printf-style into 4095 characters, written to the debugger output, then "\n" on its own.
void TraceOut(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// --- Time. Every wait of the product goes through the clock, so tests run with a virtual one.
class IClock {
  public:
    virtual ~IClock() = default;
    virtual uint64_t NowMs() = 0;
    virtual void Sleep(uint32_t ms) = 0;
};

// A clock whose time moves only when somebody sleeps on it.
class CVirtualClock final : public IClock {
  public:
    uint64_t NowMs() override { return m_now; }
    void Sleep(uint32_t ms) override { m_now += ms; }
    void Advance(uint64_t ms) { m_now += ms; }

  private:
    uint64_t m_now = 0;
};

IClock& RealClock();
void SetClock(IClock* clock);  // nullptr restores the real clock
IClock& Clock();
// Every blocking wait of the program: the installed wait handler's, else the clock's sleep.
void Sleep(uint32_t ms);

// A host that shows windows keeps them alive through the program's blocking waits: it repaints
// them, shows the wait cursor and leaves the user's input queued for when the wait is over. The
// handler does the waiting itself, on the clock it is given.
class IWaitHandler {
  public:
    virtual ~IWaitHandler() = default;
    virtual void Wait(IClock& clock, uint32_t ms) = 0;
};
void SetWaitHandler(IWaitHandler* handler);  // nullptr: plain sleeps

// --- ANSI code page (CP_ACP). UTF-8 on Linux and the system's own on Windows unless a test
// selects another.
enum class CodePage { Utf8, Windows1252, Big5 };
void SetAnsiCodePage(CodePage codePage);
void ResetAnsiCodePage();  // the system's own again (UTF-8 on Linux)
CodePage AnsiCodePage();
bool ParseCodePage(std::string_view name, CodePage& codePage);  // "utf-8", "windows-1252", "big5"

// WideCharToMultiByte(CP_ACP): characters the code page lacks become '?'.
std::string WideToAnsi(std::u16string_view text);
// MultiByteToWideChar(CP_ACP): invalid sequences become U+FFFD.
std::u16string AnsiToWide(std::string_view text);

// UTF-8 <-> UTF-16, independent of the code page (for scenario files, Qt and the JSON file).
std::u16string Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::u16string_view text);
// Convenience: UTF-8 source text into the ANSI code page, and back.
inline std::string Utf8ToAnsi(std::string_view text) {
    return WideToAnsi(Utf8ToWide(text));
}
inline std::string AnsiToUtf8(std::string_view text) {
    return WideToUtf8(AnsiToWide(text));
}

}  // namespace platform
