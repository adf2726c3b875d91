// Building the macro area and downloading the device image.
//
// BM_BuildLargestMacroArea: the largest named macro area a factory keyboard
// holds (8192 bytes), as a download builds it: both sizes, then the area.
//
// BM_DownloadToSimulator: a whole Apply download (snapshot, macro area, the
// active profile's key block) against the simulated keyboard answering after
// 1 ms, with the link's own pauses. Its floor, reported beside it, is one
// latency per transaction plus the pause before EndUpdate.
//
// BM_VerifiedApply: the same Apply (save, snapshot, download) writing
// everything and reading every piece back; x_floor is its time over the
// unverified download's floor.
//
// BM_OneRemapApply: an Apply of one changed key after the arrival read-back
// told what the keyboard holds: BeginUpdate, one piece, EndUpdate, its read.

#include "config/ApplyChanges.h"
#include "config/DeviceImageDownload.h"
#include "config/MacroArea.h"
#include "device/DeviceLink.h"
#include "hidlane/sim/SimKeyboard.h"
#include "profiles/KeyboardReadback.h"
#include "support/LinkedSimService.h"
#include "support/QuietWindow.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

using namespace quillmar;
using namespace std::chrono_literals;

constexpr std::size_t kFactoryMacroMemory = 8192;
constexpr int kMacroCount = 20;

// kMacroCount named macros whose area with names is as large as fits.
config::MacroList largestMacros(std::size_t limit) {
    config::MacroList macros(kMacroCount);
    for (int i = 0; i < kMacroCount; ++i) {
        const std::string name = "Macro" + std::to_string(100 + i);
        config::setMacroName(macros[i], std::u16string(name.begin(), name.end()));
        macros[i].id = static_cast<std::uint16_t>(i + 1);
        macros[i].loopCount = 1;
    }
    for (int i = 0;; i = (i + 1) % kMacroCount) {
        const bool press = macros[i].actionCount % 2 == 0;
        config::appendMacroAction(macros[i], {30, 0x1E, press ? config::KeyDirection::Press : config::KeyDirection::Release});
        if (config::macroAreaSizes(macros).withNames > limit) {
            --macros[i].actionCount;
            return macros;
        }
    }
}

void BM_BuildLargestMacroArea(benchmark::State& state) {
    const config::MacroList macros = largestMacros(kFactoryMacroMemory);
    for (auto _ : state) {
        const config::MacroAreaSizes sizes = config::macroAreaSizes(macros);
        auto area = config::buildMacroArea(macros, sizes.withNames <= kFactoryMacroMemory);
        benchmark::DoNotOptimize(area.data());
    }
    state.counters["bytes"] = static_cast<double>(config::macroAreaSizes(macros).withNames);
}
BENCHMARK(BM_BuildLargestMacroArea);

using testing::QuietPrompt;
using testing::QuietWindow;

