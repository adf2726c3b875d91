#pragma once

#include "profiles/Backups.h"
#include "text/Texts.h"

#include <QDialog>

#include <optional>
#include <string>
#include <vector>

class QListWidget;
class QPushButton;

namespace quillmar::shell {

// The button menu's "Backups..." window: the kept configurations, newest
// first, each as its time and what made it, with Restore and Close. Restore
// is offered once an entry is picked; the window itself changes nothing.
class BackupsDialog final : public QDialog {
    Q_OBJECT
public:
    static constexpr int kList = 1301;
    static constexpr int kRestore = 1302;
    static constexpr int kClose = 1303;
    static constexpr int kNoBackups = 1304;

    BackupsDialog(const std::vector<profiles::BackupEntry>& entries, const text::Texts& texts, QWidget* parent);

    // The picked entry's name once Restore was pressed; nothing before.
    std::optional<std::string> chosenName() const { return chosen_; }

private:
    void choose();

    QListWidget* list_;
    QPushButton* restore_;
    std::optional<std::string> chosen_;
};

}  // namespace quillmar::shell
