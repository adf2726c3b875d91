// The main window against the simulated keyboard: routing, arrival and
// removal, the keyboard's notices, the key buttons, Apply, restore, import
// and export.
#include "MainWindowFixture.h"

#include "config/AssignmentBlock.h"
#include "config/MacroArea.h"
#include "device/GKeyButtons.h"
#include "device/WindowMessages.h"
#include "keyboard/DefaultKeyTable.h"
#include "profiles/Backups.h"
#include "text/IniFile.h"
#include "shell/tray/CTrayIcon.h"
#include "shell/window/EditingDialog.h"
#include "shell/widgets/ControlId.h"
#include "shell/window/AboutBox.h"
#include "shell/window/BackupsDialog.h"
#include "shell/window/MainWindowIds.h"

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <fstream>

namespace quillmar::shell::testing {
namespace {

using namespace main_window;
using keyboard::AssignmentType;

constexpr int kButtonA = 1058;
constexpr int kSlotOfA = 0x1E;
constexpr int kPositionOfA = 0;
constexpr int kButtonG1 = 1000;
constexpr int kButtonG3 = 1002;
constexpr int kButtonD4 = 1019;
constexpr int kButtonF1 = 1010;
constexpr int kButtonD1 = 1016;

std::u16string toU16(const QString& text) { return text.toStdU16String(); }

keyboard::KeyAssignment& workingRecord(config::Configuration& configuration, int profile, int slot) {
    return configuration.working.records()[static_cast<std::size_t>(config::assignmentRecordIndex(profile, slot))];
}

// ---- The routing tables: one command or message, one visible effect ------

struct Route {
    const char* name;
    std::function<void(CQuillmarDlg&)> act;
    std::function<void(MainWindowFixture&, CQuillmarDlg&)> check;
};

void command(CQuillmarDlg& window, int id) { EXPECT_TRUE(window.OnCommand(id)) << id; }
void message(CQuillmarDlg& window, std::uint32_t number, std::uint32_t wParam) {
    window.SendWindowMessage(number, wParam, 0);
}
void showWindow(CQuillmarDlg& window) { message(window, device::kMessageOpen, device::kTagOpen); }

class MainWindowRoutingTest : public MainWindowFixture, public ::testing::WithParamInterface<Route> {
public:
    std::vector<CompositeRequest>& requests() { return compositeRequests; }
    RecordingLightingPanel& panel() { return lightingPanel; }
    platform::FakeUserSettings& userSettings() { return settings; }
    AnsweringFileChooser& chooser() { return files; }
    std::filesystem::path folder() const { return folder_.path(); }
};

const Route kRoutes[] = {
    {"OkAppliesAndHides",
     [](CQuillmarDlg& w) { showWindow(w), w.markChanged(), command(w, kOk); },
     [](MainWindowFixture&, CQuillmarDlg& w) {
         EXPECT_FALSE(w.isVisible());
         EXPECT_FALSE(w.isApplyEnabled());
     }},
    {"CancelHides",
     [](CQuillmarDlg& w) { showWindow(w), w.markChanged(), command(w, kCancel); },
     [](MainWindowFixture&, CQuillmarDlg& w) {
         EXPECT_FALSE(w.isVisible());
         EXPECT_TRUE(w.isApplyEnabled());
     }},
    {"OpenShowsTheWindow", [](CQuillmarDlg& w) { showWindow(w); },
     [](MainWindowFixture&, CQuillmarDlg& w) { EXPECT_TRUE(w.isVisible()); }},
    {"OpenCommandShowsTheWindow", [](CQuillmarDlg& w) { command(w, kCommandOpen); },
     [](MainWindowFixture&, CQuillmarDlg& w) { EXPECT_TRUE(w.isVisible()); }},
    {"OpenWithAnotherTagDoesNothing", [](CQuillmarDlg& w) { message(w, device::kMessageOpen, device::kTagKill); },
     [](MainWindowFixture&, CQuillmarDlg& w) { EXPECT_FALSE(w.isVisible()); }},
    {"SwitchEntersColourKeysMode", [](CQuillmarDlg& w) { command(w, kSwitch); },
     [](MainWindowFixture&, CQuillmarDlg& w) {
         EXPECT_TRUE(w.colourKeysMode());
         EXPECT_EQ(w.button(kSwitch)->text(), "Switch to the function keys mode");
     }},
    {"Flip1TogglesFlip", [](CQuillmarDlg& w) { command(w, kFlip1); },
     [](MainWindowFixture& f, CQuillmarDlg& w) {
         EXPECT_EQ(static_cast<MainWindowRoutingTest&>(f).userSettings().readString("PROFILES", "Flip", ""), "1");
         EXPECT_FALSE(w.button(kButtonF1)->isEnabled());
         EXPECT_FALSE(w.button(kButtonF1)->isVisibleTo(&w));
         // D1..D6 take the place of F1..F4, with faces of their own.
         for (int id = kButtonD4 - 3; id < kButtonD4 + 3; ++id) {
             EXPECT_TRUE(w.button(id)->isEnabled()) << id;
             EXPECT_TRUE(w.button(id)->isVisibleTo(&w)) << id;
             EXPECT_GT(w.button(id)->width(), 1) << id;
         }
         EXPECT_TRUE(w.button(kButtonD4)->geometry().intersects(w.button(kButtonF1 + 2)->geometry()));
     }},
    {"Flip0DoesNothing", [](CQuillmarDlg& w) { command(w, kFlip0); },
     [](MainWindowFixture& f, CQuillmarDlg&) {
         EXPECT_EQ(static_cast<MainWindowRoutingTest&>(f).userSettings().readString("PROFILES", "Flip", "none"), "none");
     }},
    {"AboutOpensOneAboutBox",
     [](CQuillmarDlg& w) {
         command(w, kCommandAbout);
         QWidget* first = w.aboutBox();
         command(w, kCommandAbout);
         EXPECT_EQ(w.aboutBox(), first);
     },
     [](MainWindowFixture&, CQuillmarDlg& w) { EXPECT_NE(w.aboutBox(), nullptr); }},
    {"SystemMenuAboutOpensAboutBox", [](CQuillmarDlg& w) { message(w, kMessageSystemCommand, 0x10); },
     [](MainWindowFixture&, CQuillmarDlg& w) { EXPECT_NE(w.aboutBox(), nullptr); }},
    {"OtherSystemCommandsOpenNothing", [](CQuillmarDlg& w) { message(w, kMessageSystemCommand, 0xF020); },
     [](MainWindowFixture&, CQuillmarDlg& w) { EXPECT_EQ(w.aboutBox(), nullptr); }},
    {"MacroEditOpensG9", [](CQuillmarDlg& w) { command(w, kMacroEdit); },
     [](MainWindowFixture& f, CQuillmarDlg&) {
         auto& requests = static_cast<MainWindowRoutingTest&>(f).requests();
         ASSERT_EQ(requests.size(), 1u);
         EXPECT_EQ(requests[0].buttonId, 1143);
         EXPECT_EQ(requests[0].slot, 0x108);
         EXPECT_TRUE(requests[0].isG9);
     }},
    {"FnWithThePanelClosedDoesNothing", [](CQuillmarDlg& w) { command(w, kFn); },
     [](MainWindowFixture& f, CQuillmarDlg&) {
         EXPECT_TRUE(static_cast<MainWindowRoutingTest&>(f).panel().paintedKeys.empty());
         EXPECT_TRUE(static_cast<MainWindowRoutingTest&>(f).requests().empty());
     }},
    {"LightingControlsGoToThePanel", [](CQuillmarDlg& w) { command(w, 1146), command(w, 1170); },
     [](MainWindowFixture& f, CQuillmarDlg&) {
         EXPECT_EQ(static_cast<MainWindowRoutingTest&>(f).panel().controls, (std::vector<int>{1146, 1170}));
     }},
    {"TimeChangeRunsApply", [](CQuillmarDlg& w) { w.markChanged(), message(w, kMessageTimeChange, 0); },
     [](MainWindowFixture&, CQuillmarDlg& w) { EXPECT_FALSE(w.isApplyEnabled()); }},
    {"ApplyDownloadsAndDisablesItself", [](CQuillmarDlg& w) { w.markChanged(), command(w, kApply); },
     [](MainWindowFixture&, CQuillmarDlg& w) { EXPECT_FALSE(w.isApplyEnabled()); }},
    {"ProfileButtonMakesTheProfileActive", [](CQuillmarDlg& w) { command(w, kFirstProfileButton + 2); },
     [](MainWindowFixture& f, CQuillmarDlg& w) {
         EXPECT_EQ(f.keyboard().readMemory(sim::SimArea::DeviceInfo, sim::kActiveProfileByte, 1)[0], 2);
         EXPECT_TRUE(w.button(kFirstProfileButton + 2)->isSelected());
         EXPECT_FALSE(w.button(kFirstProfileButton)->isSelected());
     }},
    {"ExportWritesTheChosenFile",
     [](CQuillmarDlg& w) { command(w, kCommandExport); },
     [](MainWindowFixture& f, CQuillmarDlg&) {
         auto& test = static_cast<MainWindowRoutingTest&>(f);
         EXPECT_TRUE(std::filesystem::exists(test.folder() / "out.kbp"));
     }},
    {"ImportCancelledChangesNothing", [](CQuillmarDlg& w) { w.markChanged(), command(w, kCommandImport); },
     [](MainWindowFixture& f, CQuillmarDlg& w) {
         EXPECT_EQ(static_cast<MainWindowRoutingTest&>(f).chooser().asked, 1);
         EXPECT_TRUE(w.isApplyEnabled());
     }},
    {"RefreshGKeysNeedsItsTag",
     [](CQuillmarDlg& w) {
         w.button(kButtonG1)->setSelected(true);
         message(w, device::kMessageRefreshGKeys, 0);
     },
     [](MainWindowFixture&, CQuillmarDlg& w) { EXPECT_TRUE(w.button(kButtonG1)->isSelected()); }},
    {"RefreshGKeysShowsTheBank",
     [](CQuillmarDlg& w) {
         w.button(kButtonG1)->setSelected(true);
         message(w, device::kMessageRefreshGKeys, device::kTagDel);
     },
     [](MainWindowFixture&, CQuillmarDlg& w) { EXPECT_FALSE(w.button(kButtonG1)->isSelected()); }},
};

TEST_P(MainWindowRoutingTest, RoutesToItsHandler) {
    startWindow(true);
    chooser().exportPath = folder() / "out.kbp";
    GetParam().act(*window);
    pumpFor(10ms);
    GetParam().check(*this, *window);
}

INSTANTIATE_TEST_SUITE_P(Rows, MainWindowRoutingTest, ::testing::ValuesIn(kRoutes),
                         [](const ::testing::TestParamInfo<Route>& info) { return std::string(info.param.name); });

TEST(MainWindowRoutingTable, EndingCommandsEndTheModalRun) {
    for (const auto& [number, wParam, commandId] : std::vector<std::tuple<std::uint32_t, std::uint32_t, int>>{
             {device::kMessageKill, device::kTagKill, 0}, {0, 0, kClose}, {0, 0, kCommandExit}, {0, 0, kCommandMenuClose}}) {
        text::BuiltInTexts texts;
        platform::FakeUserSettings settings;
        config::Configuration configuration;
        CQuillmarDlg window({std::filesystem::current_path(), {}, texts, settings, configuration});
        QSignalSpy ended(&window, &CQuillmarDlg::modalRunEnded);
        if (commandId) {
            window.OnCommand(commandId);
        } else {
            window.SendWindowMessage(number, wParam, 0);
        }
        EXPECT_EQ(ended.count(), 1) << number << " " << commandId;
        EXPECT_TRUE(window.isShuttingDown());
    }
}

// ---- Arrival, removal and the keyboard's notices ------------------------

class MainWindowTest : public MainWindowFixture {};

TEST_F(MainWindowTest, ArrivalShowsTheWindowOnceAndReloadsTheKeyboard) {
    keyboard().writeMemory(sim::SimArea::DeviceInfo, sim::kActiveProfileByte, std::vector<std::uint8_t>{1});
    startWindow();
    ASSERT_TRUE(pumpUntil([this] { return window->isVisible(); }));
    EXPECT_TRUE(button(kFirstProfileButton + 1).isSelected()) << "the keyboard's profile";

    window->SendWindowMessage(device::kMessageCloseEditors, 0, 0);
    window->OnCommand(kCancel);
    keyboard().unplug();
    ASSERT_TRUE(pumpUntil([this] { return window->link().presence().connectedCount() == 0; }));
    keyboard().plug();
    ASSERT_TRUE(pumpUntil([this] { return window->link().presence().connectedCount() == 1; }));
    pumpFor(50ms);
    EXPECT_FALSE(window->isVisible()) << "only the first arrival shows the window";
}

TEST_F(MainWindowTest, StartHiddenStaysInTheTrayWhenTheKeyboardArrives) {
    startWindow(true);
    pumpFor(100ms);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowTest, StartWithoutKeyboardStaysHiddenWhenOneArrives) {
    keyboard().unplug();
    startWindow();
    keyboard().plug();
    ASSERT_TRUE(pumpUntil([this] { return window->link().presence().connectedCount() == 1; }));
    pumpFor(50ms);
    EXPECT_FALSE(window->isVisible());

    window->SendWindowMessage(device::kMessageOpen, device::kTagOpen, 0);
    EXPECT_TRUE(window->isVisible()) << "asked for, it shows";
}

TEST_F(MainWindowTest, OpenWithoutKeyboardTellsTheUser) {
    keyboard().unplug();
    startWindow();
    bool presentButClosed = false;
    window->setKeyboardAccessCheck([&] { return presentButClosed; });
    window->SendWindowMessage(device::kMessageOpen, device::kTagOpen, 0);
    EXPECT_FALSE(window->isVisible());
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0], texts->text("MAIN_NO_DEVICE_PROMPT", u""));

