#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <new>

#include "platform/Platform.h"

namespace platform {
namespace {

class CFd {
  public:
    explicit CFd(int fd) : m_fd(fd) {}
    ~CFd() { Close(); }
    CFd(const CFd&) = delete;
    CFd& operator=(const CFd&) = delete;

    int Get() const { return m_fd; }
    bool Ok() const { return m_fd >= 0; }
    bool Close() {
        if (m_fd < 0)
            return true;
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

  private:
    int m_fd;
};

int OpenRetrying(const char* path, int flags, mode_t mode = 0) {
    int fd;
    do {
        fd = ::open(path, flags | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

bool WriteAll(int fd, const uint8_t* data, size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string TempPathBeside(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return folder + "." + name + ".tmp." + std::to_string(::getpid()) + "." +
           std::to_string(counter++);
}

// Makes the rename itself durable. Some file systems cannot sync a folder at all; the rename is
// then as durable as they make it, and the new file is in place either way.
void SyncFolder(const std::string& folder) {
    CFd fd(OpenRetrying(folder.c_str(), O_RDONLY | O_DIRECTORY));
    if (fd.Ok())
        ::fsync(fd.Get());
}

// Reads until end of file or until the buffer is full; false on a read error.
bool ReadUpTo(int fd, uint8_t* buffer, size_t capacity, size_t& filled) {
    while (filled < capacity) {
        const ssize_t got = ::read(fd, buffer + filled, capacity - filled);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (got == 0)
            return true;
        filled += static_cast<size_t>(got);
    }
    return true;
}

bool AtEnd(int fd) {
    uint8_t extra;
    ssize_t got;
    do {
        got = ::read(fd, &extra, 1);
    } while (got < 0 && errno == EINTR);
    return got == 0;
}

bool ReadAll(const std::string& path, std::vector<uint8_t>& bytes) {
    CFd fd(OpenRetrying(path.c_str(), O_RDONLY));
    if (!fd.Ok())
        return false;
    struct stat info = {};
    if (::fstat(fd.Get(), &info) != 0)
        return false;

    // The reported size is only a hint: files in /proc say 0, and a file may grow while we read.
    std::vector<uint8_t> read(info.st_size > 0 ? static_cast<size_t>(info.st_size) + 1 : 4096);
    size_t filled = 0;
    for (;;) {
        if (!ReadUpTo(fd.Get(), read.data(), read.size(), filled))
            return false;
        if (filled < read.size())
            break;
        read.resize(read.size() * 2);
    }
    read.resize(filled);
    bytes = std::move(read);
    return true;
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
    CFd fd(OpenRetrying(path.c_str(), O_RDONLY));
    if (!fd.Ok())
        return false;
    size_t filled = 0;
    // A folder fails at its first read, so no separate check is needed.
    if (!ReadUpTo(fd.Get(), buffer, capacity, filled))
        return false;
    if (filled == capacity && !AtEnd(fd.Get()))
        return false;
    size = filled;
    return true;
}

bool ReplaceFileAtomically(const std::string& path, const uint8_t* data, size_t size) {
    const std::string temp = TempPathBeside(path);
    CFd fd(OpenRetrying(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666));
    if (!fd.Ok())
        return false;

    // The replacement keeps the permissions of the file it replaces: the driver reading it may
    // not be the user writing it.
    struct stat target = {};
    bool ok = true;
    if (::stat(path.c_str(), &target) == 0 && S_ISREG(target.st_mode)) {
        ok = ::fchmod(fd.Get(), target.st_mode & 07777) == 0;
    }
    ok = ok && WriteAll(fd.Get(), data, size) && ::fsync(fd.Get()) == 0;
    ok = fd.Close() && ok;
    ok = ok && ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    SyncFolder(FolderOf(path));
    return true;
}

}  // namespace platform