// The simulated keyboard behind its linked entry points, on a state file of its own.
class SimulatedKeyboard {
public:
    SimulatedKeyboard() {
        char folder[] = "/tmp/quillmar-bench-XXXXXX";
        folder_ = ::mkdtemp(folder) ? folder : std::filesystem::temp_directory_path().string();
        ::setenv("QUILLMAR_SIM_STATE", (folder_ / "sim-keyboard.bin").c_str(), 1);
        Init(0);
        sim::sharedSimKeyboard().setLatency(1ms);
        link_ = std::make_unique<device::DeviceLink>(service_, window_, prompt_, texts_);
        link_->start();
        while (link_->presence().connectedCount() == 0) std::this_thread::sleep_for(1ms);
        link_->waitForWorkers();
    }
    ~SimulatedKeyboard() {
        End();
        link_.reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    config::DownloadTarget target() { return config::downloadTargetOf(*link_, prompt_, texts_); }
    bool readBack() { return profiles::readKeyboardImage(profiles::readSourceOf(*link_, texts_)).has_value(); }

private:
    std::filesystem::path folder_;
    const device::HidService service_ = quillmar::testing::linkedSimService();
    QuietWindow window_;
    QuietPrompt prompt_;
    text::BuiltInTexts texts_;
    std::unique_ptr<device::DeviceLink> link_;
};

// Arg 0: no macros (a 16-byte area); arg 1: the largest area of the factory keyboard.
void BM_DownloadToSimulator(benchmark::State& state) {
    SimulatedKeyboard keyboard;
    config::Configuration configuration;
    const config::MacroList macros = state.range(0) ? largestMacros(kFactoryMacroMemory) : config::MacroList{};
    configuration.working.replaceMacros(config::MacroList(macros));
    configuration.working.records()[0x1E] = {keyboard::AssignmentType::Key, 0, 0x30, 0, 0};
    const config::DownloadTarget target = keyboard.target();

    for (auto _ : state) {
        if (config::takeDownloadSnapshot(configuration, config::DownloadScope::ActiveProfile, target) != 1) {
            state.SkipWithError("download failed");
            break;
        }
    }
    const std::size_t areaBytes = config::macroAreaSizes(macros).withNames;
    const std::size_t transactions = 1 + (areaBytes + 55) / 56 + 7 + 1;  // Begin, area, block, End
    const device::LinkTiming timing;
    state.counters["transactions"] = static_cast<double>(transactions);
    state.counters["floor_ms"] = static_cast<double>(transactions * 1 + timing.endUpdatePause.count());
}
BENCHMARK(BM_DownloadToSimulator)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The pause before EndUpdate plus one 1 ms answer per transaction.
double floorMs(std::size_t transactions) {
    return static_cast<double>(transactions) + static_cast<double>(device::LinkTiming{}.endUpdatePause.count());
}

// Arg as for BM_DownloadToSimulator.
void BM_VerifiedApply(benchmark::State& state) {
    SimulatedKeyboard keyboard;
    config::Configuration configuration;
    const config::MacroList macros = state.range(0) ? largestMacros(kFactoryMacroMemory) : config::MacroList{};
    configuration.working.replaceMacros(config::MacroList(macros));
    configuration.working.records()[0x1E] = {keyboard::AssignmentType::Key, 0, 0x30, 0, 0};
    config::DownloadTarget target = keyboard.target();
    target.verifyWrites = true;
    const auto save = [] { return 1; };

    double elapsedMs = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (!config::applyChanges(true, configuration, save, target)) {
            state.SkipWithError("apply failed");
            break;
        }
        elapsedMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    }
    const std::size_t pieces = (config::macroAreaSizes(macros).withNames + 55) / 56 + 7;
    const double downloadFloor = floorMs(pieces + 2);
    state.counters["transactions"] = static_cast<double>(2 * pieces + 2);
    state.counters["floor_ms"] = downloadFloor;
    if (state.iterations() > 0)
        state.counters["x_floor"] = elapsedMs / static_cast<double>(state.iterations()) / downloadFloor;
}
BENCHMARK(BM_VerifiedApply)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// Arg 1: the largest macro area on the keyboard, which an Apply of one key
// no longer writes.
void BM_OneRemapApply(benchmark::State& state) {
    SimulatedKeyboard keyboard;
    config::Configuration configuration;
    const config::MacroList macros = state.range(0) ? largestMacros(kFactoryMacroMemory) : config::MacroList{};
    configuration.working.replaceMacros(config::MacroList(macros));
    config::DownloadTarget target = keyboard.target();
    target.verifyWrites = true;
    target.writeChangesOnly = true;
    const auto save = [] { return 1; };
    if (!config::applyChanges(true, configuration, save, target) || !keyboard.readBack()) {
        state.SkipWithError("set-up failed");
        return;
    }

    std::uint32_t keyOfA = 0x30;
    for (auto _ : state) {
        // Each Apply gives A another key, so there is always one piece to write.
        keyOfA = keyOfA == 0x30 ? 0x2E : 0x30;
        configuration.working.records()[0x1E] = {keyboard::AssignmentType::Key, 0, keyOfA, 0, 0};
        if (!config::applyChanges(true, configuration, save, target)) {
            state.SkipWithError("apply failed");
            break;
        }
    }
    state.counters["transactions"] = 4;
    state.counters["floor_ms"] = floorMs(4);
}
BENCHMARK(BM_OneRemapApply)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