    // Plugged in but not the user's to open: the doctor's advice, not "no keyboard".
    presentButClosed = true;
    window->SendWindowMessage(device::kMessageOpen, device::kTagOpen, 0);
    ASSERT_EQ(prompt.shown.size(), 2u);
    EXPECT_EQ(prompt.shown[1], texts->text("MAIN_NO_ACCESS_PROMPT", u""));
    EXPECT_NE(prompt.shown[1].find(u"quillmarctl doctor"), std::u16string::npos);
}

TEST_F(MainWindowTest, TheAboutBoxShowsTheLanguageFilesAboutTexts) {
    startWindow(true);
    window->OnCommand(kCommandAbout);
    ASSERT_NE(window->aboutBox(), nullptr);
    const auto* about = qobject_cast<QLabel*>(findControl(*window->aboutBox(), AboutBox::kNameLabel));
    const auto* copyright = qobject_cast<QLabel*>(findControl(*window->aboutBox(), AboutBox::kVersionLabel));
    ASSERT_TRUE(about && copyright);
    EXPECT_EQ(toU16(about->text()), texts->text("GUANYU_JIESHAO", u""));
    EXPECT_EQ(toU16(copyright->text()), texts->text("GUANYU_BANQUAN", u""));
    EXPECT_TRUE(about->text().contains("remap keys"));
}

