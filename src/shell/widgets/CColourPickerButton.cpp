#include "shell/widgets/CColourPickerButton.h"

#include "shell/widgets/ControlId.h"
#include "shell/widgets/QtColour.h"

#include <QColorDialog>
#include <QGridLayout>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QResizeEvent>
#include <QWidgetAction>

namespace quillmar::shell {

namespace {

using lighting::colourFromRgb;

constexpr int kSwatchSize = 18;
// Room the button keeps beside its swatch for its frame and drop-down mark.
constexpr QSize kSwatchFrame{16, 10};

QIcon swatchIcon(const QColor& colour, QSize size) {
    QPixmap pixmap(size);
    pixmap.fill(colour);
    QPainter painter(&pixmap);
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    return QIcon(pixmap);
}

std::optional<QColor> askPlatformColourDialog(QColor initial, QWidget* parent) {
    const QColor chosen = QColorDialog::getColor(initial, parent);
    if (!chosen.isValid()) return std::nullopt;
    return chosen;
}

}  // namespace

// Rows: greys, then ten hues at full strength, lightened and darkened.
const std::array<lighting::ColourValue, 40> CColourPickerButton::kStandardColours = {
    colourFromRgb(0x00, 0x00, 0x00), colourFromRgb(0x1F, 0x1F, 0x1F),
    colourFromRgb(0x3F, 0x3F, 0x3F), colourFromRgb(0x5F, 0x5F, 0x5F),
    colourFromRgb(0x7F, 0x7F, 0x7F), colourFromRgb(0x9F, 0x9F, 0x9F),
    colourFromRgb(0xBF, 0xBF, 0xBF), colourFromRgb(0xDF, 0xDF, 0xDF),
    colourFromRgb(0xEF, 0xEF, 0xEF), colourFromRgb(0xFF, 0xFF, 0xFF),
    colourFromRgb(0xFF, 0x00, 0x00), colourFromRgb(0xFF, 0x80, 0x00),
    colourFromRgb(0xFF, 0xFF, 0x00), colourFromRgb(0x80, 0xFF, 0x00),
    colourFromRgb(0x00, 0xFF, 0x00), colourFromRgb(0x00, 0xFF, 0xFF),
    colourFromRgb(0x00, 0x80, 0xFF), colourFromRgb(0x00, 0x00, 0xFF),
    colourFromRgb(0x80, 0x00, 0xFF), colourFromRgb(0xFF, 0x00, 0xFF),
    colourFromRgb(0xFF, 0x80, 0x80), colourFromRgb(0xFF, 0xC0, 0x80),
    colourFromRgb(0xFF, 0xFF, 0x80), colourFromRgb(0xC0, 0xFF, 0x80),
    colourFromRgb(0x80, 0xFF, 0x80), colourFromRgb(0x80, 0xFF, 0xFF),
    colourFromRgb(0x80, 0xC0, 0xFF), colourFromRgb(0x80, 0x80, 0xFF),
    colourFromRgb(0xC0, 0x80, 0xFF), colourFromRgb(0xFF, 0x80, 0xFF),
    colourFromRgb(0x80, 0x00, 0x00), colourFromRgb(0x80, 0x40, 0x00),
    colourFromRgb(0x80, 0x80, 0x00), colourFromRgb(0x40, 0x80, 0x00),
    colourFromRgb(0x00, 0x80, 0x00), colourFromRgb(0x00, 0x80, 0x80),
    colourFromRgb(0x00, 0x40, 0x80), colourFromRgb(0x00, 0x00, 0x80),
    colourFromRgb(0x40, 0x00, 0x80), colourFromRgb(0x80, 0x00, 0x80),
};

CColourPickerButton::CColourPickerButton(int controlId, QWidget* parent)
    : QToolButton(parent), otherChooser_(askPlatformColourDialog) {
    setControlId(*this, controlId);
    setPopupMode(QToolButton::InstantPopup);
    buildPalette();
    refreshSwatch();
}

void CColourPickerButton::buildPalette() {
    menu_ = new QMenu(this);
    auto* grid = new QWidget(menu_);
    auto* layout = new QGridLayout(grid);
    layout->setSpacing(2);
    layout->setContentsMargins(4, 4, 4, 4);
    for (std::size_t index = 0; index < kStandardColours.size(); ++index) {
        auto* swatch = new QToolButton(grid);
        swatch->setAutoRaise(true);
        swatch->setIconSize(QSize(kSwatchSize, kSwatchSize));
        swatch->setIcon(swatchIcon(toQColor(kStandardColours[index]), swatch->iconSize()));
        connect(swatch, &QToolButton::clicked, this, [this, index] {
            menu_->close();
            chooseStandardColour(index);
        });
        const int row = static_cast<int>(index) / kPaletteColumns;
        const int column = static_cast<int>(index) % kPaletteColumns;
        layout->addWidget(swatch, row, column);
    }
    auto* paletteAction = new QWidgetAction(menu_);
    paletteAction->setDefaultWidget(grid);
    menu_->addAction(paletteAction);
    menu_->addSeparator();
    otherAction_ = menu_->addAction(QString());
    connect(otherAction_, &QAction::triggered, this, &CColourPickerButton::chooseOtherColour);
    setMenu(menu_);
}

void CColourPickerButton::setColour(std::int32_t colour) {
    colour_ = colour < 0 ? kAutomaticColour : static_cast<std::int32_t>(colour & 0xFFFFFF);
    refreshSwatch();
}

void CColourPickerButton::setAutomaticColour(lighting::ColourValue colour) {
    automaticColour_ = colour;
    refreshSwatch();
}

void CColourPickerButton::setOtherText(const QString& text) { otherAction_->setText(text); }

void CColourPickerButton::setOtherColourChooser(OtherColourChooser chooser) {
    otherChooser_ = std::move(chooser);
}

void CColourPickerButton::chooseStandardColour(std::size_t index) {
    if (index < kStandardColours.size()) choose(kStandardColours[index]);
}

void CColourPickerButton::chooseOtherColour() {
    if (!otherChooser_) return;
    if (const auto chosen = otherChooser_(shownColour(), window())) choose(toColourValue(*chosen));
}

void CColourPickerButton::choose(lighting::ColourValue colour) {
    setColour(static_cast<std::int32_t>(colour & 0xFFFFFF));
    emit colourChosen(controlId(*this), colour_);
}

QColor CColourPickerButton::shownColour() const {
    return toQColor(lighting::chosenColour(colour_, automaticColour_));
}

void CColourPickerButton::resizeEvent(QResizeEvent* event) {
    setIconSize((size() - kSwatchFrame).expandedTo(QSize(4, 4)));
    refreshSwatch();
    QToolButton::resizeEvent(event);
}

void CColourPickerButton::refreshSwatch() { setIcon(swatchIcon(shownColour(), iconSize())); }

}  // namespace quillmar::shell
