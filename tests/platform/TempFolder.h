// A fresh folder under the system's temporary directory, removed with everything in it.
#pragma once

#include <filesystem>
#include <random>
#include <string>
#include <system_error>

class CTempFolder {
  public:
    CTempFolder() {
        namespace fs = std::filesystem;
        std::error_code error;
        const fs::path temp = fs::temp_directory_path(error);
        std::random_device seed;
        std::mt19937 random(seed());
        // create_directory says when a name is taken, so tests running at once never share.
        for (int attempt = 0; !error && attempt < 100; ++attempt) {
            const fs::path candidate = temp / ("vz-" + std::to_string(random() % 1000000000u));
            if (fs::create_directory(candidate, error)) {
                m_path = candidate.string();
                break;
            }
        }
    }
    ~CTempFolder() {
        std::error_code ignored;
        if (!m_path.empty())
            std::filesystem::remove_all(m_path, ignored);
    }
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    const std::string& Path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + "/" + name; }

  private:
    std::string m_path;
};
