#include "shell/window/FileChooser.h"

#include <QFileDialog>

namespace quillmar::shell {
namespace {

constexpr const char* kConfigurationFilter = "(*.kbp) (*.kbp);;(*.*) (*)";
constexpr const char* kConfigurationExtension = "kbp";
constexpr const char* kInitialName = "*.kbp";

std::optional<std::filesystem::path> runDialog(QWidget* parent, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, QString(), QString(), kConfigurationFilter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(kConfigurationExtension);
    dialog.selectFile(kInitialName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return std::filesystem::path(dialog.selectedFiles().front().toStdString());
}

}  // namespace

std::optional<std::filesystem::path> QtFileChooser::chooseFileToImport() {
    return runDialog(parent_, QFileDialog::AcceptOpen);
}

std::optional<std::filesystem::path> QtFileChooser::chooseFileToExport() {
    return runDialog(parent_, QFileDialog::AcceptSave);
}

}  // namespace quillmar::shell
