// The lighting preview and the per-key colours.
//
// BM_PreviewStep: one preview step of an effect over the 138 grid cells and
// the 115 preview buttons, with the changed buttons handed to an empty sink
// (arg: effect id; target 20 µs).
//
// BM_UploadKeyColours: the eight-chunk upload of a profile's key colours
// against the simulated keyboard answering after 1 ms. Its floor, reported
// beside it, is one latency per transaction (10) plus the pause before
// EndUpdate (target 1.05 x floor).
//
// BM_ChangeBaseColour: a base colour change over every key of a scheme that
// follows the base colour: the table, one write of the scheme file, one
// upload, against the simulated keyboard answering at once (target 20 ms).

#include "device/DeviceLink.h"
#include "hidlane/sim/SimKeyboard.h"
#include "lighting/KeyColours.h"
#include "lighting/LightingPreview.h"
#include "support/LinkedSimService.h"
#include "support/QuietWindow.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>
#include <unistd.h>

namespace {

using namespace quillmar;
using namespace std::chrono_literals;

void BM_PreviewStep(benchmark::State& state) {
    lighting::LightingPreview preview;
    const int effect = static_cast<int>(state.range(0));
    const lighting::PreviewParameters parameters{effect, 255, lighting::colourFromRgb(0, 128, 255), state.range(1) != 0};
    std::size_t handed = 0;
    const lighting::LightingPreview::LookSink sink = [&handed](std::span<const lighting::ButtonLook> looks) {
        handed += looks.size();
    };
    for (auto _ : state) preview.PreviewStep(parameters, sink);
    benchmark::DoNotOptimize(handed);
}
BENCHMARK(BM_PreviewStep)
    ->ArgsProduct({{1, 2, 3, 4, 5, 6, 7, 10, 11, 12, 13, 14, 15, 16, 18, 20}, {0, 1}})
    ->ArgNames({"effect", "multicolour"});

using testing::QuietPrompt;
using testing::QuietWindow;

// The simulated keyboard behind its linked entry points, with a state file
// and a per-user folder of its own.
class SimulatedKeyboard {
public:
    explicit SimulatedKeyboard(std::chrono::milliseconds latency) {
        char folder[] = "/tmp/quillmar-bench-XXXXXX";
        folder_ = ::mkdtemp(folder) ? folder : std::filesystem::temp_directory_path().string();
        std::filesystem::create_directories(folder_ / "Gaming Keyboard");
        ::setenv("QUILLMAR_SIM_STATE", (folder_ / "sim-keyboard.bin").c_str(), 1);
        Init(0);
        sim::sharedSimKeyboard().setLatency(latency);
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
    device::DeviceCommands& commands() { return link_->commands(); }
    profiles::UserFolder userFolder() const { return profiles::UserFolder(folder_ / "Gaming Keyboard"); }

private:
    std::filesystem::path folder_;
    const device::HidService service_ = quillmar::testing::linkedSimService();
    QuietWindow window_;
    QuietPrompt prompt_;
    text::BuiltInTexts texts_;
    std::unique_ptr<device::DeviceLink> link_;
};

void BM_UploadKeyColours(benchmark::State& state) {
    SimulatedKeyboard keyboard(1ms);
    lighting::KeyColours colours(keyboard.commands(), keyboard.userFolder(), "");
    for (auto _ : state) {
        if (colours.UploadKeyColours(0) != 1) {
            state.SkipWithError("upload failed");
            break;
        }
    }
    const device::LinkTiming timing;
    constexpr int kTransactions = 1 + lighting::kKeyColourChunks + 1;
    state.counters["transactions"] = kTransactions;
    state.counters["floor_ms"] = static_cast<double>(kTransactions * 1 + timing.endUpdatePause.count());
}
BENCHMARK(BM_UploadKeyColours)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ChangeBaseColour(benchmark::State& state) {
    SimulatedKeyboard keyboard(0ms);
    const profiles::UserFolder folder = keyboard.userFolder();
    // A scheme file as the template holds it: every key following the base colour.
    {
        std::ofstream file(folder.colourFile(0));
        file << "[PRESENTMODE]\nmode=0\n[Mode0]\ntool=0\njcolor=0,0,0\ncolor=255,255,255\n";
        for (int position = 0; position < lighting::kLightingPositions; ++position)
            file << position << "=0,0,0,1\n";
    }
    lighting::KeyColours colours(keyboard.commands(), folder, "");
    colours.loadColourScheme(0);
    std::uint8_t shade = 0;
    for (auto _ : state) {
        ++shade;
        const auto looks = colours.ChangeBaseColour(0, lighting::colourFromRgb(shade, 0, 255));
        if (looks.empty()) {
            state.SkipWithError("no key followed the base colour");
            break;
        }
    }
}
BENCHMARK(BM_ChangeBaseColour)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
