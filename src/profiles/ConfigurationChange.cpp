#include "profiles/ConfigurationChange.h"

#include "config/KeyBlockImage.h"
#include "config/MacroArea.h"
#include "device/DeviceCommands.h"

#include <algorithm>
#include <cstring>

namespace quillmar::profiles {
namespace {

using config::AssignmentBlock;
using config::kAssignmentRecordCount;
using config::MacroRecord;

constexpr std::size_t kMacroHeadBytes = offsetof(MacroRecord, actions);

std::array<std::uint8_t, 64> headOf(const AssignmentBlock& block) {
    std::array<std::uint8_t, 64> head{};
    std::ranges::copy(block.header, head.begin());
    std::ranges::copy(block.fixedBlock, head.begin() + 32);
    return head;
}

void setHead(AssignmentBlock& block, const std::array<std::uint8_t, 64>& head) {
    std::copy_n(head.begin(), 32, block.header.begin());
    std::copy_n(head.begin() + 32, 32, block.fixedBlock.begin());
}

bool sameRecord(const keyboard::KeyAssignment& a, const keyboard::KeyAssignment& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool sameLists(const PackedMacros& a, const PackedMacros& b) {
    return std::ranges::equal(a, b, [](const PackedMacro& x, const PackedMacro& y) { return x == y || *x == *y; });
}

void setText(config::AssignmentTexts& texts, int index, const std::optional<std::u16string>& text) {
    if (text)
        texts.setText(index, *text);
    else
        texts.clearText(index);
}

// FNV-1a, 64 bits.
class Digest {
public:
    void add(const void* data, std::size_t size) {
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        for (std::size_t i = 0; i < size; ++i) value_ = (value_ ^ bytes[i]) * 0x100000001B3ULL;
    }
    std::uint64_t value() const { return value_; }

private:
    std::uint64_t value_ = 0xCBF29CE484222325ULL;
};

}  // namespace

PackedMacro packMacro(const MacroRecord& macro) {
    const std::size_t actions = std::min<std::size_t>(macro.actionCount, config::kMaxMacroActions);
    const std::size_t size = kMacroHeadBytes + actions * sizeof(config::MacroAction);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&macro);
    return std::make_shared<const std::vector<std::uint8_t>>(bytes, bytes + size);
}

MacroRecord unpackMacro(const PackedMacro& packed) {
    MacroRecord macro{};
    std::memcpy(&macro, packed->data(), std::min(packed->size(), sizeof macro));
    return macro;
}

void share(PackedMacros& macros, const PackedMacros& pool) {
    for (PackedMacro& macro : macros) {
        const auto same = std::ranges::find_if(pool, [&macro](const PackedMacro& known) { return *known == *macro; });
        if (same != pool.end()) macro = *same;
    }
}

PackedMacros packMacros(const config::MacroList& macros, const PackedMacros& known) {
    PackedMacros packed;
    packed.reserve(macros.size());
    for (const MacroRecord& macro : macros) packed.push_back(packMacro(macro));
    share(packed, known);
    return packed;
}

ConfigurationCapture::ConfigurationCapture(const config::ConfigStore& store)
    : block_(std::make_unique<AssignmentBlock>()) {
    const auto held = store.lock();
    *block_ = store.assignments();
    texts_.reserve(kAssignmentRecordCount);
    for (int i = 0; i < kAssignmentRecordCount; ++i) {
        const auto text = store.texts().text(i);
        texts_.push_back(text ? std::optional<std::u16string>(*text) : std::nullopt);
    }
    macros_ = packMacros(store.macros());
}

ConfigurationChange ConfigurationChange::between(const ConfigurationCapture& before, const config::ConfigStore& after,
                                                 const PackedMacros& known) {
    ConfigurationChange change;
    const auto held = after.lock();
    for (int i = 0; i < kAssignmentRecordCount; ++i) {
        const auto& old = before.block().records[static_cast<std::size_t>(i)];
        const auto& now = after.records()[static_cast<std::size_t>(i)];
        if (!sameRecord(old, now)) change.records_.push_back({i, old, now});
        const auto text = after.texts().text(i);
        const std::optional<std::u16string> nowText = text ? std::optional<std::u16string>(*text) : std::nullopt;
        if (before.texts()[static_cast<std::size_t>(i)] != nowText)
            change.texts_.push_back({i, before.texts()[static_cast<std::size_t>(i)], nowText});
    }
    if (headOf(before.block()) != headOf(after.assignments()))
        change.head_ = HeadChange{headOf(before.block()), headOf(after.assignments())};
    PackedMacros macrosAfter = packMacros(after.macros());
    if (!sameLists(before.macros(), macrosAfter)) {
        // The unchanged macros are shared between the two sides and with older steps.
        PackedMacros pool = known;
        PackedMacros macrosBefore = before.macros();
        share(macrosBefore, pool);
        pool.insert(pool.end(), macrosBefore.begin(), macrosBefore.end());
        share(macrosAfter, pool);
        change.macros_ = MacroChange{std::move(macrosBefore), std::move(macrosAfter)};
    }
    return change;
}

namespace {

template <class Change>
void appendChanges(std::vector<Change>& changes, std::vector<Change>&& later) {
    for (Change& change : later) {
        const auto same = std::ranges::find_if(changes, [&](const Change& c) { return c.index == change.index; });
        if (same == changes.end())
            changes.push_back(std::move(change));
        else
            same->after = std::move(change.after);
    }
}

}  // namespace

void ConfigurationChange::append(ConfigurationChange&& later) {
    appendChanges(records_, std::move(later.records_));
    appendChanges(texts_, std::move(later.texts_));
    if (later.head_) {
        if (head_)
            head_->after = later.head_->after;
        else
            head_ = later.head_;
    }
    if (later.macros_) {
        if (macros_)
            macros_->after = std::move(later.macros_->after);
        else
            macros_ = std::move(later.macros_);
    }
}

void ConfigurationChange::restore(config::ConfigStore& store, bool before) const {
    const auto held = store.lock();
    for (const RecordChange& record : records_)
        store.records()[static_cast<std::size_t>(record.index)] = before ? record.before : record.after;
    for (const TextChange& text : texts_) setText(store.texts(), text.index, before ? text.before : text.after);
    if (head_) setHead(store.assignments(), before ? head_->before : head_->after);
    if (macros_) {
        config::MacroList macros;
        const PackedMacros& packed = before ? macros_->before : macros_->after;
        macros.reserve(packed.size());
        for (const PackedMacro& macro : packed) macros.push_back(unpackMacro(macro));
        store.replaceMacros(std::move(macros));
    }
}

bool ConfigurationChange::reachesBeyond(int profile) const {
    if (macros_) return true;
    return std::ranges::any_of(records_, [profile](const RecordChange& record) {
        return record.index / keyboard::kSlotsPerProfile != profile;
    });
}

const PackedMacros& ConfigurationChange::macrosAfter() const {
    static const PackedMacros none;
    return macros_ ? macros_->after : none;
}

std::uint64_t configurationDigest(const config::ConfigStore& store) {
    Digest digest;
    const auto held = store.lock();
    digest.add(&store.assignments(), sizeof(AssignmentBlock));
    for (int i = 0; i < kAssignmentRecordCount; ++i) {
        const auto text = store.texts().text(i);
        const std::uint32_t size = text ? static_cast<std::uint32_t>(text->size() + 1) : 0;
        digest.add(&size, sizeof size);
        if (text) digest.add(text->data(), text->size() * sizeof(char16_t));
    }
    for (const MacroRecord& macro : store.macros()) {
        const PackedMacro packed = packMacro(macro);
        digest.add(packed->data(), packed->size());
    }
    return digest.value();
}

std::uint64_t keyboardDigest(const config::ConfigStore& store, const keyboard::DefaultKeyTable& defaults) {
    Digest digest;
    const auto held = store.lock();
    const auto macroPositionOf = [&store](std::uint32_t id) { return store.findMacroIndexById(id); };
    for (int profile = 0; profile < device::kProfileCount; ++profile) {
        const auto records =
            store.records().subspan(static_cast<std::size_t>(config::assignmentRecordIndex(profile, 0))).first<keyboard::kSlotsPerProfile>();
        const config::KeyBlockBytes block = config::buildKeyBlock(records, defaults, macroPositionOf);
        digest.add(block.data(), block.size());
    }
    const std::vector<std::uint8_t> area = config::buildMacroArea(store.macros(), false);
    digest.add(area.data(), area.size());
    return digest.value();
}

}  // namespace quillmar::profiles
