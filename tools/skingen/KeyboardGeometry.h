#pragma once

#include "keyboard/KeyCode.h"

#include <QRect>
#include <QString>

#include <vector>

namespace quillmar::skingen {

// The drawn keyboard, in key units (one unit = one letter key's pitch): the
// main block with its function row, the navigation block and the number pad,
// plus the G-key column at the left. Every rectangle of a key button in the
// main skin comes from here.
struct KeyCap {
    keyboard::KeyCode code;   // kNoKey for the Fn key
    QString legend;           // main legend, bottom (or centred when alone)
    QString shifted;          // small legend above it, may be empty
    QRect rect;               // in window pixels
};

struct KeyboardGeometry {
    QRect keys;                     // bounding box of all caps, G-keys included
    std::vector<KeyCap> caps;       // the 105 layout keys and Fn, row by row
    std::vector<QRect> gKeys;       // G1..G9, top to bottom
    QRect functionRowSpareArea;     // above the number pad, beside Pause
    QRect flipArea;                 // above F1..F4, for the Flip controls
};

inline constexpr int kKeyPitch = 42;  // pixels per key unit
inline constexpr int kKeyGap = 4;     // pixels between neighbouring caps

// Lays the keyboard out with its top-left cap corner at origin.
KeyboardGeometry layOutKeyboard(QPoint origin);

}  // namespace quillmar::skingen
