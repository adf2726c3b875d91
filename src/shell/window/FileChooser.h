#pragma once

#include <QString>

#include <filesystem>
#include <optional>

#include "text/Texts.h"

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

// How the dialogs open: in the per-user folder, with no name filled in, and
// the filter for configuration files first, then all files.
struct FileDialogSetup {
    QString folder;
    QString filter;
};
FileDialogSetup fileDialogSetup(const std::filesystem::path& userFolder, const text::Texts& texts);

// The platform's file dialogs for configuration files ("*.kbp").
class QtFileChooser final : public FileChooser {
public:
    QtFileChooser(QWidget* parent, const std::filesystem::path& userFolder, const text::Texts& texts)
        : parent_(parent), userFolder_(userFolder), texts_(texts) {}
    std::optional<std::filesystem::path> chooseFileToImport() override;
    std::optional<std::filesystem::path> chooseFileToExport() override;
    std::optional<std::filesystem::path> chooseNewProfileFile(const std::filesystem::path& initial) override;
    std::optional<std::filesystem::path> chooseProfileFileToLoad(const std::filesystem::path& initial) override;

private:
    QWidget* parent_;
    std::filesystem::path userFolder_;
    const text::Texts& texts_;
};

}  // namespace quillmar::shell
