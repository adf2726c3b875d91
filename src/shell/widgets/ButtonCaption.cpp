#include "shell/widgets/ButtonCaption.h"

#include <QFont>
#include <QPainter>
#include <QRect>

namespace quillmar::shell {

namespace {

int horizontalFlags(unsigned textFormat) {
    if (textFormat & text_format::kCentre) return Qt::AlignHCenter;
    if (textFormat & text_format::kRight) return Qt::AlignRight;
    return Qt::AlignLeft;
}

// Vertical placement counts for wrapped text too, so a caption asked to be
// centred is centred however many lines it has.
int verticalFlags(unsigned textFormat) {
    if (textFormat & text_format::kVerticalCentre) return Qt::AlignVCenter;
    if (textFormat & text_format::kBottom) return Qt::AlignBottom;
    return Qt::AlignTop;
}

// The skin's face first; the font the package recommends for Chinese
// captions after it, so a face without Chinese glyphs never shows boxes.
constexpr const char* kChineseFallbackFamily = "WenQuanYi Micro Hei";

QFont captionFont(const CaptionStyle& style) {
    QFont font;
    font.setFamilies({style.fontFace, QString::fromLatin1(kChineseFallbackFamily)});
    font.setPointSize(style.pointSize > 0 ? style.pointSize : 1);
    font.setBold(style.bold);
    return font;
}

}  // namespace

int textFlagsForFormat(unsigned textFormat) {
    int flags = horizontalFlags(textFormat) | verticalFlags(textFormat);
    if (textFormat & text_format::kSingleLine) {
        flags |= Qt::TextSingleLine;
    } else if (textFormat & text_format::kWordBreak) {
        flags |= Qt::TextWordWrap;
    }
    return flags;
}

void drawCaption(QPainter& painter, const QRect& area, const QString& text,
                 const CaptionStyle& style) {
    painter.save();
    painter.setFont(captionFont(style));
    painter.setPen(style.colour);
    const QRect inner = area.marginsRemoved(style.margins);
    if (style.escapement == 0) {
        if (!(style.textFormat & text_format::kNoClip)) painter.setClipRect(inner);
        painter.drawText(inner, textFlagsForFormat(style.textFormat), text);
    } else {
        painter.translate(QRectF(inner).center());
        painter.rotate(-style.escapement / 10.0);
        const QRectF box = painter.fontMetrics().boundingRect(text);
        painter.drawText(QRectF(-box.width() / 2, -box.height() / 2, box.width(), box.height()),
                         Qt::AlignCenter, text);
    }
    painter.restore();
}

}  // namespace quillmar::shell