// A broken install ends the program as before, but says which picture is
// missing so it can be told apart from a keyboard problem.
TEST_F(MainWindowTest, AMissingSkinPictureIsNamedOnStandardError) {
    ASSERT_GT(Init(0), 0);
    const auto program = folder_.path() / "program";
    std::filesystem::create_directories(program / "Skins");
    std::filesystem::copy_file(programDirectory() / "Skins" / "Main.ini", program / "Skins" / "Main.ini");
    texts = std::make_unique<text::StringTable>(languageFile());
    window = std::make_unique<CQuillmarDlg>(MainWindowSetup{program, userFolder(), *texts, settings, configuration});
    window->setAttribute(Qt::WA_DontShowOnScreen);
    window->setPrompt(prompt);
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(window->OnInitDialog(quillmar::testing::linkedSimService(), timing()));
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find((program / "Skins" / "main_normal.jpg").string()), std::string::npos) << err;
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(MainWindowTest, RemovalClosesDialogsAndHides) {
    startWindow();
    ASSERT_TRUE(pumpUntil([this] { return window->isVisible(); }));
    QDialog editor(window.get());
    markAsEditingDialog(editor);
    editor.show();
    QDialog question;  // a save question or a file dialog the user is answering
    question.show();
    window->OnCommand(kCommandAbout);
    ASSERT_NE(window->aboutBox(), nullptr);

    keyboard().unplug();
    ASSERT_TRUE(pumpUntil([this] { return !window->isVisible(); }));
    EXPECT_FALSE(editor.isVisible());
    EXPECT_TRUE(question.isVisible()) << "only the editing dialogs are cancelled";
    EXPECT_TRUE(pumpUntil([this] { return window->aboutBox() == nullptr; }));
}

TEST_F(MainWindowTest, TwoBankNoticesReturnToBankA) {
    startWindow(true);
    const auto wordsBefore = keyboard().statusWords().size();

    keyboard().pressBankKey();
    ASSERT_TRUE(pumpUntil([this] { return button(kButtonG1).text() == "B1"; }));
    EXPECT_TRUE(button(device::kBankIndicatorButton).faces().normal.cacheKey() ==
                button(device::kBankIndicatorButton).faces().over.cacheKey())
        << "bank B lights the indicator";

    keyboard().pressBankKey();
    ASSERT_TRUE(pumpUntil([this] { return button(kButtonG1).text() == "A1"; }));
    const auto words = keyboard().statusWords();
    ASSERT_EQ(words.size(), wordsBefore + 2);
    EXPECT_EQ(words[wordsBefore], (std::array<std::uint8_t, 2>{0x05, 0x03}));
    EXPECT_EQ(words[wordsBefore + 1], (std::array<std::uint8_t, 2>{0x05, 0x02}));
    EXPECT_EQ(button(1140).text(), "");
}

TEST_F(MainWindowTest, LightingNoticeRereadsTheLighting) {
    startWindow(true);
    keyboard().writeMemory(sim::SimArea::Settings, 0, std::vector<std::uint8_t>{7});
    keyboard().changeLightingOnKeyboard();
    ASSERT_TRUE(pumpUntil([this] { return window->lighting().state().effect == 7; }));
    EXPECT_FALSE(window->isTimerActive(kTimerLightingChanged)) << "one shot";
}

