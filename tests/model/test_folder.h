#pragma once
// A fresh, empty folder of the running test in the temporary folder: named after the prefix,
// the process and the test, so parallel runs and tests never share one.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>

#include <unistd.h>

namespace orvo {

inline std::filesystem::path FreshTestFolder(std::string_view prefix) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() /
        (std::string(prefix) + "_" + std::to_string(::getpid()) + "_" +
         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

} // namespace orvo
