// The main window while the keyboard comes and goes: what it reads back on
// arrival is what the keyboard holds, whatever the per-user folder allows.
#include "MainWindowFixture.h"

#include "config/AssignmentBlock.h"
#include "config/MacroArea.h"
#include "config/MacroFixtures.h"
#include "keyboard/DefaultKeyTable.h"

#include <QMessageBox>
#include <QTimer>
#include <QSocketNotifier>

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <set>
#include <thread>
#include "platform/InstanceListener.h"
#include "platform/TempFolder.h"
#include "shell/window/DownloadProgressBar.h"
#include "shell/window/MainWindowIds.h"

namespace quillmar::shell::testing {
namespace {

using namespace main_window;
using keyboard::AssignmentType;

constexpr int kSlotOfF1 = 0x3B;
constexpr int kButtonA = 1058;
constexpr int kSlotOfA = 0x1E;
constexpr int kSlotOfB = 0x30;

keyboard::KeyAssignment& workingRecord(config::Configuration& configuration, int profile, int slot) {
    return configuration.working.records()[static_cast<std::size_t>(config::assignmentRecordIndex(profile, slot))];
}

std::vector<std::uint8_t> keyBlock(sim::SimKeyboard& keyboard, int profile) {
    return keyboard.readMemory(sim::SimArea::KeyBlocks, static_cast<std::size_t>(profile) * 378, 378);
}

class KeyboardComesAndGoesTest : public MainWindowFixture {
protected:
    void changeKeyA() {
        {
            const auto lock = configuration.working.lock();
            workingRecord(configuration, 0, kSlotOfA) = {AssignmentType::Disabled};
        }
        window->markChanged();
    }
    keyboard::AssignmentType typeOf(int slot) {
        const auto lock = configuration.working.lock();
        return workingRecord(configuration, 0, slot).type;
    }

    void replug() {
        keyboard().unplug();
        ASSERT_TRUE(pumpUntil([this] { return window->link().presence().connectedCount() == 0; }));
        keyboard().plug();
        ASSERT_TRUE(pumpUntil([this] { return window->link().presence().connectedCount() == 1; }));
        pumpFor(20ms);
    }

