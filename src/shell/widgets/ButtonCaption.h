#pragma once

#include <QColor>
#include <QMargins>
#include <QString>

class QPainter;
class QRect;

namespace quillmar::shell {

// Text-format flags a window gives a caption.
namespace text_format {
inline constexpr unsigned kCentre = 0x1;
inline constexpr unsigned kRight = 0x2;
inline constexpr unsigned kVerticalCentre = 0x4;
inline constexpr unsigned kBottom = 0x8;
inline constexpr unsigned kWordBreak = 0x10;
inline constexpr unsigned kSingleLine = 0x20;
inline constexpr unsigned kNoClip = 0x100;
}  // namespace text_format

// How a skinned button writes its caption over its face.
struct CaptionStyle {
    QString fontFace;
    int pointSize = 9;
    QColor colour = Qt::black;
    bool bold = false;
    // Rotation in tenths of a degree, anticlockwise; a rotated caption is
    // centred on the button.
    int escapement = 0;
    unsigned textFormat = text_format::kCentre | text_format::kVerticalCentre |
                          text_format::kSingleLine;
    // Left, top, right, bottom space kept free inside the button.
    QMargins margins;
};

// Qt alignment and text flags for a text format.
int textFlagsForFormat(unsigned textFormat);

// Writes text into area on a transparent background.
void drawCaption(QPainter& painter, const QRect& area, const QString& text,
                 const CaptionStyle& style);

}  // namespace quillmar::shell
