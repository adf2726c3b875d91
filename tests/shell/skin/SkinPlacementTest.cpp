// Controls take their place, origin and faces from the skin file; a skin
// hides a control by leaving its key out.
#include "shell/skin/SkinPlacement.h"
#include "shell/skin/SkinRect.h"
#include "shell/widgets/CPngButton.h"
#include "skin/SkinFixture.h"

#include <QLabel>
#include <QWidget>

#include <gtest/gtest.h>

namespace quillmar::shell {
namespace {

using testing::positionSurface;
using testing::SkinFolder;

struct RectCase {
    const char* line;
    QRect expected;
};

TEST(SkinRectTest, ReadsFourNumbersWithDefaultsForWhatIsMissing) {
    const RectCase cases[] = {
        {"K=10,20,30,40", {10, 20, 30, 40}},
        {"K= 10, 20, 30, 40 ,99", {10, 20, 30, 40}},
        {"Other=5,5,5,5", {1, 1, 1, 1}},  // key missing
        {"K=7,8", {7, 8, 1, 1}},
        {"K=garbage", {1, 1, 1, 1}},
        {"K=3,4,-5,-6", {3, 4, 0, 0}},
        {"K=99999999999,-99999999999,99999999999,4",
         {kMaxSkinCoordinate, -kMaxSkinCoordinate, kMaxSkinCoordinate, 4}},
    };
    SkinFolder folder;
    for (const auto& c : cases) {
        const auto file = folder.writeFile("Main.ini", std::string("[BUTTONINFO]\n") + c.line + "\n");
        EXPECT_EQ(readSkinRect(file, "BUTTONINFO", "k").rect(), c.expected) << c.line;
    }
}

TEST(SkinPlacementTest, SkinnedButtonTakesRectOriginAndSurfaces) {
    SkinFolder folder;
    const auto file = folder.writeFile("Main.ini",
                                       "[BUTTONINFO]\nSHOWN=10,20,30,40\nHIDDEN=1,1,50,20\n");
    QWidget window;
    const ButtonSurfaces surfaces{positionSurface(1), positionSurface(2), positionSurface(3),
                                  positionSurface(4), positionSurface(5)};

    CPngButton shown(1006, &window);
    PlaceSkinnedButton(shown, file, "BUTTONINFO", "SHOWN", surfaces);
    EXPECT_EQ(shown.geometry(), QRect(10, 20, 30, 40));
    EXPECT_EQ(shown.faceSourceRect(), QRect(9, 19, 30, 40));
    EXPECT_TRUE(shown.isEnabled());
    EXPECT_EQ(shown.faces().over.toImage(), surfaces.over.copy(QRect(9, 19, 30, 40)).toImage());

    CPngButton hidden(1007, &window);
    PlaceSkinnedButton(hidden, file, "BUTTONINFO", "HIDDEN", surfaces);
    EXPECT_EQ(hidden.geometry(), QRect(1, 1, 50, 20));
    EXPECT_FALSE(hidden.isEnabled());

    CPngButton missing(1008, &window);
    PlaceSkinnedButton(missing, file, "BUTTONINFO", "NOT_THERE", surfaces);
    EXPECT_EQ(missing.geometry(), QRect(1, 1, 1, 1));
    EXPECT_FALSE(missing.isEnabled());
}

TEST(SkinPlacementTest, PlaceSetsTheRectAndMoveKeepsTheSize) {
    SkinFolder folder;
    const auto file = folder.writeFile("Main.ini", "[BUTTONINFO]\nA=10,20,30,40\nB=50,60,1,1\n");
    QWidget window;
    QLabel label(&window);
    PlaceControl(label, file, "BUTTONINFO", "A");
    EXPECT_EQ(label.geometry(), QRect(10, 20, 30, 40));
    MoveControl(label, file, "BUTTONINFO", "B");
    EXPECT_EQ(label.geometry(), QRect(50, 60, 30, 40));
    EXPECT_TRUE(label.isEnabled());
}

TEST(SkinPlacementTest, ImageKeyGivesTheOriginAndOneFaceForEveryState) {
    SkinFolder folder;
    const auto file = folder.writeFile("Main.ini",
                                       "[BUTTONINFO]\nLEFT_ARROW=200,120,18,22\n"
                                       "[BUTTONINFO2]\nUP_ARROW_LEFT1=27,3,18,22\n");
    const QPixmap arrows = positionSurface(9);
    CPngButton button(1132);
    PlaceWithImageKey(button, file, "BUTTONINFO", "LEFT_ARROW", "BUTTONINFO2", "UP_ARROW_LEFT1",
                      arrows);
    EXPECT_EQ(button.geometry(), QRect(200, 120, 18, 22));
    EXPECT_EQ(button.origin(), QPoint(27, 3));
    const ButtonSurfaces& faces = button.faces();
    EXPECT_EQ(faces.normal.toImage(), arrows.copy(QRect(26, 2, 18, 22)).toImage());
    for (const QPixmap* state : {&faces.over, &faces.down, &faces.disabled, &faces.selected})
        EXPECT_EQ(state->cacheKey(), faces.normal.cacheKey()) << "one face, shared by every state";
}

}  // namespace
}  // namespace quillmar::shell
