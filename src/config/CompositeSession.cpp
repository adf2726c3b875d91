#include "config/CompositeSession.h"

#include "config/AssignmentBlock.h"
#include "config/MacroCommit.h"
#include "config/MacroPositions.h"
#include "keyboard/FunctionKeyTable.h"
#include "keyboard/KeyInfoTable.h"
#include "keyboard/KeySelectionList.h"
#include "keyboard/KeySlots.h"
#include "keyboard/MediaFunctionTable.h"

#include <algorithm>
#include <charconv>
#include <cwctype>

namespace quillmar::config {
namespace {

using keyboard::AssignmentType;
using keyboard::KeyAssignment;

constexpr std::uint32_t kDelayStepMs = 10;
constexpr std::uint32_t kReleaseBit = 1u << 31;
constexpr std::uint32_t kWasDownBit = 1u << 30;

std::u16string withNumber(std::u16string text, int number) {
    const auto at = text.find(u"%d");
    if (at == std::u16string::npos) return text;
    const std::string digits = std::to_string(number);
    return text.replace(at, 2, std::u16string(digits.begin(), digits.end()));
}

char16_t foldCase(char16_t c) { return c < 0x80 ? static_cast<char16_t>(std::towlower(c)) : c; }

// The list box's prefix search: an entry that begins with the text, letter
// case aside.
bool beginsWith(std::u16string_view entry, std::u16string_view prefix) {
    if (entry.size() < prefix.size()) return false;
    return std::equal(prefix.begin(), prefix.end(), entry.begin(),
                      [](char16_t a, char16_t b) { return foldCase(a) == foldCase(b); });
}

KeyAssignment& recordOf(ConfigStore& store, int profile, int slot) {
    return store.records()[static_cast<std::size_t>(assignmentRecordIndex(profile, slot))];
}

}  // namespace

CompositeSession::CompositeSession(ConfigStore& working, const text::Texts& texts, platform::Prompt& prompt,
                                   const platform::Clock& clock)
    : working_(working), texts_(texts), prompt_(prompt), clock_(clock) {}

void CompositeSession::open(int profile, int slot, bool isG9, bool recordDelays) {
    open_ = true;
    profile_ = profile;
    slot_ = slot;
    isG9_ = isG9;
    recordDelays_ = recordDelays;
    recording_ = false;
    media_ = 0;
    function_ = 0;
    loopCount_ = 1;
    current_ = -1;
    rows_.clear();
    selectedRow_ = -1;
    macroTabShown_ = false;
    newMacroNumber_ = 0;
    {
        const auto held = working_.lock();
        macros_ = working_.macros();
        for (MacroRecord& copy : macros_) copy.unsaved = 0;
        const KeyAssignment& record = recordOf(working_, profile, slot);
        tab_ = static_cast<int>(record.type);
        openedType_ = record.type;
        initialValue_ = record.value;
    }
    if (isG9_) tab_ = kTabMacro;
    capturedKey_ = keyboard::kNoKey;
    capturedShown_ = false;
    showTab(tab_, true);
    changed_ = false;
}

void CompositeSession::close() {
    stopRecording();
    macros_.clear();
    rows_.clear();
    current_ = -1;
    selectedRow_ = -1;
    changed_ = false;
    open_ = false;
}

int CompositeSession::shownTab() const {
    switch (tab_) {
    case kTabMacro:
    case kTabMedia:
    case kTabFunction: return tab_;
    default: return kTabKey;
    }
}

void CompositeSession::showTab(int tab, bool initialise) {
    switch (tab) {
    case kTabMacro: {
        const bool firstShowing = !macroTabShown_;
        macroTabShown_ = true;
        if (initialise) {
            const auto found = std::find_if(macros_.begin(), macros_.end(),
                                            [&](const MacroRecord& m) { return m.id == initialValue_; });
            if (!macros_.empty()) {
                const int position = found == macros_.end() ? 0 : static_cast<int>(found - macros_.begin());
                current_ = position;
                showMacro(position);
            }
        } else if (firstShowing && initialValue_ == 0 && !macros_.empty()) {
            current_ = 0;
            showMacro(0);
        }
        return;
    }
    case kTabMedia:
        stopRecording();
        if (initialise && initialValue_ < keyboard::kMediaFunctionTable.size()) media_ = static_cast<int>(initialValue_);
        return;
    case kTabFunction:
        stopRecording();
        if (initialise && initialValue_ < keyboard::kFunctionKeyTable.size()) function_ = static_cast<int>(initialValue_);
        return;
    default:
        stopRecording();
        if (initialise) {
            capturedKey_ = static_cast<keyboard::KeyCode>(initialValue_);
            capturedShown_ = openedType_ == AssignmentType::Key && capturedKey_ != keyboard::kNoKey;
            if (openedType_ != AssignmentType::Key) capturedKey_ = keyboard::kNoKey;
        }
        return;
    }
}

bool CompositeSession::clickTab(int tab) {
    if (isG9_ && tab != kTabMacro) return false;
    // The single-key tab also stands for Default and the types no tab edits.
    const bool unchanged = tab == kTabKey ? (tab_ == kTabKey || tab_ == kTabDefault) : tab == tab_;
    if (unchanged) return false;
    tab_ = tab;
    showTab(tab, false);
    markChanged();
    return true;
}

void CompositeSession::clear() {
    if (isG9_) return;
    clickTab(kTabKey);
    capturedKey_ = keyboard::kNoKey;
    capturedShown_ = false;
    tab_ = kTabDefault;
    markChanged();
}

KeyHandling CompositeSession::captureKey(keyboard::KeyMessage message) {
    const keyboard::KeyCode code = keyboard::keyCodeFromKeyMessage(message);
    if (code == keyboard::kNoKey || keyboard::isMediaKeyCode(code)) return KeyHandling::Pass;
    const bool freshPress = (message.parameter & (kReleaseBit | kWasDownBit)) == 0;
    if (freshPress || code == 0x137) {
        capturedKey_ = code;
        capturedShown_ = true;
        tab_ = kTabKey;
        markChanged();
    }
    return KeyHandling::Swallow;
}

void CompositeSession::selectMedia(int entry) {
    if (entry < 0 || entry >= static_cast<int>(keyboard::kMediaFunctionTable.size()) || entry == media_) return;
    media_ = entry;
    markChanged();
}

void CompositeSession::selectFunction(int entry) {
    if (entry < 0 || entry >= static_cast<int>(keyboard::kFunctionKeyTable.size()) || entry == function_) return;
    function_ = entry;
    markChanged();
}

// ---- Macro list ---------------------------------------------------------

void CompositeSession::showMacro(int position) {
    rows_.clear();
    selectedRow_ = -1;
    if (position < 0 || position >= static_cast<int>(macros_.size())) return;
    const MacroRecord& macro = macros_[static_cast<std::size_t>(position)];
    loopCount_ = std::clamp<int>(macro.loopCount, kMinLoopCount, kMaxLoopCount);
    const auto actions = macroActions(macro);
    rows_.assign(actions.begin(), actions.end());
}

void CompositeSession::saveShownMacro() {
    if (current_ < 0 || current_ >= static_cast<int>(macros_.size())) return;
    MacroRecord& macro = macros_[static_cast<std::size_t>(current_)];
    macro.loopCount = static_cast<std::uint8_t>(loopCount_);
    setMacroActions(macro, rows_);
}

void CompositeSession::selectMacro(int position) {
    if (recording_ || position < 0 || position >= static_cast<int>(macros_.size()) || position == current_) return;
    saveShownMacro();
    current_ = position;
    showMacro(position);
}

void CompositeSession::typeMacroName(std::u16string_view name) {
    if (recording_) return;
    if (macros_.empty()) {
        macros_.insert(macros_.begin(), newMacroRecord(name, macros_));
        current_ = 0;
        showMacro(0);
        markChanged();
        return;
    }
    if (current_ < 0) {
        // Macros exist but none is shown yet: the typing names the first.
        current_ = 0;
        showMacro(0);
    }
    setMacroName(macros_[static_cast<std::size_t>(current_)], name);
    markChanged();
}

bool CompositeSession::nameTaken(std::u16string_view name) const {
    return std::any_of(macros_.begin(), macros_.end(),
                       [&](const MacroRecord& macro) { return beginsWith(macroName(macro), name); });
}

bool CompositeSession::addMacro() {
    if (recording_) return false;
    if (macros_.size() >= static_cast<std::size_t>(kMaxMacros)) {
        prompt_.showMessage(withNumber(text("MACRO_ERR_MAX", u"The maximum number of macro: %d   "), kMaxMacros));
        return false;
    }
    if (macros_.empty()) newMacroNumber_ = 0;
    const std::u16string prefix = text("MACRO_NEW_PREFIX", u"Macro");
    std::u16string name;
    do {
        ++newMacroNumber_;
        const std::string number = std::to_string(newMacroNumber_);
        name = prefix + std::u16string(number.begin(), number.end());
    } while (nameTaken(name));
    saveShownMacro();
    if (appendNewMacro(macros_, name) != AddMacroResult::Added) return false;
    current_ = static_cast<int>(macros_.size()) - 1;
    showMacro(current_);
    markChanged();
    return true;
}

bool CompositeSession::deleteMacro() {
    if (recording_ || current_ < 0 || current_ >= static_cast<int>(macros_.size())) return false;
    if (working_.isMacroUsedByKeys(macros_[static_cast<std::size_t>(current_)]) &&
        !prompt_.askYesNo(text("MACRO_DELETE_CONFIRM_OF_KEYS",
                               u"Detect some key points to set this macro, \n  really need to remove this macro?  ")))
        return false;
    macros_.erase(macros_.begin() + current_);
    current_ = macros_.empty() ? -1 : std::max(0, current_ - 1);
    showMacro(current_);
    markChanged();
    return true;
}

// ---- Action rows ---------------------------------------------------------

void CompositeSession::selectRow(int row) {
    selectedRow_ = row >= 0 && row < static_cast<int>(rows_.size()) ? row : -1;
}

void CompositeSession::deleteRow() {
    if (selectedRow_ < 0) return;
    rows_.erase(rows_.begin() + selectedRow_);
    if (selectedRow_ >= static_cast<int>(rows_.size())) selectedRow_ = static_cast<int>(rows_.size()) - 1;
    markChanged();
}

bool CompositeSession::clearRows() {
    if (rows_.empty()) return false;
    if (!prompt_.askYesNo(text("MACRO_ACTION_CLEAR_CONFIRM", u"Really need to clear the macro action? "))) return false;
    rows_.clear();
    selectedRow_ = -1;
    markChanged();
    return true;
}

void CompositeSession::moveRow(RowMove move) {
    if (selectedRow_ < 0) return;
    const int last = static_cast<int>(rows_.size()) - 1;
    int target = selectedRow_;
    switch (move) {
    case RowMove::ToTop: target = 0; break;
    case RowMove::Up: target = std::max(0, selectedRow_ - 1); break;
    case RowMove::Down: target = std::min(last, selectedRow_ + 1); break;
    case RowMove::ToBottom: target = last; break;
    }
    const MacroAction moved = rows_[static_cast<std::size_t>(selectedRow_)];
    rows_.erase(rows_.begin() + selectedRow_);
    rows_.insert(rows_.begin() + target, moved);
    selectedRow_ = target;
    markChanged();
}

void CompositeSession::setRowKey(int row, int listPosition) {
    const keyboard::KeyCode code = keyboard::keyCodeAtListPosition(static_cast<std::uint32_t>(listPosition));
    if (row < 0 || row >= static_cast<int>(rows_.size()) || code == keyboard::kNoKey) return;
    MacroAction& action = rows_[static_cast<std::size_t>(row)];
    if (action.keyCode == code) return;
    action.keyCode = code;
    markChanged();
}

void CompositeSession::setRowDirection(int row, KeyDirection direction) {
    if (row < 0 || row >= static_cast<int>(rows_.size())) return;
    MacroAction& action = rows_[static_cast<std::size_t>(row)];
    if (action.direction == direction) return;
    action.direction = direction;
    markChanged();
}

std::uint32_t CompositeSession::setRowDelay(int row, std::uint64_t typedMs) {
    stopRecording();
    if (typedMs > kMaxActionDelayMs) {
        prompt_.showMessage(withNumber(text("MACRO_ACTION_ERR_DELAY_MAX", u"Maximum delay time is: %d(ms) "),
                                       static_cast<int>(kMaxActionDelayMs)));
        typedMs = kMaxActionDelayMs;
    }
    const auto delay = static_cast<std::uint32_t>(typedMs) / kDelayStepMs * kDelayStepMs;
    if (row < 0 || row >= static_cast<int>(rows_.size())) return delay;
    rows_[static_cast<std::size_t>(row)].delayMs = delay;
    markChanged();
    return delay;
}

std::string CompositeSession::setLoopCountText(std::string_view text) {
    markChanged();
    long long number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || error == std::errc::invalid_argument) {
        loopCount_ = kMinLoopCount;
        return text.empty() ? std::string() : std::to_string(kMinLoopCount);
    }
    const bool outOfRange = error == std::errc::result_out_of_range;
    if (outOfRange) number = text.front() == '-' ? kMinLoopCount : kMaxLoopCount;
    loopCount_ = static_cast<int>(std::clamp<long long>(number, kMinLoopCount, kMaxLoopCount));
    if (!outOfRange && loopCount_ == number && end == text.data() + text.size()) return std::string(text);
    return std::to_string(loopCount_);
}

