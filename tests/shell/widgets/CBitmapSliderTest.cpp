// The bitmap slider turns mouse, keys and wheel into positions and posts
// every change it makes to its window; changes by the owner stay quiet.
#include "shell/widgets/CBitmapSlider.h"
#include "shell/widgets/WindowMessageEvent.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QWheelEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace quillmar::shell {
namespace {

// A window that records the custom messages posted to it.
class RecordingWindow : public QWidget {
public:
    struct Message {
        std::uint32_t message, wParam, lParam;
        bool operator==(const Message&) const = default;
    };

    std::vector<Message> received() {
        QCoreApplication::sendPostedEvents(this, WindowMessageEvent::eventType());
        return std::exchange(messages_, {});
    }

    std::size_t delivered() const { return messages_.size(); }

    bool event(QEvent* event) override {
        if (event->type() == WindowMessageEvent::eventType()) {
            const auto* message = static_cast<WindowMessageEvent*>(event);
            messages_.push_back({message->message(), message->wParam(), message->lParam()});
            return true;
        }
        return QWidget::event(event);
    }

private:
    std::vector<Message> messages_;
};

constexpr int kSliderId = 1178;

class CBitmapSliderTest : public ::testing::Test {
protected:
    CBitmapSliderTest() : slider(kSliderId, &window) {
        slider.setGeometry(0, 0, 100, 24);
        slider.setRange(0, 4);
        slider.setPageSize(10);
    }

    void mouse(QEvent::Type type, int x, int y = 10) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(x, y), QPointF(x, y), Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(&slider, &event);
    }

    void key(int qtKey) {
        QKeyEvent event(QEvent::KeyPress, qtKey, Qt::NoModifier);
        QApplication::sendEvent(&slider, &event);
    }

    void wheel(int delta, CBitmapSlider* target = nullptr) {
        QWheelEvent event(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target ? target : &slider, &event);
    }

    static RecordingWindow::Message moved(int position) {
        return {CBitmapSlider::kMovedMessage, kSliderId, static_cast<std::uint32_t>(position)};
    }

    RecordingWindow window;
    CBitmapSlider slider;
};

TEST_F(CBitmapSliderTest, PressAndDragTruncateAndClamp) {
    const struct {
        QEvent::Type type;
        int x;
        int position;
    } steps[] = {
        {QEvent::MouseButtonPress, 99, 3}, {QEvent::MouseMove, 100, 4},
        {QEvent::MouseMove, 250, 4},       {QEvent::MouseMove, 49, 1},
        {QEvent::MouseMove, -30, 0},       {QEvent::MouseMove, 25, 1},
    };
    for (const auto& step : steps) {
        mouse(step.type, step.x);
        EXPECT_EQ(slider.position(), step.position) << step.x;
    }
    EXPECT_EQ(window.received(),
              (std::vector{moved(3), moved(4), moved(1), moved(0), moved(1)}));

    mouse(QEvent::MouseButtonRelease, 25);
    mouse(QEvent::MouseMove, 90);
    EXPECT_EQ(slider.position(), 1);
    EXPECT_TRUE(window.received().empty());
}

TEST_F(CBitmapSliderTest, TheNoticeIsPostedNotSent) {
    QSignalSpy signal(&slider, &CBitmapSlider::moved);
    mouse(QEvent::MouseButtonPress, 60);
    EXPECT_EQ(window.delivered(), 0u);
    EXPECT_EQ(window.received(), std::vector{moved(2)});
    ASSERT_EQ(signal.count(), 1);
    EXPECT_EQ(signal.at(0), (QVariantList{kSliderId, 2}));
}

TEST_F(CBitmapSliderTest, WidestRangeDoesNotOverflow) {
    slider.setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    mouse(QEvent::MouseButtonPress, 50);
    EXPECT_EQ(slider.position(), -1);
    mouse(QEvent::MouseMove, 1 << 30);
    EXPECT_EQ(slider.position(), std::numeric_limits<int>::max());
    slider.setPageSize(std::numeric_limits<int>::max());
    key(Qt::Key_PageDown);
    EXPECT_EQ(slider.position(), std::numeric_limits<int>::max());
}

