// BM_ApplyPreviewStep: the main window, offscreen on the simulated keyboard
// with its lighting panel open, running one preview step: the step, the
// changed key buttons given their colour, and the repaint that follows
// (arg: effect id; target 2 ms).

#include "config/Configuration.h"
#include "hidlane/hidlane.h"
#include "hidlane/sim/SimKeyboard.h"
#include "platform/UserSettings.h"
#include "text/StringTable.h"
#include "shell/window/CQuillmarDlg.h"
#include "shell/window/LightingPanelWindow.h"
#include "support/LinkedSimService.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <unistd.h>

namespace {

using namespace quillmar;
using namespace std::chrono_literals;

std::filesystem::path programDirectory() {
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::current_path() : executable.parent_path();
}

void BM_ApplyPreviewStep(benchmark::State& state) {
    char folderName[] = "/tmp/quillmar-bench-XXXXXX";
    const std::filesystem::path folder = ::mkdtemp(folderName) ? folderName : "/tmp";
    ::setenv("QUILLMAR_SIM_STATE", (folder / "sim-keyboard.bin").c_str(), 1);
    std::filesystem::create_directories(folder / "Gaming Keyboard");
    Init(0);
    {
        text::StringTable texts(programDirectory() / "Skins" / "language.ini");
        texts.LoadStringTable();
        platform::FakeUserSettings settings;
        config::Configuration configuration;
        shell::CQuillmarDlg window({programDirectory(), folder / "Gaming Keyboard", texts, settings, configuration});
        window.setStartHidden();
        if (!window.OnInitDialog(quillmar::testing::linkedSimService())) {
            state.SkipWithError("the window could not start");
        } else {
            while (window.link().presence().connectedCount() == 0) QApplication::processEvents(QEventLoop::AllEvents, 5);
            window.show();
            window.lighting().state().effect = static_cast<int>(state.range(0));
            window.lighting().state().multicolour = true;
            window.OnCommand(1167);  // the lamp: the panel opens
            QApplication::processEvents();
            for (auto _ : state) {
                window.lightingPanel()->previewStep();
                QApplication::processEvents();
            }
        }
    }
    End();
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}
BENCHMARK(BM_ApplyPreviewStep)->Arg(1)->Arg(4)->Arg(10)->Arg(13)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
