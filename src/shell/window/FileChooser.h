#pragma once

#include <filesystem>
#include <optional>

class QWidget;

namespace quillmar::shell {

// The open and save file dialogs of import and export; tests answer them.
class FileChooser {
public:
    virtual ~FileChooser() = default;
    // Nothing when the user cancels.
    virtual std::optional<std::filesystem::path> chooseFileToImport() = 0;
    // Asks before overwriting; nothing when the user cancels.
    virtual std::optional<std::filesystem::path> chooseFileToExport() = 0;
    // The profile dialog's Add (save, asking before overwriting) and Load
    // (open), starting at the given name; nothing when the user cancels.
    virtual std::optional<std::filesystem::path> chooseNewProfileFile(const std::filesystem::path&) { return {}; }
    virtual std::optional<std::filesystem::path> chooseProfileFileToLoad(const std::filesystem::path&) { return {}; }
};

// The platform's file dialogs for configuration files ("*.kbp").
class QtFileChooser final : public FileChooser {
public:
    explicit QtFileChooser(QWidget* parent) : parent_(parent) {}
    std::optional<std::filesystem::path> chooseFileToImport() override;
    std::optional<std::filesystem::path> chooseFileToExport() override;
    std::optional<std::filesystem::path> chooseNewProfileFile(const std::filesystem::path& initial) override;
    std::optional<std::filesystem::path> chooseProfileFileToLoad(const std::filesystem::path& initial) override;

private:
    QWidget* parent_;
};

}  // namespace quillmar::shell