TEST_F(CBitmapSliderTest, VerticalSliderUsesHeightAndY) {
    slider.setGeometry(0, 0, 24, 100);
    slider.setVertical(true);
    mouse(QEvent::MouseButtonPress, 200, 75);
    EXPECT_EQ(slider.position(), 3);
}

TEST_F(CBitmapSliderTest, KeysStepPageAndJump) {
    const struct {
        int key;
        int position;
    } cases[] = {
        {Qt::Key_Left, 1}, {Qt::Key_Up, 1},       {Qt::Key_Right, 3}, {Qt::Key_Down, 3},
        {Qt::Key_PageUp, 0}, {Qt::Key_PageDown, 4}, {Qt::Key_Home, 0}, {Qt::Key_End, 4},
    };
    for (const auto& c : cases) {
        slider.setPosition(2);
        key(c.key);
        EXPECT_EQ(slider.position(), c.position) << c.key;
        EXPECT_EQ(window.received(), std::vector{moved(c.position)}) << c.key;
    }
    key(Qt::Key_A);
    EXPECT_TRUE(window.received().empty());
}

// Deltas add up to notches (120), as high-resolution touchpads send them in
// small pieces; a notch forward steps back.
TEST_F(CBitmapSliderTest, WheelDeltasAddUpToWholeNotches) {
    const struct {
        std::vector<int> deltas;
        int position;
        std::size_t notices;
    } cases[] = {
        {{120}, 1, 1},          {{-120}, 3, 1},          {{240}, 0, 1},         {{60}, 2, 0},
        {{60, 60}, 1, 1},       {{-30, -30, -30}, 2, 0}, {{-40, -40, -40}, 3, 1}, {{100, -100}, 2, 0},
        {{-15, -15, -15, -15, -15, -15, -15, -15, -15, -15, -15, -15, -15, -15, -15, -15}, 4, 2},
        {{0}, 2, 0},
    };
    for (const auto& c : cases) {
        CBitmapSlider fresh(kSliderId, &window);
        fresh.setGeometry(0, 0, 100, 24);
        fresh.setRange(0, 4);
        fresh.setPosition(2);
        for (const int delta : c.deltas) wheel(delta, &fresh);
        EXPECT_EQ(fresh.position(), c.position) << ::testing::PrintToString(c.deltas);
        EXPECT_EQ(window.received().size(), c.notices) << ::testing::PrintToString(c.deltas);
    }
}

TEST_F(CBitmapSliderTest, OwnerChangesAreClampedAndQuiet) {
    slider.setPosition(9);
    EXPECT_EQ(slider.position(), 4);
    slider.setRange(10, 2);
    EXPECT_EQ(slider.minimum(), 2);
    EXPECT_EQ(slider.maximum(), 10);
    slider.setRange(0, 3);
    EXPECT_EQ(slider.position(), 3);
    QPixmap channel(200, 24);
    channel.fill(Qt::darkGray);
    slider.setChannel(channel);
    EXPECT_TRUE(window.received().empty());
}

TEST_F(CBitmapSliderTest, DisabledSliderTakesNoInput) {
    slider.setPosition(2);
    slider.setEnabled(false);
    mouse(QEvent::MouseButtonPress, 99);
    key(Qt::Key_End);
    wheel(120);
    EXPECT_EQ(slider.position(), 2);
    EXPECT_TRUE(window.received().empty());
}

TEST_F(CBitmapSliderTest, ChannelFillsTheControl) {
    QPixmap channel(200, 24);
    channel.fill(QColor(10, 200, 30));
    slider.setChannel(channel);
    const QImage drawn = slider.grab().toImage();
    EXPECT_EQ(drawn.pixel(50, 12), qRgb(10, 200, 30));
}

}  // namespace
}  // namespace quillmar::shell
