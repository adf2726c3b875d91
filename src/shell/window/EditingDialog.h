#pragma once

#include <QDialog>

namespace quillmar::shell {

// The dialogs that edit the working configuration (composite key and macro,
// profile) mark themselves, so the keyboard's removal cancels them and
// nothing else: a question the user is answering or a file dialog stays.
inline constexpr const char* kEditingDialogProperty = "quillmarEditingDialog";

inline void markAsEditingDialog(QDialog& dialog) { dialog.setProperty(kEditingDialogProperty, true); }

inline bool isEditingDialog(const QWidget& widget) { return widget.property(kEditingDialogProperty).toBool(); }

}  // namespace quillmar::shell
