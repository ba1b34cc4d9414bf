// The advisory lock of this program's writers on Windows: a named mutex per folder, in the
// global namespace so that a command run by a service or over a remote session meets the
// desktop's program. It is the folder's, not the file's: a replacement puts another file in
// the target's place, and whoever locked the old one would hold nothing.
#include <cstdint>
#include <string>

#include "platform/Platform.h"
#include "platform/PlatformDetail.h"

#include <windows.h>

namespace platform::detail {
namespace {

// The folder as the system names it after every alias and link ("Sysnative" for a 32-bit
// process is the real System32), so that two programs writing one folder by two names meet.
std::wstring FinalFolder(const std::wstring& folder) {
    const std::wstring asked = folder.empty() ? L"." : folder;
    const HANDLE handle = ::CreateFileW(
        asked.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        wchar_t buffer[MAX_PATH * 4];
        const DWORD length = ::GetFinalPathNameByHandleW(handle, buffer, MAX_PATH * 4,
                                                         FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        ::CloseHandle(handle);
        if (length > 0 && length < MAX_PATH * 4)
            return std::wstring(buffer, length);
    }
    wchar_t full[MAX_PATH * 4];
    const DWORD length = ::GetFullPathNameW(asked.c_str(), MAX_PATH * 4, full, nullptr);
    return length > 0 && length < MAX_PATH * 4 ? std::wstring(full, length) : asked;
}

// Object names cannot hold a backslash, and file names are compared without case: the name is
// a hash of the folder's upper-case path.
std::wstring MutexName(const std::wstring& folder) {
    const std::wstring path = FinalFolder(folder);
    std::wstring upper = path;
    if (!path.empty()) {
        ::LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, path.data(),
                       static_cast<int>(path.size()), upper.data(), static_cast<int>(upper.size()));
    }
    uint64_t hash = 14695981039346656037ull;
    for (wchar_t c : upper) {
        hash = (hash ^ static_cast<uint16_t>(c)) * 1099511628211ull;
    }
    wchar_t hex[17];
    for (int i = 15; i >= 0; --i) {
        hex[i] = L"0123456789abcdef"[hash & 0xF];
        hash >>= 4;
    }
    hex[16] = L'\0';
    return std::wstring(L"Global\\Vuvereze.TableFolder.") + hex;
}

}  // namespace

CFolderLock::CFolderLock(const std::wstring& folder) : m_name(MutexName(folder)) {}

CFolderLock::~CFolderLock() {
    if (m_owned)
        ::ReleaseMutex(m_mutex);
    if (m_mutex != nullptr)
        ::CloseHandle(m_mutex);
}

LockWait CFolderLock::Take() {
    return WaitForLock([this] {
        if (m_mutex == nullptr) {
            m_mutex = ::CreateMutexW(nullptr, FALSE, m_name.c_str());
            if (m_mutex == nullptr) {
                // The mutex lives only while a writer has it open; one made by an elevated
                // writer is closed to a user's process until that writer is done.
                return ::GetLastError() == ERROR_ACCESS_DENIED ? LockAttempt::Busy
                                                               : LockAttempt::Unavailable;
            }
        }
        switch (::WaitForSingleObject(m_mutex, 0)) {
            case WAIT_OBJECT_0:
            case WAIT_ABANDONED:  // its writer died holding it; what it wrote was one step
                m_owned = true;
                return LockAttempt::Got;
            case WAIT_TIMEOUT:
                return LockAttempt::Busy;
            default:
                return LockAttempt::Unavailable;
        }
    });
}

}  // namespace platform::detail