    // The keyboard is pulled out in the middle of an Apply: the user is told, the
    // edits stay, and on the keyboard's return the user chooses which side wins.
    void unplugDuringApplyThenAnswer(bool writeThem) {
        if (!keyboard().plugged()) keyboard().plug();
        keyboard().resetToFactory();
        startWindow(true);
        changeKeyA();
        // Out as the request after BeginUpdate arrives: the update has begun and no key
        // block has landed. Any later and a piece of the edits may be on the keyboard,
        // which No then rightly shows.
        keyboard().unplugAfterRequests(1);
        window->OnCommand(kApply);
        ASSERT_FALSE(prompt.shown.empty());
        EXPECT_EQ(prompt.shown.back(), texts->text("MAIN_DOWNLOAD_INTERRUPTED", u""));
        EXPECT_TRUE(window->isApplyEnabled()) << "the edits are kept";

        ASSERT_TRUE(pumpUntil([this] { return window->link().presence().connectedCount() == 0; }));
        prompt.shown.clear();
        prompt.answers = {writeThem};
        keyboard().plug();
        ASSERT_TRUE(pumpUntil([this] { return window->link().presence().connectedCount() == 1; }));
        // The arrival may still be writing or reading when the count is known on a slow machine.
        const AssignmentType expected = writeThem ? AssignmentType::Disabled : AssignmentType::Default;
        EXPECT_TRUE(pumpUntil([&] { return typeOf(kSlotOfA) == expected && !window->isApplyEnabled(); }));
        ASSERT_FALSE(prompt.shown.empty());
        EXPECT_EQ(prompt.shown.front(), texts->text("MAIN_KEYBOARD_BACK_WITH_EDITS", u""));
        const bool onKeyboard = keyBlock(keyboard(), 0) != std::vector<std::uint8_t>(keyboard::kBuiltInDefaultKeyTable.begin(),
                                                                                     keyboard::kBuiltInDefaultKeyTable.end());
        EXPECT_EQ(onKeyboard, writeThem) << "Yes writes the edits, No takes the keyboard's";
        EXPECT_EQ(typeOf(kSlotOfA), expected);
        EXPECT_FALSE(window->isApplyEnabled());
        window.reset();
    }
};

// A macro header claiming more than the keyboard's memory is read as far as
// the memory goes, as quillmarctl reads it.
TEST_F(KeyboardComesAndGoesTest, AnOversizedMacroHeaderStillLoadsTheKeyboardsMacros) {
    auto area = config::buildMacroArea(config::testing::savedMacros({1, 2}), true);
    area[config::macro_area::kTotalSize] = 0xFF;
    area[config::macro_area::kTotalSize + 1] = 0xFF;
    keyboard().writeMemory(sim::SimArea::MacroArea, 0, area);
    startWindow(true);
    {
        const auto lock = configuration.working.lock();
        EXPECT_EQ(configuration.working.macros().size(), 2u) << "not the defaults";
    }
    EXPECT_TRUE(std::filesystem::exists(userFolder() / "$Profile0"));

    {
        const auto lock = configuration.working.lock();
        workingRecord(configuration, 0, kSlotOfF1) = {AssignmentType::Disabled};
    }
    window->markChanged();
    window->OnCommand(kApply);
    EXPECT_FALSE(window->isApplyEnabled());
}

// Tried by a user: a folder that cannot be written, one colour-key mark,
// Apply; the keyboard must keep the assignments it had.
TEST_F(KeyboardComesAndGoesTest, AnUnwritableFolderKeepsTheKeyboardsAssignmentsThroughApply) {
    startWindow(true);
    {
        const auto lock = configuration.working.lock();
        workingRecord(configuration, 0, kSlotOfF1) = {AssignmentType::Media, 0, 3};
    }
    window->markChanged();
    window->OnCommand(kApply);
    const auto remapped = keyBlock(keyboard(), 0);
    ASSERT_NE(remapped, std::vector<std::uint8_t>(keyboard::kBuiltInDefaultKeyTable.begin(),
                                                  keyboard::kBuiltInDefaultKeyTable.end()));

    // Root may write anywhere; a file where the folder should be stops everyone.
    std::filesystem::remove_all(userFolder());
    quillmar::testing::writeBytes(userFolder(), "not a folder");
    replug();
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_NE(prompt.shown[0].find(userFolder().u16string()), std::u16string::npos);
    {
        const auto lock = configuration.working.lock();
        EXPECT_EQ(workingRecord(configuration, 0, kSlotOfF1).type, AssignmentType::Media);
    }

    window->OnCommand(kSwitch);
    window->OnCommand(kButtonA);
    window->OnCommand(kApply);
    EXPECT_EQ(keyBlock(keyboard(), 0), remapped) << "the keyboard keeps F1";
    EXPECT_FALSE(window->isApplyEnabled()) << "the keyboard took it; the folder was already told about";
    {
        const auto lock = configuration.working.lock();
        EXPECT_EQ(workingRecord(configuration, 0, kSlotOfF1).type, AssignmentType::Media);
    }
    replug();
    {
        const auto lock = configuration.working.lock();
        EXPECT_EQ(workingRecord(configuration, 0, kSlotOfF1).type, AssignmentType::Media) << "F1 is still on the keyboard";
    }
    EXPECT_EQ(prompt.shown.size(), 1u) << "told once";
}

// The window in the tray and quillmarctl in a script beside it, on the one
// simulated keyboard: the window shows the tool's remap, and neither
// program's write undoes the other's.
TEST_F(KeyboardComesAndGoesTest, AQuillmarctlRemapShowsInTheRunningWindowAndNothingIsLost) {
    startWindow(true);
    const auto listener = platform::InstanceListener::listen(
        folder_.path() / "runtime", static_cast<int>(::getpid()), [this](const platform::InstanceMessage& message) {
            if (platform::isInstanceRequest(message)) window->SendWindowMessage(message.message, message.wParam, message.lParam);
        });
    ASSERT_NE(listener, nullptr);
    QSocketNotifier notifier(listener->fd(), QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, [&] { listener->acceptOne(); });

    const auto assign = [this](int slot) {
        {
            const auto lock = configuration.working.lock();
            workingRecord(configuration, 0, slot) = {AssignmentType::Disabled};
        }
        window->markChanged();
        window->OnCommand(kApply);
        ASSERT_FALSE(window->isApplyEnabled());
    };
    const auto typeOf = [this](int slot) {
        const auto lock = configuration.working.lock();
        return workingRecord(configuration, 0, slot).type;
    };
    assign(kSlotOfA);

    // The tool runs beside the window, whose events keep being handled.
    const std::string command = "XDG_DOCUMENTS_DIR='" + (folder_.path() / "tool-documents").string() + "' '" +
                                (programDirectory() / "quillmarctl").string() + "' --device sim remap F1 media:3";
    std::atomic<int> status{-1};
    std::atomic<bool> toolEnded{false};
    std::thread tool([&] {
        status = std::system(command.c_str());
        toolEnded = true;
    });
    const bool ended = pumpUntil([&] { return toolEnded.load(); }, 20s);
    tool.join();
    ASSERT_TRUE(ended);
    EXPECT_EQ(status.load(), 0);
    EXPECT_TRUE(pumpUntil([&] { return typeOf(kSlotOfF1) == AssignmentType::Media; }))
        << "the window read the keyboard again";
    EXPECT_EQ(typeOf(kSlotOfA), AssignmentType::Disabled) << "the tool kept the window's remap";

    assign(kSlotOfB);
    replug();
    EXPECT_EQ(typeOf(kSlotOfF1), AssignmentType::Media) << "the window's Apply kept the tool's remap";
    EXPECT_EQ(typeOf(kSlotOfA), AssignmentType::Disabled);
    EXPECT_EQ(typeOf(kSlotOfB), AssignmentType::Disabled);
}

// A slow keyboard: while Apply downloads, the window keeps drawing, the busy
// indicator turns and the progress counts the commands.
TEST_F(KeyboardComesAndGoesTest, AnApplyRepaintsAndShowsProgressWhileItDownloads) {
    startWindow();
    ASSERT_TRUE(pumpUntil([this] { return window->isVisible(); }));
    changeKeyA();
    keyboard().setLatency(20ms);  // about ten commands: several of the indicator's ticks
    std::set<int> framesSeen;
    int progressSeen = 0;
    int total = 0;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (!window->isDownloading()) return;
        framesSeen.insert(window->busyIndicatorFrame());
        if (window->downloadProgress()->isVisible()) {
            progressSeen = std::max(progressSeen, window->downloadProgress()->done());
            total = window->downloadProgress()->total();
        }
    });
    watcher.start(5);
    window->OnCommand(kApply);
    keyboard().setLatency(0ms);

