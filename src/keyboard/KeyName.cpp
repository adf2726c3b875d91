#include "keyboard/KeyName.h"

#include "keyboard/KeyInfoTable.h"
#include "keyboard/MediaFunctionTable.h"

#include <algorithm>
#include <string_view>

namespace quillmar::keyboard {

namespace {

constexpr std::u16string_view kCodePlaceholder = u"%03x";

std::u16string hexDigits(KeyCode code) {
    static constexpr char16_t kDigits[] = u"0123456789abcdef";
    std::u16string digits;
    for (unsigned rest = code; rest != 0 || digits.size() < 3; rest >>= 4)
        digits.insert(digits.begin(), kDigits[rest & 0xF]);
    return digits;
}

// The language file supplies the format; only its code placeholder is filled
// in, so a translated text can never act as a format of its own.
std::u16string unknownKeyName(KeyCode code, const text::Texts& texts) {
    std::u16string text = texts.text("UNKNOWN_KEY", u"Unknown Key: %03x");
    if (const auto at = text.find(kCodePlaceholder); at != std::u16string::npos)
        text.replace(at, kCodePlaceholder.size(), hexDigits(code));
    return text;
}

}  // namespace

std::u16string keyName(KeyCode code, const text::Texts& texts) {
    if (const auto media = mediaIndexOfKeyCode(code))
        return texts.text(kMediaFunctionTable[*media].nameKey, kMediaNameBuiltIn);
    const std::u16string_view name = keyInfoOf(code).name;
    if (name.empty()) return unknownKeyName(code, texts);
    return std::u16string(name);
}

std::size_t keyName(KeyCode code, const text::Texts& texts, std::span<char16_t> buffer) {
    if (buffer.empty()) return 0;
    const std::u16string name = keyName(code, texts);
    const std::size_t length = std::min(name.size(), buffer.size() - 1);
    std::copy_n(name.begin(), length, buffer.begin());
    buffer[length] = u'\0';
    return length;
}

}  // namespace quillmar::keyboard
