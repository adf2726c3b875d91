#pragma once

// The real main window on the simulated keyboard, linked into the test, with
// its message boxes and file dialogs answered by the test.
#include "config/Configuration.h"
#include "device/LinkTiming.h"
#include "hidlane/SimTestSupport.h"
#include "hidlane/sim/SimKeyboard.h"
#include "platform/UserSettings.h"
#include "text/IniFile.h"
#include "text/StringTable.h"
#include "shell/widgets/CPngButton.h"
#include "shell/window/CQuillmarDlg.h"
#include "support/AnsweringPrompt.h"
#include "support/LinkedSimService.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace quillmar::shell::testing {

using namespace std::chrono_literals;

using quillmar::testing::AnsweringPrompt;

class AnsweringFileChooser final : public FileChooser {
public:
    std::optional<std::filesystem::path> importPath;
    std::optional<std::filesystem::path> exportPath;
    int asked = 0;

    std::optional<std::filesystem::path> chooseFileToImport() override { return ++asked, importPath; }
    std::optional<std::filesystem::path> chooseFileToExport() override { return ++asked, exportPath; }

    std::optional<std::filesystem::path> newProfilePath;
    std::optional<std::filesystem::path> loadProfilePath;
    std::filesystem::path initialName;
    std::optional<std::filesystem::path> chooseNewProfileFile(const std::filesystem::path& initial) override {
        return ++asked, initialName = initial, newProfilePath;
    }
    std::optional<std::filesystem::path> chooseProfileFileToLoad(const std::filesystem::path& initial) override {
        return ++asked, initialName = initial, loadProfilePath;
    }
};

// Answers the backups list with the newest entry, or closes it.
class AnsweringBackupChooser final : public BackupChooser {
public:
    bool chooseNewest = false;
    std::vector<profiles::BackupEntry> offered;
    std::optional<std::string> chooseBackupToRestore(const std::vector<profiles::BackupEntry>& entries) override {
        offered = entries;
        if (!chooseNewest || entries.empty()) return std::nullopt;
        return entries.front().name;
    }
};

// Keeps the lighting panel's notices.
class RecordingLightingPanel final : public LightingPanelHooks {
public:
    std::vector<int> paintedKeys;
    std::vector<int> controls;
    int previewSteps = 0;
    void onControl(int controlId) override { controls.push_back(controlId); }
    void paintKey(int buttonId) override { paintedKeys.push_back(buttonId); }
    void previewStep() override { ++previewSteps; }
};

// Runs the window thread's events until the condition holds or time is up.
inline bool pumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 5s) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

inline void pumpFor(std::chrono::milliseconds time) {
    pumpUntil([] { return false; }, time);
}

class MainWindowFixture : public ::testing::Test {
public:
    sim::SimKeyboard& keyboard() { return sim::sharedSimKeyboard(); }

protected:
    void SetUp() override {
        ::setenv("QUILLMAR_SIM_STATE", (folder_.path() / "sim-keyboard.bin").c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", (folder_.path() / "runtime").c_str(), 1);  // the keyboard's lock
        for (const char* name : {"QUILLMAR_SIM_TRACE", "QUILLMAR_SIM_CONTROL", "QUILLMAR_SIM_UNPLUGGED"})
            ::unsetenv(name);
        std::filesystem::create_directories(userFolder());
        writeLanguage(1);
        ASSERT_GT(Init(0), 0);
    }

    void TearDown() override {
        window.reset();
        End();
        ::unsetenv("QUILLMAR_SIM_STATE");
        ::unsetenv("XDG_RUNTIME_DIR");
    }

    // The window as the application starts it; waits for the keyboard's
    // arrival when one is plugged in.
    void startWindow(bool startHidden = false) {
        if (!keyboard().started()) {
            ASSERT_GT(Init(0), 0);
        }
        texts = std::make_unique<text::StringTable>(languageFile());
        texts->LoadStringTable();
        window = std::make_unique<CQuillmarDlg>(
            MainWindowSetup{programDirectory(), userFolder(), *texts, settings, configuration});
        // Shown windows take part in every check but draw nothing: drawing
        // would bring in Qt's own image threads.
        window->setAttribute(Qt::WA_DontShowOnScreen);
        window->setPrompt(prompt);
        window->setFileChooser(files);
        window->setBackupChooser(backups);
        if (recordLightingPanel) window->setLightingPanel(lightingPanel);
        window->setTrayAvailability([] { return true; });
        window->setCompositeOpener([this](const CompositeRequest& request) { compositeRequests.push_back(request); });
        if (startHidden) window->setStartHidden();
        ASSERT_TRUE(window->OnInitDialog(quillmar::testing::linkedSimService(), timing()));
        ASSERT_TRUE(pumpUntil([this] { return window->isInitialised(); }));
        if (keyboard().plugged()) {
            ASSERT_TRUE(pumpUntil([this] { return window->link().presence().connectedCount() == 1; }));
        }
        pumpFor(20ms);
        prompt.shown.clear();
    }

    static device::LinkTiming timing() { return device::LinkTiming{500ms, 1ms, 20ms, 1ms, 1ms, 1ms}; }

    CPngButton& button(int id) {
        CPngButton* found = window->button(id);
        EXPECT_NE(found, nullptr) << id;
        return *found;
    }

    // The number of requests the keyboard has received since the trace was cleared.
    std::size_t requestCount() {
        std::size_t count = 0;
        for (const std::string& line : keyboard().traceLines()) count += line.rfind("> ", 0) == 0 ? 1 : 0;
        return count;
    }

    std::filesystem::path programDirectory() const { return std::filesystem::current_path(); }
    std::filesystem::path userFolder() const { return folder_.path() / "Gaming Keyboard"; }
    // A copy of the program's language file whose language value the test sets.
    std::filesystem::path languageFile() const { return folder_.path() / "language.ini"; }

    void writeLanguage(int language) {
        std::filesystem::copy_file(programDirectory() / "Skins" / "language.ini", languageFile(),
                                   std::filesystem::copy_options::overwrite_existing);
        text::writeIniNumber(languageFile(), "LANGUAGE", "language", language);
    }

    sim::test::TemporaryFolder folder_;
    platform::FakeUserSettings settings;
    config::Configuration configuration;
    AnsweringPrompt prompt;
    AnsweringFileChooser files;
    AnsweringBackupChooser backups;
    RecordingLightingPanel lightingPanel;
    bool recordLightingPanel = true;  // false: the window's own lighting panel
    std::vector<CompositeRequest> compositeRequests;
    std::unique_ptr<text::StringTable> texts;
    std::unique_ptr<CQuillmarDlg> window;
};

}  // namespace quillmar::shell::testing
