#pragma once

class QWidget;

namespace quillmar::shell {

// Every control keeps the numeric id the window's routing tables use, held
// in the widget's "controlId" property.
inline constexpr const char* kControlIdProperty = "controlId";

void setControlId(QWidget& control, int id);

// The control's id; 0 when it has none.
int controlId(const QWidget& control);

// The descendant of window with that id, or nullptr.
QWidget* findControl(const QWidget& window, int id);

}  // namespace quillmar::shell
