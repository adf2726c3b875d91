// A skinned window takes its size from the background, its shape from the
// mask's non-white pixels, and moves when dragged by its background.
#include "shell/skin/WindowSkin.h"
#include "skin/SkinFixture.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QWidget>

#include <gtest/gtest.h>

namespace quillmar::shell {
namespace {

using testing::SkinFolder;

QImage filled(QSize size, QRgb colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

TEST(WindowSkinTest, OnlyExactlyWhitePixelsLeaveTheShape) {
    QImage mask = filled({4, 3}, qRgb(0, 0, 0));
    mask.setPixel(0, 0, qRgb(255, 255, 255));
    mask.setPixel(1, 0, qRgb(254, 255, 255));
    mask.setPixel(3, 2, qRgb(255, 255, 255));
    const QRegion shape = shapeFromMask(mask);
    EXPECT_FALSE(shape.contains(QPoint(0, 0)));
    EXPECT_TRUE(shape.contains(QPoint(1, 0)));
    EXPECT_TRUE(shape.contains(QPoint(2, 1)));
    EXPECT_FALSE(shape.contains(QPoint(3, 2)));
    EXPECT_EQ(shape.boundingRect(), QRect(0, 0, 4, 3));
}

TEST(WindowSkinTest, TransparentWhiteCountsAsWhite) {
    QImage mask(2, 1, QImage::Format_ARGB32);
    mask.setPixel(0, 0, qRgba(255, 255, 255, 0));
    mask.setPixel(1, 0, qRgba(10, 10, 10, 0));
    const QRegion shape = shapeFromMask(mask);
    EXPECT_FALSE(shape.contains(QPoint(0, 0)));
    EXPECT_TRUE(shape.contains(QPoint(1, 0)));
}

TEST(WindowSkinTest, BackgroundSizesAndMaskShapesTheWindow) {
    SkinFolder folder;
    folder.writeImage("bg.png", filled({120, 80}, qRgb(40, 40, 40)));
    QImage mask = filled({120, 80}, qRgb(0, 0, 0));
    mask.setPixel(0, 0, qRgb(255, 255, 255));
    folder.writeImage("mask.png", mask);
    const auto file = folder.writeFile("Main.ini", "[SCREEN]\nMain=bg.png\nMask=mask.png\n");

    QWidget window;
    window.resize(300, 200);
    window.show();
    WindowSkin* skin = ApplyWindowSkin(window, file);
    ASSERT_NE(skin, nullptr);
    EXPECT_EQ(window.size(), QSize(120, 80));
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_FALSE(window.mask().contains(QPoint(0, 0)));
    EXPECT_TRUE(window.mask().contains(QPoint(119, 79)));
    EXPECT_EQ(window.grab().toImage().pixel(60, 40), qRgb(40, 40, 40));

    ASSERT_NE(ApplyWindowSkin(window, file), nullptr);
    EXPECT_EQ(window.findChildren<WindowSkin*>().size(), 1);
}

TEST(WindowSkinTest, MaskDefaultsToTheBackground) {
    SkinFolder folder;
    QImage background = filled({50, 40}, qRgb(30, 30, 30));
    background.setPixel(0, 0, qRgb(255, 255, 255));
    folder.writeImage("bg.png", background);
    const auto file = folder.writeFile("Main.ini", "[SCREEN]\nMain=bg.png\n");
    QWidget window;
    ASSERT_NE(ApplyWindowSkin(window, file), nullptr);
    EXPECT_FALSE(window.mask().contains(QPoint(0, 0)));
    EXPECT_TRUE(window.mask().contains(QPoint(1, 0)));
}

TEST(WindowSkinTest, MissingPicturesLeaveTheWindowAsItWas) {
    SkinFolder folder;
    folder.writeImage("bg.png", filled({50, 40}, qRgb(30, 30, 30)));
    const struct {
        const char* ini;
        bool skinned;
    } cases[] = {
        {"[SCREEN]\nMain=missing.png\n", false},
        {"[OTHER]\nMain=bg.png\n", false},
        {"[SCREEN]\nMain=bg.png\nMask=missing.png\n", true},
    };
    for (const auto& c : cases) {
        const auto file = folder.writeFile("Main.ini", c.ini);
        QWidget window;
        window.resize(300, 200);
        EXPECT_EQ(ApplyWindowSkin(window, file) != nullptr, c.skinned) << c.ini;
        EXPECT_EQ(window.size(), c.skinned ? QSize(50, 40) : QSize(300, 200)) << c.ini;
        EXPECT_TRUE(window.mask().isEmpty()) << c.ini;
    }
}

void sendMouse(QWidget& target, QEvent::Type type, QPoint local, QPoint global,
               Qt::MouseButtons buttons) {
    QMouseEvent event(type, local, global, Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(&target, &event);
}

TEST(WindowSkinTest, DraggingTheBackgroundMovesTheWindowButAControlDoesNot) {
    SkinFolder folder;
    folder.writeImage("bg.png", filled({200, 100}, qRgb(30, 30, 30)));
    const auto file = folder.writeFile("Main.ini", "[SCREEN]\nMain=bg.png\n");
    QWidget window;
    ASSERT_NE(ApplyWindowSkin(window, file), nullptr);
    QPushButton control(&window);
    control.setGeometry(100, 10, 50, 30);
    window.move(100, 100);

    sendMouse(window, QEvent::MouseButtonPress, {5, 5}, {105, 105}, Qt::LeftButton);
    sendMouse(window, QEvent::MouseMove, {25, 35}, {125, 135}, Qt::LeftButton);
    sendMouse(window, QEvent::MouseButtonRelease, {25, 35}, {125, 135}, Qt::NoButton);
    EXPECT_EQ(window.pos(), QPoint(120, 130));

    // A press the control did not take still lands on it, not on the background.
    sendMouse(window, QEvent::MouseButtonPress, {110, 20}, {230, 150}, Qt::LeftButton);
    sendMouse(window, QEvent::MouseMove, {150, 60}, {270, 190}, Qt::LeftButton);
    EXPECT_EQ(window.pos(), QPoint(120, 130));
}

}  // namespace
}  // namespace quillmar::shell
