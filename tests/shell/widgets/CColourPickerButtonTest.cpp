// The colour picker offers 10 columns of standard colours and the full
// dialog; its value is a colour value, -1 until a colour is chosen.
#include "shell/widgets/CColourPickerButton.h"

#include <QGridLayout>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QWidgetAction>

#include <gtest/gtest.h>

namespace quillmar::shell {
namespace {

constexpr int kButtonId = 1155;

QList<QToolButton*> swatches(const CColourPickerButton& button) {
    return button.paletteMenu()->findChildren<QToolButton*>();
}

TEST(CColourPickerButtonTest, StartsAutomaticAndReportsChosenColours) {
    CColourPickerButton button(kButtonId);
    EXPECT_EQ(button.colour(), CColourPickerButton::kAutomaticColour);
    QSignalSpy chosen(&button, &CColourPickerButton::colourChosen);

    button.chooseStandardColour(10);  // pure red, in the low byte
    EXPECT_EQ(button.colour(), 0x0000FF);
    button.chooseStandardColour(40);  // past the palette: nothing
    EXPECT_EQ(button.colour(), 0x0000FF);
    button.setColour(0x123456);  // the owner's change: no notice
    EXPECT_EQ(button.colour(), 0x123456);

    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.at(0), (QVariantList{kButtonId, 0x0000FF}));
}

TEST(CColourPickerButtonTest, PaletteHasTenColumnsOfSwatchesThatChoose) {
    CColourPickerButton button(kButtonId);
    auto* grid = button.paletteMenu()->findChild<QGridLayout*>();
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->columnCount(), CColourPickerButton::kPaletteColumns);
    const auto all = swatches(button);
    ASSERT_EQ(all.size(), 40);

    QSignalSpy chosen(&button, &CColourPickerButton::colourChosen);
    all[17]->click();  // blue
    EXPECT_EQ(button.colour(), 0xFF0000);
    EXPECT_EQ(chosen.count(), 1);
}

TEST(CColourPickerButtonTest, OtherColourComesFromTheDialogUnlessCancelled) {
    CColourPickerButton button(kButtonId);
    button.setAutomaticColour(0x00FF00);
    std::optional<QColor> answer = QColor(1, 2, 3);
    QColor offered;
    button.setOtherColourChooser([&](QColor initial, QWidget*) {
        offered = initial;
        return answer;
    });
    QSignalSpy chosen(&button, &CColourPickerButton::colourChosen);

    button.chooseOtherColour();
    EXPECT_EQ(offered, QColor(0, 255, 0));  // the automatic colour is shown while automatic
    EXPECT_EQ(button.colour(), 0x030201);

    answer.reset();
    button.chooseOtherColour();
    EXPECT_EQ(button.colour(), 0x030201);
    EXPECT_EQ(chosen.count(), 1);
}

TEST(CColourPickerButtonTest, OtherEntryCarriesTheOwnersText) {
    CColourPickerButton button(kButtonId);
    button.setOtherText("More colours");
    const auto actions = button.paletteMenu()->actions();
    ASSERT_FALSE(actions.isEmpty());
    EXPECT_EQ(actions.last()->text(), "More colours");
}

}  // namespace
}  // namespace quillmar::shell
