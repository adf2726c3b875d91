#pragma once

#include "profiles/Backups.h"
#include "text/Texts.h"

#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace quillmar::shell {

// Which backup to put back; tests answer it.
class BackupChooser {
public:
    virtual ~BackupChooser() = default;
    // The chosen entry's name; nothing when the user closes the list.
    virtual std::optional<std::string> chooseBackupToRestore(const std::vector<profiles::BackupEntry>& entries) = 0;
};

// The list of backups as a modal BackupsDialog.
class QtBackupChooser final : public BackupChooser {
public:
    QtBackupChooser(QWidget* parent, const text::Texts& texts) : parent_(parent), texts_(texts) {}
    std::optional<std::string> chooseBackupToRestore(const std::vector<profiles::BackupEntry>& entries) override;

private:
    QWidget* parent_;
    const text::Texts& texts_;
};

}  // namespace quillmar::shell
