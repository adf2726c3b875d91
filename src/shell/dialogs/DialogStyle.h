#pragma once

namespace quillmar::shell {

// Lists and fields of the dialogs sit on the skin's dark panels.
inline constexpr const char* kDarkControlStyle =
    "QTableWidget, QListWidget, QLineEdit, QComboBox { background: #161a21; color: #e4e4e4;"
    " border: 1px solid #3a414d; selection-background-color: #1f6f9f; selection-color: #ffffff; }"
    "QHeaderView::section { background: #222833; color: #e4e4e4; border: 0;"
    " border-right: 1px solid #3a414d; padding: 2px; }"
    "QListWidget::item { padding: 3px 4px; }"
    "QCheckBox { background: transparent; }"
    "QCheckBox::indicator, QTableWidget::indicator { width: 14px; height: 14px; border: 1px solid #8a93a3;"
    " background: #161a21; }"
    "QTableWidget::indicator:checked { background: #1f8fcf; border-color: #1f8fcf; }"
    "QCheckBox::indicator:checked { background: #1f8fcf; border-color: #1f8fcf; }";

}  // namespace quillmar::shell
