#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <new>

#include "platform/Platform.h"
#include "platform/PlatformDetail.h"

namespace platform {
namespace {

class CFd {
  public:
    explicit CFd(int fd) : m_fd(fd) {}
    ~CFd() { Close(); }
    CFd(const CFd&) = delete;
    CFd& operator=(const CFd&) = delete;

    int Get() const { return m_fd; }
    void Release() { m_fd = -1; }
    void Reset(int fd) {
        Close();
        m_fd = fd;
    }
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

// Writes at most `limit` bytes and then fails as a full disk does, so the write fault of tests
// takes the same road as a real one.
bool WriteAll(int fd, const uint8_t* data, size_t size, size_t limit) {
    while (size > 0) {
        if (limit == 0) {
            errno = ENOSPC;
            return false;
        }
        const ssize_t written = ::write(fd, data, size < limit ? size : limit);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= static_cast<size_t>(written);
        limit -= static_cast<size_t>(written);
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

const char kTempMarker[] = ".tmp.";

std::string NameOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string TempPrefix(const std::string& path) {
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    return folder + "." + NameOf(path) + kTempMarker;
}

std::string TempPathBeside(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    return TempPrefix(path) + std::to_string(::getpid()) + "." + std::to_string(counter++);
}

// A writer killed between creating its temporary file and renaming it leaves the file behind.
// Ours are named after the process that made them, so those of processes that are gone can be
// swept before the next write; one whose number a live process has taken again stays, harmless.
void RemoveLeftoverTemps(const std::string& path) {
    const std::string prefix = "." + NameOf(path) + kTempMarker;
    const std::string folder = FolderOf(path);
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.compare(0, prefix.size(), prefix) != 0)
            continue;
        char* end = nullptr;
        const long pid = std::strtol(name.c_str() + prefix.size(), &end, 10);
        if (end == name.c_str() + prefix.size() || *end != '.' || pid <= 0 || pid > INT_MAX)
            continue;
        if (pid == ::getpid() || ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH)
            continue;
        ::unlinkat(::dirfd(dir), name.c_str(), 0);
    }
    ::closedir(dir);
}

// The file a path finally names, through any symbolic links: the link itself is to stay, and
// the file it points to is the one the user means. A link to a file not yet there names it.
bool ResolveLinks(const std::string& path, std::string& target) {
    target = path;
    for (int depth = 0; depth < 40; ++depth) {
        struct stat info = {};
        if (::lstat(target.c_str(), &info) != 0)
            return errno == ENOENT;
        if (!S_ISLNK(info.st_mode))
            return true;
        std::string link(PATH_MAX, '\0');
        const ssize_t length = ::readlink(target.c_str(), link.data(), link.size());
        if (length < 0)
            return false;
        if (static_cast<size_t>(length) >= link.size()) {
            errno = ENAMETOOLONG;
            return false;
        }
        link.resize(static_cast<size_t>(length));
        target = link[0] == '/' ? link : FolderOf(target) + "/" + link;
    }
    errno = ELOOP;
    return false;
}

bool HasWriteBit(mode_t mode) {
    return (mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
}

// Whether the user may replace this target as their own write would. A missing target may be
// created; one that exists must be a regular file this user may write.
bool MayReplace(const std::string& target, bool& exists, struct stat& info) {
    exists = ::stat(target.c_str(), &info) == 0;
    if (!exists && errno != ENOENT)
        return detail::FailWrite(static_cast<uint32_t>(errno));
    if (exists) {
        if (!S_ISREG(info.st_mode)) {
            return detail::RefuseWrite(FileErrorKind::Other, S_ISDIR(info.st_mode)
                                                                 ? "it is a folder"
                                                                 : "it is not a regular file");
        }
        if (!HasWriteBit(info.st_mode))
            return detail::RefuseWrite(FileErrorKind::ReadOnly, "the file is read-only");
        if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
            return detail::FailWrite(static_cast<uint32_t>(errno));
    }
    // The superuser may write into any folder; one without a write bit is still read-only, and
    // refused as the system refuses a user the folder of another.
    struct stat folder = {};
    if (::stat(FolderOf(target).c_str(), &folder) != 0)
        return detail::FailWrite(static_cast<uint32_t>(errno));
    if (!S_ISDIR(folder.st_mode))
        return detail::FailWrite(ENOTDIR);
    if (!HasWriteBit(folder.st_mode))
        return detail::FailWrite(EACCES);
    return true;
}

// The replacement is the old file with new contents: same owner where we may keep it (changed
// first, as a change of owner may clear the set-id bits), then the same permissions.
bool TakeOverAttributes(int fd, const struct stat& old) {
    if (::fchown(fd, old.st_uid, old.st_gid) != 0 &&
        ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0) {
        // Not even the group is ours to give (we are not in it): the replacement stays ours,
        // as any file we make would, and keeps the old permissions below.
    }
    return ::fchmod(fd, old.st_mode & 07777) == 0;
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

// Opening a named pipe for reading waits for a writer, so the file is opened without waiting
// and read only when it turns out to be a regular one.
int OpenRegularForReading(const std::string& path, struct stat& info) {
    CFd fd(OpenRetrying(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY));
    if (!fd.Ok() || ::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode))
        return -1;
    const int flags = ::fcntl(fd.Get(), F_GETFL);
    if (flags < 0 || ::fcntl(fd.Get(), F_SETFL, flags & ~O_NONBLOCK) != 0)
        return -1;
    const int open = fd.Get();
    fd.Release();
    return open;
}

bool ReadAll(const std::string& path, std::vector<uint8_t>& bytes) {
    struct stat info = {};
    CFd fd(OpenRegularForReading(path, info));
    if (!fd.Ok())
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

// The advisory lock of this program's writers: flock on the target's folder. The lock stays
// with the folder whatever file a rename puts in place; on the target itself it would stay
// with the file the rename takes away, and the next writer would lock a file nobody reads.
class CFolderLock {
  public:
    explicit CFolderLock(const std::string& folder)
        : m_fd(OpenRetrying(folder.c_str(), O_RDONLY | O_DIRECTORY)) {}

    detail::LockWait Take() {
        // A folder that cannot be opened takes no new file either; the write fails there.
        if (!m_fd.Ok())
            return detail::LockWait::Unlocked;
        return detail::WaitForLock([this] {
            if (::flock(m_fd.Get(), LOCK_EX | LOCK_NB) == 0)
                return detail::LockAttempt::Got;
            return errno == EWOULDBLOCK || errno == EINTR ? detail::LockAttempt::Busy
                                                          : detail::LockAttempt::Unavailable;
        });
    }

  private:
    CFd m_fd;  // closing it gives the lock back
};

ReplaceResult Replace(const std::string& path, const uint8_t* data, size_t size,
                      const FileContents* expected, FileContents* found) {
    // Each failure says why, for the message of whoever asked for the write.
    const auto fail = [](int error) {
        detail::FailWrite(static_cast<uint32_t>(error != 0 ? error : EIO));
        return ReplaceResult::Failed;
    };
    detail::ClearWriteError();
    std::string target;
    bool exists = false;
    struct stat old = {};
    if (!ResolveLinks(path, target))
        return fail(errno);
    if (!MayReplace(target, exists, old))
        return ReplaceResult::Failed;
    CFolderLock lock(FolderOf(target));
    if (lock.Take() == detail::LockWait::TimedOut) {
        detail::RefuseWrite(FileErrorKind::Other, "another writer kept the folder locked");
        return ReplaceResult::Failed;
    }
    if (expected != nullptr) {
        FileContents now;
        const bool read = ReadFileContents(target, now);
        const int error = read ? 0 : errno;
        const ReplaceResult check = detail::JudgeTarget(read, std::move(now), *expected, found);
        if (check == ReplaceResult::Failed)
            return fail(error);
        if (check != ReplaceResult::Replaced)
            return check;
    }
    // What the check read may have been replaced by then: the stat of the old file is taken
    // again, under the lock.
    if (!MayReplace(target, exists, old))
        return ReplaceResult::Failed;
    RemoveLeftoverTemps(target);

    size_t limit = SIZE_MAX;
    detail::WriteFaultFor(path, limit);

    // A name already taken (a leftover under a number this process now has) is passed over.
    std::string temp;
    CFd fd(-1);
    for (int attempt = 0; attempt < 100 && !fd.Ok(); ++attempt) {
        temp = TempPathBeside(target);
        fd.Reset(OpenRetrying(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0666));
        if (!fd.Ok() && errno != EEXIST)
            return fail(errno);
    }
    if (!fd.Ok())
        return fail(EEXIST);
    // The first step that fails says why.
    bool ok = !exists || TakeOverAttributes(fd.Get(), old);
    ok = ok && WriteAll(fd.Get(), data, size, limit) && ::fsync(fd.Get()) == 0;
    int error = ok ? 0 : errno;
    if (!fd.Close() && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        return fail(error);
    }
    SyncFolder(FolderOf(target));
    return ReplaceResult::Replaced;
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
    struct stat info = {};
    CFd fd(OpenRegularForReading(path, info));
    if (!fd.Ok())
        return false;
    size_t filled = 0;
    if (!ReadUpTo(fd.Get(), buffer, capacity, filled))
        return false;
    if (filled == capacity && !AtEnd(fd.Get()))
        return false;
    size = filled;
    return true;
}

bool ReadFileContents(const std::string& path, FileContents& contents) {
    struct stat info = {};
    if (::stat(path.c_str(), &info) != 0) {
        if (errno != ENOENT)
            return false;
        contents = FileContents{};
        return true;
    }
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes))
        return false;
    contents.exists = true;
    contents.bytes = std::move(bytes);
    return true;
}

bool ReplaceFileAtomically(const std::string& path, const uint8_t* data, size_t size) {
    return Replace(path, data, size, nullptr, nullptr) == ReplaceResult::Replaced;
}

ReplaceResult ReplaceFileIfUnchanged(const std::string& path, const uint8_t* data, size_t size,
                                     const FileContents& expected, FileContents* found) {
    return Replace(path, data, size, &expected, found);
}

}  // namespace platform
