// The key and macro dialog on the main window against the simulated keyboard:
// opened through a key button click, driven through its message map, with key
// events arriving as Qt events that carry native scan codes.
#include "MainWindowFixture.h"

#include "config/AssignmentBlock.h"
#include "keyboard/KeyName.h"
#include "keyboard/KeySelectionList.h"
#include "shell/dialogs/CompositeDialogIds.h"
#include "shell/dialogs/DialogPlacement.h"
#include "shell/dialogs/Quillmar_DlgComposite.h"
#include "shell/window/MainWindowIds.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QTableWidget>
#include <QTest>

namespace quillmar::shell::testing {
namespace {

using namespace composite_dialog;
using keyboard::AssignmentType;

constexpr int kButtonA = 1058;
constexpr int kButtonS = 1059;
constexpr int kButtonD = 1060;
constexpr int kButtonF = 1061;
constexpr int kButtonG = 1062;
constexpr int kButtonG9 = 1143;
constexpr int kSlotOfA = 0x1E;
constexpr int kEvdevOffset = 8;

// A key event as X11 or Wayland delivers it: the native scan code is the
// input event code plus 8.
struct KeyStroke {
    int qtKey;
    int evdev;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

void sendKey(QWidget& target, QEvent::Type type, const KeyStroke& key, bool autoRepeat = false) {
    QKeyEvent event(type, key.qtKey, key.modifiers, static_cast<quint32>(key.evdev + kEvdevOffset), 0, 0, QString(),
                    autoRepeat);
    QApplication::sendEvent(&target, &event);
}

void tap(QWidget& target, const KeyStroke& key) {
    sendKey(target, QEvent::KeyPress, key);
    sendKey(target, QEvent::KeyRelease, key);
}

const KeyStroke kA{Qt::Key_A, 30};
const KeyStroke kB{Qt::Key_B, 48};

std::vector<std::uint8_t> keyBlock(sim::SimKeyboard& keyboard, int profile) {
    return keyboard.readMemory(sim::SimArea::KeyBlocks, static_cast<std::size_t>(profile) * 378, 378);
}

std::vector<std::uint8_t> defaultBlock() {
    return {keyboard::kBuiltInDefaultKeyTable.begin(), keyboard::kBuiltInDefaultKeyTable.end()};
}

// The key block position of the key with this keyboard-page usage.
std::size_t positionOfUsage(std::uint8_t usage) {
    const auto& table = keyboard::kBuiltInDefaultKeyTable;
    for (std::size_t p = 0; p < 126; ++p)
        if (table[p * 3] == 2 && table[p * 3 + 1] == 2 && table[p * 3 + 2] == usage) return p;
    ADD_FAILURE() << "no position for usage " << int(usage);
    return 0;
}

class CompositeDialogTest : public MainWindowFixture {
protected:
    void open() {
        startWindow(true);
        settings.writeString(platform::kProfilesSection, "RecordDelay", "1");
        dialog = new Quillmar_DlgComposite(*window, {programDirectory(), *texts, settings, configuration.working, clock});
        window->setCompositeOpener([this](const CompositeRequest& request) {
            ASSERT_TRUE(dialog->openForKey(request));
            editorOpenDuringScript = window->isEditorOpen();
            if (script) script(*dialog);
        });
    }

    // Clicks the key button; the script runs while the dialog is open.
    void clickKey(int buttonId, std::function<void(Quillmar_DlgComposite&)> run) {
        script = std::move(run);
        window->OnCommand(buttonId);
        script = nullptr;
    }

    keyboard::KeyAssignment record(int profile, int slot) {
        const auto lock = configuration.working.lock();
        return configuration.working.records()[static_cast<std::size_t>(config::assignmentRecordIndex(profile, slot))];
    }

    template <class Widget>
    Widget& widget(int id) {
        auto* found = qobject_cast<Widget*>(dialog->control(id));
        EXPECT_NE(found, nullptr) << id;
        return *found;
    }

    void giveMacros(std::initializer_list<std::pair<std::uint16_t, const char16_t*>> macros) {
        const auto lock = configuration.working.lock();
        config::MacroList list;
        for (const auto& [id, name] : macros) {
            config::MacroRecord macro{};
            config::setMacroName(macro, name);
            macro.id = id;
            macro.loopCount = 1;
            config::appendMacroAction(macro, {100, 0x1E, config::KeyDirection::Press});
            list.push_back(macro);
        }
        configuration.working.replaceMacros(std::move(list));
    }

