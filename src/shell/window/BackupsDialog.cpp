#include "shell/window/BackupsDialog.h"

#include "shell/dialogs/DialogStyle.h"
#include "shell/widgets/ControlId.h"
#include "shell/window/BackupChooser.h"
#include "shell/window/QtText.h"
#include "text/SlotText.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillmar::shell {
namespace {

// The window's dark panel, as the other dialogs show their lists.
QString dialogStyle() {
    return QString::fromLatin1(kDarkControlStyle) +
           QStringLiteral("QDialog { background: #1b1f27; } QLabel { color: #e4e4e4; }"
                          " QPushButton { background: #222833; color: #e4e4e4; border: 1px solid #3a414d;"
                          " padding: 4px 16px; } QPushButton:hover { border-color: #1f8fcf; }"
                          " QPushButton:disabled { color: #6b7280; }");
}

QString slot(const text::Texts& texts, text::TextSlot slot) { return toQString(text::slotText(texts, slot)); }

template <typename Control>
Control* withId(Control* control, int id) {
    setControlId(*control, id);
    return control;
}

}  // namespace

BackupsDialog::BackupsDialog(const std::vector<profiles::BackupEntry>& entries, const text::Texts& texts,
                             QWidget* parent)
    : QDialog(parent), list_(withId(new QListWidget(this), kList)) {
    setWindowTitle(slot(texts, text::TextSlot::BACKUP_CAPTION));
    setStyleSheet(dialogStyle());
    for (const profiles::BackupEntry& entry : entries) {
        auto* item = new QListWidgetItem(toQString(profiles::backupDescription(entry, texts)), list_);
        item->setData(Qt::UserRole, QString::fromStdString(entry.name));
        item->setToolTip(QString::fromStdString(entry.name));
    }
    auto* none = withId(new QLabel(slot(texts, text::TextSlot::BACKUP_NONE), this), kNoBackups);
    none->setWordWrap(true);
    none->setVisible(entries.empty());
    list_->setVisible(!entries.empty());
    list_->setMinimumSize(list_->sizeHintForColumn(0) + 40, 240);

    auto* buttons = new QDialogButtonBox(this);
    restore_ = withId(buttons->addButton(slot(texts, text::TextSlot::BACKUP_RESTORE), QDialogButtonBox::AcceptRole),
                      kRestore);
    withId(buttons->addButton(slot(texts, text::TextSlot::BACKUP_CLOSE), QDialogButtonBox::RejectRole), kClose);
    restore_->setEnabled(false);
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) { restore_->setEnabled(row >= 0); });
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] { choose(); });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { choose(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(none);
    layout->addWidget(list_);
    layout->addWidget(buttons);
}

void BackupsDialog::choose() {
    const QListWidgetItem* item = list_->currentItem();
    if (!item) return;
    chosen_ = item->data(Qt::UserRole).toString().toStdString();
    accept();
}

std::optional<std::string> QtBackupChooser::chooseBackupToRestore(const std::vector<profiles::BackupEntry>& entries) {
    BackupsDialog dialog(entries, texts_, parent_);
    dialog.exec();
    return dialog.chosenName();
}

}  // namespace quillmar::shell