TEST_F(MainWindowTest, PreviewTimerStepsOnlyWithThePanelOpen) {
    startWindow(true);
    EXPECT_TRUE(window->isTimerActive(kTimerPreview));
    pumpFor(150ms);
    EXPECT_EQ(lightingPanel.previewSteps, 0);
    window->lighting().state().panelOpen = true;
    EXPECT_TRUE(pumpUntil([this] { return lightingPanel.previewSteps >= 2; }));
}

// ---- Key buttons --------------------------------------------------------

TEST_F(MainWindowTest, KeyButtonsEditTheSlotOfTheBank) {
    startWindow(true);
    window->OnCommand(kButtonG3);
    keyboard().pressBankKey();
    ASSERT_TRUE(pumpUntil([this] { return button(kButtonG1).text() == "B1"; }));
    window->OnCommand(kButtonG3);
    window->OnCommand(kButtonD4);
    window->OnCommand(kButtonA);

    ASSERT_EQ(compositeRequests.size(), 3u);
    EXPECT_EQ(compositeRequests[0].slot, 0x102);
    EXPECT_EQ(compositeRequests[1].slot, 0x10B);
    EXPECT_EQ(compositeRequests[2].slot, kSlotOfA);
    EXPECT_FALSE(compositeRequests[2].isG9);
}

// The built-in layout has no position for eight drawn keys: they look
// disabled, say why in their tooltip, and a click opens no editor.
TEST_F(MainWindowTest, KeysTheKeyboardCannotTakeAreShownAsNotAssignable) {
    constexpr int kButtonNumStar = 1106;
    startWindow(true);
    const std::u16string why = texts->text("KEY_NOT_ASSIGNABLE", u"");
    EXPECT_TRUE(button(kButtonNumStar).isUnassignable());
    EXPECT_TRUE(toU16(button(kButtonNumStar).toolTip()).ends_with(why));
    EXPECT_FALSE(button(kButtonA).isUnassignable());
    EXPECT_FALSE(toU16(button(kButtonA).toolTip()).ends_with(why));

    window->OnCommand(kButtonNumStar);
    EXPECT_TRUE(compositeRequests.empty());
    EXPECT_EQ(prompt.shown, std::vector<std::u16string>{why});
    window->OnCommand(kButtonA);
    EXPECT_EQ(compositeRequests.size(), 1u);
}

// Without a browser the help page and the web address are not lost: the
// user is told where they are.
TEST_F(MainWindowTest, HelpWithoutABrowserSaysWhereThePageIs) {
    startWindow(true);
    std::vector<QUrl> asked;
    bool browserStarts = false;
    window->setDocumentOpener([&](const QUrl& url) {
        asked.push_back(url);
        return browserStarts;
    });
    window->OnCommand(kHelp);
    ASSERT_EQ(asked.size(), 1u);
    const std::string page = (programDirectory() / "Help" / "index.html").string();
    EXPECT_EQ(asked[0].toLocalFile().toStdString(), page);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_NE(prompt.shown[0].find(QString::fromStdString(page).toStdU16String()), std::u16string::npos);

    browserStarts = true;
    window->OnCommand(kHelp);
    EXPECT_EQ(prompt.shown.size(), 1u);
}

TEST_F(MainWindowTest, WithTheLightingPanelOpenKeysArePaintedAndGKeysStillOpen) {
    startWindow(true);
    window->lighting().state().panelOpen = true;
    window->OnCommand(kButtonA);
    window->OnCommand(kFn);
    window->OnCommand(kButtonG1);
    EXPECT_EQ(lightingPanel.paintedKeys, (std::vector<int>{kButtonA, kFn}));
    ASSERT_EQ(compositeRequests.size(), 1u);
    EXPECT_EQ(compositeRequests[0].buttonId, kButtonG1);
}

TEST_F(MainWindowTest, ColourKeysModeTogglesFlagsThatSurviveLeavingTheMode) {
    startWindow(true);
    const QString functionText = button(kSwitch).text();
    window->OnCommand(kSwitch);
    const QString colourText = button(kSwitch).text();
    EXPECT_NE(colourText, functionText);

    window->OnCommand(kButtonA);
    EXPECT_TRUE(compositeRequests.empty());
    EXPECT_TRUE(window->isApplyEnabled());
    EXPECT_TRUE(button(kButtonA).colourKeyFlag());
    {
        const auto lock = configuration.working.lock();
        EXPECT_EQ(workingRecord(configuration, 0, kPositionOfA).colourKeyFlag, 1);
    }

    window->OnCommand(kSwitch);
    EXPECT_EQ(button(kSwitch).text(), functionText);
    EXPECT_FALSE(button(kButtonA).colourKeyMode());
    window->OnCommand(kSwitch);
    EXPECT_EQ(button(kSwitch).text(), colourText);
    EXPECT_TRUE(button(kButtonA).colourKeyFlag());
    EXPECT_EQ(button(kButtonA).currentFace(), CPngButton::Face::ColourKeyOn);
}

TEST_F(MainWindowTest, StoredFlipOfFiveActsAsModeOneAndTheToggleStoresZero) {
    settings.writeString("PROFILES", "Flip", "5");
    startWindow(true);
    EXPECT_FALSE(button(kButtonF1).isEnabled());
    EXPECT_TRUE(button(kButtonD1).isEnabled());
    EXPECT_TRUE(button(kFlip0).isSelected());

    window->OnCommand(kFlip2);
    EXPECT_EQ(settings.readString("PROFILES", "Flip", ""), "0");
    EXPECT_TRUE(button(kButtonF1).isEnabled());
    EXPECT_FALSE(button(kButtonD1).isEnabled());
    EXPECT_FALSE(button(kFlip0).isSelected());
}

TEST_F(MainWindowTest, ReloadShowsAssignedKeys) {
    startWindow(true);
    {
        const auto lock = configuration.working.lock();
        workingRecord(configuration, 0, kSlotOfA) = {AssignmentType::Disabled};
        workingRecord(configuration, 0, 0x109) = {AssignmentType::Media, 0, 7};
    }
    window->refreshKeyButtons(0);
    EXPECT_TRUE(button(kButtonA).isSelected());
    EXPECT_FALSE(button(kButtonG1).isSelected()) << "bank A";
    keyboard().pressBankKey();
    ASSERT_TRUE(pumpUntil([this] { return button(kButtonG1).text() == "B1"; }));
    EXPECT_TRUE(button(kButtonG1).isSelected()) << "bank B's G1";
}

