#include "shell/window/FileChooser.h"

#include <QFileDialog>

namespace quillmar::shell {
namespace {

constexpr const char* kConfigurationFilter = "(*.kbp) (*.kbp);;(*.*) (*)";
constexpr const char* kConfigurationExtension = "kbp";
constexpr const char* kInitialName = "*.kbp";

std::optional<std::filesystem::path> runDialog(QWidget* parent, QFileDialog::AcceptMode mode,
                                               const std::filesystem::path& initial = kInitialName) {
    QFileDialog dialog(parent, QString(), QString(), kConfigurationFilter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(kConfigurationExtension);
    if (initial.has_parent_path()) dialog.setDirectory(QString::fromStdString(initial.parent_path().string()));
    dialog.selectFile(QString::fromStdString(initial.filename().string()));
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

std::optional<std::filesystem::path> QtFileChooser::chooseNewProfileFile(const std::filesystem::path& initial) {
    return runDialog(parent_, QFileDialog::AcceptSave, initial);
}

std::optional<std::filesystem::path> QtFileChooser::chooseProfileFileToLoad(const std::filesystem::path& initial) {
    return runDialog(parent_, QFileDialog::AcceptOpen, initial);
}

}  // namespace quillmar::shell