// ---- Recording ----------------------------------------------------------

bool CompositeSession::toggleRecording() {
    if (recording_) {
        recording_ = false;
        return false;
    }
    if (current_ < 0) return false;
    recording_ = true;
    lastEventMs_ = clock_.nowMs();
    return true;
}

void CompositeSession::stopRecording() { recording_ = false; }

KeyHandling CompositeSession::recordKey(keyboard::KeyMessage message) {
    const keyboard::KeyCode code = keyboard::keyCodeFromKeyMessage(message);
    if (code == keyboard::kNoKey || keyboard::isMediaKeyCode(code)) return KeyHandling::Pass;
    const bool release = (message.parameter & kReleaseBit) != 0;
    if (!release && (message.parameter & kWasDownBit) != 0) return KeyHandling::Swallow;
    const std::uint64_t now = clock_.nowMs();
    const std::uint64_t pause = std::min<std::uint64_t>(now - lastEventMs_, kMaxActionDelayMs);
    insertRecordedAction({recordDelays_ ? static_cast<std::uint32_t>(pause) : 0u, code,
                          release ? KeyDirection::Release : KeyDirection::Press});
    lastEventMs_ = now;
    return KeyHandling::Swallow;
}

void CompositeSession::insertRecordedAction(MacroAction action) {
    if (rows_.size() >= static_cast<std::size_t>(kMaxMacroActions)) return;
    action = normalisedAction(action);
    const int position = selectedRow_ < 0 ? static_cast<int>(rows_.size()) : selectedRow_ + 1;
    if (position == 0) {
        action.delayMs = 0;
    } else {
        // Each delay is the pause after its action: the row before takes the
        // time measured up to this event, this row what the row before had.
        MacroAction& before = rows_[static_cast<std::size_t>(position - 1)];
        std::swap(before.delayMs, action.delayMs);
    }
    rows_.insert(rows_.begin() + position, action);
    selectedRow_ = position;
    markChanged();
}