// ---- Apply, restore, import, export -------------------------------------

std::vector<std::uint8_t> keyBlock(sim::SimKeyboard& keyboard, int profile) {
    return keyboard.readMemory(sim::SimArea::KeyBlocks, static_cast<std::size_t>(profile) * 378, 378);
}

std::vector<std::uint8_t> defaultBlock() {
    return {keyboard::kBuiltInDefaultKeyTable.begin(), keyboard::kBuiltInDefaultKeyTable.end()};
}

TEST_F(MainWindowTest, ApplyDownloadsWithTheBusyIndicatorShownMeanwhile) {
    startWindow(true);
    {
        const auto lock = configuration.working.lock();
        workingRecord(configuration, 0, kSlotOfA) = {AssignmentType::Disabled};
    }
    window->markChanged();
    bool shownDuringDownload = false;
    keyboard().setLatency(std::chrono::milliseconds(5));
    window->OnCommand(kApply);
    shownDuringDownload = window->control(kBusyIndicator)->isVisible() || window->isTimerActive(kTimerBusyIndicator);
    keyboard().setLatency(std::chrono::milliseconds(0));

    EXPECT_TRUE(shownDuringDownload) << "the indicator is up until the hide request arrives";
    EXPECT_NE(keyBlock(keyboard(), 0), defaultBlock());
    EXPECT_FALSE(window->isApplyEnabled());
    EXPECT_TRUE(std::filesystem::exists(userFolder() / "$Profile0"));
    ASSERT_TRUE(pumpUntil([this] { return !window->isTimerActive(kTimerBusyIndicator); }));
    EXPECT_FALSE(window->control(kBusyIndicator)->isVisible());
}

TEST_F(MainWindowTest, RestoreDefaultsAsksAndDownloads) {
    startWindow(true);
    {
        const auto lock = configuration.working.lock();
        workingRecord(configuration, 0, kSlotOfA) = {AssignmentType::Disabled};
    }
    window->refreshKeyButtons(0);
    window->markChanged();
    window->OnCommand(kApply);
    ASSERT_NE(keyBlock(keyboard(), 0), defaultBlock());

    keyboard().clearTrace();
    window->OnCommand(kRestoreDefaults);
    EXPECT_EQ(requestCount(), 0u) << "No changes nothing";
    EXPECT_TRUE(button(kButtonA).isSelected());

    prompt.answers = {true};
    window->OnCommand(kRestoreDefaults);
    ASSERT_EQ(prompt.shown.size(), 2u);
    EXPECT_EQ(prompt.shown[1], texts->text("MAIN_PROMPT_DEFAULT", u""));
    EXPECT_EQ(keyBlock(keyboard(), 0), defaultBlock());
    EXPECT_FALSE(button(kButtonA).isSelected());
    EXPECT_FALSE(window->isApplyEnabled());
}

TEST_F(MainWindowTest, ImportOfADamagedFileChangesNothing) {
    startWindow(true);
    const auto damaged = folder_.path() / "damaged.kbp";
    std::ofstream(damaged, std::ios::binary) << std::string(5000, '\x7F');
    files.importPath = damaged;
    {
        const auto lock = configuration.working.lock();
        workingRecord(configuration, 0, kSlotOfA) = {AssignmentType::Disabled};
    }
    window->markChanged();
    keyboard().clearTrace();

    window->OnCommand(kCommandImport);
    EXPECT_EQ(prompt.shown.back(), texts->text("MAIN_PROMPT_INPORT", u""));
    EXPECT_EQ(requestCount(), 0u);
    EXPECT_TRUE(window->isApplyEnabled());
    const auto lock = configuration.working.lock();
    EXPECT_EQ(workingRecord(configuration, 0, kSlotOfA).type, AssignmentType::Disabled);
}

TEST_F(MainWindowTest, ExportThenImportRestoresAndDownloadsEveryProfile) {
    startWindow(true);
    {
        const auto lock = configuration.working.lock();
        workingRecord(configuration, 2, kSlotOfA) = {AssignmentType::Disabled};
    }
    files.exportPath = files.importPath = folder_.path() / "saved.kbp";
    window->OnCommand(kCommandExport);
    {
        const auto lock = configuration.working.lock();
        workingRecord(configuration, 2, kSlotOfA) = {};
    }
    window->markChanged();

    window->OnCommand(kCommandImport);
    EXPECT_FALSE(window->isApplyEnabled());
    {
        const auto lock = configuration.working.lock();
        EXPECT_EQ(workingRecord(configuration, 2, kSlotOfA).type, AssignmentType::Disabled);
    }
    EXPECT_NE(keyBlock(keyboard(), 2), defaultBlock()) << "all three profiles downloaded";
}

TEST_F(MainWindowTest, AnImportTheKeyboardRefusesIsSaidAndLeavesApplyEnabled) {
    startWindow(true);
    {
        const auto lock = configuration.working.lock();
        workingRecord(configuration, 2, kSlotOfA) = {AssignmentType::Disabled};
    }
    files.exportPath = files.importPath = folder_.path() / "saved.kbp";
    window->OnCommand(kCommandExport);

    keyboard().answerWithStatus(0xFF, 1000);
    prompt.answers = {true};  // no backup can be read either; go on
    window->OnCommand(kCommandImport);
    keyboard().clearFaults();
    ASSERT_FALSE(prompt.shown.empty());
    EXPECT_EQ(prompt.shown.front(), texts->text("BACKUP_NOT_MADE", u""));
    EXPECT_EQ(prompt.shown.back(), texts->text("MAIN_IMPORT_NOT_DOWNLOADED", u""));
    EXPECT_TRUE(window->isApplyEnabled()) << "Apply can try again";
    EXPECT_EQ(keyBlock(keyboard(), 2), defaultBlock());
}

// ---- Checked writes of only what changed ---------------------------------

std::vector<int> commandsSent(sim::SimKeyboard& keyboard) {
    std::vector<int> commands;
    for (const std::string& line : keyboard.traceLines())
        if (line.rfind("> ", 0) == 0) commands.push_back(std::stoi(line.substr(2 + 3 * 3, 2), nullptr, 16));
    return commands;
}

