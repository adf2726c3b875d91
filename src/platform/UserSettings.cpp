#include "platform/UserSettings.h"

#include "text/DecimalText.h"

#include <algorithm>

namespace quillmar::platform {
namespace {

std::string lowered(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return result;
}

}  // namespace

int UserSettings::readNumber(std::string_view section, std::string_view name,
                             int defaultValue) const {
    return text::leadingDecimal(readString(section, name, std::to_string(defaultValue)));
}

bool UserSettings::writeNumber(std::string_view section, std::string_view name, int value) {
    return writeString(section, name, std::to_string(value));
}

std::string FakeUserSettings::readString(std::string_view section, std::string_view name,
                                         std::string_view defaultValue) const {
    const auto found = values_.find({lowered(section), lowered(name)});
    return found == values_.end() ? std::string(defaultValue) : found->second;
}

bool FakeUserSettings::writeString(std::string_view section, std::string_view name,
                                   std::string_view value) {
    values_[{lowered(section), lowered(name)}] = std::string(value);
    return true;
}

}  // namespace quillmar::platform
