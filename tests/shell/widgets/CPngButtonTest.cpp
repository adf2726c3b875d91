// A skinned button shows the face its state calls for, cut from the shared
// surfaces at its origin; a lighting colour turns it into an outline.
#include "shell/widgets/CPngButton.h"
#include "shell/widgets/ControlId.h"
#include "skin/SkinFixture.h"

#include <QApplication>
#include <QEnterEvent>
#include <QSignalSpy>
#include <QToolTip>
#include <QWidget>

#include <gtest/gtest.h>

namespace quillmar::shell {
namespace {

using Face = CPngButton::Face;
using testing::positionSurface;

enum Tag { kNormal = 1, kOver, kDown, kDisabled, kSelected, kKeyOff, kKeyOn };

class CPngButtonTest : public ::testing::Test {
protected:
    CPngButtonTest() : button(1010, &window) {
        button.setGeometry(10, 20, 30, 40);
        button.setSkin({10, 20}, {positionSurface(kNormal), positionSurface(kOver),
                                  positionSurface(kDown), positionSurface(kDisabled),
                                  positionSurface(kSelected)});
        button.setColourKeySurfaces(positionSurface(kKeyOff), positionSurface(kKeyOn));
    }

    void hover(bool over) {
        if (over) {
            QEnterEvent enter(QPointF(5, 5), QPointF(15, 25), QPointF(15, 25));
            QApplication::sendEvent(&button, &enter);
        } else {
            QEvent leave(QEvent::Leave);
            QApplication::sendEvent(&button, &leave);
        }
    }

    QRgb pixelAt(QPoint at) { return button.grab().toImage().pixel(at); }

