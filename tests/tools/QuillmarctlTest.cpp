// The command-line tool run as a user runs it, against the simulated keyboard.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/wait.h>

namespace {

struct RunResult {
    int exitCode = -1;
    std::string out;
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

    // Runs the tool with the given arguments; standard output only.
    RunResult run(const std::string& arguments, const std::string& environment = "") {
        const std::string command = "QUILLMAR_SIM_STATE='" + (folder_ / "sim.bin").string() +
                                    "' " + environment + " '" QUILLMARCTL_PATH "' " + arguments +
                                    " 2>/dev/null";
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
        return result;
    }

    std::filesystem::path folder_;
};

TEST_F(QuillmarctlTest, InfoShowsTheFactoryKeyboard) {
    const RunResult result = run("--device sim info");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out,
              "active profile: 1\n"
              "macro memory: 8192\n"
              "effects: 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 20\n");
}

TEST_F(QuillmarctlTest, ProfileIsSetAndKeptByTheKeyboard) {
    EXPECT_EQ(run("--device sim profile 3").out, "active profile: 3\n");
    const RunResult again = run("--device=sim profile");
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_EQ(again.out, "active profile: 3\n");
    EXPECT_EQ(run("--device sim info").out.substr(0, 18), "active profile: 3\n");
}

TEST_F(QuillmarctlTest, ExitCodes) {
    struct Case {
        const char* arguments;
        const char* environment;
        int exitCode;
    };
    const Case cases[] = {
        {"--device sim info", "QUILLMAR_SIM_UNPLUGGED=1", 1},
        {"--device /no/such/library.so info", "", 1},
        {"--device sim profile 4", "", 2},
        {"--device sim profile 0", "", 2},
        {"--device sim profile 1 2", "", 2},
        {"--device sim info extra", "", 2},
        {"--device sim frobnicate", "", 2},
        {"--device", "", 2},
        {"", "", 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(run(c.arguments, c.environment).exitCode, c.exitCode) << c.arguments;
    }
}

}  // namespace
