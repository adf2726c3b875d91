#pragma once

#include "config/ConfigStore.h"
#include "config/MacroList.h"
#include "keyboard/KeyAssignment.h"
#include "keyboard/KeyCode.h"
#include "keyboard/KeyMessage.h"
#include "platform/Clock.h"
#include "platform/Prompt.h"
#include "text/Texts.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillmar::config {

// The tabs of the key and macro editor, by the assignment type each edits.
inline constexpr int kTabDefault = 0;
inline constexpr int kTabKey = 2;
inline constexpr int kTabMacro = 4;
inline constexpr int kTabMedia = 7;
inline constexpr int kTabFunction = 8;

inline constexpr int kMinLoopCount = 1;
inline constexpr int kMaxLoopCount = 255;

// What a key capture or a recording does with a key event.
enum class KeyHandling {
    Pass,     // the event goes on to the program and the desktop
    Swallow,  // the event is kept from everyone
};

enum class RowMove { ToTop, Up, Down, ToBottom };

// What Apply did, for the window to show.
struct CompositeApplyResult {
    keyboard::KeyAssignment record;
    // Record indexes (profile slot × 512 + slot) that the macro commit reset.
    std::vector<int> resetRecords;
    // The keyboard's other profiles play macros whose positions changed, or
    // lost keys: all three key blocks must be downloaded.
    bool otherProfilesChanged = false;
};

// One opening of the key and macro editor on a slot: copies of the macros,
// the action rows of the macro shown, the tab and its choices, the key
// capture and the recorder. Nothing reaches the working configuration
// before apply().
class CompositeSession {
public:
    CompositeSession(ConfigStore& working, const text::Texts& texts, platform::Prompt& prompt,
                     const platform::Clock& clock);

    // Copies the macros and the slot's record of the profile and shows the
    // record's tab. G9 may only play macros.
    void open(int profile, int slot, bool isG9, bool recordDelays);
    void close();
    bool isOpen() const { return open_; }
    bool isG9() const { return isG9_; }
    int slot() const { return slot_; }
    bool changed() const { return changed_; }

    // Tabs. The stored tab becomes the record's type; a record of another type
    // shows the single-key tab.
    int storedTab() const { return tab_; }
    int shownTab() const;
    // A tab button: false when the tab does not change.
    bool clickTab(int tab);
    void clear();

    // The single-key tab's capture.
    bool isCapturing() const { return open_ && shownTab() == kTabKey && !isG9_; }
    KeyHandling captureKey(keyboard::KeyMessage message);
    keyboard::KeyCode capturedKey() const { return capturedKey_; }
    // Whether the capture field shows the captured key's name.
    bool showsCapturedKey() const { return capturedKey_ != keyboard::kNoKey && capturedShown_; }

    int mediaSelection() const { return media_; }
    int functionSelection() const { return function_; }
    void selectMedia(int entry);
    void selectFunction(int entry);

    // The macro list.
    const MacroList& macros() const { return macros_; }
    int currentMacro() const { return current_; }
    void selectMacro(int position);
    // Typing in the macro box: renames the current macro (the first one when
    // none is shown yet), or creates the first one when the list is empty.
    void typeMacroName(std::u16string_view name);
    // False when refused (100 macros; the message has been shown).
    bool addMacro();
    // False when nothing was deleted.
    bool deleteMacro();

    // The action rows of the current macro.
    const std::vector<MacroAction>& actions() const { return rows_; }
    int selectedRow() const { return selectedRow_; }
    void selectRow(int row);
    void deleteRow();
    bool clearRows();
    void moveRow(RowMove move);
    void setRowKey(int row, int listPosition);
    void setRowDirection(int row, KeyDirection direction);
    // The delay typed into a row: above 40000 ms the message is shown and
    // 40000 used; then rounded down to 10 ms. Returns what is stored.
    std::uint32_t setRowDelay(int row, std::uint64_t typedMs);

    // The loop count field. Returns the text the field should show: a number
    // below 1 becomes 1, above 255 becomes 255; an empty field stays empty
    // and counts as 1.
    std::string setLoopCountText(std::string_view text);
    int loopCount() const { return loopCount_; }

    // Recording into the action rows of the current macro.
    bool isRecording() const { return recording_; }
    bool toggleRecording();
    void stopRecording();
    bool recordsDelays() const { return recordDelays_; }
    void setRecordDelays(bool on) { recordDelays_ = on; }
    KeyHandling recordKey(keyboard::KeyMessage message);
    // Inserts a recorded action after the selected row by the recording rule.
    void insertRecordedAction(MacroAction action);

    // Commits the macros and writes the slot's new record. Nothing is sent to
    // the keyboard.
    CompositeApplyResult apply();

private:
    void showTab(int tab, bool initialise);
    void showMacro(int position);
    void saveShownMacro();
    bool nameTaken(std::u16string_view name) const;
    void markChanged() { changed_ = true; }
    std::u16string text(std::string_view key, std::u16string_view builtIn) const { return texts_.text(key, builtIn); }

    ConfigStore& working_;
    const text::Texts& texts_;
    platform::Prompt& prompt_;
    const platform::Clock& clock_;

    bool open_ = false;
    int profile_ = 0;
    int slot_ = 0;
    bool isG9_ = false;
    int tab_ = kTabDefault;
    std::uint32_t initialValue_ = 0;
    keyboard::AssignmentType openedType_ = keyboard::AssignmentType::Default;
    bool macroTabShown_ = false;
    keyboard::KeyCode capturedKey_ = keyboard::kNoKey;
    bool capturedShown_ = false;
    int media_ = 0;
    int function_ = 0;

    MacroList macros_;
    int current_ = -1;
    std::vector<MacroAction> rows_;
    int selectedRow_ = -1;
    int loopCount_ = 1;
    int newMacroNumber_ = 0;
    bool changed_ = false;

    bool recording_ = false;
    bool recordDelays_ = false;
    std::uint64_t lastEventMs_ = 0;
};

}  // namespace quillmar::config
