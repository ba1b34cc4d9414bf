// A fresh folder under the system's temporary directory, removed again with its contents.
#pragma once

#include <filesystem>
#include <random>
#include <string>

namespace testing_support {

class CTempFolder {
  public:
    CTempFolder() {
        std::random_device random;
        m_path = std::filesystem::temp_directory_path() /
                 ("vz-device-" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(m_path);
    }
    ~CTempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    std::string Path() const { return m_path.string(); }
    std::string File(const std::string& relative) const { return (m_path / relative).string(); }

  private:
    std::filesystem::path m_path;
};

}  // namespace testing_support
