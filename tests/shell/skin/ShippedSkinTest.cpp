// The skin the build ships: faces cut from the state pictures line up with
// the background they are drawn over, and the main window takes its shape.
#include "shell/skin/SkinPlacement.h"
#include "shell/skin/SkinSurfaces.h"
#include "shell/skin/WindowSkin.h"
#include "shell/widgets/CPngButton.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <string_view>

namespace quillmar::shell {
namespace {

// The tests run in the program directory.
const std::filesystem::path kProgramDirectory = ".";
const std::filesystem::path kMainSkin = "Skins/Main.ini";
constexpr QSize kMainClientSize{1120, 680};

constexpr std::array<std::string_view, 7> kMainPictures = {
    "Skins/main_normal.jpg", "Skins/main_over.jpg",   "Skins/main_down.jpg",
    "Skins/main_disable.jpg", "Skins/main_color0.jpg", "Skins/main_color1.jpg",
    "Skins/Arrow.jpg"};

// Mean difference per channel between two same-size images.
double meanDifference(const QImage& a, const QImage& b) {
    long long total = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            total += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                     std::abs(qBlue(p) - qBlue(q));
        }
    }
    return static_cast<double>(total) / (3.0 * a.width() * a.height());
}

class ShippedSkinTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(surfaces.load(kMainPictures)) << surfaces.failedPicture();
        ASSERT_TRUE(background.load("Skins/main_bg.jpg"));
        background = background.convertToFormat(QImage::Format_RGB32);
    }

    QImage face(std::string_view key, const ButtonSurfaces& states) {
        CPngButton button(1, &window);
        PlaceSkinnedButton(button, kMainSkin, "BUTTONINFO", key, states);
        EXPECT_TRUE(button.isEnabled()) << key;
        placed = button.geometry();
        return button.grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    ButtonSurfaces mainStates() const {
        return surfaces.buttonSurfaces({"Skins/main_normal.jpg", "Skins/main_over.jpg",
                                        "Skins/main_down.jpg", "Skins/main_normal.jpg",
                                        "Skins/main_disable.jpg"});
    }

    SkinSurfaces surfaces{kProgramDirectory, kMainClientSize};
    QImage background;
    QWidget window;
    QRect placed;
};

TEST_F(ShippedSkinTest, SurfacesHaveRoomAroundTheClientArea) {
    const QPixmap normal = surfaces.surface("Skins\\main_normal.jpg");
    EXPECT_EQ(normal.size(), QSize(1320, 880));
    EXPECT_TRUE(surfaces.surface("Skins/not_loaded.jpg").isNull());

    SkinSurfaces broken(kProgramDirectory, kMainClientSize);
    constexpr std::array<std::string_view, 2> withMissing = {"Skins/main_normal.jpg",
                                                             "Skins/no_such.jpg"};
    EXPECT_FALSE(broken.load(withMissing));
    EXPECT_EQ(broken.failedPicture(), "Skins/no_such.jpg");
}

TEST_F(ShippedSkinTest, NormalFacesMatchTheBackgroundUnderThem) {
    for (std::string_view key : {"KEY_001", "FUNC_G1", "CONTROL2_APPLY", "FUNC_PROFILE1"}) {
        const QImage normal = face(key, mainStates());
        const double aligned = meanDifference(normal, background.copy(placed));
        const double shifted = meanDifference(normal, background.copy(placed.translated(-1, -1)));
        EXPECT_LT(aligned, 4.0) << key;
        EXPECT_LT(aligned, shifted) << key;
    }
}

TEST_F(ShippedSkinTest, HoverAndSelectedFacesLookDifferent) {
    const QImage normal = face("KEY_001", mainStates());
    const QImage over = face("KEY_001", ButtonSurfaces::uniform(surfaces.surface("Skins/main_over.jpg")));
    const QImage assigned = face("KEY_001", ButtonSurfaces::uniform(surfaces.surface("Skins/main_disable.jpg")));
    EXPECT_GT(meanDifference(normal, over), 4.0);
    EXPECT_GT(meanDifference(normal, assigned), 4.0);
}

TEST_F(ShippedSkinTest, EveryWindowTakesItsBackgroundSizeAndRoundedShape) {
    const struct {
        const char* skinFile;
        QSize size;
    } windows[] = {
        {"Skins/Main.ini", kMainClientSize},
        {"Skins/Composite.ini", {560, 440}},
        {"Skins/Profile.ini", {480, 350}},
    };
    for (const auto& w : windows) {
        QWidget skinned;
        ASSERT_NE(ApplyWindowSkin(skinned, w.skinFile), nullptr) << w.skinFile;
        EXPECT_EQ(skinned.size(), w.size) << w.skinFile;
        EXPECT_FALSE(skinned.mask().contains(QPoint(0, 0))) << w.skinFile;
        EXPECT_TRUE(skinned.mask().contains(QRect(QPoint(), w.size).center())) << w.skinFile;
    }
}

}  // namespace
}  // namespace quillmar::shell
