// Files through the wide Win32 calls: the product's paths are ANSI text, converted with the
// ANSI code page as the system's own "A" functions would.
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cwchar>
#include <memory>
#include <new>
#include <vector>

#include "platform/Platform.h"
#include "platform/PlatformDetail.h"

#include <windows.h>

namespace platform {
namespace {

class CHandle {
  public:
    explicit CHandle(HANDLE handle) : m_handle(handle) {}
    ~CHandle() { Close(); }
    CHandle(const CHandle&) = delete;
    CHandle& operator=(const CHandle&) = delete;

    HANDLE Get() const { return m_handle; }
    bool Ok() const { return m_handle != INVALID_HANDLE_VALUE; }
    void Reset(HANDLE handle) {
        Close();
        m_handle = handle;
    }
    bool Close() {
        if (!Ok())
            return true;
        const HANDLE handle = m_handle;
        m_handle = INVALID_HANDLE_VALUE;
        return ::CloseHandle(handle) != 0;
    }

  private:
    HANDLE m_handle;
};

std::wstring WidePath(const std::string& path) {
    const std::u16string wide = AnsiToWide(path);
    return std::wstring(wide.begin(), wide.end());
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Only files on a disk are read or replaced: a pipe, a console or a device name ("NUL", "COM1")
// would block a read or swallow a write.
bool IsDiskFile(HANDLE handle) {
    return ::GetFileType(handle) == FILE_TYPE_DISK;
}

HANDLE OpenForReading(const std::wstring& path) {
    HANDLE handle = ::CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE && !IsDiskFile(handle)) {
        ::CloseHandle(handle);
        return INVALID_HANDLE_VALUE;
    }
    return handle;
}

// Reads until end of file or until the buffer is full; false on a read error.
bool ReadUpTo(HANDLE handle, uint8_t* buffer, size_t capacity, size_t& filled) {
    while (filled < capacity) {
        const size_t left = capacity - filled;
        const DWORD ask = left > 0x40000000 ? 0x40000000 : static_cast<DWORD>(left);
        DWORD got = 0;
        if (!::ReadFile(handle, buffer + filled, ask, &got, nullptr))
            return false;
        if (got == 0)
            return true;
        filled += got;
    }
    return true;
}

bool AtEnd(HANDLE handle) {
    uint8_t extra;
    DWORD got = 0;
    return ::ReadFile(handle, &extra, 1, &got, nullptr) && got == 0;
}

bool ReadAll(const std::wstring& path, std::vector<uint8_t>& bytes) {
    CHandle file(OpenForReading(path));
    if (!file.Ok())
        return false;
    LARGE_INTEGER size = {};
    if (!::GetFileSizeEx(file.Get(), &size))
        return false;
    // The size is only a hint: the file may grow while we read.
    std::vector<uint8_t> read(size.QuadPart > 0 ? static_cast<size_t>(size.QuadPart) + 1 : 4096);
    size_t filled = 0;
    for (;;) {
        if (!ReadUpTo(file.Get(), read.data(), read.size(), filled))
            return false;
        if (filled < read.size())
            break;
        read.resize(read.size() * 2);
    }
    read.resize(filled);
    bytes = std::move(read);
    return true;
}

bool ReadContents(const std::wstring& path, FileContents& contents) {
    if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)
            return false;
        contents = FileContents{};
        return true;
    }
    std::vector<uint8_t> bytes;
    try {
        if (!ReadAll(path, bytes))
            return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
    contents.exists = true;
    contents.bytes = std::move(bytes);
    return true;
}

// Writes everything, or fails once `limit` bytes are written (a test's write fault: the disk
// that fills part-way).
bool WriteAll(HANDLE handle, const uint8_t* data, size_t size, size_t limit) {
    while (size > 0) {
        if (limit == 0)
            return false;
        size_t want = size < limit ? size : limit;
        const DWORD chunk = want > 0x40000000 ? 0x40000000 : static_cast<DWORD>(want);
        DWORD written = 0;
        if (!::WriteFile(handle, data, chunk, &written, nullptr) || written == 0)
            return false;
        data += written;
        size -= written;
        limit -= written;
    }
    return true;
}

size_t LastSeparator(const std::wstring& path) {
    return path.find_last_of(L"\\/");
}

const wchar_t kTempMarker[] = L".tmp.";

std::wstring FolderOf(const std::wstring& path) {
    const size_t slash = LastSeparator(path);
    return slash == std::wstring::npos ? L"" : path.substr(0, slash + 1);
}

std::wstring TempPrefix(const std::wstring& path) {
    const size_t slash = LastSeparator(path);
    const std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    return L"." + name + kTempMarker;
}

// The temporary files this process is writing now. Windows hands a process id out again soon
// after its process ended, so a leftover named after our own id is a former process's unless
// it is one of these.
// (The compiler's win32 thread model has no std::mutex; a slim lock of the system's serves.)
SRWLOCK g_writingLock = SRWLOCK_INIT;
std::vector<std::wstring> g_writing;

class CWritingLock {
  public:
    CWritingLock() { ::AcquireSRWLockExclusive(&g_writingLock); }
    ~CWritingLock() { ::ReleaseSRWLockExclusive(&g_writingLock); }
    CWritingLock(const CWritingLock&) = delete;
    CWritingLock& operator=(const CWritingLock&) = delete;
};

bool BeingWrittenHere(const std::wstring& name) {
    CWritingLock lock;
    return std::find(g_writing.begin(), g_writing.end(), name) != g_writing.end();
}

// A temporary name of ours, known as being written from before its file exists until it is
// renamed or removed.
class CTempName {
  public:
    explicit CTempName(const std::wstring& target) {
        static std::atomic<unsigned> counter{0};
        m_name = TempPrefix(target) + std::to_wstring(::GetCurrentProcessId()) + L"." +
                 std::to_wstring(counter++);
        m_path = FolderOf(target) + m_name;
        CWritingLock lock;
        g_writing.push_back(m_name);
    }
    ~CTempName() {
        CWritingLock lock;
        const auto found = std::find(g_writing.begin(), g_writing.end(), m_name);
        if (found != g_writing.end())
            g_writing.erase(found);
    }
    CTempName(const CTempName&) = delete;
    CTempName& operator=(const CTempName&) = delete;

