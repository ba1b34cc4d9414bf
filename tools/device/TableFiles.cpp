#include "tools/device/TableFiles.h"

#include "tools/table/TableImage.h"
#include "tools/table/Text.h"

namespace devicetool {

bool LoadTable(const std::string& path, fmt::FormatTable& table, std::string& why) {
    platform::FileContents ignored;
    return LoadTable(path, table, why, ignored);
}

bool LoadTable(const std::string& path, fmt::FormatTable& table, std::string& why,
               platform::FileContents& read) {
    if (table.ReadFormatFile(path, read) == fmt::kOk) {
        table.ClearEntries();
        table.CopyStagingToTable();
        return true;
    }
    // The reader only says no; the file taken apart says why.
    tabletool::TableImage image;
    if (!tabletool::ReadTableImage(path, image)) {
        why = "cannot be read (missing, not a readable file, or far too large for a table)";
    } else if (!image.HasHeader || image.TrailingBytes != 0) {
        why = platform::FormatText("is not a table file: %u bytes is not 2 + 124 x N",
                                   tabletool::Count(image.Size));
    } else if (image.Records.size() > fmt::kMaxRecords) {
        why = platform::FormatText("holds %u records, more than the 256 a table can hold",
                                   tabletool::Count(image.Records.size()));
    } else if (image.BuiltinCount > image.Records.size()) {
        why = platform::FormatText("names %u built-in formats but holds %u records",
                                   image.BuiltinCount, tabletool::Count(image.Records.size()));
    } else {
        why = "cannot be read";
    }
    return false;
}

std::string ChangedMeanwhile(const std::string& file) {
    return "another program changed " + file +
           " while this command worked; nothing was written (run it again to work on what is "
           "there now)";
}

std::vector<uint8_t> TableBytes(const fmt::FormatTable& table) {
    std::vector<fmt::FormatRecord> records;
    for (size_t i = 0; i < table.RecordCount; ++i)
        records.push_back(table.Record(i));
    return fmt::EncodeTableFile(table.BuiltinCount, records);
}

std::string SizeOf(const fmt::FormatRecord& record) {
    return tabletool::SizeText(record.Timing);
}

std::string RateOf(const fmt::FormatRecord& record) {
    return tabletool::RateText(record.Timing);
}

}  // namespace devicetool