void disableKeyA(config::Configuration& configuration, int profile) {
    const auto lock = configuration.working.lock();
    workingRecord(configuration, profile, kSlotOfA) = {AssignmentType::Disabled};
}

TEST_F(MainWindowTest, AKeyBlockTheKeyboardKeptOtherwiseIsToldAndApplyStaysEnabled) {
    // The empty macro area as the program writes it: only the key is left to write.
    keyboard().writeMemory(sim::SimArea::MacroArea, 0, config::buildMacroArea({}, true));
    startWindow(true);
    disableKeyA(configuration, 0);
    window->markChanged();
    keyboard().clearTrace();
    keyboard().keepOtherBytes(1);

    window->OnCommand(kApply);
    EXPECT_EQ(commandsSent(keyboard()), (std::vector<int>{1, 8, 2, 7})) << "the changed piece alone, read back";
    const std::u16string format = texts->text("DOWNLOAD_VERIFY_KEYS", u"");
    const auto at = format.find(u"%d");
    ASSERT_NE(at, std::u16string::npos);
    EXPECT_EQ(prompt.shown, std::vector<std::u16string>{format.substr(0, at) + u"1" + format.substr(at + 2)});
    EXPECT_TRUE(window->isApplyEnabled());

    keyboard().clearTrace();
    window->OnCommand(kApply);
    EXPECT_EQ(commandsSent(keyboard()), (std::vector<int>{1, 8, 2, 7}));
    EXPECT_FALSE(window->isApplyEnabled());
    EXPECT_EQ(prompt.shown.size(), 1u);
}

TEST_F(MainWindowTest, TheUsersSettingsTurnCheckingAndWritingOnlyChangesOff) {
    settings.writeNumber(platform::kProfilesSection, platform::kVerifyWritesValueName, 0);
    settings.writeNumber(platform::kProfilesSection, platform::kWriteChangesOnlyValueName, 0);
    startWindow(true);
    disableKeyA(configuration, 0);
    window->markChanged();
    keyboard().clearTrace();

    window->OnCommand(kApply);
    const std::vector<int> asAlways = {1, 10, 8, 8, 8, 8, 8, 8, 8, 2};
    EXPECT_EQ(commandsSent(keyboard()), asAlways);
    EXPECT_FALSE(window->isApplyEnabled());
}

// Another program may have written anything: what the window knew of the
// keyboard is dropped, so Yes writes its edits whole.
TEST_F(MainWindowTest, AReloadRequestDropsWhatWasKnownOfTheKeyboard) {
    startWindow(true);
    disableKeyA(configuration, 0);
    window->markChanged();
    window->OnCommand(kApply);
    ASSERT_FALSE(window->isApplyEnabled());
    {
        const auto lock = configuration.working.lock();
        workingRecord(configuration, 0, kSlotOfA) = {};  // one piece differs from what was written
    }
    window->markChanged();
    keyboard().clearTrace();

    prompt.answers = {true};
    window->SendWindowMessage(device::kMessageReloadProfile, device::kTagProf, 1);
    const auto sent = commandsSent(keyboard());
    EXPECT_EQ(std::count(sent.begin(), sent.end(), 8), 7) << "the whole key block";
    EXPECT_EQ(std::count(sent.begin(), sent.end(), 10), 1) << "and the macro area";
    EXPECT_FALSE(window->isApplyEnabled());
}

// ---- Backups --------------------------------------------------------------

std::vector<profiles::BackupEntry> backupsIn(const std::filesystem::path& userFolder) {
    return profiles::Backups(profiles::UserFolder(userFolder)).list();
}

TEST_F(MainWindowTest, AnImportKeepsABackupThatTheBackupsEntryPutsBackAfterAsking) {
    startWindow(true);
    const std::vector<std::uint8_t> settingsBefore = keyboard().readMemory(sim::SimArea::Settings, 0, 126);
    {
        const auto lock = configuration.working.lock();
        workingRecord(configuration, 2, kSlotOfA) = {AssignmentType::Disabled};
    }
    files.exportPath = files.importPath = folder_.path() / "saved.kbp";
    window->OnCommand(kCommandExport);
    window->OnCommand(kCommandImport);
    ASSERT_NE(keyBlock(keyboard(), 2), defaultBlock());
    auto kept = backupsIn(userFolder());
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].operation, "import");
    ASSERT_TRUE(keyboard().writeMemory(sim::SimArea::Settings, 0, std::vector<std::uint8_t>(126, 0x02)));

    window->recordConfigurationEdit(profiles::EditKind::KeyAssignment, [this] {
        const auto lock = configuration.working.lock();
        workingRecord(configuration, 1, kSlotOfA) = {AssignmentType::Disabled};
    });
    ASSERT_NE(window->editHistory().nextUndo(), nullptr);
    backups.chooseNewest = true;
    keyboard().clearTrace();
    prompt.shown.clear();
    window->OnCommand(kCommandBackups);
    EXPECT_EQ(backups.offered, kept);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0], profiles::backupText(*texts, text::TextSlot::BACKUP_RESTORE_CONFIRM, kept[0].time));
    EXPECT_EQ(requestCount(), 0u) << "No changes nothing";
    EXPECT_NE(keyBlock(keyboard(), 2), defaultBlock());

    prompt.answers = {true};
    window->OnCommand(kCommandBackups);
    EXPECT_EQ(keyBlock(keyboard(), 2), defaultBlock());
    EXPECT_EQ(keyboard().readMemory(sim::SimArea::Settings, 0, 126), settingsBefore);
    EXPECT_FALSE(window->isApplyEnabled());
    EXPECT_EQ(window->editHistory().nextUndo(), nullptr) << "no step applies to what the restore replaced";
    {
        const auto lock = configuration.working.lock();
        EXPECT_EQ(workingRecord(configuration, 2, kSlotOfA).type, AssignmentType::Default) << "the window shows it";
    }
    kept = backupsIn(userFolder());
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept[0].operation, "restore") << "what the restore replaced is kept too";
}

