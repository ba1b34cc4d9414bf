// The table file reader over arbitrary bytes: a file it accepts keeps the table's invariant and
// is written back byte for byte; one it refuses leaves the table as it was.
#include "format/FormatTable.h"
#include "fuzz/FuzzSupport.h"
#include "platform/Platform.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool quiet = [] {
        platform::SetDebugSink([](std::string_view) {});
        return true;
    }();
    (void)quiet;
    const std::string path = fuzz::WriteScratchFile("in.bin", data, size);

    static fmt::FormatTable table;
    table.BuiltinCount = 3;
    table.UserCount = 4;
    table.RecordCount = 7;
    if (table.ReadFormatFile(path) != fmt::kOk) {
        FUZZ_CHECK(table.BuiltinCount == 3 && table.UserCount == 4 && table.RecordCount == 7);
        return 0;
    }
    FUZZ_CHECK(table.RecordCount == table.BuiltinCount + table.UserCount);
    FUZZ_CHECK(table.RecordCount <= fmt::kMaxRecords);
    FUZZ_CHECK(size == 2 + table.RecordCount * fmt::kRecordSize);

    table.ClearEntries();
    table.CopyStagingToTable();
    const std::string out = fuzz::ScratchFolder() + "/out.bin";
    FUZZ_CHECK(table.WriteFormatFile(out, "", false) == fmt::kOk);
    std::vector<uint8_t> written;
    FUZZ_CHECK(platform::ReadWholeFile(out, written));
    FUZZ_CHECK(written.size() == size && std::equal(written.begin(), written.end(), data));
    return 0;
}
