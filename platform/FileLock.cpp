// The waiting for the advisory lock of a table file's folder, and the check made under it; each
// operating system's half takes and gives back the lock itself.
#include "platform/Platform.h"
#include "platform/PlatformDetail.h"

namespace platform::detail {
namespace {

// A writer holds the lock for one check and one replacement of a small file, milliseconds even
// on a slow disk; a lock held far longer belongs to a writer that hangs, and waiting on it
// would hang us too.
constexpr uint64_t kLockWaitMs = 10000;
constexpr uint32_t kLockRetryMs = 2;

}  // namespace

LockWait WaitForLock(const std::function<LockAttempt()>& attempt) {
    IClock& clock = Clock();
    const uint64_t start = clock.NowMs();
    for (;;) {
        switch (attempt()) {
            case LockAttempt::Got:
                return LockWait::Held;
            case LockAttempt::Unavailable:
                return LockWait::Unlocked;
            case LockAttempt::Busy:
                break;
        }
        if (clock.NowMs() - start >= kLockWaitMs)
            return LockWait::TimedOut;
        clock.Sleep(kLockRetryMs);
    }
}

ReplaceResult JudgeTarget(bool read, FileContents&& now, const FileContents& expected,
                          FileContents* found) {
    if (!read)
        return ReplaceResult::Failed;
    if (now == expected)
        return ReplaceResult::Replaced;
    if (found != nullptr)
        *found = std::move(now);
    return ReplaceResult::Changed;
}

}  // namespace platform::detail
