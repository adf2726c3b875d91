#include "shell/window/FileChooser.h"

#include <QFileDialog>

#include "text/SlotText.h"
#include "shell/window/QtText.h"

namespace quillmar::shell {
namespace {

constexpr const char* kConfigurationExtension = "kbp";

std::optional<std::filesystem::path> runDialog(QWidget* parent, const FileDialogSetup& setup,
                                               QFileDialog::AcceptMode mode,
                                               const std::filesystem::path& initial = {}) {
    QFileDialog dialog(parent, QString(), setup.folder, setup.filter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(kConfigurationExtension);
    if (initial.has_parent_path()) dialog.setDirectory(QString::fromStdString(initial.parent_path().string()));
    if (!initial.empty()) dialog.selectFile(QString::fromStdString(initial.filename().string()));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return std::filesystem::path(dialog.selectedFiles().front().toStdString());
}

}  // namespace

FileDialogSetup fileDialogSetup(const std::filesystem::path& userFolder, const text::Texts& texts) {
    using text::TextSlot;
    const QString profiles = toQString(text::slotText(texts, text::TextSlot::FILE_FILTER_PROFILES));
    const QString all = toQString(text::slotText(texts, text::TextSlot::FILE_FILTER_ALL));
    std::error_code error;
    const bool folderExists = std::filesystem::is_directory(userFolder, error);
    return {folderExists ? QString::fromStdString(userFolder.string()) : QString(),
            profiles + " (*.kbp);;" + all + " (*)"};
}

std::optional<std::filesystem::path> QtFileChooser::chooseFileToImport() {
    return runDialog(parent_, fileDialogSetup(userFolder_, texts_), QFileDialog::AcceptOpen);
}

std::optional<std::filesystem::path> QtFileChooser::chooseFileToExport() {
    return runDialog(parent_, fileDialogSetup(userFolder_, texts_), QFileDialog::AcceptSave);
}

std::optional<std::filesystem::path> QtFileChooser::chooseNewProfileFile(const std::filesystem::path& initial) {
    return runDialog(parent_, fileDialogSetup(userFolder_, texts_), QFileDialog::AcceptSave, initial);
}

std::optional<std::filesystem::path> QtFileChooser::chooseProfileFileToLoad(const std::filesystem::path& initial) {
    return runDialog(parent_, fileDialogSetup(userFolder_, texts_), QFileDialog::AcceptOpen, initial);
}

}  // namespace quillmar::shell
