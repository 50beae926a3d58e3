#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>

// A fresh folder of this test's own, named after the process and the test,
// so tests that run side by side never share one.
inline std::filesystem::path FreshTestFolder(const std::string& prefix) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    for (char& c : name) {
        if (c == '/')
            c = '_';
    }
    auto folder = std::filesystem::path(::testing::TempDir()) /
                  (prefix + "_" + std::to_string(::getpid())) / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}