    const std::wstring& Path() const { return m_path; }

  private:
    std::wstring m_name;
    std::wstring m_path;
};

// Whether the process `pid` may still be writing a file last written at `written`. A live
// process that started after that has only been given the number of the one that made it.
// (The last write, not the making: not every file system keeps the time a file was made.)
// A process we may not look at is taken as the writer.
bool WriterMayBeAlive(DWORD pid, const FILETIME& written) {
    const HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (process == nullptr)
        return ::GetLastError() == ERROR_ACCESS_DENIED;
    DWORD code = 0;
    bool alive = ::GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
    FILETIME started, ended, kernel, user;
    if (alive && ::GetProcessTimes(process, &started, &ended, &kernel, &user) &&
        ::CompareFileTime(&started, &written) > 0) {
        alive = false;
    }
    ::CloseHandle(process);
    return alive;
}

// A writer killed between creating its temporary file and renaming it leaves the file behind:
// those whose writer is gone are removed before the next write. One a live writer holds open
// cannot be removed (it shares no delete), and stays.
void RemoveLeftoverTemps(const std::wstring& target) {
    const std::wstring prefix = TempPrefix(target);
    const std::wstring folder = FolderOf(target);
    WIN32_FIND_DATAW found;
    const HANDLE search = ::FindFirstFileExW((folder + prefix + L"*").c_str(), FindExInfoBasic,
                                             &found, FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE)
        return;
    const DWORD self = ::GetCurrentProcessId();
    do {
        const std::wstring name = found.cFileName;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ||
            name.compare(0, prefix.size(), prefix) != 0) {
            continue;
        }
        // Ours are named <prefix><pid>.<number>; anything else only looks alike.
        const wchar_t* digits = name.c_str() + prefix.size();
        wchar_t* end = nullptr;
        const unsigned long long pid = std::wcstoull(digits, &end, 10);
        if (end == digits || *digits == L'-' || *digits == L'+' || *end != L'.' || pid == 0 ||
            pid > 0xFFFFFFFFull) {
            continue;
        }
        const wchar_t* number = end + 1;
        std::wcstoull(number, &end, 10);
        if (end == number || *number == L'-' || *number == L'+' || *end != L'\0')
            continue;
        const bool keep = pid == self
                              ? BeingWrittenHere(name)
                              : WriterMayBeAlive(static_cast<DWORD>(pid), found.ftLastWriteTime);
        if (!keep)
            ::DeleteFileW((folder + name).c_str());
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
}

// A link is written through, as the user's own write would: the file it points at is the one
// replaced, and the link stays.
bool ResolveLink(std::wstring& target) {
    CHandle file(::CreateFileW(target.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                               OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.Ok())
        return detail::FailWrite(::GetLastError());
    wchar_t buffer[MAX_PATH * 4];
    const DWORD length = ::GetFinalPathNameByHandleW(file.Get(), buffer, MAX_PATH * 4,
                                                     FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0 || length >= MAX_PATH * 4)
        return detail::FailWrite(length == 0 ? ::GetLastError() : ERROR_FILENAME_EXCED_RANGE);
    target.assign(buffer, length);
    return true;
}

// What may be replaced: nothing yet, or a regular file the user may write. Read-only means the
// user said no; a folder or a device is not a table file.
// Windows keeps a name in use until the last handle of the file closes, whatever sharing the
// opener allowed: while another program reads the target, the replacement is refused. A read is
// over in a moment, so the replacement is tried again for a while (on the platform clock)
// before it counts as refused.
bool MoveIntoPlace(const std::wstring& temp, const std::wstring& target) {
    constexpr uint32_t kRetryMs = 20;
    constexpr uint64_t kPatienceMs = 2000;
    IClock& clock = Clock();
    const uint64_t start = clock.NowMs();
    for (;;) {
        if (::MoveFileExW(temp.c_str(), target.c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return true;
        }
        const DWORD error = ::GetLastError();
        if ((error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) ||
            clock.NowMs() - start >= kPatienceMs) {
            ::SetLastError(error);
            return false;
        }
        clock.Sleep(kRetryMs);
    }
}

bool MayReplace(std::wstring& target, DWORD& attributes) {
    attributes = ::GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            attributes = 0;
            return true;
        }
        return detail::FailWrite(error);
    }
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        if (!ResolveLink(target))
            return false;
        attributes = ::GetFileAttributesW(target.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES)
            return detail::FailWrite(::GetLastError());
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return detail::RefuseWrite(FileErrorKind::Other, "it is a folder");
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0)
        return detail::RefuseWrite(FileErrorKind::ReadOnly, "the file is read-only");
    CHandle file(::CreateFileW(target.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Ok())
        return detail::FailWrite(::GetLastError());
    if (!IsDiskFile(file.Get()))
        return detail::RefuseWrite(FileErrorKind::Other, "it is not a file on a disk");
    return true;
}

ReplaceResult Replace(const std::string& path, const uint8_t* data, size_t size,
                      const FileContents* expected, FileContents* found) {
    detail::ClearWriteError();
    std::wstring target = WidePath(path);
    DWORD attributes = 0;
    if (!MayReplace(target, attributes))
        return ReplaceResult::Failed;
    detail::CFolderLock lock(FolderOf(target));
    if (lock.Take() == detail::LockWait::TimedOut) {
        detail::RefuseWrite(FileErrorKind::Other, "another writer kept the folder locked");
        return ReplaceResult::Failed;
    }
    if (expected != nullptr) {
        FileContents now;
        const bool read = ReadContents(target, now);
        const DWORD error = read ? ERROR_SUCCESS : ::GetLastError();
        const ReplaceResult check = detail::JudgeTarget(read, std::move(now), *expected, found);
        if (check == ReplaceResult::Failed)
            detail::FailWrite(error != ERROR_SUCCESS ? error : ERROR_READ_FAULT);
        if (check != ReplaceResult::Replaced)
            return check;
        // What the check read may have been replaced by then: its attributes are taken again.
        if (!MayReplace(target, attributes))
            return ReplaceResult::Failed;
    }
    RemoveLeftoverTemps(target);
    size_t limit = SIZE_MAX;
    detail::WriteFaultFor(path, limit);

    // A name already taken (a leftover that could not be removed) is passed over.
    std::unique_ptr<CTempName> name;
    CHandle file(INVALID_HANDLE_VALUE);
    DWORD error = ERROR_FILE_EXISTS;
    for (int attempt = 0; attempt < 100 && !file.Ok(); ++attempt) {
        name = std::make_unique<CTempName>(target);
        file.Reset(::CreateFileW(name->Path().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        error = ::GetLastError();
        if (!file.Ok() && error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
            detail::FailWrite(error);
            return ReplaceResult::Failed;
        }
    }
    if (!file.Ok()) {
        detail::FailWrite(error);
        return ReplaceResult::Failed;
    }
    const std::wstring& temp = name->Path();
    // The first step that fails says why; the write fault of tests fails as a full disk.
    bool ok = WriteAll(file.Get(), data, size, limit);
    error = ok ? ERROR_SUCCESS : limit < size ? ERROR_DISK_FULL : ::GetLastError();
    const auto failed = [&ok, &error] {
        ok = false;
        error = ::GetLastError();
    };
    if (ok && !::FlushFileBuffers(file.Get()))
        failed();
    if (!file.Close() && ok)
        failed();
    // The replacement keeps what the old file was (hidden, system, not indexed), since the
    // rename carries the new file's attributes, not the old one's.
    constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                            FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    if (ok && (attributes & kKept) != 0 && !::SetFileAttributesW(temp.c_str(), attributes & kKept))
        failed();
    if (ok && !MoveIntoPlace(temp, target))
        failed();
    if (!ok) {
        ::DeleteFileW(temp.c_str());
        detail::FailWrite(error != ERROR_SUCCESS ? error : ERROR_WRITE_FAULT);
        return ReplaceResult::Failed;
    }
    return ReplaceResult::Replaced;
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes) {
    try {
        return ReadAll(WidePath(path), bytes);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool ReadFileInto(const std::string& path, uint8_t* buffer, size_t capacity, size_t& size) {
    CHandle file(OpenForReading(WidePath(path)));
    if (!file.Ok())
        return false;
    size_t filled = 0;
    if (!ReadUpTo(file.Get(), buffer, capacity, filled))
        return false;
    if (filled == capacity && !AtEnd(file.Get()))
        return false;
    size = filled;
    return true;
}

bool ReadFileContents(const std::string& path, FileContents& contents) {
    return ReadContents(WidePath(path), contents);
}

bool ReplaceFileAtomically(const std::string& path, const uint8_t* data, size_t size) {
    return Replace(path, data, size, nullptr, nullptr) == ReplaceResult::Replaced;
}

ReplaceResult ReplaceFileIfUnchanged(const std::string& path, const uint8_t* data, size_t size,
                                     const FileContents& expected, FileContents* found) {
    return Replace(path, data, size, &expected, found);
}

}  // namespace platform
