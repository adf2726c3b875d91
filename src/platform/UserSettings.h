#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>

namespace quillmar::platform {

// The per-user application settings store: named values in sections, kept
// across runs. Names are compared without regard to ASCII letter case; text
// is UTF-8.
class UserSettings {
public:
    virtual ~UserSettings() = default;
    virtual std::string readString(std::string_view section, std::string_view name,
                                   std::string_view defaultValue) const = 0;
    // False when the value could not be stored.
    virtual bool writeString(std::string_view section, std::string_view name,
                             std::string_view value) = 0;

    // The value read with defaultValue as "%d", then its leading decimal number.
    int readNumber(std::string_view section, std::string_view name, int defaultValue) const;
    bool writeNumber(std::string_view section, std::string_view name, int value);
};

// The section of the program's own values, and the name of the main window's
// layout switch in it; the record-delay option is named by a language text.
inline constexpr std::string_view kProfilesSection = "PROFILES";
inline constexpr std::string_view kFlipValueName = "Flip";
// Downloads read back what they wrote (1, the default) or trust the keyboard (0).
inline constexpr std::string_view kVerifyWritesValueName = "VerifyWrites";
// Downloads send only what the keyboard is not known to hold (1, the default)
// or everything (0).
inline constexpr std::string_view kWriteChangesOnlyValueName = "WriteChangesOnly";

// In memory, for tests.
class FakeUserSettings final : public UserSettings {
public:
    std::string readString(std::string_view section, std::string_view name,
                           std::string_view defaultValue) const override;
    bool writeString(std::string_view section, std::string_view name,
                     std::string_view value) override;

private:
    std::map<std::pair<std::string, std::string>, std::string> values_;
};

}  // namespace quillmar::platform
