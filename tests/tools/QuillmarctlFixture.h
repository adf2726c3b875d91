#pragma once

// The command-line tool run as a user runs it, against the simulated
// keyboard, with its state file and per-user folder in a folder of the test.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace quillmar::testing {

struct RunResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class QuillmarctlTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("quillmarctl-test-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    // Runs the tool with the given arguments, its per-user folder inside the
    // test's folder.
    RunResult run(const std::string& arguments, const std::string& environment = "") {
        const std::string command = "QUILLMAR_SIM_STATE='" + (folder_ / "sim.bin").string() +
                                    "' HOME='" + folder_.string() + "' XDG_CONFIG_HOME='" +
                                    (folder_ / "config").string() + "' XDG_DOCUMENTS_DIR='" +
                                    (folder_ / "docs").string() + "' " + environment +
                                    " '" QUILLMARCTL_PATH "' " + arguments + " 2>'" +
                                    (folder_ / "stderr").string() + "'";
        RunResult result;
        FILE* pipe = ::popen(command.c_str(), "r");
        if (!pipe) return result;
        std::array<char, 512> buffer{};
        std::size_t got = 0;
        while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
            result.out.append(buffer.data(), got);
        }
        const int status = ::pclose(pipe);
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::ifstream err(folder_ / "stderr");
        result.err.assign(std::istreambuf_iterator<char>(err), {});
        return result;
    }

    std::filesystem::path folder_;
};

}  // namespace quillmar::testing
