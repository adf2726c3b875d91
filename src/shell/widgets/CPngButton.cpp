#include "shell/widgets/CPngButton.h"

#include "shell/widgets/ControlId.h"
#include "shell/widgets/QtColour.h"

#include <QEnterEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

namespace quillmar::shell {

namespace {

// How much darker than the outline the inside of an outlined button is.
constexpr int kOutlineWashAlpha = 110;

}  // namespace

CPngButton::CPngButton(int controlId, QWidget* parent) : QPushButton(parent) {
    setControlId(*this, controlId);
    // Enter must never press a button of a skinned window.
    setAutoDefault(false);
    setAttribute(Qt::WA_Hover);
}

void CPngButton::setSkin(QPoint origin, const ButtonSurfaces& surfaces) {
    origin_ = origin;
    setFaces(surfaces.cut(faceSourceRect()));
}

void CPngButton::setFaces(const ButtonSurfaces& faces) {
    faces_ = faces;
    update();
}

void CPngButton::setColourKeySurfaces(const QPixmap& flagOff, const QPixmap& flagOn) {
    colourKeyOff_ = ButtonSurfaces::cutFace(flagOff, faceSourceRect());
    colourKeyOn_ = ButtonSurfaces::cutFace(flagOn, faceSourceRect());
    update();
}

void CPngButton::setColourKeyFlag(bool on) {
    colourKeyFlag_ = on;
    update();
}

void CPngButton::setColourKeyMode(bool on) {
    colourKeyMode_ = on;
    update();
}

void CPngButton::setSelected(bool selected, bool redraw) {
    selected_ = selected;
    if (redraw) update();
}

void CPngButton::setOutline(lighting::ColourValue colour, int percent, bool on) {
    outlineColour_ = colour;
    outlinePercent_ = std::clamp(percent, 0, 100);
    outlineOn_ = on;
    update();
}

void CPngButton::setCaptionStyle(const CaptionStyle& style) {
    captionStyle_ = style;
    captionVisible_ = true;
    update();
}

void CPngButton::setCaptionVisible(bool visible) {
    captionVisible_ = visible;
    update();
}

void CPngButton::setToolTipText(const QString& text) { setToolTip(text); }

void CPngButton::setDrawCallback(DrawCallback callback) { drawCallback_ = std::move(callback); }

namespace {

// Greys a key the keyboard cannot take out, whatever face the skin gives it.
const QColor kUnassignableShade(0, 0, 0, 150);

}  // namespace

void CPngButton::setUnassignable(bool unassignable) {
    if (unassignable_ == unassignable) return;
    unassignable_ = unassignable;
    update();
}

CPngButton::Face CPngButton::currentFace() const {
    if (!isEnabled()) return Face::Disabled;
    if (colourKeyMode_) return colourKeyFlag_ ? Face::ColourKeyOn : Face::ColourKeyOff;
    if (isDown()) return Face::Down;
    if (over_) return Face::Over;
    if (selected_) return Face::Selected;
    return Face::Normal;
}

QRect CPngButton::faceSourceRect() const {
    return QRect(origin_ - QPoint(1, 1), size());
}

const QPixmap& CPngButton::surfaceFor(Face face) const {
    switch (face) {
        case Face::Disabled: return faces_.disabled;
        case Face::ColourKeyOn: return colourKeyOn_;
        case Face::ColourKeyOff: return colourKeyOff_;
        case Face::Down: return faces_.down;
        case Face::Over: return faces_.over;
        case Face::Selected: return faces_.selected;
        case Face::Normal: break;
    }
    return faces_.normal;
}

void CPngButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    bool usedNormal = false;
    if (outlineOn_) {
        drawOutline(painter);
    } else {
        const QPixmap& surface = surfaceFor(currentFace());
        painter.drawPixmap(0, 0, surface);
        usedNormal = !surface.isNull() && surface.cacheKey() == faces_.normal.cacheKey();
        if (unassignable_ && !colourKeyMode_) painter.fillRect(rect(), kUnassignableShade);
    }
    if (captionVisible_ && !text().isEmpty()) drawCaption(painter, rect(), text(), captionStyle_);
    painter.end();
    if (drawCallback_) drawCallback_(*this, usedNormal);
}

void CPngButton::drawOutline(QPainter& painter) const {
    // The face stays under a wash of the colour, so a key keeps the legend
    // its picture carries; the caption, when shown, goes on top of both.
    const QColor colour = toQColor(outlineColour_);
    painter.drawPixmap(0, 0, faces_.normal);
    QColor wash = colour;
    wash.setAlpha(kOutlineWashAlpha);
    painter.fillRect(rect(), wash);
    painter.setPen(QPen(colour, kOutlineWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    const qreal inset = kOutlineWidth / 2.0;
    painter.drawRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset));
}

void CPngButton::enterEvent(QEnterEvent* event) {
    over_ = true;
    update();
    if (!toolTip().isEmpty()) QToolTip::showText(event->globalPosition().toPoint(), toolTip(), this);
    QPushButton::enterEvent(event);
}

void CPngButton::leaveEvent(QEvent* event) {
    over_ = false;
    update();
    QPushButton::leaveEvent(event);
}

}  // namespace quillmar::shell
