// A scratch host folder for the snapshot backend's file tests, removed with
// its content at the end.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "platform/Text.h"

namespace kelvara::test {

class SnapshotTestFolder {
 public:
  SnapshotTestFolder() {
    path_ = std::filesystem::temp_directory_path() /
            (std::string("kelvara-snap-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
    std::filesystem::create_directories(path_);
  }
  SnapshotTestFolder(const SnapshotTestFolder&) = delete;
  SnapshotTestFolder& operator=(const SnapshotTestFolder&) = delete;
  ~SnapshotTestFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }

  void File(const std::filesystem::path& relative, const std::string& content = "x") const {
    std::filesystem::create_directories((path_ / relative).parent_path());
    std::ofstream(path_ / relative, std::ios::binary) << content;
  }
  // A path below the folder as the host's wide text.
  [[nodiscard]] std::wstring Wide(const std::filesystem::path& relative = {}) const {
    std::filesystem::path full = relative.empty() ? path_ : path_ / relative;
    full.make_preferred();
#ifdef _WIN32
    return full.native();
#else
    return FromUtf8(full.native());
#endif
  }
  [[nodiscard]] const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace kelvara::test
