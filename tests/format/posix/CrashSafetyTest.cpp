// A writer killed at any moment leaves "format.bin" as the old table or the new one, byte for
// byte, and nothing that makes the next write fail.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

#include "TableFixture.h"

namespace {

namespace fs = std::filesystem;

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

class CrashSafetyTest : public TableFileTest {
  protected:
    void Load(fmt::FormatTable& table, const std::vector<uint8_t>& bytes, const char* name) {
        const std::string path = m_root / name;
        WriteFile(path, bytes);
        ASSERT_EQ(table.ReadFormatFile(path), fmt::kOk);
        table.CopyStagingToTable();
        table.TableDirectory = "C:\\Windows\\System32";
    }

    // A child rewrites "format.bin" with the two tables in turn until it is killed; a write
    // that fails ends it with exit code 3, which no kill can give.
    struct Figures {
        int kills = 0;
        int cutMidWrite = 0;  // kills that left a temporary file, so hit a write in progress
    };

    void KillWriters(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, int rounds,
                     Figures& figures) {
        fmt::FormatTable tableA, tableB;
        Load(tableA, a, "a.bin");
        Load(tableB, b, "b.bin");
        const std::string target = SystemFile();
        const std::string folder = m_root / "Windows/System32";
        WriteFile(target, a);
        std::mt19937 random(42);
        for (int round = 0; round < rounds; ++round) {
            int ready[2];
            ASSERT_EQ(pipe(ready), 0);
            const pid_t child = fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                close(ready[0]);
                platform::SetDebugSink([](std::string_view) {});
                const char go = 1;
                if (write(ready[1], &go, 1) != 1)
                    _exit(4);
                for (unsigned i = 0;; ++i) {
                    fmt::FormatTable& table = i % 2 ? tableA : tableB;
                    if (table.WriteFormatFile(table.TableDirectory, "format.bin", true) != 0)
                        _exit(3);
                }
            }
            close(ready[1]);
            char go = 0;
            ASSERT_EQ(read(ready[0], &go, 1), 1);
            close(ready[0]);
            SpinMicroseconds(static_cast<unsigned>(random() % 4000));
            kill(child, SIGKILL);
            int status = 0;
            ASSERT_EQ(waitpid(child, &status, 0), child);
            ASSERT_TRUE(WIFSIGNALED(status)) << "the writer failed by itself, status " << status;
            ++figures.kills;

            const std::vector<uint8_t> now = ReadFile(target);
            ASSERT_TRUE(now == a || now == b)
                << "round " << round << ": " << now.size() << " bytes, neither table";
            if (LeftoverTemps(folder) > 0)
                ++figures.cutMidWrite;
        }
        // The next write sweeps what the killed writers left and finds nothing in its way.
        ASSERT_EQ(tableA.WriteFormatFile(tableA.TableDirectory, "format.bin", true), fmt::kOk);
        EXPECT_EQ(ReadFile(target), a);
        EXPECT_EQ(LeftoverTemps(folder), 0u);
    }
};

TEST_F(CrashSafetyTest, AKilledWriterLeavesTheOldOrTheNewTableOfEitherSize) {
    Figures small, full;
    // A small table and a full one in turn, then two full tables that differ in every record,
    // where a torn file would show as a mix of the two.
    KillWriters(RandomTableFile(1, 2, 1), RandomTableFile(10, fmt::kMaxRecords, 2), 120, small);
    KillWriters(RandomTableFile(10, fmt::kMaxRecords, 3), RandomTableFile(10, fmt::kMaxRecords, 4),
                120, full);
    std::printf("kills survived: %d (%d mid-write) small/full, %d (%d mid-write) full/full\n",
                small.kills, small.cutMidWrite, full.kills, full.cutMidWrite);
    EXPECT_EQ(small.kills + full.kills, 240);
}

}  // namespace