    void applyEverything() {
        window->requireAllProfilesDownload();
        window->markChanged();
        window->OnCommand(main_window::kApply);
        ASSERT_FALSE(window->isApplyEnabled());
    }

    platform::FakeClock clock;
    Quillmar_DlgComposite* dialog = nullptr;
    std::function<void(Quillmar_DlgComposite&)> script;
    bool editorOpenDuringScript = false;
};

TEST_F(CompositeDialogTest, OpensOnTheMultimediaEntryOfTheRecord) {
    open();
    {
        const auto lock = configuration.working.lock();
        configuration.working.records()[kSlotOfA] = {AssignmentType::Media, 0, 5};
    }
    clickKey(kButtonA, [&](Quillmar_DlgComposite& d) {
        EXPECT_TRUE(d.button(kMediaTab)->isSelected());
        EXPECT_FALSE(d.control(kMediaList)->isHidden());
        EXPECT_TRUE(d.control(kActionList)->isHidden());
        EXPECT_EQ(widget<QListWidget>(kMediaList).currentRow(), 5);
        EXPECT_EQ(widget<QListWidget>(kMediaList).count(), 18);
        EXPECT_FALSE(d.control(kApply)->isEnabled());
        d.OnCommand(kCancel);
    });
    EXPECT_TRUE(editorOpenDuringScript);
    EXPECT_FALSE(window->isEditorOpen());
    EXPECT_FALSE(dialog->isOpen());
}

TEST_F(CompositeDialogTest, OkWithoutChangesLeavesTheMainWindowUnchanged) {
    open();
    clickKey(kButtonA, [&](Quillmar_DlgComposite& d) { d.OnCommand(kOk); });
    EXPECT_FALSE(window->isApplyEnabled());
    clickKey(kButtonA, [&](Quillmar_DlgComposite& d) {
        d.OnCommand(kMediaTab);
        d.OnCommand(kOk);
    });
    EXPECT_TRUE(window->isApplyEnabled());
    EXPECT_EQ(record(0, kSlotOfA).type, AssignmentType::Media);
}

TEST_F(CompositeDialogTest, G9OffersOnlyMacros) {
    open();
    clickKey(kButtonG9, [&](Quillmar_DlgComposite& d) {
        EXPECT_TRUE(d.button(kMacroTab)->isSelected());
        for (int id : {kKeyTab, kMediaTab, kFunctionTab, kClear}) EXPECT_FALSE(d.control(id)->isEnabled()) << id;
        EXPECT_FALSE(d.OnCommand(kKeyTab));
        EXPECT_EQ(d.session().storedTab(), config::kTabMacro);
        EXPECT_TRUE(d.control(kKeyPrompt)->isHidden());
        d.OnCommand(kCancel);
    });
}

TEST_F(CompositeDialogTest, TheSingleKeyTabCapturesKeysByTheirScanCodes) {
    open();
    struct Case {
        const char* what;
        KeyStroke key;
        bool autoRepeat;
        keyboard::KeyCode captured;  // 0: the event passes and nothing is captured
    } cases[] = {
        {"a letter", kB, false, 0x030},
        {"keypad 7 with Num Lock on", {Qt::Key_7, 71, Qt::KeypadModifier}, false, 0x047},
        {"keypad 7 with Num Lock off", {Qt::Key_Home, 71, Qt::KeypadModifier}, false, 0x047},
        {"Home", {Qt::Key_Home, 102}, false, 0x147},
        {"Right Ctrl", {Qt::Key_Control, 97}, false, 0x11D},
        {"Super", {Qt::Key_Super_L, 125}, false, 0x15B},
        {"Menu", {Qt::Key_Menu, 127}, false, 0x15D},
        {"Print Screen", {Qt::Key_Print, 99}, false, 0x137},
        {"Pause", {Qt::Key_Pause, 119}, false, 0x045},
        {"Num Lock", {Qt::Key_NumLock, 69}, false, 0x145},
        {"a media key passes", {Qt::Key_VolumeMute, 113}, false, 0},
        {"an auto-repeat is no fresh press", kB, true, 0},
    };
    for (const Case& c : cases) {
        clickKey(kButtonA, [&](Quillmar_DlgComposite& d) {
            auto& field = widget<QLineEdit>(kCaptureField);
            QKeyEvent press(QEvent::KeyPress, c.key.qtKey, c.key.modifiers, static_cast<quint32>(c.key.evdev + kEvdevOffset),
                            0, 0, QString(), c.autoRepeat);
            const bool delivered = QApplication::sendEvent(&field, &press);
            EXPECT_EQ(d.session().capturedKey(), c.captured) << c.what;
            EXPECT_EQ(d.control(kApply)->isEnabled(), c.captured != 0) << c.what;
            if (c.captured) {
                EXPECT_TRUE(delivered) << c.what << " is swallowed";
                EXPECT_EQ(field.text().toStdU16String(), keyboard::keyName(c.captured, *texts)) << c.what;
            }
            d.OnCommand(kCancel);
        });
    }
}

TEST_F(CompositeDialogTest, AHeldKeyIsCapturedOnceAndItsOwnKeyStoresDefault) {
    open();
    clickKey(kButtonA, [&](Quillmar_DlgComposite& d) {
        sendKey(d, QEvent::KeyPress, kB);
        sendKey(d, QEvent::KeyPress, kA, true);  // A held from before the dialog opened
        sendKey(d, QEvent::KeyRelease, kB);
        EXPECT_EQ(d.session().capturedKey(), 0x30);
        d.OnCommand(kApply);
        EXPECT_EQ(record(0, kSlotOfA).type, AssignmentType::Key);
        EXPECT_TRUE(window->isApplyEnabled());
        tap(d, kA);
        d.OnCommand(kOk);
    });
    EXPECT_EQ(record(0, kSlotOfA).type, AssignmentType::Default);
    EXPECT_EQ(record(0, kSlotOfA).value, 0u);
}

TEST_F(CompositeDialogTest, ClearThenApplyOnAMacroKeyLeavesTheNameAloneInTheTooltip) {
    open();
    giveMacros({{1, u"Jump"}});
    {
        const auto lock = configuration.working.lock();
        configuration.working.records()[kSlotOfA] = {AssignmentType::PlayMacro, 1, 1};
    }
    window->refreshKeyButtons(0);
    ASSERT_NE(window->button(kButtonA)->toolTip().toStdU16String(), keyboard::keyName(0x1E, *texts));
    clickKey(kButtonA, [&](Quillmar_DlgComposite& d) {
        d.OnCommand(kClear);
        EXPECT_TRUE(d.button(kKeyTab)->isSelected());
        d.OnCommand(kOk);
    });
    EXPECT_EQ(record(0, kSlotOfA).type, AssignmentType::Default);
    EXPECT_EQ(window->button(kButtonA)->toolTip().toStdU16String(), keyboard::keyName(0x1E, *texts));
    EXPECT_FALSE(window->button(kButtonA)->isSelected());
}

TEST_F(CompositeDialogTest, TheMacroTabWithNoMacrosStoresDefault) {
    open();
    clickKey(kButtonA, [&](Quillmar_DlgComposite& d) {
        d.OnCommand(kMacroTab);
        EXPECT_FALSE(d.control(kRecord)->isEnabled()) << "no macro to record into";
        d.OnCommand(kOk);
    });
    EXPECT_EQ(record(0, kSlotOfA).type, AssignmentType::Default);
}

TEST_F(CompositeDialogTest, LoopCountAndDelayFieldsCorrectWhatIsTyped) {
    open();
    giveMacros({{1, u"Macro12"}});
    clickKey(kButtonA, [&](Quillmar_DlgComposite& d) {
        d.OnCommand(kMacroTab);
        auto& loops = widget<QLineEdit>(kLoopCount);
        for (const auto& [typed, shown] : {std::pair{"300", "255"}, {"0", "1"}, {"17", "17"}}) {
            loops.selectAll();
            QTest::keyClicks(&loops, typed);
            EXPECT_EQ(loops.text().toStdString(), shown) << typed;
        }
        for (const auto& [typed, stored, messages] :
             {std::tuple{"12345", "12340", 0u}, std::tuple{"50000", "40000", 1u}}) {
            prompt.shown.clear();
            d.beginCellEdit(0, kDelayColumn);
            auto* editor = qobject_cast<QLineEdit*>(d.cellEditor());
            ASSERT_NE(editor, nullptr);
            editor->setText(typed);
            d.endCellEdit();
            EXPECT_EQ(widget<QTableWidget>(kActionList).item(0, kDelayColumn)->text().toStdString(), stored);
            EXPECT_EQ(prompt.shown.size(), messages);
        }
        d.beginCellEdit(0, kKeyColumn);
        auto* keys = qobject_cast<QComboBox*>(d.cellEditor());
        ASSERT_NE(keys, nullptr);
        EXPECT_EQ(keys->count(), 106);
        keys->setCurrentIndex(keyboard::listPositionOf(0x30));
        d.endCellEdit();
        EXPECT_EQ(d.session().actions()[0].keyCode, 0x30);

        d.OnCommand(kAddMacro);
        EXPECT_EQ(widget<QComboBox>(kMacroBox).currentText().toStdU16String(), u"Macro2");
        d.OnCommand(kOk);
    });
    const auto lock = configuration.working.lock();
    ASSERT_EQ(configuration.working.macros().size(), 2u);
    EXPECT_EQ(configuration.working.macros()[0].loopCount, 17);
    EXPECT_EQ(configuration.working.macros()[0].actions[0].delayMs, 40000u);
}

TEST_F(CompositeDialogTest, RecordingTakesKeysUntilStoppedAndLetsMediaKeysPass) {
    open();
    giveMacros({{1, u"Combo"}});
    clickKey(kButtonA, [&](Quillmar_DlgComposite& d) {
        d.OnCommand(kMacroTab);
        d.OnCommand(kClearActions);
        prompt.answers = {true};
        d.OnCommand(kClearActions);
        d.OnCommand(kRecord);
        EXPECT_FALSE(d.control(kAddMacro)->isEnabled());
        clock.advance(300);
        sendKey(d, QEvent::KeyPress, kA);
        clock.advance(40);
        sendKey(d, QEvent::KeyPress, kA, true);
        clock.advance(40);
        sendKey(d, QEvent::KeyRelease, kA);
        clock.advance(50);
        sendKey(d, QEvent::KeyPress, {Qt::Key_VolumeMute, 113});
        sendKey(d, QEvent::KeyPress, {Qt::Key_Print, 99});
        clock.advance(20);
        sendKey(d, QEvent::KeyRelease, {Qt::Key_Print, 99});
        d.OnCommand(kRecord);
        EXPECT_TRUE(d.control(kAddMacro)->isEnabled());
        sendKey(d, QEvent::KeyPress, kB);  // not recorded once stopped
        const auto& list = widget<QTableWidget>(kActionList);
        ASSERT_EQ(list.rowCount(), 4);
        const std::vector<std::pair<QString, QString>> rows = {
            {QStringLiteral("↓"), "80"}, {QStringLiteral("  ↑"), "50"}, {QStringLiteral("↓"), "20"}, {QStringLiteral("  ↑"), "0"}};
        for (int row = 0; row < 4; ++row) {
            EXPECT_EQ(list.item(row, kDirectionColumn)->text(), rows[static_cast<std::size_t>(row)].first) << row;
            EXPECT_EQ(list.item(row, kDelayColumn)->text(), rows[static_cast<std::size_t>(row)].second) << row;
        }
        EXPECT_EQ(d.session().actions()[2].keyCode, 0x137);
        d.OnCommand(kCancel);
    });
    const auto lock = configuration.working.lock();
    EXPECT_EQ(configuration.working.macros()[0].actionCount, 1) << "Cancel keeps the stored macro";
}

TEST_F(CompositeDialogTest, TheRecordDelaySettingIsReadAndWritten) {
    open();
    settings.writeString(platform::kProfilesSection, "RecordDelay", "5");
    clickKey(kButtonA, [&](Quillmar_DlgComposite& d) {
        EXPECT_FALSE(widget<QCheckBox>(kRecordDelays).isChecked()) << "anything but 1 is off";
        EXPECT_EQ(settings.readString(platform::kProfilesSection, "RecordDelay", ""), "0");
        widget<QCheckBox>(kRecordDelays).click();
        EXPECT_EQ(settings.readString(platform::kProfilesSection, "RecordDelay", ""), "1");
        EXPECT_TRUE(d.session().recordsDelays());
        d.OnCommand(kCancel);
    });
}

// ---- The whole road --------------------------------------------------------

TEST_F(CompositeDialogTest, EveryTabReachesTheKeyboardByteForByte) {
    open();
    clickKey(kButtonA, [&](Quillmar_DlgComposite& d) {
        tap(d, kB);
        d.OnCommand(kApply);
        d.OnCommand(kOk);
    });
    clickKey(kButtonS, [&](Quillmar_DlgComposite& d) {
        d.OnCommand(kMediaTab);
        widget<QListWidget>(kMediaList).setCurrentRow(7);  // Mute
        d.OnCommand(kOk);
    });
    clickKey(kButtonD, [&](Quillmar_DlgComposite& d) {
        d.OnCommand(kFunctionTab);
        widget<QListWidget>(kFunctionList).setCurrentRow(4);  // Copy
        d.OnCommand(kOk);
    });
    clickKey(kButtonF, [&](Quillmar_DlgComposite& d) {
        d.OnCommand(kMacroTab);
        widget<QComboBox>(kMacroBox).setEditText(QStringLiteral("ab"));  // typing creates the first macro
        d.OnCommand(kRecord);
        sendKey(d, QEvent::KeyPress, kA);
        clock.advance(125);
        sendKey(d, QEvent::KeyRelease, kA);
        d.OnCommand(kOk);
    });
    EXPECT_TRUE(window->isApplyEnabled());
    window->OnCommand(main_window::kApply);
    EXPECT_FALSE(window->isApplyEnabled());

    std::vector<std::uint8_t> expected = defaultBlock();
    const auto put = [&](std::uint8_t usage, std::array<std::uint8_t, 3> entry) {
        std::copy(entry.begin(), entry.end(), expected.begin() + static_cast<std::ptrdiff_t>(positionOfUsage(usage) * 3));
    };
    put(0x04, {0x02, 0x02, 0x05});  // A sends B
    put(0x16, {0x03, 0xE2, 0x00});  // S: Mute
    put(0x07, {0x05, 0x05, 0x04});  // D: Copy
    put(0x09, {0x05, 0x01, 0x00});  // F plays the first macro
    EXPECT_EQ(keyBlock(keyboard(), 0), expected);

    const std::vector<std::uint8_t> area = {
        0xAA, 0x55, 0x22, 0x00, 0x01, 0x00, 0x01, 0x00, 0, 0, 0, 0, 0, 0, 0, 0,  // header: 34 bytes, one macro, names
        0x12, 0x00,                                                            // offset of the entry
        0x02, 0x00, 0x01, 0x02,                                                // two actions, loop 1, name of 2
        0x0C, 0xA0, 0x02, 0x04,                                                // press A, then 120 ms
        0x00, 0x20, 0x02, 0x04,                                                // release A
        0x61, 0x00, 0x62, 0x00,                                                // "ab"
    };
    EXPECT_EQ(keyboard().readMemory(sim::SimArea::MacroArea, 0, area.size()), area);
}

TEST_F(CompositeDialogTest, DeletingMacrosRewritesTheOtherProfilesThatPlayThem) {
    open();
    giveMacros({{1, u"First"}, {2, u"Second"}});
    {
        const auto lock = configuration.working.lock();
        configuration.working.records()[static_cast<std::size_t>(config::assignmentRecordIndex(1, 0x22))] = {
            AssignmentType::PlayMacro, 1, 2};
    }
    applyEverything();
    const std::size_t g = positionOfUsage(0x0A) * 3;
    ASSERT_EQ(keyBlock(keyboard(), 1)[g + 2], 1) << "profile 2's G plays the second macro";

    clickKey(kButtonG, [&](Quillmar_DlgComposite& d) {
        d.OnCommand(kMacroTab);
        widget<QComboBox>(kMacroBox).setCurrentIndex(0);
        d.OnCommand(kDeleteMacro);
        EXPECT_TRUE(prompt.shown.empty()) << "no key plays the first macro";
        d.OnCommand(kClear);
        d.OnCommand(kOk);
    });
    window->OnCommand(main_window::kApply);
    EXPECT_EQ(keyBlock(keyboard(), 1)[g + 2], 0) << "the second macro moved up";

    clickKey(kButtonG, [&](Quillmar_DlgComposite& d) {
        d.OnCommand(kMacroTab);
        prompt.answers = {true};
        d.OnCommand(kDeleteMacro);
        EXPECT_EQ(prompt.shown.size(), 1u) << "profile 2's G plays it";
        d.OnCommand(kClear);
        d.OnCommand(kOk);
    });
    EXPECT_EQ(record(1, 0x22).type, AssignmentType::Default);
    window->OnCommand(main_window::kApply);
    EXPECT_EQ(keyBlock(keyboard(), 1), defaultBlock());
}

TEST(DialogPlacementTest, TheDialogOpensBesideTheKeyWhereThereIsRoom) {
    struct Case {
        ScreenRect button;
        ScreenPoint expected;
    } cases[] = {
        {{100, 100, 140, 140}, {140, 140}},    // room right and below
        {{100, 900, 140, 940}, {140, 460}},    // no room below
        {{1800, 100, 1840, 140}, {1300, 140}}, // no room right
        {{1800, 900, 1840, 940}, {1300, 460}}, // neither
        {{10, 10, 1910, 1070}, {1910, 1070}},  // no room anywhere
    };
    for (const Case& c : cases) {
        const ScreenPoint at = placeBesideButton(c.button, 500, 440, 1920, 1080);
        EXPECT_EQ(at.x, c.expected.x);
        EXPECT_EQ(at.y, c.expected.y);
    }
}

// ---- Undo and redo -----------------------------------------------------------

TEST_F(CompositeDialogTest, UndoAndRedoOfADialogApplyReachTheKeyboardOnTheNextApply) {
    open();
    giveMacros({{1, u"First"}});
    applyEverything();
    const std::vector<std::uint8_t> before = keyBlock(keyboard(), 0);
    clickKey(kButtonS, [&](Quillmar_DlgComposite& d) {
        d.OnCommand(kMediaTab);
        widget<QListWidget>(kMediaList).setCurrentRow(7);  // Mute
        d.OnCommand(kApply);
        EXPECT_FALSE(window->undo()) << "not while the dialog is open";
        d.OnCommand(kMacroTab);
        d.OnCommand(kAddMacro);
        d.OnCommand(kOk);
    });
    EXPECT_EQ(window->editHistory().size(), 2u) << "one step per Apply";
    EXPECT_EQ(window->editHistory().undoLabel(*texts), u"Undo key assignment");
    window->OnCommand(main_window::kApply);
    const std::vector<std::uint8_t> after = keyBlock(keyboard(), 0);
    ASSERT_NE(after, before);
    const auto macrosOnKeyboard = [this] { return keyboard().readMemory(sim::SimArea::MacroArea, 0, 64); };
    const auto twoMacros = macrosOnKeyboard();

    ASSERT_TRUE(window->undo());
    EXPECT_EQ(configuration.working.macroCount(), 1) << "the macro list as before the second Apply";
    EXPECT_EQ(record(0, 0x1F).type, AssignmentType::Media) << "not the macro the second Apply gave it";
    ASSERT_TRUE(window->undo());
    EXPECT_EQ(record(0, 0x1F).type, AssignmentType::Default);
    EXPECT_FALSE(button(kButtonS).isSelected());
    EXPECT_TRUE(window->isApplyEnabled()) << "the keyboard still holds the undone edits";
    window->OnCommand(main_window::kApply);
    EXPECT_EQ(keyBlock(keyboard(), 0), before);
    EXPECT_NE(macrosOnKeyboard(), twoMacros);

    ASSERT_TRUE(window->redo());
    ASSERT_TRUE(window->redo());
    EXPECT_EQ(record(0, 0x1F).type, AssignmentType::PlayMacro);
    EXPECT_EQ(configuration.working.macroCount(), 2);
    window->OnCommand(main_window::kApply);
    EXPECT_EQ(keyBlock(keyboard(), 0), after);
    EXPECT_EQ(macrosOnKeyboard(), twoMacros);
    EXPECT_FALSE(window->redo());
}

}  // namespace
}  // namespace quillmar::shell::testing
