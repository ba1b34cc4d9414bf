#include "ToolFixture.h"

#include <fstream>
#include <sstream>

#include "format/FormatTable.h"
#include "sim/VideoTiming.h"
#include "sim/VirtualSystem.h"
#include "tools/table/TableTool.h"

namespace tabletest {

ToolRun RunTool(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    ToolRun run;
    run.code = tabletool::RunTableTool(args, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

fmt::FormatRecord StandardRecord(const char* name, const char* tag) {
    const sim::StandardTiming* standard = sim::FindStandardTiming(name);
    EXPECT_NE(standard, nullptr) << name;
    return standard ? sim::RecordFromTiming(standard->Timing, tag, 1) : fmt::FormatRecord{};
}

std::vector<fmt::FormatRecord> CleanRecords() {
    return {StandardRecord("1280x720p60", "_cea_support"),
            StandardRecord("1920x1080i60", "_cea_support"), StandardRecord("1920x1080p60"),
            StandardRecord("1024x768p60")};
}

std::string ToolTest::Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
    const std::string path = m_folder / name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::string ToolTest::WriteTable(const std::string& name, uint16_t builtinCount,
                                 const std::vector<fmt::FormatRecord>& records) const {
    return Write(name, fmt::EncodeTableFile(builtinCount, records));
}

}  // namespace tabletest
