// The keyboard pulled out at every request of what the window sends it. Each
// operation is run whole once to count its requests; then, once per request,
// on a fresh keyboard, folder and window, the keyboard is pulled out as that
// request arrives. The window must tell what the behaviour tells, keep the
// Apply state right and every per-user file whole; and once the keyboard is
// back it must show what the keyboard holds.
#include "MainWindowFixture.h"

#include "config/AssignmentBlock.h"
#include "config/KeyBlockImage.h"
#include "config/LittleEndian.h"
#include "config/MacroArea.h"
#include "config/MacroFixtures.h"
#include "lighting/EffectList.h"
#include "lighting/EffectTable.h"
#include "lighting/LightingState.h"
#include "platform/TempFolder.h"
#include "profiles/ProfileFile.h"
#include "shell/widgets/CBitmapSlider.h"
#include "shell/widgets/CColourPickerButton.h"
#include "shell/window/MainWindowIds.h"
#include "hidlane/sim/SimMemory.h"

#include <QComboBox>

#include <algorithm>
#include <map>

namespace quillmar::shell::testing {
namespace {

using namespace main_window;
using keyboard::AssignmentType;
using Bytes = std::vector<std::uint8_t>;
using FolderFiles = std::map<std::filesystem::path, std::string>;

constexpr int kLamp = 1167;
constexpr int kEffectList = 1146;
constexpr int kBrightness = 1178;
constexpr int kBaseColour = 1162;
constexpr int kSchemeList = 1198;
constexpr int kButtonA = 1058;
constexpr int kSlotOfA = 0x1E;
constexpr int kFailedCasesShown = 3;  // a table stops after this many failing cases

// The files of the per-user folder but its backups, which are named by the
// time they were made (expectWholeBackups looks at those).
FolderFiles filesIn(const std::filesystem::path& folder) {
    FolderFiles files;
    for (auto entry = std::filesystem::recursive_directory_iterator(folder); entry != decltype(entry)(); ++entry) {
        if (entry->is_directory() && entry->path().filename() == "Backups") {
            entry.disable_recursion_pending();
        } else if (entry->is_regular_file()) {
            files[std::filesystem::relative(entry->path(), folder)] = quillmar::testing::readBytes(entry->path());
        }
    }
    return files;
}

// A backup is there whole or not at all.
void expectWholeBackups(const std::filesystem::path& folder) {
    const std::filesystem::path backups = folder / "Backups";
    if (!std::filesystem::exists(backups)) return;
    for (const auto& entry : std::filesystem::directory_iterator(backups)) {
        EXPECT_NE(entry.path().filename().string().front(), '.') << "a backup left half made";
        for (const char* file : {"profile.kbp", "lighting.bin", "backup.ini"})
            EXPECT_TRUE(std::filesystem::exists(entry.path() / file)) << entry.path() << " lacks " << file;
    }
}

// One operation of the window: what its cases start from and what it does.
struct Operation {
    std::function<void()> prepare;  // on the started window, before the requests are counted
    std::function<void()> run;      // returns when the operation is over
};

// The operation run whole on a fresh case.
struct CleanRun {
    int requests = 0;
    FolderFiles files;        // the per-user folder afterwards
    Bytes keyBlocks;          // the keyboard's key blocks afterwards
    Bytes macroArea;          // and its macro area
};

class UnplugCampaignTest : public MainWindowFixture {
protected:
    UnplugCampaignTest() { recordLightingPanel = false; }

    // A fresh keyboard, per-user folder and window, prepared for the operation.
    void startCase(const Operation& operation) {
        window.reset();
        End();
        std::filesystem::remove(folder_.path() / "sim-keyboard.bin");
        std::filesystem::remove_all(userFolder());
        std::filesystem::create_directories(userFolder());
        prompt = {};
        ASSERT_GT(Init(0), 0);
        keyboard().setLatency(0ms);  // some hundred cases: no time to lose
        if (keyboardContent) keyboardContent();
        startWindow(true);
        if (operation.prepare) operation.prepare();
    }

