// Two device commands that edit one table file at the same moment, as two people or two scripts
// may: each run ends with both edits in the file or with one of them refused and said so, never
// with one silently lost. The real program, started twice, a few hundred times.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "format/FormatRecord.h"
#include "format/FormatTable.h"
#include "platform/TempFolder.h"

extern char** environ;

namespace devicetest {
namespace {

struct Finished {
    int code = -1;
    bool refusedAsChanged = false;  // its report says another program changed the file
};

class CCommand {
  public:
    CCommand(const std::string& output, std::vector<std::string> words) : m_output(output) {
        std::vector<char*> argv;
        words.insert(words.begin(), VZ_DEVICE_COMMAND);
        for (std::string& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        if (posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
    }

    Finished Wait() {
        Finished done;
        int status = 0;
        if (m_pid < 0 || waitpid(m_pid, &status, 0) != m_pid || !WIFEXITED(status))
            return done;
        done.code = WEXITSTATUS(status);
        std::ifstream in(m_output);
        const nlohmann::json doc = nlohmann::json::parse(in, nullptr, false);
        done.refusedAsChanged = doc.is_object() && doc.value("changedMeanwhile", false);
        return done;
    }

  private:
    std::string m_output;
    pid_t m_pid = -1;
};

// Spins (never sleeps) for a random time, so the second command starts anywhere in the
// first one's run.
void SpinMicroseconds(unsigned us) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(us);
    while (std::chrono::steady_clock::now() < until) {
    }
}

std::vector<uint32_t> Flags(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> b(std::istreambuf_iterator<char>(in), {});
    std::vector<uint32_t> flags;
    for (size_t at = 2 + 20; at + 4 <= b.size(); at += fmt::kRecordSize)
        flags.push_back(b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (b[at + 3] << 24u));
    return flags;
}

TEST(ConcurrentEdits, TwoCommandsEditingOneTableEndWithBothEditsOrOneRefusedNeverOneLost) {
    CTempFolder folder;
    const std::string table = folder / "halls.bin";
    fmt::FormatRecord record;
    record.Enabled = 1;
    const std::vector<uint8_t> start = fmt::EncodeTableFile(1, {record, record, record});
    int both = 0, refused = 0, lost = 0, other = 0;
    std::mt19937 random(29);
    for (int round = 0; round < 300; ++round) {
        std::ofstream(table, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(start.data()),
                   static_cast<std::streamsize>(start.size()));
        CCommand first(folder / "first.json", {"--json", "disable", table, "user:0"});
        SpinMicroseconds(static_cast<unsigned>(random() % 8000));
        CCommand second(folder / "second.json", {"--json", "disable", table, "user:1"});
        const Finished a = first.Wait();
        const Finished b = second.Wait();
        const std::vector<uint32_t> flags = Flags(table);
        const bool firstIn = flags.size() == 3 && flags[1] == 0;
        const bool secondIn = flags.size() == 3 && flags[2] == 0;
        // Each command either wrote its edit (exit 0) or was refused for the other's (exit 1),
        // and what it said is what the file holds.
        const bool firstRight =
            a.code == 0 ? firstIn : a.code == 1 && a.refusedAsChanged && !firstIn;
        const bool secondRight =
            b.code == 0 ? secondIn : b.code == 1 && b.refusedAsChanged && !secondIn;
        if ((a.code == 0 && !firstIn) || (b.code == 0 && !secondIn)) {
            ++lost;
            ADD_FAILURE() << "round " << round
                          << ": an edit reported as written is not in the file";
        } else if (!firstRight || !secondRight || (a.code != 0 && b.code != 0)) {
            ++other;
            ADD_FAILURE() << "round " << round << ": exit codes " << a.code << " and " << b.code;
        } else if (a.code == 0 && b.code == 0) {
            ++both;
        } else {
            ++refused;
        }
    }
    std::printf("concurrent edits: %d runs, both applied %d, one refused %d, lost %d, other %d\n",
                both + refused + lost + other, both, refused, lost, other);
    EXPECT_EQ(lost, 0);
    EXPECT_EQ(other, 0);
}

}  // namespace
}  // namespace devicetest
