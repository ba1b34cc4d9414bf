#include "format/FormatTable.h"

#include <algorithm>
#include <memory>
#include <new>

#include "platform/Platform.h"

namespace fmt {
namespace {

constexpr size_t kHeaderSize = 2;
constexpr size_t kMaxFileSize = kHeaderSize + kMaxRecords * kRecordSize;

void PutHeader(std::vector<uint8_t>& bytes, uint16_t builtinCount) {
    bytes[0] = static_cast<uint8_t>(builtinCount);
    bytes[1] = static_cast<uint8_t>(builtinCount >> 8);
}

}  // namespace

bool Is64BitWindows() {
    return platform::NativeProcessorArchitecture() == platform::PROCESSOR_ARCHITECTURE_AMD64;
}

std::string SystemTableDirectory() {
    // A 32-bit process on 64-bit Windows reaches the native system folder only through the alias.
    return Is64BitWindows() ? "C:\\Windows\\Sysnative" : "C:\\Windows\\System32";
}

uint32_t FormatTable::ReadFormatFile(const std::string& path) {
    platform::FileContents ignored;
    return ReadFormatFile(path, ignored);
}

uint32_t FormatTable::ReadFormatFile(const std::string& path, platform::FileContents& read) {
    std::string file = path;
    if (path.empty()) {
        const std::string directory = SystemTableDirectory();
        file = directory + "\\format.bin";
        TableDirectory = directory;
    }
    platform::TraceOut("%s", file.c_str());

    // A longer file would hold more than 256 records, which the table cannot take; it is
    // refused without being read further.
    const std::unique_ptr<uint8_t[]> bytes(new (std::nothrow) uint8_t[kMaxFileSize]);
    size_t size = 0;
    if (!bytes ||
        !platform::ReadFileInto(platform::HostPath(file), bytes.get(), kMaxFileSize, size)) {
        return kFailure;
    }
    if (size < kHeaderSize || (size - kHeaderSize) % kRecordSize != 0)
        return kFailure;
    const size_t count = (size - kHeaderSize) / kRecordSize;
    const auto builtinCount = static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
    // More built-in formats than records would leave a negative (wrapped) user count behind.
    if (builtinCount > count)
        return kFailure;

    // The staging arrays keep their storage from one read to the next. Room is made first, so
    // that a failure leaves them as they were; past this point nothing can fail.
    try {
        StagingTags.reserve(count);
        StagingEnableFlags.reserve(count);
        StagingTimingBlocks.reserve(count);
        StagingRegisterBlocks.reserve(count);
    } catch (const std::bad_alloc&) {
        return kFailure;
    }
    BuiltinCount = builtinCount;
    platform::TraceOut("NumofFileFormat: %d", BuiltinCount);
    StagingTags.resize(count);
    StagingEnableFlags.resize(count);
    StagingTimingBlocks.resize(count);
    StagingRegisterBlocks.resize(count);
    for (size_t i = 0; i < count; ++i) {
        DecodeRecord(&bytes[kHeaderSize + i * kRecordSize], StagingTags[i], StagingEnableFlags[i],
                     StagingTimingBlocks[i], StagingRegisterBlocks[i]);
    }
    RecordCount = static_cast<uint16_t>(count);
    UserCount = static_cast<uint16_t>(RecordCount - BuiltinCount);
    read.exists = true;
    read.bytes.assign(bytes.get(), bytes.get() + size);
    return kOk;
}

namespace {

// The trace and the refusal of an empty directory that every write of the table begins with;
// the file's path, or empty for the refusal.
std::string WritePath(const std::string& directory, const std::string& name, bool joinName) {
    const std::string path = joinName ? directory + "\\" + name : directory;
    platform::TraceOut("%s", path.c_str());
    if (directory.empty()) {
        platform::OutputDebugStringA("Error: No binary file matched");
        return {};
    }
    return path;
}

}  // namespace

uint32_t FormatTable::WriteFormatFile(const std::string& directory, const std::string& name,
                                      bool joinName) {
    const std::string path = WritePath(directory, name, joinName);
    // The whole file is built first, so that nothing on disk changes unless all of it is ready.
    const std::vector<uint8_t> bytes = FileBytes();
    if (path.empty() || bytes.empty())
        return kFailure;
    const std::string hostPath = platform::HostPath(path);
    return platform::ReplaceFileAtomically(hostPath, bytes.data(), bytes.size()) ? kOk : kFailure;
}

platform::ReplaceResult FormatTable::WriteFormatFileIfUnchanged(
    const std::string& directory, const std::string& name, bool joinName,
    const platform::FileContents& expected, platform::FileContents* found) {
    const std::string path = WritePath(directory, name, joinName);
    const std::vector<uint8_t> bytes = FileBytes();
    if (path.empty() || bytes.empty())
        return platform::ReplaceResult::Failed;
    return platform::ReplaceFileIfUnchanged(platform::HostPath(path), bytes.data(), bytes.size(),
                                            expected, found);
}

std::vector<uint8_t> FormatTable::FileBytes() const {
    // Counts that break the table's invariant would make us write entries that do not exist.
    const auto count = static_cast<uint16_t>(BuiltinCount + UserCount);
    if (count > kMaxRecords)
        return {};
    std::vector<uint8_t> bytes(kHeaderSize + count * kRecordSize);
    PutHeader(bytes, BuiltinCount);
    for (size_t i = 0; i < count; ++i) {
        EncodeRecord(Record(i), bytes.data() + kHeaderSize + i * kRecordSize);
    }
    return bytes;
}

FormatRecord FormatTable::Record(size_t i) const {
    FormatRecord record;
    if (i < kMaxRecords) {
        record.TagBytes = Tags[i];
        record.Enabled = EnableFlags[i];
        record.Timing = TimingBlocks[i];
        record.Registers = RegisterBlocks[i];
    }
    return record;
}

void FormatTable::SetRecord(size_t i, const FormatRecord& record) {
    if (i >= kMaxRecords)
        return;
    Tags[i] = record.TagBytes;
    EnableFlags[i] = record.Enabled;
    TimingBlocks[i] = record.Timing;
    RegisterBlocks[i] = record.Registers;
}

bool FormatTable::AppendUserRecord(const FormatRecord& record) {
    const size_t i = size_t{BuiltinCount} + UserCount;
    if (i >= kMaxRecords)
        return false;
    SetRecord(i, record);
    ++UserCount;
    ++RecordCount;
    return true;
}

void FormatTable::RemoveLastUserRecord(const FormatRecord& former) {
    if (UserCount == 0)
        return;
    --UserCount;
    --RecordCount;
    SetRecord(size_t{BuiltinCount} + UserCount, former);
}

void FormatTable::RemoveUserRecord(size_t k) {
    if (k >= UserCount)
        return;
    for (size_t j = BuiltinCount + k + 1; j < size_t{BuiltinCount} + UserCount; ++j)
        SetRecord(j - 1, Record(j));
    --UserCount;
    --RecordCount;
}

void FormatTable::ClearEntries() {
    Tags.fill({});
    EnableFlags.fill(0);
    RegisterBlocks.fill({});
    TimingBlocks.fill({});
}

void FormatTable::CopyStagingToTable() {
    const size_t count = std::min({static_cast<size_t>(RecordCount), kMaxRecords,
                                   StagingTags.size(), StagingEnableFlags.size(),
                                   StagingTimingBlocks.size(), StagingRegisterBlocks.size()});
    std::copy_n(StagingTags.begin(), count, Tags.begin());
    std::copy_n(StagingEnableFlags.begin(), count, EnableFlags.begin());
    std::copy_n(StagingTimingBlocks.begin(), count, TimingBlocks.begin());
    std::copy_n(StagingRegisterBlocks.begin(), count, RegisterBlocks.begin());
}

std::vector<uint8_t> EncodeTableFile(uint16_t builtinCount,
                                     const std::vector<FormatRecord>& records) {
    std::vector<uint8_t> bytes(kHeaderSize + records.size() * kRecordSize);
    PutHeader(bytes, builtinCount);
    for (size_t i = 0; i < records.size(); ++i) {
        EncodeRecord(records[i], bytes.data() + kHeaderSize + i * kRecordSize);
    }
    return bytes;
}

}  // namespace fmt
