// Files through the wide Win32 calls: the product's paths are ANSI text, converted with the
// ANSI code page as the system's own "A" functions would.
#include <atomic>
#include <cstdint>
#include <new>

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

HANDLE OpenForReading(const std::string& path) {
    HANDLE handle = ::CreateFileW(WidePath(path).c_str(), GENERIC_READ, kShareAll, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
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

bool ReadAll(const std::string& path, std::vector<uint8_t>& bytes) {
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

std::wstring TempPathBeside(const std::wstring& path) {
    static std::atomic<unsigned> counter{0};
    const size_t slash = LastSeparator(path);
    const std::wstring folder = slash == std::wstring::npos ? L"" : path.substr(0, slash + 1);
    const std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    return folder + L"." + name + L".tmp." + std::to_wstring(::GetCurrentProcessId()) + L"." +
           std::to_wstring(counter++);
}

// A link is written through, as the user's own write would: the file it points at is the one
// replaced, and the link stays.
bool ResolveLink(std::wstring& target) {
    CHandle file(::CreateFileW(target.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                               OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.Ok())
        return false;
    wchar_t buffer[MAX_PATH * 4];
    const DWORD length = ::GetFinalPathNameByHandleW(file.Get(), buffer, MAX_PATH * 4,
                                                     FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0 || length >= MAX_PATH * 4)
        return false;
    target.assign(buffer, length);
    return true;
}

// What may be replaced: nothing yet, or a regular file the user may write. Read-only means the
// user said no; a folder or a device is not a table file.
bool MayReplace(std::wstring& target, DWORD& attributes) {
    attributes = ::GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            attributes = 0;
            return true;
        }
        return false;
    }
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        if (!ResolveLink(target))
            return false;
        attributes = ::GetFileAttributesW(target.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES)
            return false;
    }
    if ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0)
        return false;
    CHandle file(::CreateFileW(target.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.Ok() && IsDiskFile(file.Get());
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes) {
    try {
        return ReadAll(path, bytes);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool ReadFileInto(const std::string& path, uint8_t* buffer, size_t capacity, size_t& size) {
    CHandle file(OpenForReading(path));
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

bool ReplaceFileAtomically(const std::string& path, const uint8_t* data, size_t size) {
    std::wstring target = WidePath(path);
    DWORD attributes = 0;
    if (!MayReplace(target, attributes))
        return false;
    size_t limit = SIZE_MAX;
    detail::WriteFaultFor(path, limit);
    const std::wstring temp = TempPathBeside(target);
    CHandle file(::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Ok())
        return false;
    bool ok = WriteAll(file.Get(), data, size, limit) && ::FlushFileBuffers(file.Get()) != 0;
    ok = file.Close() && ok;
    // The replacement keeps what the old file was (hidden, system, not indexed), since the
    // rename carries the new file's attributes, not the old one's.
    constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                            FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    if (ok && (attributes & kKept) != 0)
        ok = ::SetFileAttributesW(temp.c_str(), attributes & kKept) != 0;
    ok = ok && ::MoveFileExW(temp.c_str(), target.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    if (!ok) {
        ::DeleteFileW(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace platform
