#pragma once

#include <filesystem>
#include <string>

namespace hostlore::test {

// A fresh folder under the system's temporary folder, removed with its contents.
class TemporaryFolder {
  public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path File(const std::string& name) const { return path_ / name; }

    void Write(const std::string& name, const std::string& content) const;
    std::string Read(const std::string& name) const;

  private:
    std::filesystem::path path_;
};

}  // namespace hostlore::test
