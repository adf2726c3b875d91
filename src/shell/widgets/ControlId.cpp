#include "shell/widgets/ControlId.h"

#include <QVariant>
#include <QWidget>

namespace quillmar::shell {

void setControlId(QWidget& control, int id) { control.setProperty(kControlIdProperty, id); }

int controlId(const QWidget& control) { return control.property(kControlIdProperty).toInt(); }

QWidget* findControl(const QWidget& window, int id) {
    const auto children = window.findChildren<QWidget*>();
    for (QWidget* child : children) {
        if (controlId(*child) == id) return child;
    }
    return nullptr;
}

}  // namespace quillmar::shell
