// The program as a user starts it, on the simulated keyboard, in a child
// process with its own folders:
// - BM_StartToVisibleWindow: from the start of the process to the first paint
//   of its main window (target 300 ms);
// - BM_WindowMemoryAndIdleCpu: resident memory with the window shown and 100
//   macros read from the keyboard (target 60 MB), then the processor time it
//   takes while it sits idle with the lighting panel closed.
// The window goes to $DISPLAY when set, else to Qt's offscreen platform.

#include "config/MacroArea.h"
#include "config/MacroList.h"
#include "hidlane/sim/SimMemory.h"
#include "hidlane/sim/SimStateFile.h"

#include <benchmark/benchmark.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace quillmar;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int kMacroCount = 100;
constexpr int kActionsPerMacro = 10;

std::filesystem::path programDirectory() {
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::current_path() : executable.parent_path();
}

config::MacroList hundredMacros() {
    config::MacroList macros;
    for (int i = 1; i <= kMacroCount; ++i) {
        config::MacroRecord macro{};
        const std::string name = "Macro" + std::to_string(i);
        config::setMacroName(macro, std::u16string(name.begin(), name.end()));
        macro.loopCount = 1;
        macro.id = static_cast<std::uint16_t>(i);
        for (int a = 0; a < kActionsPerMacro; ++a)
            config::appendMacroAction(macro, {20, 0x1E, a % 2 == 0 ? config::KeyDirection::Press
                                                                   : config::KeyDirection::Release});
        macros.push_back(macro);
    }
    return macros;
}

// Fresh per-user, runtime and keyboard folders for one run of the program.
class ChildFolders {
public:
    explicit ChildFolders(bool withMacros) {
        char name[] = "/tmp/quillmar-start-bench-XXXXXX";
        root_ = ::mkdtemp(name) ? name : "";
        std::filesystem::create_directories(root_ / "home");
        std::filesystem::create_directories(root_ / "run");
        std::filesystem::permissions(root_ / "run", std::filesystem::perms::owner_all);
        sim::SimMemory memory = sim::factorySimMemory();
        if (withMacros) {
            const auto area = config::buildMacroArea(hundredMacros(), true);
            std::copy(area.begin(), area.end(), memory.macroArea.begin());
        }
        sim::saveSimState(root_ / "sim-keyboard.bin", memory);
    }
    ~ChildFolders() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    const std::filesystem::path& root() const { return root_; }

private:
    std::filesystem::path root_;
};

// The program running in a child process; stopped when this goes.
class RunningProgram {
public:
    explicit RunningProgram(const ChildFolders& folders) {
        int pipeEnds[2];
        if (::pipe2(pipeEnds, O_CLOEXEC) != 0) return;
        started_ = Clock::now();
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(pipeEnds[1], STDERR_FILENO);
            const auto& root = folders.root();
            ::setenv("HOME", (root / "home").c_str(), 1);
            ::setenv("XDG_RUNTIME_DIR", (root / "run").c_str(), 1);
            ::setenv("XDG_CONFIG_HOME", (root / "home" / ".config").c_str(), 1);
            ::setenv("XDG_DOCUMENTS_DIR", (root / "home" / "Documents").c_str(), 1);
            ::setenv("QUILLMAR_SIM_STATE", (root / "sim-keyboard.bin").c_str(), 1);
            ::setenv("QUILLMAR_HIDLANE", "sim", 1);
            ::setenv("QUILLMAR_ANNOUNCE_SHOWN", "1", 1);
            if (!std::getenv("DISPLAY")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
            const std::string program = (programDirectory() / "quillmar").string();
            ::execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(pipeEnds[1]);
        stderr_ = pipeEnds[0];
    }
    ~RunningProgram() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (stderr_ >= 0) ::close(stderr_);
    }

    // Time from the fork to the window's first paint; nothing when it never came.
    std::optional<Clock::duration> waitUntilShown(std::chrono::milliseconds limit) {
        std::string seen;
        const auto deadline = Clock::now() + limit;
        while (Clock::now() < deadline && seen.find("quillmar: shown") == std::string::npos) {
            pollfd readable{stderr_, POLLIN, 0};
            if (::poll(&readable, 1, 50) <= 0) continue;
            char buffer[512];
            const ssize_t got = ::read(stderr_, buffer, sizeof buffer);
            if (got <= 0) return std::nullopt;
            seen.append(buffer, static_cast<std::size_t>(got));
        }
        if (seen.find("quillmar: shown") == std::string::npos) return std::nullopt;
        return Clock::now() - started_;
    }

    double residentMegabytes() const {
        std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
        for (std::string line; std::getline(status, line);)
            if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
        return 0;
    }

    // User plus system time so far, in milliseconds.
    double processorMilliseconds() const {
        std::ifstream stat("/proc/" + std::to_string(pid_) + "/stat");
        std::string text((std::istreambuf_iterator<char>(stat)), {});
        std::istringstream fields(text.substr(text.rfind(')') + 2));
        std::string field;
        double ticks = 0;
        for (int index = 3; fields >> field; ++index) {
            if (index == 14 || index == 15) ticks += std::stod(field);
            if (index == 15) break;
        }
        return ticks * 1000.0 / static_cast<double>(::sysconf(_SC_CLK_TCK));
    }

private:
    pid_t pid_ = -1;
    int stderr_ = -1;
    Clock::time_point started_;
};

void BM_StartToVisibleWindow(benchmark::State& state) {
    for (auto _ : state) {
        const ChildFolders folders(false);
        RunningProgram program(folders);
        const auto shown = program.waitUntilShown(20s);
        if (!shown) {
            state.SkipWithError("the window was never shown");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(*shown).count());
    }
}
BENCHMARK(BM_StartToVisibleWindow)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

void BM_WindowMemoryAndIdleCpu(benchmark::State& state) {
    for (auto _ : state) {
        const ChildFolders folders(true);
        RunningProgram program(folders);
        if (!program.waitUntilShown(20s)) {
            state.SkipWithError("the window was never shown");
            return;
        }
        // The keyboard's arrival and its read-back finish well within this.
        std::this_thread::sleep_for(3s);
        state.counters["resident_MB"] = program.residentMegabytes();
        const double before = program.processorMilliseconds();
        constexpr auto kIdle = 5s;
        std::this_thread::sleep_for(kIdle);
        state.counters["idle_cpu_ms_per_s"] =
            (program.processorMilliseconds() - before) / std::chrono::duration<double>(kIdle).count();
    }
}
BENCHMARK(BM_WindowMemoryAndIdleCpu)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