TEST_F(MainWindowTest, AnImportWhoseBackupCannotBeMadeAsksAndNoChangesNothing) {
    startWindow(true);
    files.exportPath = files.importPath = folder_.path() / "saved.kbp";
    window->OnCommand(kCommandExport);
    std::ofstream(userFolder() / "Backups") << "in the way";
    {
        const auto lock = configuration.working.lock();
        workingRecord(configuration, 0, kSlotOfA) = {AssignmentType::Disabled};
    }
    window->markChanged();
    prompt.shown.clear();

    window->OnCommand(kCommandImport);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0], texts->text("BACKUP_NOT_MADE", u""));
    EXPECT_TRUE(window->isApplyEnabled());
    const auto lock = configuration.working.lock();
    EXPECT_EQ(workingRecord(configuration, 0, kSlotOfA).type, AssignmentType::Disabled) << "not imported";
}

TEST_F(MainWindowTest, RestoreDefaultsKeepsABackupFirst) {
    startWindow(true);
    prompt.answers = {true};
    window->OnCommand(kRestoreDefaults);
    const auto kept = backupsIn(userFolder());
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].operation, "restore-defaults");
}

TEST_F(MainWindowTest, TheBackupsWindowListsTheEntriesAndRestoresThePickedOne) {
    startWindow(true);
    const std::vector<profiles::BackupEntry> entries = {{"20261210-170512-2", "2026-12-10 17:05:12", "restore", {}},
                                                        {"20261210-170512", "2026-12-10 17:05:12", "import", {}}};
    BackupsDialog dialog(entries, *texts, window.get());
    auto* list = qobject_cast<QListWidget*>(findControl(dialog, BackupsDialog::kList));
    auto* restore = qobject_cast<QPushButton*>(findControl(dialog, BackupsDialog::kRestore));
    ASSERT_NE(list, nullptr);
    ASSERT_NE(restore, nullptr);
    EXPECT_EQ(dialog.windowTitle(), QString("Backups"));
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), QString("2026-12-10 17:05:12  before a restore"));
    EXPECT_EQ(list->item(1)->text(), QString("2026-12-10 17:05:12  before an import"));
    EXPECT_FALSE(restore->isEnabled()) << "nothing picked yet";
    EXPECT_FALSE(findControl(dialog, BackupsDialog::kNoBackups)->isVisibleTo(&dialog));

    list->setCurrentRow(1);
    ASSERT_TRUE(restore->isEnabled());
    restore->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.chosenName(), "20261210-170512");

    BackupsDialog empty({}, *texts, window.get());
    EXPECT_TRUE(findControl(empty, BackupsDialog::kNoBackups)->isVisibleTo(&empty));
    EXPECT_FALSE(findControl(empty, BackupsDialog::kRestore)->isEnabled());
    qobject_cast<QPushButton*>(findControl(empty, BackupsDialog::kClose))->click();
    EXPECT_EQ(empty.chosenName(), std::nullopt);
}

// ---- Keyboard filtering and menus ---------------------------------------

TEST_F(MainWindowTest, EnterEscapeAndArrowsOnTheEffectListDoNothing) {
    startWindow(true);
    window->SendWindowMessage(device::kMessageOpen, device::kTagOpen, 0);
    auto* effects = qobject_cast<QComboBox*>(window->control(kFirstLightingControl));
    ASSERT_NE(effects, nullptr);
    effects->addItems({"one", "two", "three"});
    effects->show();
    effects->setCurrentIndex(1);
    QSignalSpy closed(window.get(), &CQuillmarDlg::modalRunEnded);

    for (int key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_Left, Qt::Key_Right, Qt::Key_Return, Qt::Key_Escape})
        QTest::keyClick(effects, static_cast<Qt::Key>(key));
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_EQ(effects->currentIndex(), 1);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(closed.count(), 0);
}

TEST_F(MainWindowTest, ButtonMenuTextsFollowTheLanguage) {
    for (int language : {1, 0}) {
        writeLanguage(language);
        startWindow(true);
        std::unique_ptr<QMenu> menu(window->buildButtonMenu());
        ASSERT_EQ(menu->actions().size(), 5);
        EXPECT_EQ(toU16(menu->actions()[0]->text()), texts->ReadText("MENU_1"));
        EXPECT_EQ(toU16(menu->actions()[2]->text()), texts->ReadText("MENU_BACKUPS"));
        EXPECT_EQ(menu->actions()[2]->data().toInt(), kCommandBackups);
        EXPECT_EQ(menu->actions()[4]->data().toInt(), kCommandMenuClose);
        EXPECT_EQ(menu->actions()[0]->text().startsWith("Import"), language == 1);
        menu.reset();
        TearDown();
    }
}

// ---- Tray ---------------------------------------------------------------

TEST_F(MainWindowTest, TrayMenuTextsFollowTheLanguage) {
    for (int language : {1, 0}) {
        writeLanguage(language);
        startWindow(true);
        ASSERT_NE(window->trayIcon(), nullptr);
        const QList<QAction*> items = window->trayIcon()->menu().actions();
        ASSERT_EQ(items.size(), 3);
        EXPECT_EQ(toU16(items[0]->text()), texts->ReadText("MENU_11"));
        EXPECT_EQ(toU16(items[1]->text()), texts->ReadText("MENU_22"));
        EXPECT_EQ(toU16(items[2]->text()), texts->ReadText("MENU_33"));
        EXPECT_EQ(items[0]->text().contains("Open"), language == 1);
        TearDown();
    }
}

TEST_F(MainWindowTest, TrayFollowsPresenceAndTheIndicatorAndOpensTheWindow) {
    startWindow(true);
    CTrayIcon& tray = *window->trayIcon();
    ASSERT_TRUE(pumpUntil([&] { return tray.currentIcon() == device::kIconKeyboard; }));
    keyboard().setIndicator(true);
    ASSERT_TRUE(pumpUntil([&] { return tray.currentIcon() == device::kIconIndicator; }));
    keyboard().setIndicator(false);
    ASSERT_TRUE(pumpUntil([&] { return tray.currentIcon() == device::kIconKeyboard; }));

    tray.onActivated(QSystemTrayIcon::DoubleClick);
    EXPECT_TRUE(window->isVisible());
    emit tray.commandChosen(kCommandAbout);
    EXPECT_NE(window->aboutBox(), nullptr);

    keyboard().unplug();
    ASSERT_TRUE(pumpUntil([&] { return tray.currentIcon() == device::kIconNoKeyboard; }));
}

