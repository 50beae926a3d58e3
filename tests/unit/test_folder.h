#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>

// A fresh folder of this test's own, named after the process and the test,
// so tests that run side by side never share one.
inline std::filesystem::path FreshTestFolder(const std::string& prefix) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    for (char& c : name) {
        if (c == '/')
            c = '_';
    }
    // One level only: the test's own clean-up then leaves nothing behind.
    auto folder = std::filesystem::path(::testing::TempDir()) /
                  (prefix + "_" + std::to_string(::getpid()) + "_" + name);
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

// A fresh folder of this test's own (FreshTestFolder) that goes when the
// test ends.
class ScratchFolder {
  public:
    explicit ScratchFolder(const std::string& prefix) : path_(FreshTestFolder(prefix)) {}
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};
