// Seams between the portable half of platform/ and the half each operating system provides.
// Only platform/ includes this header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"

namespace platform::detail {

// Where debugger output goes when no sink is installed.
void WriteDebugText(std::string_view text);

// The write fault that SetWriteFault set for this path: true, with the number of bytes the
// write may still make, when a write of `path` is to fail.
bool WriteFaultFor(const std::string& path, size_t& bytes);

// The advisory lock around a check and a replacement. An attempt finds the lock taken (Busy),
// gets it, or finds no lock to be had on that folder (Unavailable: the file system keeps none);
// the write then goes on without it, the check still made.
enum class LockAttempt { Got, Busy, Unavailable };
enum class LockWait { Held, Unlocked, TimedOut };
// Repeats a busy attempt on the platform clock until the lock is got or a few seconds passed.
LockWait WaitForLock(const std::function<LockAttempt()>& attempt);

// What the target holds now (`read` false: it could not be read), judged against what the
// writer expects: Replaced when the replacement may go on, else Changed (with what it holds in
// `found`) or Failed, as ReplaceFileIfUnchanged says.
ReplaceResult JudgeTarget(bool read, FileContents&& now, const FileContents& expected,
                          FileContents* found);

#if defined(_WIN32)
// The lock of the folder that holds a file (a wide path; "" is the current folder), shared by
// this program's processes; given back when the object goes.
class CFolderLock {
  public:
    explicit CFolderLock(const std::wstring& folder);
    ~CFolderLock();
    CFolderLock(const CFolderLock&) = delete;
    CFolderLock& operator=(const CFolderLock&) = delete;
    LockWait Take();

  private:
    std::wstring m_name;
    void* m_mutex = nullptr;
    bool m_owned = false;
};
#endif
// Records why a replacement failed, for LastWriteError, and gives false for the caller to
// return: the system's error number (its text and kind from the operating system's half), or a
// refusal of our own in our own words.
bool FailWrite(uint32_t systemCode);
bool RefuseWrite(FileErrorKind kind, const char* reason);
void ClearWriteError();

// The virtual system, shared by both halves.
bool SystemRootIsSet();
// A path on drive C: mapped to the file under the system root; any other path unchanged.
std::string MapIntoSystemRoot(const std::string& windowsPath);
bool IsSystemDrivePath(std::string_view path);
bool IEquals(std::string_view a, std::string_view b);
std::vector<std::string_view> Components(std::string_view path);
std::optional<uint16_t> ArchitectureOverride();

// The code page a test or a scenario chose; none means the system's own.
std::optional<CodePage> CodePageOverride();

// How many bytes an undecodable sequence at `at` spans: a Big5 lead byte followed by a byte of
// the trail range is one character even when the pair is unassigned; skipping only the lead
// would turn its trail into a stray ASCII letter.
size_t InvalidSequenceLength(CodePage codePage, const uint8_t* at, size_t left);

}  // namespace platform::detail
