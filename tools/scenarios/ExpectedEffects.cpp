// `expect` lines: what the program wrote and did (files, the driver's requests, the debug
// output, the chip, the exit).
#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <sstream>
#include <stdexcept>
#include "format/FormatTable.h"
#include "platform/Platform.h"
#include "tools/scenarios/Checker.h"
#include "tools/scenarios/Checks.h"
#include "tools/scenarios/Readers.h"
#include "tools/scenarios/ScenarioHost.h"
#include "tools/scenarios/World.h"

namespace scenarios {

void CChecker::File() {
    if (m_line.Size() < 4)
        throw std::runtime_error("file takes PATH and a condition");
    std::string path = m_c.FilePath(m_line.Arg(2));
    std::vector<uint8_t> actual;
    bool exists = platform::ReadWholeFile(path, actual);
    const std::string& how = m_line.Arg(3);
    if (how == "absent") {
        if (exists)
            Fail("the file exists");
        return;
    }
    std::vector<uint8_t> expected;
    if (how == "unchanged") {
        const std::vector<uint8_t>* before = m_c.Snapshot(path);
        if (!before) {
            if (exists)
                Fail("the file did not exist at start");
            return;
        }
        expected = *before;
    } else if (how == "same-as" && m_line.Size() == 5) {
        if (!platform::ReadWholeFile(m_c.HostFile(m_line.Arg(4)), expected)) {
            throw std::runtime_error("cannot read " + m_line.Arg(4));
        }
    } else if (how == "hex" && m_line.Size() == 5) {
        if (!ParseHexText(m_line.Arg(4), expected))
            throw std::runtime_error("bad hex bytes");
    } else {
        throw std::runtime_error("file takes same-as, hex, absent or unchanged");
    }
    if (!exists)
        return Fail("the file does not exist");
    if (actual != expected) {
        size_t at = 0;
        while (at < actual.size() && at < expected.size() && actual[at] == expected[at])
            ++at;
        Fail("the file differs at byte " + std::to_string(at) + " (" +
             std::to_string(actual.size()) + " bytes, expected " + std::to_string(expected.size()) +
             ")");
    }
}

bool CChecker::TableFile(size_t index, std::vector<uint8_t>& bytes) {
    if (index >= m_line.Size())
        throw std::runtime_error("expected a PATH");
    if (!platform::ReadWholeFile(m_c.FilePath(m_line.Arg(index)), bytes)) {
        Fail("the file does not exist");
        return false;
    }
    if (bytes.size() < 2 || (bytes.size() - 2) % fmt::kRecordSize != 0) {
        Fail("not a table file (" + std::to_string(bytes.size()) + " bytes)");
        return false;
    }
    return true;
}

void CChecker::Records() {
    std::vector<uint8_t> bytes;
    if (!TableFile(2, bytes))
        return;
    int64_t count = static_cast<int64_t>((bytes.size() - 2) / fmt::kRecordSize);
    if (count != Number(3))
        Fail("records: " + std::to_string(count));
}

void CChecker::Builtin() {
    std::vector<uint8_t> bytes;
    if (!TableFile(2, bytes))
        return;
    int header = bytes[0] | (bytes[1] << 8);
    if (header != Number(3))
        Fail("built-in count is " + std::to_string(header));
}

void CChecker::Record() {
    std::vector<uint8_t> bytes;
    if (!TableFile(2, bytes))
        return;
    int64_t index = Number(3);
    size_t count = (bytes.size() - 2) / fmt::kRecordSize;
    if (index < 0 || static_cast<size_t>(index) >= count)
        return Fail("no record " + std::to_string(index));
    fmt::FormatRecord record = fmt::DecodeRecord(bytes.data() + 2 + index * fmt::kRecordSize);
    for (size_t i = 4; i < m_line.Size(); ++i) {
        const std::string& pair = m_line.Arg(i);
        size_t eq = pair.find('=');
        if (eq == std::string::npos)
            throw std::runtime_error("FIELD=VALUE expected");
        std::string name = pair.substr(0, eq);
        std::string actual;
        if (!ReadRecordField(record, name, actual))
            throw std::runtime_error("unknown field " + name);
        std::string expected =
            name == "Tag" ? pair.substr(eq + 1) : NormaliseFieldValue(pair.substr(eq + 1));
        if (actual != expected)
            Fail(name + " is " + actual);
    }
}

void CChecker::NoLog() {
    const std::vector<std::string> lines = m_c.World().LogLines();
    const std::string expected = Expected(2);
    for (size_t i = m_c.LogCursor(); i < lines.size(); ++i) {
        if (lines[i] == expected)
            return Fail("the driver log has \"" + expected + "\"");
    }
}

void CChecker::Trace() {
    size_t plainLines = 0;
    const std::vector<DebugLine> lines =
        SplitDebugOutput(m_c.DebugOutput(), m_c.DebugWriteEnds(), plainLines);
    const std::string expected = Expected(2);
    size_t& cursor = m_c.TraceCursor();
    const DebugLine* found = nullptr;
    for (const DebugLine& line : lines) {
        if (line.begin >= cursor && line.text == expected &&
            (!found || line.begin < found->begin)) {
            found = &line;
        }
    }
    if (found) {
        cursor = found->end;
        return;
    }
    std::string tail;
    size_t shown = 0;
    for (size_t i = 0; i < plainLines && shown < 6; ++i) {
        if (lines[i].begin >= cursor) {
            tail += "\n    " + lines[i].text;
            ++shown;
        }
    }
    Fail("not in the debug output after offset " + std::to_string(cursor) + ":" +
         (tail.empty() ? std::string(" (nothing more)") : tail));
}

void CChecker::FindLine(const std::vector<std::string>& lines, size_t& cursor, const char* where) {
    std::string expected = Expected(2);
    for (size_t i = cursor; i < lines.size(); ++i) {
        if (lines[i] == expected) {
            cursor = i + 1;
            return;
        }
    }
    std::string tail;
    for (size_t i = cursor; i < lines.size() && i < cursor + 6; ++i)
        tail += "\n    " + lines[i];
    Fail(std::string("not in the ") + where + " after line " + std::to_string(cursor) + ":" +
         (tail.empty() ? std::string(" (nothing more)") : tail));
}

void CChecker::Chip() {
    uint8_t value = 0;
    if (!m_c.World().ChipRegister(static_cast<uint32_t>(Number(2)),
                                  static_cast<uint32_t>(Number(3)), value)) {
        return Fail("no such chip register");
    }
    if (value != Number(4)) {
        char text[16];
        std::snprintf(text, sizeof text, "0x%02X", value);
        Fail(std::string("register holds ") + text);
    }
}

void CChecker::Exit() {
    if (!m_c.Ended())
        return Fail("the program is still running");
    if (m_c.ExitCode() != Number(2))
        Fail("exit code is " + std::to_string(m_c.ExitCode()));
}

void CChecker::Elapsed() {
    if (static_cast<int64_t>(m_c.ElapsedMs()) < Number(2)) {
        Fail("elapsed " + std::to_string(m_c.ElapsedMs()) + " ms");
    }
}

}  // namespace scenarios
