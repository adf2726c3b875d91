#pragma once

#include <QPixmap>
#include <QWidget>

#include <cstdint>

namespace quillmar::shell {

// A slider drawn from a replaceable channel picture. Every change the user
// makes (mouse, keys, wheel) is posted to the parent window as the message
// kMovedMessage with wParam = control id and lParam = the new position (a
// WindowMessageEvent), and emitted as moved(); changes the owner makes send
// nothing.
class CBitmapSlider : public QWidget {
    Q_OBJECT
public:
    static constexpr std::uint32_t kMovedMessage = 0x28D1;

    explicit CBitmapSlider(int controlId, QWidget* parent = nullptr);

    // A reversed range is put in order. The position is clamped into it.
    void setRange(int minimum, int maximum);
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }

    // Clamped into the range; redraws.
    void setPosition(int position);
    int position() const { return position_; }

    void setPageSize(int pageSize);
    int pageSize() const { return pageSize_; }

    // Redraws; the picture is stretched over the whole control.
    void setChannel(const QPixmap& channel);
    const QPixmap& channel() const { return channel_; }

    void setVertical(bool vertical);
    bool isVertical() const { return vertical_; }

signals:
    void moved(int controlId, int position);

protected:
    // Tells the parent about a change the user made: posts kMovedMessage to
    // the parent widget, then emits moved().
    virtual void notifyMoved(int position);

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    int positionAtPointer(QPoint pointer) const;
    int clamped(long long position) const;
    // Sets a position the user chose and tells the parent when it changed.
    void moveTo(long long position);
    void stepBy(long long delta) { moveTo(static_cast<long long>(position_) + delta); }

    int minimum_ = 0;
    int maximum_ = 100;
    int position_ = 0;
    int pageSize_ = 10;
    bool vertical_ = false;
    bool pressed_ = false;
    int wheelRemainder_ = 0;  // wheel delta short of a whole notch
    QPixmap channel_;
};

}  // namespace quillmar::shell
