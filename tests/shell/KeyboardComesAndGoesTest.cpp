// The main window while the keyboard comes and goes: what it reads back on
// arrival is what the keyboard holds, whatever the per-user folder allows.
#include "MainWindowFixture.h"

#include "config/AssignmentBlock.h"
#include "config/MacroArea.h"
#include "config/MacroFixtures.h"
#include "keyboard/DefaultKeyTable.h"
#include "platform/TempFolder.h"
#include "shell/window/MainWindowIds.h"

namespace quillmar::shell::testing {
namespace {

using namespace main_window;
using keyboard::AssignmentType;

constexpr int kSlotOfF1 = 0x3A;
constexpr int kButtonA = 1058;

keyboard::KeyAssignment& workingRecord(config::Configuration& configuration, int profile, int slot) {
    return configuration.working.records()[static_cast<std::size_t>(config::assignmentRecordIndex(profile, slot))];
}

std::vector<std::uint8_t> keyBlock(sim::SimKeyboard& keyboard, int profile) {
    return keyboard.readMemory(sim::SimArea::KeyBlocks, static_cast<std::size_t>(profile) * 378, 378);
}

class KeyboardComesAndGoesTest : public MainWindowFixture {
protected:
    void replug() {
        keyboard().unplug();
        ASSERT_TRUE(pumpUntil([this] { return window->link().presence().connectedCount() == 0; }));
        keyboard().plug();
        ASSERT_TRUE(pumpUntil([this] { return window->link().presence().connectedCount() == 1; }));
        pumpFor(20ms);
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

}  // namespace
}  // namespace quillmar::shell::testing