    // Waits until the presence checks are done and the window follows the keyboard.
    bool settle() {
        return pumpUntil([this] {
            const auto& presence = window->link().presence();
            return presence.connectedCount() == (keyboard().plugged() ? 1 : 0) && !presence.isChecking();
        });
    }

    CleanRun runClean(const Operation& operation) {
        startCase(operation);
        keyboard().clearTrace();
        operation.run();
        EXPECT_TRUE(settle());
        EXPECT_TRUE(keyboard().plugged());
        return {static_cast<int>(requestCount()), filesIn(userFolder()), keyboard().readMemory(sim::SimArea::KeyBlocks),
                keyboard().readMemory(sim::SimArea::MacroArea)};
    }

    // The campaign: the operation with the keyboard pulled out at each of its
    // requests in turn. whileOut checks what the operation left before the
    // keyboard returns; on its return the question about unapplied edits is
    // answered No and Yes by turns.
    void runCampaign(const Operation& operation, const std::function<void(int index, const CleanRun&)>& whileOut) {
        const CleanRun clean = runClean(operation);
        ASSERT_FALSE(HasFailure()) << "the clean run";
        ASSERT_GT(clean.requests, 0);
        const auto failures = [] {
            return ::testing::UnitTest::GetInstance()->current_test_info()->result()->total_part_count();
        };
        int failedCases = 0;
        for (int index = 0; index < clean.requests && failedCases < kFailedCasesShown; ++index) {
            SCOPED_TRACE("pulled out at request " + std::to_string(index) + " of " + std::to_string(clean.requests));
            const int failuresBefore = failures();
            runCase(operation, index, clean, whileOut);
            if (failures() != failuresBefore) ++failedCases;
        }
    }

    void runCase(const Operation& operation, int index, const CleanRun& clean,
                 const std::function<void(int, const CleanRun&)>& whileOut) {
        ASSERT_NO_FATAL_FAILURE(startCase(operation));
        const FolderFiles before = filesIn(userFolder());
        keyboard().unplugAfterRequests(index);
        operation.run();
        ASSERT_TRUE(settle());
        ASSERT_FALSE(keyboard().plugged()) << "the keyboard left during the operation";
        expectWholeFiles(before, clean.files);
        if (whileOut) whileOut(index, clean);

        const bool editsWaiting = window->isApplyEnabled();
        prompt.shown.clear();
        prompt.answers = {index % 2 == 1};
        keyboard().plug();
        ASSERT_TRUE(settle());
        if (editsWaiting) {
            ASSERT_FALSE(prompt.shown.empty());
            EXPECT_EQ(prompt.shown.front(), texts->text("MAIN_KEYBOARD_BACK_WITH_EDITS", u""));
        }
        expectWindowShowsTheKeyboard();
    }

    // Every file is the one from before or the one the whole operation leaves;
    // no temporary file is left over.
    void expectWholeFiles(const FolderFiles& before, const FolderFiles& after) {
        for (const auto& [name, content] : filesIn(userFolder())) {
            const auto old = before.find(name);
            const auto whole = after.find(name);
            const bool isOld = old != before.end() && old->second == content;
            const bool isNew = whole != after.end() && whole->second == content;
            EXPECT_TRUE(isOld || isNew) << name << " is neither the old nor the new file";
        }
        expectWholeBackups(userFolder());
    }

    void expectWindowShowsTheKeyboard() {
        const Bytes info = keyboard().readMemory(sim::SimArea::DeviceInfo);
        const int active = info[sim::kActiveProfileByte];
        EXPECT_FALSE(window->isApplyEnabled());
        for (int profile = 0; profile < device::kProfileCount; ++profile)
            EXPECT_EQ(button(kFirstProfileButton + profile).isSelected(), profile == active) << profile;
        expectAssignmentsOfTheKeyboard(active);
        expectLightingOfTheKeyboard(active, info);
        expectKeyColoursOfTheKeyboard(active);
    }

