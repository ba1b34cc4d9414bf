// What every fuzzer shares: a scratch folder of its own for the files it hands the program,
// and a check that stops the run loudly when a property does not hold.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fuzz {

// In memory where the system offers it: the program syncs every file it writes, and a disk
// would make that the whole cost of a run. Removed when the fuzzer ends normally.
class CScratchFolder {
  public:
    CScratchFolder() {
        std::error_code none;
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", none)
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        m_path = (base / "vz-fuzz-XXXXXX").string();
        if (mkdtemp(m_path.data()) == nullptr)
            std::abort();
    }
    ~CScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    const std::string& Path() const { return m_path; }

  private:
    std::string m_path;
};

inline const std::string& ScratchFolder() {
    static const CScratchFolder folder;
    return folder.Path();
}

inline std::string WriteScratchFile(const std::string& name, const uint8_t* data, size_t size) {
    const std::string path = ScratchFolder() + "/" + name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return path;
}

// A broken property is a finding like a crash: libFuzzer keeps the input that caused it.
#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "%s:%d: %s does not hold\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (0)

}  // namespace fuzz
