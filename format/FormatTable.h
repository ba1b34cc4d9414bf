// The driver's format table as the main window holds it, and the table file operations.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "format/FormatRecord.h"
#include "platform/Platform.h"

namespace fmt {

constexpr uint32_t kOk = 0;
constexpr uint32_t kFailure = 0xC0000001;

// True exactly when the native processor architecture is AMD64.
bool Is64BitWindows();

// "C:\Windows\Sysnative" on 64-bit Windows (AMD64), "C:\Windows\System32" otherwise.
std::string SystemTableDirectory();

class FormatTable {
  public:
    // Staging arrays: the last file read, one entry per record of that file.
    std::vector<Tag> StagingTags;
    std::vector<uint32_t> StagingEnableFlags;
    std::vector<TimingBlock> StagingTimingBlocks;
    std::vector<RegisterBlock> StagingRegisterBlocks;

    std::array<Tag, kMaxRecords> Tags = {};
    std::array<uint32_t, kMaxRecords> EnableFlags = {};
    std::array<RegisterBlock, kMaxRecords> RegisterBlocks = {};
    std::array<TimingBlock, kMaxRecords> TimingBlocks = {};

    uint16_t BuiltinCount = 0;
    uint16_t RecordCount = 0;
    uint16_t UserCount = 0;

    // Empty until a read from the system location; then that directory.
    std::string TableDirectory;

    // An empty path reads "format.bin" at the system location and sets the table directory.
    // Fills the staging arrays and the three counts; the four table arrays are not touched.
    // A file that does not fit the table (more than 256 records, or more built-in formats than
    // records) is refused like an unreadable one, with nothing changed.
    uint32_t ReadFormatFile(const std::string& path);
    // The same, keeping the file's bytes as read in `read`, so that a later write can tell
    // whether another program has replaced the file since (WriteFormatFileIfUnchanged).
    uint32_t ReadFormatFile(const std::string& path, platform::FileContents& read);

    // Writes the header and BuiltinCount + UserCount records. joinName: the file is
    // directory + "\" + name; otherwise directory is the file. kFailure for an empty directory
    // (nothing touched) and for a file that could not be written (the old file stays intact).
    uint32_t WriteFormatFile(const std::string& directory, const std::string& name, bool joinName);
    // WriteFormatFile, made only while the file still holds `expected` (what this program read
    // or last wrote there). Changed, with nothing written and what the file holds now in
    // `found`, when another program has replaced it since; Failed where WriteFormatFile fails.
    platform::ReplaceResult WriteFormatFileIfUnchanged(const std::string& directory,
                                                       const std::string& name, bool joinName,
                                                       const platform::FileContents& expected,
                                                       platform::FileContents* found = nullptr);
    // The bytes WriteFormatFile writes: the header and BuiltinCount + UserCount records; empty
    // when the counts break the invariant (more than 256 records).
    std::vector<uint8_t> FileBytes() const;

    // Record i assembled from, or stored into, entry i of the four arrays.
    FormatRecord Record(size_t i) const;
    void SetRecord(size_t i, const FormatRecord& record);
    // A user format after the last one; false, with nothing changed, when the table is full.
    bool AppendUserRecord(const FormatRecord& record);
    // Takes the last user format out again and gives its entry back the contents `former`
    // (what the entry held before a trial append).
    void RemoveLastUserRecord(const FormatRecord& former);
    // User format k (0 is the first) taken out; the ones after it move up.
    void RemoveUserRecord(size_t k);
    // Clears the four arrays to zero (Lock does this before loading).
    void ClearEntries();
    // Copies the first RecordCount staging entries into the four arrays.
    void CopyStagingToTable();
};

// The bytes of a table file for a header and records, as WriteFormatFile lays them out.
std::vector<uint8_t> EncodeTableFile(uint16_t builtinCount,
                                     const std::vector<FormatRecord>& records);

}  // namespace fmt
