#pragma once

#include "SkinLayout.h"

#include <QColor>
#include <QPainter>

namespace quillmar::skingen {

// One whole-window picture shows every face in one state.
enum class PictureState { Normal, Over, Down, Disabled, ColourOff, ColourOn };

// Which picture family is drawn; the composite dialog's tab area and its G9
// look depend on it.
enum class PictureSet { Main, Key, Macro, Macro2, Media, Function, Profile };

namespace theme {
inline const QColor kPanel(0x14, 0x16, 0x1b);   // lighting panel; its bitmaps sit on this
inline const QColor kAccent(0x1f, 0xc8, 0xff);
inline const QColor kAssigned(0xff, 0x9a, 0x2e);
inline const QColor kText(0xe8, 0xeb, 0xf0);
inline const QColor kTextDim(0x8a, 0x93, 0xa3);
inline const char* const kFontFamily = "DejaVu Sans";
// Chinese texts: the light CJK font the package recommends.
inline const char* const kChineseFontFamily = "WenQuanYi Micro Hei";
}  // namespace theme

QFont skinFont(int pixelSize, bool bold = false);

void paintBackground(QPainter& painter, const WindowLayout& layout);
void paintFace(QPainter& painter, const Control& control, PictureState state, PictureSet set);
void paintWordMark(QPainter& painter, QRect rect, QColor colour);
// A chevron pointing left or right, used for the Flip decorations.
void paintChevron(QPainter& painter, QRect rect, bool pointsLeft, QColor colour);

}  // namespace quillmar::skingen
