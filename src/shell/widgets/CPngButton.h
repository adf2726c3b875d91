#pragma once

#include "lighting/Colour.h"
#include "shell/skin/ButtonSurfaces.h"
#include "shell/widgets/ButtonCaption.h"

#include <QPoint>
#include <QPushButton>

#include <functional>

namespace quillmar::shell {

// A skinned push button: its face is the rectangle of its own size cut from
// one of the window's state surfaces at (origin - 1 pixel), chosen by its
// state; a lighting colour washes the face and outlines it. The faces are cut
// when the surfaces are given, so give them after the button has its size. clicked() is the
// command notice; a double click is a second click.
class CPngButton : public QPushButton {
    Q_OBJECT
public:
    // Which surface the face comes from, in order of precedence.
    enum class Face { Disabled, ColourKeyOn, ColourKeyOff, Down, Over, Selected, Normal };

    // Called after every paint with whether the normal surface was drawn.
    using DrawCallback = std::function<void(CPngButton& button, bool usedNormal)>;

    static constexpr int kOutlineWidth = 2;

    explicit CPngButton(int controlId, QWidget* parent = nullptr);

    // Origin and the five surfaces the faces are cut from; redraws.
    void setSkin(QPoint origin, const ButtonSurfaces& surfaces);
    // New surfaces at the same origin; redraws.
    void setSurfaces(const ButtonSurfaces& surfaces) { setSkin(origin_, surfaces); }
    QPoint origin() const { return origin_; }
    // The five faces cut for this button, and faces cut before (same size).
    const ButtonSurfaces& faces() const { return faces_; }
    void setFaces(const ButtonSurfaces& faces);

    // The two surfaces shown while the owner displays colour-key flags.
    void setColourKeySurfaces(const QPixmap& flagOff, const QPixmap& flagOn);
    void setColourKeyFlag(bool on);
    void setColourKeyMode(bool on);
    bool colourKeyFlag() const { return colourKeyFlag_; }
    bool colourKeyMode() const { return colourKeyMode_; }

    void setSelected(bool selected, bool redraw = true);

    // A key the keyboard cannot take is drawn greyed out outside the
    // colour-key mode, yet still takes clicks (its light can be painted).
    void setUnassignable(bool unassignable);
    bool isUnassignable() const { return unassignable_; }
    bool isSelected() const { return selected_; }

    // percent is kept within 0..100; it does not change the drawing.
    void setOutline(lighting::ColourValue colour, int percent, bool on);
    bool hasOutline() const { return outlineOn_; }
    lighting::ColourValue outlineColour() const { return outlineColour_; }
    int outlinePercent() const { return outlinePercent_; }

    // Sets the caption style and turns the caption on; the caption is the
    // button's text().
    void setCaptionStyle(const CaptionStyle& style);
    void setCaptionVisible(bool visible);
    bool captionVisible() const { return captionVisible_; }
    const CaptionStyle& captionStyle() const { return captionStyle_; }

    // Shown as soon as the pointer rests on the button.
    void setToolTipText(const QString& text);

    void setDrawCallback(DrawCallback callback);

    bool isOver() const { return over_; }
    Face currentFace() const;
    // Where the current face is cut from: the button's size at origin - (1, 1).
    QRect faceSourceRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    const QPixmap& surfaceFor(Face face) const;
    void drawOutline(QPainter& painter) const;

    QPoint origin_{1, 1};
    ButtonSurfaces faces_;
    QPixmap colourKeyOff_;
    QPixmap colourKeyOn_;
    bool colourKeyFlag_ = false;
    bool colourKeyMode_ = false;
    bool selected_ = false;
    bool unassignable_ = false;
    bool over_ = false;
    bool outlineOn_ = false;
    lighting::ColourValue outlineColour_ = 0;
    int outlinePercent_ = 0;
    bool captionVisible_ = false;
    CaptionStyle captionStyle_;
    DrawCallback drawCallback_;
};

}  // namespace quillmar::shell
