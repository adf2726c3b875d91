// The lighting panel of the main window against the simulated keyboard: the
// bytes each control writes, the lamp's guard, restoring defaults and the
// per-key colour tools, all driven through the window's message map.

#include "MainWindowFixture.h"

#include "lighting/LightingBlock.h"
#include "text/IniFile.h"
#include "shell/widgets/CBitmapSlider.h"
#include "shell/widgets/CColourPickerButton.h"
#include "shell/window/LightingPanelWindow.h"
#include "shell/window/MainWindowIds.h"

#include <QComboBox>

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace quillmar::shell::testing {
namespace {

using namespace main_window;

constexpr int kLamp = 1167;
constexpr int kEffectList = 1146;
constexpr int kButtonA = 1058;  // lighting position 64
constexpr int kButtonS = 1059;  // 65
constexpr int kPositionOfA = 64;
constexpr int kPositionOfS = 65;

// One request of the keyboard's trace in words: "begin", "end", "write 57:
// 02", "colours 704: 0A 14 1E".
std::string describeRequest(const std::string& line) {
    std::istringstream hex(line.substr(2));
    std::vector<unsigned> bytes;
    for (unsigned value; hex >> std::hex >> value;) bytes.push_back(value);
    if (bytes.size() < 8) return "short";
    const unsigned address = bytes[5] | bytes[6] << 8;
    std::string data;
    for (std::size_t i = 0; i < bytes[4] && 8 + i < bytes.size(); ++i) {
        char byte[4];
        std::snprintf(byte, sizeof byte, " %02X", bytes[8 + i]);
        data += byte;
    }
    switch (bytes[3]) {
    case 1: return "begin";
    case 2: return "end";
    case 6: return "write " + std::to_string(address) + ":" + data;
    case 17: return "colours " + std::to_string(address) + ":" + data;
    default: return "command " + std::to_string(bytes[3]);
    }
}

class LightingPanelTest : public MainWindowFixture {
protected:
    LightingPanelTest() { recordLightingPanel = false; }

    void startOnProfile(int profile) {
        if (!keyboard().started()) {
            ASSERT_GT(Init(0), 0);
        }
        keyboard().writeMemory(sim::SimArea::DeviceInfo, 10, std::vector<std::uint8_t>{static_cast<std::uint8_t>(profile)});
        startWindow(true);
        ASSERT_EQ(window->lighting().state().profile, profile);
    }

    void openPanel() {
        // The panel stays open across runs of the program.
        if (!window->lighting().state().panelOpen) window->OnCommand(kLamp);
        ASSERT_TRUE(window->lighting().state().panelOpen);
        takeRequests();
    }

    std::vector<std::string> takeRequests() {
        std::vector<std::string> requests;
        for (const std::string& line : keyboard().traceLines())
            if (line.starts_with("> ")) requests.push_back(describeRequest(line));
        keyboard().clearTrace();
        return requests;
    }

    void chooseEffect(int effect) {
        auto* list = qobject_cast<QComboBox*>(window->control(kEffectList));
        const int position = lighting::EffectIndexMap(window->lighting().state().effects).positionOf(effect);
        ASSERT_GE(position, 0);
        list->setCurrentIndex(position);
        window->OnCommand(kEffectList);
    }

    void chooseColour(int buttonId, lighting::ColourValue colour) {
        auto* button = qobject_cast<CColourPickerButton*>(window->control(buttonId));
        button->setColour(static_cast<std::int32_t>(colour));
        window->OnCommand(buttonId);
    }

    std::string colourFileValue(int profile, const std::string& section, const std::string& key) {
        return text::readIniString(userFolder() / ("UserDengColor_" + std::to_string(profile) + ".userd"), section,
                                       key, "missing");
    }

    bool visible(int id) { return window->control(id)->isVisibleTo(window.get()); }
};

std::string at(int profile, int offset, const std::string& bytes) {
    return "write " + std::to_string(profile * 42 + offset) + ": " + bytes;
}

TEST_F(LightingPanelTest, EachControlWritesItsBytesAtTheCurrentProfile) {
    for (int profile : {0, 2}) {
        SCOPED_TRACE(profile);
        startOnProfile(profile);
        openPanel();
        struct Step {
            std::string name;
            std::function<void()> act;
            std::vector<std::string> writes;
        };
        const std::vector<Step> steps = {
            {"effect 5", [&] { chooseEffect(5); }, {at(profile, 0, "05"), at(profile, 4, "01")}},
            {"effect 12", [&] { chooseEffect(12); }, {at(profile, 0, "0C")}},
            {"brightness 2", [&] { window->SendWindowMessage(0x28D1, 1178, 2); }, {at(profile, 1, "02")}},
            {"brightness 2 again", [&] { window->SendWindowMessage(0x28D1, 1178, 2); }, {}},
            {"speed slider 0", [&] { window->SendWindowMessage(0x28D1, 1179, 0); }, {at(profile, 2, "04")}},
            {"another control's slider message", [&] { window->SendWindowMessage(0x28D1, 1150, 1); }, {}},
            {"up", [&] { window->OnCommand(1149); }, {at(profile, 3, "FF")}},
            {"up again", [&] { window->OnCommand(1149); }, {at(profile, 3, "FF")}},
            {"effect 1", [&] { chooseEffect(1); }, {at(profile, 0, "01"), at(profile, 4, "01")}},
            {"colour", [&] { chooseColour(1155, lighting::colourFromRgb(0x12, 0x34, 0x56)); },
             {at(profile, 4, "00"), at(profile, 5, "12 34 56")}},
            {"multicolour", [&] { window->OnCommand(1156); }, {at(profile, 4, "01")}},
            {"fixed green", [&] { window->OnCommand(1196); }, {at(profile, 17, "02")}},
            {"report3", [&] { window->OnCommand(1169); }, {at(profile, 15, "02")}},
            {"report3 again", [&] { window->OnCommand(1169); }, {at(profile, 15, "02")}},
        };
        for (const Step& step : steps) {
            step.act();
            std::vector<std::string> expected;
            if (!step.writes.empty()) {
                expected.push_back("begin");
                expected.insert(expected.end(), step.writes.begin(), step.writes.end());
                expected.push_back("end");
            }
            EXPECT_EQ(takeRequests(), expected) << step.name;
        }
        // The controls show what was written.
        EXPECT_EQ(qobject_cast<CBitmapSlider*>(window->control(1178))->position(), 2);
        EXPECT_EQ(qobject_cast<CBitmapSlider*>(window->control(1179))->position(), 0);
        EXPECT_EQ(qobject_cast<CColourPickerButton*>(window->control(1152))->colour(), 0x563412);
        for (int rate : {1147, 1168, 1169, 1170}) EXPECT_EQ(button(rate).isSelected(), rate == 1169) << rate;
        EXPECT_TRUE(visible(1155));
        EXPECT_FALSE(visible(1152));
        EXPECT_FALSE(visible(1158)) << "always hidden";
        window.reset();
        End();
    }
}

TEST_F(LightingPanelTest, TheLampIsRefusedWhileAnEditorIsOpen) {
    startWindow(true);
    window->setCompositeOpener([this](const CompositeRequest&) { window->OnCommand(kLamp); });
    window->OnCommand(kButtonA);
    EXPECT_FALSE(window->lighting().state().panelOpen);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_FALSE(visible(kEffectList));
    EXPECT_EQ(text::readIniString(userFolder() / "ktvl.ini", "KEYCOLOR", "DengCheck", "0"), "0");

    window->OnCommand(kLamp);
    EXPECT_TRUE(window->lighting().state().panelOpen);
    EXPECT_TRUE(visible(kEffectList));
    EXPECT_EQ(text::readIniString(userFolder() / "ktvl.ini", "KEYCOLOR", "DengCheck", "0"), "1");
    window->OnCommand(kLamp);
    EXPECT_FALSE(visible(kEffectList));
    EXPECT_FALSE(button(kButtonA).hasOutline());
}

TEST_F(LightingPanelTest, RestoreDefaultsWithThePanelOpenWritesTheDefaultRecordAndColours) {
    startOnProfile(1);
    openPanel();
    chooseEffect(20);
    window->OnCommand(1165);  // eraser
    window->OnCommand(kButtonA);
    window->SendWindowMessage(0x28D1, 1178, 1);
    takeRequests();

    prompt.answers = {true};
    window->OnCommand(kRestoreDefaults);
    auto requests = takeRequests();
    // The backup kept first only reads, up to its settings bracket's end.
    const auto backupEnd = std::find(requests.begin(), requests.end(), "end");
    ASSERT_NE(backupEnd, requests.end());
    EXPECT_TRUE(std::none_of(requests.begin(), backupEnd, [](const std::string& request) {
        return request.starts_with("write") || request.starts_with("colours");
    }));
    requests.erase(requests.begin(), backupEnd + 1);
    ASSERT_GE(requests.size(), 20u);
    const std::vector<std::string> selectFirst = {"begin", at(1, 0, "01"), at(1, 4, "01"), "end", "begin"};
    EXPECT_EQ(std::vector<std::string>(requests.begin(), requests.begin() + 5), selectFirst);
    for (int chunk = 0; chunk < 8; ++chunk)
        EXPECT_TRUE(requests[5 + chunk].starts_with("colours " + std::to_string(512 + 54 * chunk) + ":")) << chunk;
    EXPECT_EQ(requests[13], "end");
    EXPECT_EQ(requests[15], "write 42: 01 04 01 00 FF FF 00 00 08 FF FF FF FF 00 00 FF FF 00 00 00 00 FF FF 00 00 FF "
                            "FF FF 00 00 FF FF FF 00 00");
    const auto templateFile = programDirectory() / "Skins" / "UserDengColor_3.userd";
    EXPECT_EQ(colourFileValue(1, "Mode0", std::to_string(kPositionOfA)),
              text::readIniString(templateFile, "Mode0", std::to_string(kPositionOfA), "missing"));
    EXPECT_EQ(qobject_cast<CBitmapSlider*>(window->control(1178))->position(), 4);
    EXPECT_EQ(qobject_cast<CBitmapSlider*>(window->control(1179))->position(), 3);
    EXPECT_TRUE(visible(1150));
    EXPECT_TRUE(button(1170).isSelected()) << "rate byte 255 shows as report4";
}

TEST_F(LightingPanelTest, BrushAndEraserPaintKeysOnlyInThePerKeyColourEffect) {
    startOnProfile(1);
    openPanel();
    chooseEffect(4);
    takeRequests();
    window->OnCommand(kButtonA);
    EXPECT_TRUE(takeRequests().empty()) << "another effect: no colour";

    chooseEffect(20);
    EXPECT_TRUE(visible(1198));
    EXPECT_TRUE(visible(1164));
    chooseColour(1160, lighting::colourFromRgb(10, 20, 30));
    takeRequests();
    window->OnCommand(kButtonA);
    const std::string addressOfA = std::to_string(512 + 3 * kPositionOfA);
    EXPECT_EQ(takeRequests(), (std::vector<std::string>{"begin", "colours " + addressOfA + ": 0A 14 1E", "end"}));
    const int scheme = window->keyColours().scheme();
    const std::string section = "Mode" + std::to_string(scheme);
    EXPECT_EQ(colourFileValue(1, section, std::to_string(kPositionOfA)), "10,20,30,0");
    EXPECT_TRUE(button(kButtonA).hasOutline());
    EXPECT_EQ(button(kButtonA).outlineColour(), lighting::colourFromRgb(10, 20, 30));

    window->OnCommand(1165);  // eraser
    window->OnCommand(kButtonS);
    const lighting::ColourValue base = window->keyColours().settings().baseColour;
    EXPECT_EQ(colourFileValue(1, section, std::to_string(kPositionOfS)),
              std::to_string(base & 0xFF) + "," + std::to_string(base >> 8 & 0xFF) + "," +
                  std::to_string(base >> 16 & 0xFF) + ",1");
    takeRequests();

    const lighting::ColourValue newBase = lighting::colourFromRgb(1, 2, 3);
    chooseColour(1162, newBase);
    const auto upload = takeRequests();
    ASSERT_EQ(upload.size(), 10u);
    EXPECT_EQ(colourFileValue(1, section, std::to_string(kPositionOfS)), "1,2,3,1");
    EXPECT_EQ(colourFileValue(1, section, std::to_string(kPositionOfA)), "10,20,30,0") << "brushed keys keep theirs";
    EXPECT_EQ(colourFileValue(1, section, "jcolor"), "1,2,3");
    EXPECT_EQ(button(kButtonS).outlineColour(), newBase);
    EXPECT_EQ(button(kButtonA).outlineColour(), lighting::colourFromRgb(10, 20, 30));
    const auto colours = keyboard().readMemory(sim::SimArea::KeyColours, 512 + 3 * kPositionOfS, 3);
    EXPECT_EQ(colours, (std::vector<std::uint8_t>{1, 2, 3}));

    chooseColour(1162, newBase);
    EXPECT_TRUE(takeRequests().empty()) << "the same base colour does nothing";
    window->OnCommand(kFn);
    EXPECT_EQ(takeRequests()[1], "colours " + std::to_string(512 + 3 * 110) + ": 01 02 03");
}

TEST_F(LightingPanelTest, TheSchemeListSelectsAndRenamesSchemes) {
    startOnProfile(0);
    openPanel();
    chooseEffect(20);
    auto* schemes = qobject_cast<QComboBox*>(window->control(1198));
    ASSERT_EQ(schemes->count(), 10);
    schemes->setCurrentIndex(3);
    takeRequests();
    window->OnCommand(1198);
    EXPECT_EQ(takeRequests().size(), 10u) << "the scheme is applied in one upload";
    EXPECT_EQ(colourFileValue(0, "PRESENTMODE", "mode"), "3");
    window->lightingPanel()->renameScheme(u"Evening");
    EXPECT_EQ(colourFileValue(0, "MODENAME", "3"), "Evening");
    EXPECT_EQ(schemes->itemText(3), "Evening");
}

TEST_F(LightingPanelTest, ThePreviewColoursTheKeysWhileThePanelIsOpen) {
    startWindow(true);
    openPanel();
    chooseEffect(6);
    EXPECT_TRUE(button(kButtonA).hasOutline());
    chooseEffect(7);
    EXPECT_FALSE(button(kButtonA).hasOutline());
    chooseEffect(4);
    const lighting::ColourValue first = button(kButtonA).outlineColour();
    ASSERT_TRUE(pumpUntil([&] { return button(kButtonA).outlineColour() != first; }));
    window->OnCommand(kLamp);
    EXPECT_FALSE(button(kButtonA).hasOutline());
}

TEST_F(LightingPanelTest, TheFirstArrivalMakesTheFolderWithTheColourFiles) {
    std::filesystem::remove_all(userFolder());
    startWindow(true);
    for (int n = 0; n < 4; ++n)
        EXPECT_TRUE(std::filesystem::exists(userFolder() / ("UserDengColor_" + std::to_string(n) + ".userd"))) << n;
    EXPECT_EQ(text::readIniString(userFolder() / "ktvl.ini", "KEYCOLOR", "usermodeCheck", "0"), "1");
    EXPECT_EQ(qobject_cast<QComboBox*>(window->control(1198))->itemText(0).toStdString(),
              text::readIniString(programDirectory() / "Skins" / "UserDengColor_3.userd", "MODENAME", "0", ""));
}

TEST_F(LightingPanelTest, AnEffectTheProgramDoesNotKnowKeepsTheListToChooseAnother) {
    if (!keyboard().started()) {
        ASSERT_GT(Init(0), 0);
    }
    keyboard().writeMemory(sim::SimArea::DeviceInfo, 12 + 18, std::vector<std::uint8_t>{19});
    startWindow(true);
    openPanel();
    chooseEffect(19);
    EXPECT_TRUE(takeRequests().empty());
    EXPECT_TRUE(visible(kEffectList));
    EXPECT_FALSE(visible(1178));
    chooseEffect(4);
    EXPECT_TRUE(visible(1179));
}

// ---- Undo and redo ---------------------------------------------------------------

std::string hexBytes(const std::vector<std::uint8_t>& bytes) {
    std::string text;
    for (std::uint8_t byte : bytes) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%s%02X", text.empty() ? "" : " ", byte);
        text += hex;
    }
    return text;
}

TEST_F(LightingPanelTest, UndoAndRedoWriteTheLightingBytesBackAndForth) {
    startOnProfile(1);
    openPanel();
    const auto record = [this] { return keyboard().readMemory(sim::SimArea::Settings, 42, 42); };
    const std::vector<std::uint8_t> original = record();
    const int brightness = original[1] == 2 ? 3 : 2;
    window->SendWindowMessage(0x28D1, 1178, static_cast<std::uint32_t>(brightness));
    chooseColour(1155, lighting::colourFromRgb(0x12, 0x34, 0x56));
    const std::vector<std::uint8_t> edited = record();
    ASSERT_NE(edited, original);
    EXPECT_EQ(window->editHistory().undoLabel(*texts), u"Undo lighting setting");
    takeRequests();

    ASSERT_TRUE(window->undo());
    ASSERT_TRUE(window->undo());
    EXPECT_EQ(record(), original);
    const auto requests = takeRequests();
    ASSERT_GE(requests.size(), 3u);
    EXPECT_EQ(requests[requests.size() - 3], "begin");
    EXPECT_EQ(requests[requests.size() - 2], at(1, 1, hexBytes({original[1]})));
    EXPECT_EQ(requests.back(), "end");
    EXPECT_EQ(qobject_cast<CBitmapSlider*>(window->control(1178))->position(), original[1]);
    EXPECT_FALSE(window->undo()) << "nothing more to undo";
    EXPECT_EQ(window->editHistory().redoLabel(*texts), u"Redo lighting setting");

    ASSERT_TRUE(window->redo());
    EXPECT_EQ(takeRequests(), (std::vector<std::string>{"begin", at(1, 1, hexBytes({static_cast<std::uint8_t>(brightness)})), "end"}));
    ASSERT_TRUE(window->redo());
    EXPECT_EQ(record(), edited);
    EXPECT_EQ(qobject_cast<CColourPickerButton*>(window->control(1155))->colour(), 0x563412);
    EXPECT_FALSE(window->isApplyEnabled()) << "lighting is written at once, not applied";
}

TEST_F(LightingPanelTest, UndoAndRedoOfABrushClickRestoreTheKeysColourInTheFileAndOnTheKeyboard) {
    startOnProfile(1);
    openPanel();
    chooseEffect(20);
    chooseColour(1160, lighting::colourFromRgb(10, 20, 30));
    const std::string section = "Mode" + std::to_string(window->keyColours().scheme());
    const std::string fileBefore = colourFileValue(1, section, std::to_string(kPositionOfA));
    const auto colourOfA = [this] { return keyboard().readMemory(sim::SimArea::KeyColours, 512 + 3 * kPositionOfA, 3); };
    const std::vector<std::uint8_t> keyboardBefore = colourOfA();
    ASSERT_NE(fileBefore, "10,20,30,0");
    window->OnCommand(kButtonA);
    EXPECT_EQ(window->editHistory().undoLabel(*texts), u"Undo key colour");
    takeRequests();

    const std::string addressOfA = std::to_string(512 + 3 * kPositionOfA);
    ASSERT_TRUE(window->undo());
    EXPECT_EQ(takeRequests(), (std::vector<std::string>{"begin", "colours " + addressOfA + ": " + hexBytes(keyboardBefore), "end"}));
    EXPECT_EQ(colourFileValue(1, section, std::to_string(kPositionOfA)), fileBefore);
    EXPECT_EQ(colourOfA(), keyboardBefore);
    EXPECT_EQ(button(kButtonA).outlineColour(), lighting::colourFromRgb(keyboardBefore[0], keyboardBefore[1], keyboardBefore[2]));
    EXPECT_EQ(window->editHistory().undoLabel(*texts), u"Undo lighting setting") << "the effect chosen before";

    ASSERT_TRUE(window->redo());
    EXPECT_EQ(takeRequests(), (std::vector<std::string>{"begin", "colours " + addressOfA + ": 0A 14 1E", "end"}));
    EXPECT_EQ(colourFileValue(1, section, std::to_string(kPositionOfA)), "10,20,30,0");
    EXPECT_EQ(button(kButtonA).outlineColour(), lighting::colourFromRgb(10, 20, 30));
}

TEST_F(LightingPanelTest, UndoOfRestoreDefaultsBringsBackTheLightingAndEveryScheme) {
    startOnProfile(1);
    openPanel();
    chooseEffect(20);
    chooseColour(1160, lighting::colourFromRgb(10, 20, 30));
    window->OnCommand(kButtonA);
    auto* schemes = qobject_cast<QComboBox*>(window->control(1198));
    const std::string firstSection = "Mode" + std::to_string(window->keyColours().scheme());
    const int otherScheme = window->keyColours().scheme() == 3 ? 4 : 3;
    schemes->setCurrentIndex(otherScheme);
    window->OnCommand(1198);
    chooseColour(1160, lighting::colourFromRgb(10, 20, 30));  // each scheme keeps its own
    window->OnCommand(kButtonS);
    window->SendWindowMessage(0x28D1, 1178, 1);
    const auto record = [this] { return keyboard().readMemory(sim::SimArea::Settings, 42, 42); };
    const auto recordBefore = record();
    const auto fileOf = [this] { return text::readIniString(userFolder() / "UserDengColor_1.userd", "PRESENTMODE", "mode", ""); };
    const std::string section = "Mode" + std::to_string(otherScheme);
    ASSERT_EQ(colourFileValue(1, section, std::to_string(kPositionOfS)), "10,20,30,0");

    prompt.answers = {true};
    window->OnCommand(kRestoreDefaults);
    ASSERT_NE(record(), recordBefore);
    ASSERT_NE(colourFileValue(1, firstSection, std::to_string(kPositionOfA)), "10,20,30,0");
    EXPECT_EQ(window->editHistory().undoLabel(*texts), u"Undo restore defaults");
    ASSERT_TRUE(window->undo());
    EXPECT_EQ(record(), recordBefore);
    EXPECT_EQ(fileOf(), std::to_string(otherScheme));
    EXPECT_EQ(colourFileValue(1, section, std::to_string(kPositionOfS)), "10,20,30,0");
    EXPECT_EQ(colourFileValue(1, firstSection, std::to_string(kPositionOfA)), "10,20,30,0") << "every scheme is back";
    EXPECT_EQ(keyboard().readMemory(sim::SimArea::KeyColours, 512 + 3 * kPositionOfS, 3),
              (std::vector<std::uint8_t>{10, 20, 30}));
    EXPECT_EQ(qobject_cast<CBitmapSlider*>(window->control(1178))->position(), 1);
}

TEST_F(LightingPanelTest, UndoOfASchemeChoiceBringsTheSchemeBackAndSendsIt) {
    startOnProfile(0);
    openPanel();
    chooseEffect(20);
    const std::string present = colourFileValue(0, "PRESENTMODE", "mode");
    auto* schemes = qobject_cast<QComboBox*>(window->control(1198));
    schemes->setCurrentIndex(present == "3" ? 4 : 3);
    window->OnCommand(1198);
    ASSERT_NE(colourFileValue(0, "PRESENTMODE", "mode"), present);
    EXPECT_EQ(window->editHistory().undoLabel(*texts), u"Undo colour scheme");
    takeRequests();
    ASSERT_TRUE(window->undo());
    EXPECT_EQ(colourFileValue(0, "PRESENTMODE", "mode"), present);
    EXPECT_EQ(std::to_string(window->keyColours().scheme()), present);
    EXPECT_EQ(schemes->currentIndex(), window->keyColours().scheme());
    EXPECT_EQ(takeRequests().size(), 10u) << "the scheme is sent in one upload";
}

}  // namespace
}  // namespace quillmar::shell::testing