    QWidget window;
    CPngButton button;
};

TEST_F(CPngButtonTest, FaceIsCutOnePixelUpAndLeftOfTheOrigin) {
    EXPECT_EQ(pixelAt({0, 0}), qRgb(9, 19, kNormal));
    EXPECT_EQ(pixelAt({29, 39}), qRgb(38, 58, kNormal));
}

TEST_F(CPngButtonTest, StatesChooseTheirSurfaceInOrderOfPrecedence) {
    const struct {
        bool enabled, colourKeyMode, colourKeyFlag, down, over, selected;
        Face face;
        int tag;
    } cases[] = {
        {true, false, false, false, false, false, Face::Normal, kNormal},
        {true, false, false, false, false, true, Face::Selected, kSelected},
        {true, false, false, false, true, true, Face::Over, kOver},
        {true, false, false, true, true, true, Face::Down, kDown},
        {true, true, false, true, true, true, Face::ColourKeyOff, kKeyOff},
        {true, true, true, true, true, true, Face::ColourKeyOn, kKeyOn},
        {false, true, true, false, true, true, Face::Disabled, kDisabled},
    };
    for (const auto& c : cases) {
        button.setEnabled(c.enabled);
        button.setColourKeyMode(c.colourKeyMode);
        button.setColourKeyFlag(c.colourKeyFlag);
        button.setDown(c.down);
        hover(c.over);
        button.setSelected(c.selected);
        EXPECT_EQ(button.currentFace(), c.face) << c.tag;
        EXPECT_EQ(qBlue(pixelAt({3, 4})), c.tag);
    }
}

TEST_F(CPngButtonTest, HoverFollowsEnterAndLeaveAndPopsTheTooltipUp) {
    button.setToolTipText("Help");
    hover(true);
    EXPECT_TRUE(button.isOver());
    EXPECT_EQ(QToolTip::text(), "Help");
    hover(false);
    EXPECT_FALSE(button.isOver());
    EXPECT_EQ(button.currentFace(), Face::Normal);
}

TEST_F(CPngButtonTest, OutlineWashesTheFaceAndCapsItsPercentage) {
    const QRgb face = button.grab().toImage().pixel(15, 20);
    int normalDraws = 0;
    int otherDraws = 0;
    button.setDrawCallback([&](CPngButton&, bool usedNormal) { ++(usedNormal ? normalDraws : otherDraws); });

    button.setOutline(lighting::colourFromRgb(0x12, 0x34, 0x56), 150, true);
    EXPECT_EQ(button.outlinePercent(), 100);
    const QImage outlined = button.grab().toImage();
    EXPECT_EQ(outlined.pixel(0, 0), qRgb(0x12, 0x34, 0x56));
    EXPECT_EQ(outlined.pixel(1, 20), qRgb(0x12, 0x34, 0x56));
    // Inside, the face shows through a wash of the colour, legend and all.
    const QRgb inside = outlined.pixel(15, 20);
    const auto washed = [](int colour, int faceChannel) { return (colour * 110 + faceChannel * 145) / 255; };
    EXPECT_NEAR(qRed(inside), washed(0x12, qRed(face)), 2);
    EXPECT_NEAR(qGreen(inside), washed(0x34, qGreen(face)), 2);
    EXPECT_NEAR(qBlue(inside), washed(0x56, qBlue(face)), 2);
    EXPECT_EQ(otherDraws, 1);

    button.setOutline(0, -5, false);
    EXPECT_EQ(button.outlinePercent(), 0);
    EXPECT_EQ(pixelAt({0, 0}), qRgb(9, 19, kNormal));
    EXPECT_EQ(normalDraws, 1);
}

TEST_F(CPngButtonTest, DrawCallbackTellsWhetherTheNormalSurfaceWasUsed) {
    const QPixmap shared = positionSurface(kNormal);
    button.setSkin({10, 20}, {shared, positionSurface(kOver), positionSurface(kDown), shared,
                              positionSurface(kSelected)});
    std::vector<bool> used;
    button.setDrawCallback([&](CPngButton&, bool usedNormal) { used.push_back(usedNormal); });
    button.grab();
    button.setEnabled(false);  // its disabled look is the normal surface
    button.grab();
    button.setEnabled(true);
    button.setSelected(true);
    button.grab();
    EXPECT_EQ(used, (std::vector<bool>{true, true, false}));
}

TEST_F(CPngButtonTest, CaptionIsWrittenOverTheFace) {
    button.setText("G1");
    EXPECT_FALSE(button.captionVisible());
    CaptionStyle style;
    style.fontFace = "DejaVu Sans";
    style.pointSize = 14;
    style.colour = QColor(0xE4, 0xE4, 0xE4);
    style.bold = true;
    button.setCaptionStyle(style);
    const QImage captioned = button.grab().toImage();
    int captionPixels = 0;
    for (int y = 0; y < captioned.height(); ++y) {
        for (int x = 0; x < captioned.width(); ++x) {
            captionPixels += captioned.pixel(x, y) == qRgb(0xE4, 0xE4, 0xE4);
        }
    }
    EXPECT_GT(captionPixels, 10);
}

// Each sequence is what a window system may deliver for two quick clicks.
TEST_F(CPngButtonTest, DoubleClickCountsAsTwoClicks) {
    using Sequence = std::vector<QEvent::Type>;
    const Sequence sequences[] = {
        {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
         QEvent::MouseButtonRelease},
        {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonPress,
         QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease},
    };
    for (const auto& sequence : sequences) {
        QSignalSpy clicks(&button, &QPushButton::clicked);
        for (QEvent::Type type : sequence) {
            const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
            QMouseEvent event(type, QPointF(5, 5), QPointF(15, 25), Qt::LeftButton, held, Qt::NoModifier);
            QApplication::sendEvent(&button, &event);
        }
        EXPECT_EQ(clicks.count(), 2) << sequence.size();
    }
}

TEST_F(CPngButtonTest, WindowFindsControlsByTheirId) {
    CPngButton apply(1006, &window);
    EXPECT_EQ(findControl(window, 1006), &apply);
    EXPECT_EQ(findControl(window, 1010), &button);
    EXPECT_EQ(controlId(button), 1010);
    EXPECT_EQ(findControl(window, 4242), nullptr);
}

TEST(ButtonCaptionTest, TextFormatsGiveQtPlacement) {
    const struct {
        unsigned format;
        int flags;
    } cases[] = {
        {0x24, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine},
        {0x25, Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine},
        {0x2A, Qt::AlignRight | Qt::AlignBottom | Qt::TextSingleLine},
        {0x10C, Qt::AlignLeft | Qt::AlignVCenter},
        {0x8, Qt::AlignLeft | Qt::AlignBottom},
        {0x11, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap},
    };
    for (const auto& c : cases) EXPECT_EQ(textFlagsForFormat(c.format), c.flags) << std::hex << c.format;
}

}  // namespace
}  // namespace quillmar::shell
