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
};

// The platform's file dialogs for configuration files ("*.kbp").
class QtFileChooser final : public FileChooser {
public:
    explicit QtFileChooser(QWidget* parent) : parent_(parent) {}
    std::optional<std::filesystem::path> chooseFileToImport() override;
    std::optional<std::filesystem::path> chooseFileToExport() override;

private:
    QWidget* parent_;
};

}  // namespace quillmar::shell
