#include "shell/widgets/CBitmapSlider.h"

#include "shell/widgets/ControlId.h"
#include "shell/widgets/WindowMessageEvent.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cstdint>
#include <utility>

namespace quillmar::shell {

namespace {

// One notch of a mouse wheel.
constexpr int kWheelNotch = 120;

}  // namespace

CBitmapSlider::CBitmapSlider(int controlId, QWidget* parent) : QWidget(parent) {
    setControlId(*this, controlId);
    setFocusPolicy(Qt::ClickFocus);
}

void CBitmapSlider::setRange(int minimum, int maximum) {
    if (minimum > maximum) std::swap(minimum, maximum);
    minimum_ = minimum;
    maximum_ = maximum;
    setPosition(position_);
}

void CBitmapSlider::setPosition(int position) {
    position_ = clamped(position);
    update();
}

void CBitmapSlider::setPageSize(int pageSize) { pageSize_ = pageSize; }

void CBitmapSlider::setChannel(const QPixmap& channel) {
    channel_ = channel;
    update();
}

void CBitmapSlider::setVertical(bool vertical) {
    vertical_ = vertical;
    update();
}

int CBitmapSlider::clamped(long long position) const {
    return static_cast<int>(std::clamp<long long>(position, minimum_, maximum_));
}

int CBitmapSlider::positionAtPointer(QPoint pointer) const {
    const long long extent = vertical_ ? height() : width();
    if (extent <= 0) return minimum_;
    // Outside the control the result clamps to an end anyway; keeping the
    // offset inside keeps the product in range.
    const long long offset = std::clamp<long long>(vertical_ ? pointer.y() : pointer.x(), 0, extent);
    const long long span = static_cast<long long>(maximum_) - minimum_;
    return clamped(minimum_ + offset * span / extent);
}

void CBitmapSlider::moveTo(long long position) {
    position_ = clamped(position);
    update();
    notifyMoved(position_);
}

void CBitmapSlider::notifyMoved(int position) {
    if (QWidget* window = parentWidget()) {
        postWindowMessage(*window, kMovedMessage, static_cast<std::uint32_t>(controlId(*this)),
                          static_cast<std::uint32_t>(position));
    }
    emit moved(controlId(*this), position);
}

void CBitmapSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    setFocus(Qt::MouseFocusReason);
    pressed_ = true;
    const int position = positionAtPointer(event->position().toPoint());
    if (position != position_) moveTo(position);
}

void CBitmapSlider::mouseMoveEvent(QMouseEvent* event) {
    if (!pressed_) return QWidget::mouseMoveEvent(event);
    const int position = positionAtPointer(event->position().toPoint());
    if (position != position_) moveTo(position);
}

void CBitmapSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) pressed_ = false;
    QWidget::mouseReleaseEvent(event);
}

void CBitmapSlider::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Up: return stepBy(-1);
        case Qt::Key_Right:
        case Qt::Key_Down: return stepBy(1);
        case Qt::Key_PageUp: return stepBy(-static_cast<long long>(pageSize_));
        case Qt::Key_PageDown: return stepBy(pageSize_);
        case Qt::Key_Home: return moveTo(minimum_);
        case Qt::Key_End: return moveTo(maximum_);
        default: return QWidget::keyPressEvent(event);
    }
}

void CBitmapSlider::wheelEvent(QWheelEvent* event) {
    // Touchpads send many small deltas: they add up to whole notches, and a
    // turn of direction starts afresh. A notch forward steps back by one.
    const int delta = event->angleDelta().y();
    if ((delta > 0 && wheelRemainder_ < 0) || (delta < 0 && wheelRemainder_ > 0)) wheelRemainder_ = 0;
    wheelRemainder_ += delta;
    const int notches = wheelRemainder_ / kWheelNotch;
    wheelRemainder_ -= notches * kWheelNotch;
    if (notches != 0) stepBy(-notches);
    event->accept();
}

void CBitmapSlider::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!channel_.isNull()) {
        painter.drawPixmap(rect(), channel_);
    } else {
        painter.fillRect(rect(), palette().color(QPalette::Mid));
    }
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

}  // namespace quillmar::shell
