// A writer killed at any moment leaves "format.bin" as the old table or the new one, byte for
// byte, and nothing that makes the next write fail. On Windows the writer is a second process
// of this program, ended by TerminateProcess; the next writer is often given the number of the
// one just killed, so its leftovers carry the new writer's own process id.
#include <chrono>
#include <cstdio>

#include "format/TableFixture.h"
// After the fixture: the system's headers make macros of names the platform's header declares.
#include "win32/ThisProgram.h"

namespace {

namespace fs = std::filesystem;

const wchar_t kWriter[] = L"VZ_CRASH_WRITER";
const wchar_t kWriterTest[] = L"CrashSafetyWriter.DISABLED_RewritesTheTableUntilKilled";
constexpr UINT kKilled = 99;

size_t LeftoverTemps(const std::string& folder) {
    size_t count = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().filename().string().rfind(".format.bin.tmp.", 0) == 0)
            ++count;
    }
    return count;
}

// Spins (never sleeps) for a random time, so the kill lands anywhere in the writer's loop.
void SpinMicroseconds(unsigned us) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(us);
    while (std::chrono::steady_clock::now() < until) {
    }
}

bool LoadTable(fmt::FormatTable& table, const std::string& path) {
    if (table.ReadFormatFile(path) != fmt::kOk)
        return false;
    table.CopyStagingToTable();
    table.TableDirectory = "C:\\Windows\\System32";
    return true;
}

// The writer, in its own process: "<event>|<root>" names the event that tells the parent it
// is about to write, and the virtual system with a.bin and b.bin in it. A write that fails
// ends it with exit code 3, which the parent's kill never gives.
TEST(CrashSafetyWriter, DISABLED_RewritesTheTableUntilKilled) {
    const std::wstring given = vztest::ChildValue(kWriter);
    const size_t bar = given.find(L'|');
    ASSERT_NE(bar, std::wstring::npos);
    const std::wstring root = given.substr(bar + 1);
    const std::string rootPath(root.begin(), root.end());
    platform::SetSystemRoot(rootPath);
    platform::SetNativeArchitecture(PROCESSOR_ARCHITECTURE_AMD64);
    platform::SetDebugSink([](std::string_view) {});
    fmt::FormatTable tableA, tableB;
    ASSERT_TRUE(LoadTable(tableA, rootPath + "\\a.bin"));
    ASSERT_TRUE(LoadTable(tableB, rootPath + "\\b.bin"));
    const HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, given.substr(0, bar).c_str());
    ASSERT_NE(ready, nullptr);
    SetEvent(ready);
    for (unsigned i = 0;; ++i) {
        fmt::FormatTable& table = i % 2 ? tableA : tableB;
        if (table.WriteFormatFile(table.TableDirectory, "format.bin", true) != 0)
            ExitProcess(3);
    }
}

class CrashSafetyTest : public TableFileTest {
  protected:
    struct Figures {
        int kills = 0;
        int cutMidWrite = 0;  // kills that left a temporary file, so hit a write in progress
    };

    void KillWriters(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, int rounds,
                     Figures& figures) {
        WriteFile(m_root / "a.bin", a);
        WriteFile(m_root / "b.bin", b);
        const std::string target = SystemFile();
        const std::string folder = m_root / "Windows/System32";
        WriteFile(target, a);
        const std::wstring event = L"vz-crash-writer-" + std::to_wstring(GetCurrentProcessId()) +
                                   L"-" + std::to_wstring(GetTickCount());
        const HANDLE ready = CreateEventW(nullptr, FALSE, FALSE, event.c_str());
        ASSERT_NE(ready, nullptr);
        const std::wstring root(m_root.Path().begin(), m_root.Path().end());
        std::mt19937 random(42);
        for (int round = 0; round < rounds; ++round) {
            const PROCESS_INFORMATION writer =
                vztest::StartThisProgram(kWriterTest, kWriter, event + L"|" + root, true);
            ASSERT_NE(writer.hProcess, nullptr);
            // The child tells when it starts writing, or ends when it cannot.
            const HANDLE either[2] = {ready, writer.hProcess};
            const DWORD woke = WaitForMultipleObjects(2, either, FALSE, INFINITE);
            if (woke == WAIT_OBJECT_0)
                SpinMicroseconds(static_cast<unsigned>(random() % 4000));
            TerminateProcess(writer.hProcess, kKilled);
            WaitForSingleObject(writer.hProcess, INFINITE);
            DWORD code = 0;
            GetExitCodeProcess(writer.hProcess, &code);
            CloseHandle(writer.hProcess);
            ASSERT_EQ(code, kKilled) << "round " << round << ": the writer failed by itself";
            ++figures.kills;

            const std::vector<uint8_t> now = ReadFile(target);
            ASSERT_TRUE(now == a || now == b)
                << "round " << round << ": " << now.size() << " bytes, neither table";
            if (LeftoverTemps(folder) > 0)
                ++figures.cutMidWrite;
        }
        CloseHandle(ready);
        // The next write sweeps what the killed writers left and finds nothing in its way.
        fmt::FormatTable tableA;
        ASSERT_TRUE(LoadTable(tableA, m_root / "a.bin"));
        ASSERT_EQ(tableA.WriteFormatFile(tableA.TableDirectory, "format.bin", true), fmt::kOk);
        EXPECT_EQ(ReadFile(target), a);
        EXPECT_EQ(LeftoverTemps(folder), 0u);
    }
};

TEST_F(CrashSafetyTest, AKilledWriterLeavesTheOldOrTheNewTableOfEitherSize) {
    // Every round starts a program: fewer rounds than on POSIX, each with a full table, where a
    // torn file would show.
    Figures small, full;
    KillWriters(RandomTableFile(1, 2, 1), RandomTableFile(10, fmt::kMaxRecords, 2), 40, small);
    KillWriters(RandomTableFile(10, fmt::kMaxRecords, 3), RandomTableFile(10, fmt::kMaxRecords, 4),
                40, full);
    std::printf("kills survived: %d (%d mid-write) small/full, %d (%d mid-write) full/full\n",
                small.kills, small.cutMidWrite, full.kills, full.cutMidWrite);
    EXPECT_EQ(small.kills + full.kills, 80);
}

}  // namespace
