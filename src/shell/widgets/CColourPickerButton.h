#pragma once

#include "lighting/Colour.h"

#include <QColor>
#include <QString>
#include <QToolButton>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

class QMenu;

namespace quillmar::shell {

// A button that shows a colour and drops down a palette of standard colours
// in 10 columns, plus an entry that opens the full colour dialog. Its value is
// a colour value (red in the low byte), or kAutomaticColour until a colour is
// chosen; the owner decides what the automatic colour is.
class CColourPickerButton : public QToolButton {
    Q_OBJECT
public:
    static constexpr std::int32_t kAutomaticColour = -1;
    static constexpr int kPaletteColumns = 10;
    static const std::array<lighting::ColourValue, 40> kStandardColours;

    // Asks the user for any colour, starting from initial; nothing when
    // cancelled. The default opens the platform's colour dialog.
    using OtherColourChooser = std::function<std::optional<QColor>(QColor initial, QWidget* parent)>;

    explicit CColourPickerButton(int controlId, QWidget* parent = nullptr);

    // No notice.
    void setColour(std::int32_t colour);
    std::int32_t colour() const { return colour_; }

    // The colour the button shows while its value is automatic.
    void setAutomaticColour(lighting::ColourValue colour);

    // The text of the entry that opens the colour dialog.
    void setOtherText(const QString& text);
    void setOtherColourChooser(OtherColourChooser chooser);

    // What the palette's entries do; also reached through the drop-down.
    void chooseStandardColour(std::size_t index);
    void chooseOtherColour();

    QMenu* paletteMenu() const { return menu_; }

signals:
    // The user chose a colour; the command notice of this control.
    void colourChosen(int controlId, std::int32_t colour);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildPalette();
    void choose(lighting::ColourValue colour);
    void refreshSwatch();
    QColor shownColour() const;

    std::int32_t colour_ = kAutomaticColour;
    lighting::ColourValue automaticColour_ = 0;
    QMenu* menu_ = nullptr;
    QAction* otherAction_ = nullptr;
    OtherColourChooser otherChooser_;
};

}  // namespace quillmar::shell