TEST_F(MainWindowTest, WithoutATrayTheWindowStaysShown) {
    keyboard().unplug();
    texts = std::make_unique<text::StringTable>(languageFile());
    texts->LoadStringTable();
    window = std::make_unique<CQuillmarDlg>(MainWindowSetup{programDirectory(), userFolder(), *texts, settings, configuration});
    window->setAttribute(Qt::WA_DontShowOnScreen);
    window->setPrompt(prompt);
    window->setTrayAvailability([] { return false; });
    ASSERT_TRUE(window->OnInitDialog(quillmar::testing::linkedSimService(), timing()));
    ASSERT_TRUE(pumpUntil([this] { return window->isInitialised(); }));
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->trayIcon()->isPresent());
}

TEST_F(MainWindowTest, WindowTextsComeFromTheLanguageFile) {
    startWindow(true);
    EXPECT_EQ(toU16(button(kApply).text()), texts->ReadText("PROFILE_APPLY"));
    EXPECT_EQ(toU16(button(kFirstProfileButton).text()), texts->ReadText("PROFILE_1"));
    EXPECT_EQ(toU16(button(kSwitch).text()), texts->text("MAIN_SWITCH_FUNCTION_TEXT", u""));
    EXPECT_EQ(toU16(button(kClose).toolTip()), texts->text("MAIN_CLOSE_PROMPT", u""));
    EXPECT_EQ(window->windowTitle(), "Gaming Keyboard Settings");
}

// ---- Undo and redo ------------------------------------------------------

TEST_F(MainWindowTest, ColourKeyClicksAreUndoneOneAtATimeAndTheStatusLineSaysWhatIsNext) {
    startWindow(true);
    QLabel* status = window->undoStatus();
    ASSERT_NE(status, nullptr);
    EXPECT_FALSE(status->isVisibleTo(window.get())) << "nothing to undo or redo yet";
    window->OnCommand(kSwitch);
    window->OnCommand(kButtonA);
    window->OnCommand(kButtonG1);
    EXPECT_TRUE(status->isVisibleTo(window.get()));
    EXPECT_TRUE(status->text().contains("Undo colour key")) << status->text().toStdString();
    EXPECT_TRUE(status->text().contains("Nothing to redo"));

    ASSERT_TRUE(window->undo());
    EXPECT_FALSE(button(kButtonG1).colourKeyFlag());
    EXPECT_TRUE(button(kButtonA).colourKeyFlag());
    EXPECT_TRUE(status->toolTip().contains("Redo colour key")) << status->toolTip().toStdString();
    ASSERT_TRUE(window->undo());
    EXPECT_FALSE(button(kButtonA).colourKeyFlag());
    EXPECT_TRUE(status->text().contains("Nothing to undo"));
    EXPECT_TRUE(window->isApplyEnabled());
    ASSERT_TRUE(window->redo());
    EXPECT_TRUE(button(kButtonA).colourKeyFlag());
}

TEST_F(MainWindowTest, EditsDroppedAtAProfileChangeLeaveNothingToUndo) {
    startWindow(true);
    window->OnCommand(kSwitch);
    window->OnCommand(kButtonA);
    ASSERT_NE(window->editHistory().nextUndo(), nullptr);
    prompt.answers = {false};  // do not save the changes to this profile
    window->OnCommand(kFirstProfileButton + 1);
    EXPECT_FALSE(window->isApplyEnabled());
    EXPECT_EQ(window->editHistory().nextUndo(), nullptr);
    EXPECT_FALSE(window->undo());
}

TEST_F(MainWindowTest, TheShortcutsUndoAndRedoWhileTheWindowIsActive) {
    startWindow(true);
    window->show();
    window->activateWindow();
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(pumpUntil([this] { return QApplication::activeWindow() == window.get(); }));
    window->OnCommand(kSwitch);
    window->OnCommand(kButtonA);
    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(button(kButtonA).colourKeyFlag()) << "Ctrl+Z";
    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(button(kButtonA).colourKeyFlag()) << "Ctrl+Shift+Z";
    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(window.get(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_TRUE(button(kButtonA).colourKeyFlag()) << "Ctrl+Y";
}

TEST_F(MainWindowTest, UndoOfRestoreDefaultsBringsBackKeysThatTheNextApplyWrites) {
    startWindow(true);
    {
        const auto lock = configuration.working.lock();
        workingRecord(configuration, 0, kSlotOfA) = {AssignmentType::Disabled};
    }
    window->markChanged();
    window->OnCommand(kApply);
    const auto disabled = keyBlock(keyboard(), 0);
    prompt.answers = {true};
    window->OnCommand(kRestoreDefaults);
    ASSERT_EQ(keyBlock(keyboard(), 0), defaultBlock());
    EXPECT_EQ(window->editHistory().undoLabel(*texts), u"Undo restore defaults");

    ASSERT_TRUE(window->undo());
    EXPECT_TRUE(button(kButtonA).isSelected());
    EXPECT_TRUE(window->isApplyEnabled());
    EXPECT_EQ(keyBlock(keyboard(), 0), defaultBlock()) << "undo itself sends nothing";
    window->OnCommand(kApply);
    EXPECT_EQ(keyBlock(keyboard(), 0), disabled);
    ASSERT_TRUE(window->redo());
    window->OnCommand(kApply);
    EXPECT_EQ(keyBlock(keyboard(), 0), defaultBlock());
}

TEST_F(MainWindowTest, UndoOfAnImportRestoresEveryProfile) {
    startWindow(true);
    {
        const auto lock = configuration.working.lock();
        workingRecord(configuration, 2, kSlotOfA) = {AssignmentType::Disabled};
    }
    files.exportPath = files.importPath = folder_.path() / "saved.kbp";
    window->OnCommand(kCommandExport);
    {
        const auto lock = configuration.working.lock();
        workingRecord(configuration, 2, kSlotOfA) = {};
    }
    window->OnCommand(kCommandImport);
    ASSERT_NE(keyBlock(keyboard(), 2), defaultBlock());
    EXPECT_EQ(window->editHistory().undoLabel(*texts), u"Undo import");
    ASSERT_TRUE(window->undo());
    window->OnCommand(kApply);
    EXPECT_EQ(keyBlock(keyboard(), 2), defaultBlock()) << "another profile than the active one";
}

}  // namespace
}  // namespace quillmar::shell::testing
