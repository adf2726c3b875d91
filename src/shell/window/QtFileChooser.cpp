#include "shell/window/FileChooser.h"

#include <QFileDialog>

#include "profiles/SlotText.h"
#include "shell/window/QtText.h"

namespace quillmar::shell {
namespace {

constexpr const char* kConfigurationExtension = "kbp";

std::optional<std::filesystem::path> runDialog(QWidget* parent, const FileDialogSetup& setup,
                                               QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, QString(), setup.folder, setup.filter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(kConfigurationExtension);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return std::filesystem::path(dialog.selectedFiles().front().toStdString());
}

}  // namespace

FileDialogSetup fileDialogSetup(const std::filesystem::path& userFolder, const platform::Texts& texts) {
    using profiles::TextSlot;
    const QString profiles = toQString(profiles::slotText(texts, TextSlot::FILE_FILTER_PROFILES));
    const QString all = toQString(profiles::slotText(texts, TextSlot::FILE_FILTER_ALL));
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

}  // namespace quillmar::shell