    void expectAssignmentsOfTheKeyboard(int active) {
        const auto held = configuration.working.lock();
        const config::ConfigStore& working = configuration.working;
        const auto defaults = window->link().presence().defaultKeyTable();
        const auto macroPosition = [&working](std::uint32_t id) { return working.findMacroIndexById(id); };
        for (int profile = 0; profile < device::kProfileCount; ++profile) {
            const auto records = working.records()
                                     .subspan(static_cast<std::size_t>(config::assignmentRecordIndex(profile, 0)))
                                     .first<keyboard::kSlotsPerProfile>();
            const auto block = config::buildKeyBlock(records, defaults, macroPosition);
            EXPECT_EQ(Bytes(block.begin(), block.end()),
                      keyboard().readMemory(sim::SimArea::KeyBlocks, static_cast<std::size_t>(profile) * 378, 378))
                << "key block of profile " << profile;
            if (profile == active) {
                EXPECT_EQ(button(kButtonA).isSelected(), records[kSlotOfA].type != AssignmentType::Default);
            }
        }
        const Bytes onKeyboard = keyboard().readMemory(sim::SimArea::MacroArea);
        if (config::loadU16(onKeyboard, config::macro_area::kMagic) != config::kMacroAreaMagic) {
            EXPECT_TRUE(working.macros().empty());
            return;
        }
        // The keyboard's area may carry the names or not; the macros are the same.
        const auto holds = [&](const Bytes& area) {
            return area.size() <= onKeyboard.size() && std::equal(area.begin(), area.end(), onKeyboard.begin());
        };
        EXPECT_TRUE(holds(config::buildMacroArea(working.macros(), true)) ||
                    holds(config::buildMacroArea(working.macros(), false)))
            << "the macros the window holds are the keyboard's";
    }

    void expectLightingOfTheKeyboard(int active, const Bytes& info) {
        lighting::LightingState expected = window->lighting().state();
        expected.profile = active;
        std::copy(info.begin() + sim::kEffectListByte, info.end(), expected.effects.begin());
        const Bytes records = keyboard().readMemory(sim::SimArea::Settings);
        for (std::size_t profile = 0; profile < expected.mirror.size(); ++profile)
            std::copy_n(records.begin() + static_cast<std::ptrdiff_t>(profile * sim::kSettingsRecordBytes),
                        sim::kSettingsRecordBytes, expected.mirror[profile].begin());
        lighting::applyLightingRecord(expected, expected.mirror[static_cast<std::size_t>(active)]);
        EXPECT_EQ(window->lighting().state(), expected) << "the lighting the window shows";
        EXPECT_EQ(slider(kBrightness).position(), expected.brightness);
    }

    void expectKeyColoursOfTheKeyboard(int active) {
        const auto& effects = window->lighting().state().effects;
        if (std::ranges::find(effects, lighting::kPerKeyColourEffect) == effects.end()) return;
        const Bytes colours = keyboard().readMemory(sim::SimArea::KeyColours, static_cast<std::size_t>(active) * 512,
                                                    lighting::kLightingPositions * 3);
        int differing = 0;
        for (int position = 0; position < lighting::kLightingPositions; ++position) {
            const auto at = static_cast<std::size_t>(position) * 3;
            const auto colour = lighting::colourFromRgb(colours[at], colours[at + 1], colours[at + 2]);
            differing += window->keyColours().keyColour(active, position).colour != colour ? 1 : 0;
        }
        EXPECT_EQ(differing, 0) << "key colours the window holds that the keyboard does not";
    }

    CBitmapSlider& slider(int id) { return *qobject_cast<CBitmapSlider*>(window->control(id)); }

