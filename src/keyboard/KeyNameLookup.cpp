#include "keyboard/KeyNameLookup.h"

#include <algorithm>
#include <array>
#include <string>

#include "keyboard/KeyInfoTable.h"

namespace quillmar::keyboard {
namespace {

constexpr std::array kAliases = std::to_array<KeyAlias>({
    {0x001, u"Escape"},
    {0x00C, u"Minus"},
    {0x00D, u"Equals"},
    {0x00D, u"Equal"},
    {0x00E, u"BkSp"},
    {0x01A, u"Left Bracket"},
    {0x01B, u"Right Bracket"},
    {0x01C, u"Return"},
    {0x01D, u"Left Ctrl"},
    {0x01D, u"LCtrl"},
    {0x01D, u"Control"},
    {0x01D, u"Left Control"},
    {0x027, u"Semicolon"},
    {0x028, u"Apostrophe"},
    {0x028, u"Quote"},
    {0x029, u"Grave"},
    {0x029, u"Backquote"},
    {0x02A, u"Left Shift"},
    {0x02A, u"LShift"},
    {0x02B, u"Backslash"},
    {0x033, u"Comma"},
    {0x034, u"Period"},
    {0x034, u"Dot"},
    {0x035, u"Slash"},
    {0x036, u"RShift"},
    {0x037, u"Num Multiply"},
    {0x037, u"Num Star"},
    {0x038, u"Left Alt"},
    {0x038, u"LAlt"},
    {0x039, u"Spacebar"},
    {0x03A, u"Caps"},
    {0x046, u"ScrLk"},
    {0x04A, u"Num Minus"},
    {0x04E, u"Num Plus"},
    {0x053, u"Num Dot"},
    {0x053, u"Num Del"},
    {0x11C, u"Num Return"},
    {0x11D, u"RCtrl"},
    {0x11D, u"Right Control"},
    {0x135, u"Num Slash"},
    {0x135, u"Num Divide"},
    {0x137, u"PrtSc"},
    {0x137, u"PrtScn"},
    {0x138, u"RAlt"},
    {0x138, u"AltGr"},
    {0x145, u"NumLk"},
    {0x148, u"Up"},
    {0x148, u"Up Arrow"},
    {0x149, u"PgUp"},
    {0x14B, u"Left"},
    {0x14B, u"Left Arrow"},
    {0x14D, u"Right"},
    {0x14D, u"Right Arrow"},
    {0x150, u"Down"},
    {0x150, u"Down Arrow"},
    {0x151, u"PgDn"},
    {0x151, u"PgDown"},
    {0x152, u"Ins"},
    {0x153, u"Del"},
    {0x15B, u"Left Win"},
    {0x15B, u"LWin"},
    {0x15B, u"Super"},
    {0x15B, u"Windows"},
    {0x15C, u"RWin"},
    {0x15C, u"Right Super"},
    {0x15D, u"Menu"},
    {0x15D, u"Application"},
});

char16_t lowerAscii(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

// The form names are compared in.
std::u16string folded(std::u16string_view name) {
    std::u16string result;
    for (const char16_t c : name) {
        if (c != u' ' && c != u'_') result.push_back(lowerAscii(c));
    }
    return result;
}

}  // namespace

std::span<const KeyAlias> keyAliases() { return kAliases; }

std::vector<std::u16string_view> aliasesOf(KeyCode code) {
    std::vector<std::u16string_view> aliases;
    for (const KeyAlias& entry : kAliases) {
        if (entry.code == code) aliases.push_back(entry.alias);
    }
    return aliases;
}

std::vector<KeyCode> keyCodesNamed(std::u16string_view name) {
    const std::u16string wanted = folded(name);
    std::vector<KeyCode> codes;
    if (wanted.empty()) return codes;
    for (std::size_t index = 1; index < kKeyInfoTable.size(); ++index) {
        const KeyCode code = keyCodeOf(static_cast<KeyIndex>(index));
        const std::u16string_view own = kKeyInfoTable[index].name;
        const bool named = !own.empty() && folded(own) == wanted;
        if (named || std::ranges::any_of(kAliases, [&](const KeyAlias& entry) {
                return entry.code == code && folded(entry.alias) == wanted;
            }))
            codes.push_back(code);
    }
    return codes;
}

}  // namespace quillmar::keyboard