// ---- Apply --------------------------------------------------------------

CompositeApplyResult CompositeSession::apply() {
    stopRecording();
    saveShownMacro();
    CompositeApplyResult result;
    const auto held = working_.lock();
    const MacroPositions positionsBefore = macroPositionsOf(working_.macros());
    commitMacros(working_, macros_, [&](int index) { result.resetRecords.push_back(index); });
    const MacroPositions positionsAfter = macroPositionsOf(working_.macros());

    KeyAssignment& stored = recordOf(working_, profile_, slot_);
    KeyAssignment record = stored;
    record.type = static_cast<AssignmentType>(tab_);
    record.extra = keyboard::gKeyCodeOfSlot(slot_);
    switch (tab_) {
    case kTabKey:
        record.value = capturedKey_;
        if (capturedKey_ == keyboard::kNoKey || keyboard::keyIndexOf(capturedKey_) == slot_)
            record.type = AssignmentType::Default;
        break;
    case kTabMacro:
        if (macros_.empty()) {
            record.type = AssignmentType::Default;
            record.value = 0;
        } else {
            record.value = current_ >= 0 ? macros_[static_cast<std::size_t>(current_)].id : 0;
            if (record.value == 0) record.value = macros_.front().id;
            record.extra = static_cast<std::uint16_t>(loopCount_);
        }
        break;
    case kTabMedia: record.value = static_cast<std::uint32_t>(media_); break;
    case kTabFunction: record.value = static_cast<std::uint32_t>(function_); break;
    default: record.value = 0; break;
    }
    if (record.type == AssignmentType::Default) record.value = 0;
    working_.texts().clearText(assignmentRecordIndex(profile_, slot_));
    stored.type = record.type;
    stored.extra = record.extra;
    stored.value = record.value;
    result.record = stored;

    // A key of another profile that was reset or plays a moved macro needs
    // its profile's key block written again.
    result.otherProfilesChanged =
        std::any_of(result.resetRecords.begin(), result.resetRecords.end(),
                    [&](int index) { return index / keyboard::kSlotsPerProfile != profile_; }) ||
        playedMacrosMoved(working_.records(), positionsBefore, positionsAfter, profile_);
    changed_ = false;
    return result;
}

}  // namespace quillmar::config