    void openPanel() {
        if (!window->lighting().state().panelOpen) window->OnCommand(kLamp);
        ASSERT_TRUE(window->lighting().state().panelOpen);
    }

    void chooseEffect(int effect) {
        auto* list = qobject_cast<QComboBox*>(window->control(kEffectList));
        list->setCurrentIndex(lighting::EffectIndexMap(window->lighting().state().effects).positionOf(effect));
        window->OnCommand(kEffectList);
    }

    void chooseColour(int buttonId, lighting::ColourValue colour) {
        qobject_cast<CColourPickerButton*>(window->control(buttonId))->setColour(static_cast<std::int32_t>(colour));
        window->OnCommand(buttonId);
    }

    AssignmentType workingType(int profile, int slot) {
        const auto held = configuration.working.lock();
        return configuration.working.records()[static_cast<std::size_t>(config::assignmentRecordIndex(profile, slot))].type;
    }

    void disableKeyA() {
        {
            const auto held = configuration.working.lock();
            configuration.working.records()[static_cast<std::size_t>(config::assignmentRecordIndex(0, kSlotOfA))] = {
                AssignmentType::Disabled};
        }
        window->refreshKeyButtons(0);
        window->markChanged();
    }

    // A download cut short keeps the edits and says so; one that says it is
    // done left the keyboard with all of it.
    void expectDownloadToldOrWhole(const CleanRun& clean, int profilesEdited) {
        if (window->isApplyEnabled()) {
            ASSERT_FALSE(prompt.shown.empty());
            EXPECT_EQ(prompt.shown.back(), texts->text("MAIN_DOWNLOAD_INTERRUPTED", u""));
            for (int profile = 0; profile < profilesEdited; ++profile)
                EXPECT_EQ(workingType(profile, kSlotOfA), AssignmentType::Disabled) << "the edits are kept";
        } else {
            EXPECT_EQ(keyboard().readMemory(sim::SimArea::KeyBlocks), clean.keyBlocks);
            EXPECT_EQ(keyboard().readMemory(sim::SimArea::MacroArea), clean.macroArea);
        }
    }

