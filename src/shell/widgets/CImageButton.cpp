#include "shell/widgets/CImageButton.h"

#include "shell/widgets/ControlId.h"

#include <QMouseEvent>

namespace quillmar::shell {

CImageButton::CImageButton(int controlId, QWidget* parent) : QLabel(parent) {
    setControlId(*this, controlId);
    setScaledContents(true);
    setCursor(Qt::PointingHandCursor);
}

void CImageButton::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void CImageButton::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click) emit clicked();
}

}  // namespace quillmar::shell