    EXPECT_GE(framesSeen.size(), 2u) << "the indicator animated during the download";
    EXPECT_GT(progressSeen, 0);
    EXPECT_GT(total, progressSeen / 2);
    EXPECT_FALSE(window->isApplyEnabled());
    EXPECT_FALSE(window->downloadProgress()->isVisible());
    EXPECT_EQ(typeOf(kSlotOfA), AssignmentType::Disabled);
}

TEST_F(KeyboardComesAndGoesTest, AnUnplugDuringApplyIsToldAndYesWritesTheEditsOnReturn) {
    unplugDuringApplyThenAnswer(true);
}

TEST_F(KeyboardComesAndGoesTest, AnUnplugDuringApplyIsToldAndNoTakesTheKeyboardsOnReturn) {
    unplugDuringApplyThenAnswer(false);
}

TEST_F(KeyboardComesAndGoesTest, ANoKeyboardMessageClosesItselfWhenTheKeyboardArrives) {
    keyboard().unplug();
    startWindow();
    QMessageBox noKeyboard(QMessageBox::Information, QString(),
                           QString::fromStdU16String(texts->text("MAIN_NO_DEVICE_PROMPT", u"")));
    QMessageBox other(QMessageBox::Information, QString(), QStringLiteral("something else"));
    noKeyboard.setAttribute(Qt::WA_DontShowOnScreen);
    other.setAttribute(Qt::WA_DontShowOnScreen);
    noKeyboard.show();
    other.show();
    keyboard().plug();
    EXPECT_TRUE(pumpUntil([&] { return !noKeyboard.isVisible(); }));
    EXPECT_TRUE(other.isVisible()) << "other messages stay";
}

// Closing with edits the keyboard lacks asks first; "/Kill" does not.
TEST_F(KeyboardComesAndGoesTest, ClosingWithUnappliedEditsAsksFirst) {
    startWindow(true);
    changeKeyA();
    bool ended = false;
    QObject::connect(window.get(), &CQuillmarDlg::modalRunEnded, [&] { ended = true; });

    prompt.answers = {false};  // No: the prompt here offers no "go back"
    window->OnCommand(kClose);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0], texts->text("MAIN_CLOSE_WITH_EDITS", u""));
    EXPECT_TRUE(ended);
    EXPECT_EQ(keyBlock(keyboard(), 0), std::vector<std::uint8_t>(keyboard::kBuiltInDefaultKeyTable.begin(),
                                                                  keyboard::kBuiltInDefaultKeyTable.end()))
        << "discarded";
}

TEST_F(KeyboardComesAndGoesTest, TheUndoHistoryStaysForTheSameKeyboardAndGoesForAChangedOne) {
    startWindow(true);
    changeKeyA();
    window->OnCommand(kApply);
    const auto disabled = keyBlock(keyboard(), 0);
    prompt.answers = {true};
    window->OnCommand(kRestoreDefaults);
    ASSERT_TRUE(window->editHistory().canUndo());

    replug();
    EXPECT_TRUE(window->editHistory().canUndo()) << "the keyboard came back as it left";

    keyboard().unplug();
    ASSERT_TRUE(pumpUntil([this] { return window->link().presence().connectedCount() == 0; }));
    keyboard().writeMemory(sim::SimArea::KeyBlocks, 0, disabled);
    keyboard().plug();
    ASSERT_TRUE(pumpUntil([this] { return window->link().presence().connectedCount() == 1; }));
    ASSERT_TRUE(pumpUntil([this] { return typeOf(kSlotOfA) == AssignmentType::Disabled; }));
    EXPECT_FALSE(window->editHistory().canUndo()) << "another configuration came back";
    EXPECT_FALSE(window->undo());
}

}  // namespace
}  // namespace quillmar::shell::testing