    std::function<void()> keyboardContent;  // run on each fresh keyboard before the window starts
};

TEST_F(UnplugCampaignTest, ApplysDownload) {
    const Operation apply{[this] { disableKeyA(); }, [this] { window->OnCommand(kApply); }};
    runCampaign(apply, [this](int index, const CleanRun& clean) {
        if (index == 0) {
            EXPECT_TRUE(window->isApplyEnabled()) << "nothing reached the keyboard";
        }
        expectDownloadToldOrWhole(clean, 1);
    });
}

// The import file keys A off in all three profiles and holds no macros.
TEST_F(UnplugCampaignTest, ImportOfAllProfiles) {
    const std::filesystem::path importFile = folder_.path() / "three-profiles.kbp";
    {
        config::ConfigStore store;
        profiles::installDefaultConfiguration(store);
        for (int profile = 0; profile < device::kProfileCount; ++profile)
            store.records()[static_cast<std::size_t>(config::assignmentRecordIndex(profile, kSlotOfA))] = {
                AssignmentType::Disabled};
        ASSERT_EQ(profiles::writeConfigurationFile(store, importFile), 1);
    }
    const Operation import{[this, importFile] { files.importPath = importFile; },
                           [this] { window->OnCommand(kCommandImport); }};
    runCampaign(import, [this](int index, const CleanRun& clean) {
        const auto& shown = prompt.shown;
        if (std::find(shown.begin(), shown.end(), texts->text("BACKUP_NOT_MADE", u"")) != shown.end()) {
            // Gone while its configuration was being kept: the import asks first, and No leaves all as it was.
            EXPECT_FALSE(window->isApplyEnabled());
            EXPECT_NE(workingType(0, kSlotOfA), AssignmentType::Disabled);
            const sim::SimMemory factory = sim::factorySimMemory();
            EXPECT_TRUE(std::ranges::equal(keyboard().readMemory(sim::SimArea::KeyBlocks), factory.keyBlocks));
            return;
        }
        EXPECT_GT(index, 0) << "the backup's first read found no keyboard, yet nothing asked";
        expectDownloadToldOrWhole(clean, device::kProfileCount);
    });
}

TEST_F(UnplugCampaignTest, ALightingWrite) {
    const Operation brightness{[this] { openPanel(); },
                               [this] { window->SendWindowMessage(kMessageSliderMoved, kBrightness, 2); }};
    runCampaign(brightness, [this](int, const CleanRun&) {
        EXPECT_EQ(slider(kBrightness).position(), 2) << "the control shows the value it wrote";
    });
}

TEST_F(UnplugCampaignTest, APerKeyColourUpload) {
    const lighting::ColourValue base = lighting::colourFromRgb(1, 2, 3);
    const Operation baseColour{[this] {
                                   openPanel();
                                   chooseEffect(lighting::kPerKeyColourEffect);
                               },
                               [this, base] { chooseColour(kBaseColour, base); }};
    runCampaign(baseColour, [this, base](int, const CleanRun&) {
        EXPECT_EQ(window->keyColours().settings().baseColour, base);
    });
}

TEST_F(UnplugCampaignTest, ASchemeChange) {
    const Operation scheme{[this] {
                               openPanel();
                               chooseEffect(lighting::kPerKeyColourEffect);
                               qobject_cast<QComboBox*>(window->control(kSchemeList))->setCurrentIndex(3);
                           },
                           [this] { window->OnCommand(kSchemeList); }};
    runCampaign(scheme, [this](int, const CleanRun&) { EXPECT_EQ(window->keyColours().scheme(), 3); });
}

TEST_F(UnplugCampaignTest, AProfileSwitch) {
    const Operation toProfile2{{}, [this] { window->OnCommand(kFirstProfileButton + 1); }};
    runCampaign(toProfile2, [this](int, const CleanRun&) {
        const int active = keyboard().readMemory(sim::SimArea::DeviceInfo)[sim::kActiveProfileByte];
        for (int profile = 0; profile < device::kProfileCount; ++profile)
            EXPECT_EQ(button(kFirstProfileButton + profile).isSelected(), profile == active)
                << "the profile shown is the keyboard's";
    });
}

// A keyboard with something to read back: key A off in profile 1, which is
// active, and two macros.
TEST_F(UnplugCampaignTest, TheArrivalReadBack) {
    keyboardContent = [this] {
        keyboard().writeMemory(sim::SimArea::DeviceInfo, sim::kActiveProfileByte, Bytes{1});
        keyboard().writeMemory(sim::SimArea::MacroArea, 0, config::buildMacroArea(config::testing::savedMacros({1, 2}), true));
        config::ConfigStore store;
        profiles::installDefaultConfiguration(store);
        store.records()[static_cast<std::size_t>(config::assignmentRecordIndex(1, kSlotOfA))] = {AssignmentType::Disabled};
        const auto block = config::buildKeyBlock(
            store.records().subspan(static_cast<std::size_t>(config::assignmentRecordIndex(1, 0))).first<keyboard::kSlotsPerProfile>(),
            keyboard::kBuiltInDefaultKeyTable, [](std::uint32_t) { return 0; });
        keyboard().writeMemory(sim::SimArea::KeyBlocks, 378, block);
    };
    const Operation arrival{[this] {
                                keyboard().unplug();
                                ASSERT_TRUE(settle());
                            },
                            [this] {
                                keyboard().plug();
                                ASSERT_TRUE(settle());
                            }};
    runCampaign(arrival, [this](int, const CleanRun&) {
        EXPECT_FALSE(window->isApplyEnabled()) << "a cut-short read leaves no edits behind";
    });
}

}  // namespace
}  // namespace quillmar::shell::testing
