#include "FacePainter.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainterPath>

namespace quillmar::skingen {
namespace {

const QColor kWindowTop(0x18, 0x1a, 0x20);
const QColor kWindowBottom(0x0e, 0x10, 0x13);
const QColor kHeader(0x0b, 0x0c, 0x0f);
const QColor kLine(0x2a, 0x2e, 0x36);
const QColor kCapSkirt(0x10, 0x12, 0x16);
const QColor kCapTop(0x31, 0x36, 0x41);
const QColor kCapBottom(0x25, 0x29, 0x31);
const QColor kCapBorder(0x40, 0x46, 0x52);

void fillRounded(QPainter& p, QRectF rect, qreal radius, const QBrush& brush, QColor border = Qt::transparent) {
    p.setPen(border.alpha() ? QPen(border, 1) : Qt::NoPen);
    p.setBrush(brush);
    p.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}

QLinearGradient vertical(QRectF rect, QColor top, QColor bottom) {
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    return gradient;
}

QLinearGradient accentStripe(QRectF rect) {
    QLinearGradient gradient(rect.topLeft(), rect.topRight());
    gradient.setColorAt(0, theme::kAccent);
    gradient.setColorAt(0.5, QColor(0x8a, 0x5c, 0xff));
    gradient.setColorAt(1, QColor(0xff, 0x3d, 0x7f));
    return gradient;
}

void drawText(QPainter& p, QRect rect, const QString& text, const QFont& font, QColor colour,
              int flags = Qt::AlignCenter) {
    p.setFont(font);
    p.setPen(colour);
    p.drawText(rect, flags, text);
}

// The largest pixel size up to preferred at which the text fits the width.
QFont fittedFont(const QString& text, int preferred, bool bold, int width) {
    for (int size = preferred; size > 7; --size) {
        const QFont font = skinFont(size, bold);
        if (QFontMetrics(font).horizontalAdvance(text) <= width) return font;
    }
    return skinFont(7, bold);
}

// A keycap: dark skirt, lighter top face, legend on the face.
void paintKeyCap(QPainter& p, const Control& c, PictureState state, bool macroKey) {
    const QRectF r(c.rect);
    QColor legend = theme::kText;
    QColor top = macroKey ? QColor(0x33, 0x2f, 0x3f) : kCapTop;
    QColor bottom = macroKey ? QColor(0x27, 0x24, 0x31) : kCapBottom;
    QColor border = kCapBorder;
    QColor skirtBorder = QColor(0x05, 0x06, 0x08);
    QRectF face = r.adjusted(3, 2, -3, -6);
    switch (state) {
    case PictureState::Over:
        top = top.lighter(125);
        bottom = bottom.lighter(125);
        border = theme::kAccent;
        skirtBorder = theme::kAccent.darker(160);
        legend = Qt::white;
        break;
    case PictureState::Down:
        face = r.adjusted(3, 5, -3, -3);
        top = QColor(0x12, 0x3a, 0x4a);
        bottom = QColor(0x0d, 0x2c, 0x39);
        border = theme::kAccent;
        skirtBorder = theme::kAccent;
        legend = theme::kAccent.lighter(130);
        break;
    case PictureState::ColourOff:
        top = QColor(0x1b, 0x1d, 0x22);
        bottom = QColor(0x17, 0x19, 0x1d);
        border = QColor(0x2a, 0x2d, 0x34);
        legend = QColor(0x5d, 0x64, 0x72);
        break;
    case PictureState::ColourOn:
        top = theme::kAccent;
        bottom = theme::kAccent.darker(135);
        border = theme::kAccent.lighter(140);
        skirtBorder = theme::kAccent.darker(200);
        legend = QColor(0x06, 0x10, 0x16);
        break;
    default:
        break;
    }
    if (state == PictureState::Disabled) {  // the assigned look
        border = theme::kAssigned.darker(115);
        skirtBorder = theme::kAssigned.darker(220);
        top = QColor(0x3a, 0x30, 0x2a);
        bottom = QColor(0x2c, 0x25, 0x21);
    }
    fillRounded(p, r, 5, kCapSkirt, skirtBorder);
    fillRounded(p, face, 4, vertical(face, top, bottom), border);
    if (state == PictureState::Disabled) {
        legend = theme::kAssigned;
        const QRectF bar(face.left() + 5, face.bottom() - 4, face.width() - 10, 2.5);
        fillRounded(p, bar, 1, theme::kAssigned);
        p.setBrush(theme::kAssigned);
        p.drawEllipse(QPointF(face.right() - 6, face.top() + 6), 2.4, 2.4);
    }
    const QRect text = face.toRect().adjusted(2, 1, -2, -3);
    if (c.shifted.isEmpty()) {
        const bool single = c.legend.size() <= 1;
        drawText(p, text, c.legend, fittedFont(c.legend, single ? 16 : 12, single, text.width() - 2), legend);
    } else {
        QColor upper = legend;
        if (state == PictureState::Normal) upper = theme::kTextDim;
        const int half = text.height() / 2;
        drawText(p, QRect(text.x(), text.y() + 1, text.width(), half), c.shifted,
                 fittedFont(c.shifted, c.shifted.size() > 1 ? 9 : 11, false, text.width() - 2), upper);
        drawText(p, QRect(text.x(), text.y() + half - 1, text.width(), text.height() - half), c.legend,
                 fittedFont(c.legend, 13, true, text.width() - 2), legend);
    }
}

struct ButtonColours {
    QColor top, bottom, border;
};

ButtonColours buttonColours(PictureState state, bool selectable) {
    switch (state) {
    case PictureState::Over:
        return {QColor(0x34, 0x3a, 0x46), QColor(0x2a, 0x2f, 0x39), theme::kAccent};
    case PictureState::Down:
        return {QColor(0x0e, 0x6f, 0x93), QColor(0x0a, 0x55, 0x71), theme::kAccent};
    case PictureState::Disabled:
        if (selectable) return {QColor(0x0f, 0x73, 0x99), QColor(0x0a, 0x58, 0x76), theme::kAccent.lighter(120)};
        return {QColor(0x1c, 0x1e, 0x23), QColor(0x19, 0x1b, 0x1f), QColor(0x27, 0x2a, 0x31)};
    default:
        return {QColor(0x2b, 0x2f, 0x38), QColor(0x22, 0x25, 0x2c), QColor(0x3b, 0x41, 0x4c)};
    }
}

void paintButton(QPainter& p, const Control& c, PictureState state, bool selectable) {
    const ButtonColours colours = buttonColours(state, selectable);
    const QRectF r(c.rect);
    fillRounded(p, r, 6, vertical(r, colours.top, colours.bottom), colours.border);
    if (selectable && state == PictureState::Disabled) {
        fillRounded(p, QRectF(r.left() + 8, r.bottom() - 4, r.width() - 16, 2.5), 1, theme::kAccent);
    }
    if (!c.legend.isEmpty()) {
        const bool strong = state == PictureState::Disabled && selectable;
        drawText(p, c.rect, c.legend, skinFont(12, true), strong || state != PictureState::Normal ? Qt::white : theme::kText);
    }
}

void paintWindowButton(QPainter& p, const Control& c, PictureState state) {
    const QRectF r(c.rect);
    QColor icon = QColor(0xaa, 0xb2, 0xbf);
    if (state == PictureState::Over || state == PictureState::Down) {
        const bool close = c.style == FaceStyle::CloseButton;
        QColor fill = close ? QColor(0xe0, 0x34, 0x4b) : QColor(0x2c, 0x31, 0x3b);
        if (state == PictureState::Down) fill = fill.darker(130);
        fillRounded(p, r, 5, fill);
        icon = Qt::white;
    }
    p.setPen(QPen(icon, 2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    const QPointF m = r.center();
    switch (c.style) {
    case FaceStyle::HelpButton:
        drawText(p, c.rect, "?", skinFont(16, true), icon);
        break;
    case FaceStyle::MenuButton:
        for (int dy : {-5, 0, 5}) p.drawLine(QPointF(m.x() - 7, m.y() + dy), QPointF(m.x() + 7, m.y() + dy));
        break;
    case FaceStyle::MinimiseButton:
        p.drawLine(QPointF(m.x() - 7, m.y() + 5), QPointF(m.x() + 7, m.y() + 5));
        break;
    default:
        p.drawLine(QPointF(m.x() - 6, m.y() - 6), QPointF(m.x() + 6, m.y() + 6));
        p.drawLine(QPointF(m.x() + 6, m.y() - 6), QPointF(m.x() - 6, m.y() + 6));
        break;
    }
}

void paintLight(QPainter& p, QRectF rect, bool lit) {
    if (lit) {
        QColor glow = theme::kAccent;
        glow.setAlpha(70);
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawEllipse(rect.adjusted(-3, -3, 3, 3));
    }
    p.setPen(QPen(lit ? theme::kAccent.lighter(130) : QColor(0x3a, 0x3f, 0x48), 1));
    p.setBrush(lit ? theme::kAccent : QColor(0x22, 0x25, 0x2b));
    p.drawEllipse(rect);
}

void paintLockLight(QPainter& p, const Control& c, PictureState state) {
    const bool lit = state == PictureState::Over;
    const QRectF r(c.rect);
    fillRounded(p, r, 5, QColor(0x15, 0x17, 0x1c), QColor(0x26, 0x29, 0x30));
    paintLight(p, QRectF(r.center().x() - 4, r.top() + 7, 8, 8), lit);
    drawText(p, c.rect.adjusted(0, 18, 0, -3), c.legend, skinFont(9, true), lit ? Qt::white : theme::kTextDim);
}

void paintBankIndicator(QPainter& p, const Control& c, PictureState state) {
    const bool bankB = state == PictureState::Over;
    const QRect r = c.rect;
    fillRounded(p, QRectF(r), 5, QColor(0x15, 0x17, 0x1c), QColor(0x26, 0x29, 0x30));
    const int half = r.width() / 2;
    const QRect a(r.x(), r.y(), half, r.height());
    const QRect b(r.x() + half, r.y(), r.width() - half, r.height());
    fillRounded(p, QRectF(bankB ? b : a).adjusted(2, 2, -2, -2), 4, QColor(0x0e, 0x6f, 0x93));
    drawText(p, a, "A", skinFont(12, true), bankB ? theme::kTextDim : Qt::white);
    drawText(p, b, "B", skinFont(12, true), bankB ? Qt::white : theme::kTextDim);
}

void paintFlipLight(QPainter& p, const Control& c, PictureState state) {
    const bool flipped = state == PictureState::Disabled;
    const QRectF r(c.rect);
    fillRounded(p, r, 5, QColor(0x15, 0x17, 0x1c), flipped ? theme::kAccent.darker(130) : QColor(0x26, 0x29, 0x30));
    paintLight(p, QRectF(r.left() + 7, r.center().y() - 3.5, 7, 7), flipped);
    drawText(p, c.rect.adjusted(14, 0, 0, 0), flipped ? "D1-D6" : "F1-F4", skinFont(10, true),
             flipped ? Qt::white : theme::kTextDim);
}

void paintFlipToggle(QPainter& p, const Control& c, PictureState state) {
    const ButtonColours colours = buttonColours(state, true);
    const QRectF r(c.rect);
    fillRounded(p, r, 5, vertical(r, colours.top, colours.bottom), colours.border);
    paintChevron(p, c.rect, c.style == FaceStyle::FlipLeft, state == PictureState::Normal ? theme::kTextDim : Qt::white);
}

void paintIcon(QPainter& p, const Control& c, PictureState state, PictureSet set) {
    const bool disabled = state == PictureState::Disabled;
    const ButtonColours colours = buttonColours(disabled ? PictureState::Disabled : state, false);
    const QRectF r(c.rect);
    fillRounded(p, r, 6, vertical(r, colours.top, colours.bottom), colours.border);
    const QColor ink = disabled ? QColor(0x4a, 0x50, 0x5b) : state == PictureState::Normal ? theme::kText : Qt::white;
    p.setPen(QPen(ink, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    const QPointF m = r.center();
    switch (c.style) {
    case FaceStyle::AddIcon:
        p.drawLine(QPointF(m.x() - 6, m.y()), QPointF(m.x() + 6, m.y()));
        p.drawLine(QPointF(m.x(), m.y() - 6), QPointF(m.x(), m.y() + 6));
        break;
    case FaceStyle::RemoveIcon:
        p.drawLine(QPointF(m.x() - 6, m.y()), QPointF(m.x() + 6, m.y()));
        break;
    case FaceStyle::ClearIcon: {
        const QRectF arc(m.x() - 7, m.y() - 7, 14, 14);
        p.drawArc(arc, 60 * 16, 290 * 16);
        p.drawLine(QPointF(m.x() + 3.5, m.y() - 6.1), QPointF(m.x() + 7.5, m.y() - 8.5));
        p.drawLine(QPointF(m.x() + 3.5, m.y() - 6.1), QPointF(m.x() + 6.5, m.y() - 2.5));
        break;
    }
    default: {  // on-screen keyboard
        const QRectF body(m.x() - 9, m.y() - 6, 18, 12);
        p.drawRoundedRect(body, 2, 2);
        p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap));
        for (int i = 0; i < 4; ++i) p.drawPoint(QPointF(body.left() + 4 + i * 3.4, body.top() + 4));
        p.drawLine(QPointF(body.left() + 5, body.bottom() - 3.5), QPointF(body.right() - 5, body.bottom() - 3.5));
        break;
    }
    }
    (void)set;
}

void paintTabPanel(QPainter& p, const Control& c, PictureSet set) {
    const QRectF r(c.rect);
    fillRounded(p, r, 8, vertical(r, QColor(0x1b, 0x1e, 0x24), QColor(0x16, 0x18, 0x1d)), kLine);
    QColor mark = set == PictureSet::Macro || set == PictureSet::Macro2 ? theme::kAssigned : theme::kAccent;
    fillRounded(p, QRectF(r.left() + 1, r.top() + 1, r.width() - 2, 3), 1.5, mark);
}

void paintTitle(QPainter& p, const Control& c, PictureState state, PictureSet set) {
    const QColor mark = set == PictureSet::Macro2 ? theme::kAssigned
                        : state == PictureState::Over ? theme::kAccent.lighter(120)
                                                      : Qt::white;
    paintWordMark(p, c.rect, mark);
}

void paintBrandLink(QPainter& p, const Control& c, PictureState state) {
    QColor colour = Qt::white;
    if (state == PictureState::Over) colour = theme::kAccent.lighter(115);
    if (state == PictureState::Disabled) colour = theme::kAccent;
    paintWordMark(p, c.rect, colour);
}

void paintArrow(QPainter& p, const Control& c) {
    paintChevron(p, c.rect, c.style == FaceStyle::ArrowLeft, QColor(0x4a, 0x50, 0x5b));
}

bool isCompositeTab(const Control& c) {
    return c.style == FaceStyle::ProfileTab && c.key.rfind("CONTROL_", 0) == 0;
}

}  // namespace

QFont skinFont(int pixelSize, bool bold) {
    QFont font;
    font.setFamilies({QString::fromLatin1(theme::kFontFamily), QString::fromLatin1(theme::kChineseFontFamily)});
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

void paintWordMark(QPainter& p, QRect rect, QColor colour) {
    const QRect mark(rect.x(), rect.y() + (rect.height() - 22) / 2, 22, 22);
    QPainterPath q;
    q.addRoundedRect(QRectF(mark), 5, 5);
    p.setPen(Qt::NoPen);
    p.setBrush(accentStripe(QRectF(mark)));
    p.drawPath(q);
    drawText(p, mark, "Q", skinFont(15, true), QColor(0x0b, 0x0c, 0x0f));
    QFont font = skinFont(19, true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 2.5);
    drawText(p, rect.adjusted(30, 0, 0, 0), "QUILLMAR", font, colour, Qt::AlignLeft | Qt::AlignVCenter);
}

void paintChevron(QPainter& p, QRect rect, bool pointsLeft, QColor colour) {
    const QPointF m = QRectF(rect).center();
    const qreal d = pointsLeft ? 2.5 : -2.5;
    p.setPen(QPen(colour, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    const QPointF points[3] = {{m.x() + d, m.y() - 5}, {m.x() - d, m.y()}, {m.x() + d, m.y() + 5}};
    p.drawPolyline(points, 3);
}

void paintBackground(QPainter& p, const WindowLayout& layout) {
    const QRectF whole(QPointF(0, 0), QSizeF(layout.size));
    p.fillRect(whole, vertical(whole, kWindowTop, kWindowBottom));
    for (const Decor& d : layout.decor) {
        const QRectF r(d.rect);
        switch (d.kind) {
        case DecorKind::Header:
            p.fillRect(r, kHeader);
            p.fillRect(QRectF(r.left(), r.bottom() - 1, r.width(), 2), accentStripe(r));
            break;
        case DecorKind::Footer:
            p.fillRect(r, kHeader);
            p.fillRect(QRectF(r.left(), r.top(), r.width(), 1), kLine);
            break;
        case DecorKind::Plate: {
            QColor glow = theme::kAccent;
            glow.setAlpha(40);
            fillRounded(p, r.adjusted(-2, -2, 2, 4), 14, glow);
            fillRounded(p, r, 12, vertical(r, QColor(0x20, 0x23, 0x2a), QColor(0x17, 0x19, 0x1e)), kLine);
            p.fillRect(QRectF(r.left() + 24, r.bottom() - 1, r.width() - 48, 2), accentStripe(r));
            break;
        }
        case DecorKind::Panel:
            fillRounded(p, r, 10, theme::kPanel, QColor(0x26, 0x2a, 0x32));
            break;
        case DecorKind::Divider:
            p.fillRect(r, QColor(0x24, 0x28, 0x2f));
            break;
        case DecorKind::ListFrame:
            fillRounded(p, r, 6, QColor(0x12, 0x14, 0x18), kLine);
            break;
        case DecorKind::WordMark:
            paintWordMark(p, d.rect, Qt::white);
            break;
        }
    }
    p.setPen(QPen(QColor(0x30, 0x34, 0x3d), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(whole.adjusted(0.5, 0.5, -0.5, -0.5), 14, 14);
}

void paintFace(QPainter& p, const Control& c, PictureState state, PictureSet set) {
    // The tab area's picture shows the macro buttons only on the macro tab;
    // elsewhere they are hidden and the area must be empty.
    const bool macroEditButton = c.key.rfind("FUNC_MACRO_", 0) == 0;
    if (macroEditButton && set != PictureSet::Macro && set != PictureSet::Macro2) return;
    const bool colourPicture = state == PictureState::ColourOff || state == PictureState::ColourOn;
    const bool keyLike = c.style == FaceStyle::KeyCap || c.style == FaceStyle::GKey;
    if (colourPicture && !keyLike) state = PictureState::Normal;
    // The G9 look: the tabs and Clear the dialog disables for the macro key.
    if (set != PictureSet::Macro2 && state == PictureState::Disabled &&
        (isCompositeTab(c) || c.style == FaceStyle::ClearIcon))
        state = PictureState::Normal;
    switch (c.style) {
    case FaceStyle::KeyCap: paintKeyCap(p, c, state, false); break;
    case FaceStyle::GKey: paintKeyCap(p, c, state, true); break;
    case FaceStyle::Button: paintButton(p, c, state, false); break;
    case FaceStyle::ProfileTab:
        paintButton(p, c, state, !isCompositeTab(c));
        break;
    case FaceStyle::RateButton: paintButton(p, c, state, true); break;
    case FaceStyle::HelpButton:
    case FaceStyle::MenuButton:
    case FaceStyle::MinimiseButton:
    case FaceStyle::CloseButton: paintWindowButton(p, c, state); break;
    case FaceStyle::LockLight: paintLockLight(p, c, state); break;
    case FaceStyle::BankIndicator: paintBankIndicator(p, c, state); break;
    case FaceStyle::FlipLight: paintFlipLight(p, c, state); break;
    case FaceStyle::FlipLeft:
    case FaceStyle::FlipRight: paintFlipToggle(p, c, state); break;
    case FaceStyle::ArrowLeft:
    case FaceStyle::ArrowRight: paintArrow(p, c); break;
    case FaceStyle::BrandLink: paintBrandLink(p, c, state); break;
    case FaceStyle::TabPanel: paintTabPanel(p, c, set); break;
    case FaceStyle::TitleMark: paintTitle(p, c, state, set); break;
    case FaceStyle::ClearIcon:
    case FaceStyle::KeyboardIcon:
    case FaceStyle::AddIcon:
    case FaceStyle::RemoveIcon: paintIcon(p, c, state, set); break;
    case FaceStyle::Blank: break;
    }
}

}  // namespace quillmar::skingen
