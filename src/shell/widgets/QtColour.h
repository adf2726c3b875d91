#pragma once

#include "lighting/Colour.h"

#include <QColor>

namespace quillmar::shell {

inline QColor toQColor(lighting::ColourValue colour) {
    const auto bytes = lighting::rgbBytes(colour);
    return QColor(bytes[0], bytes[1], bytes[2]);
}

inline lighting::ColourValue toColourValue(const QColor& colour) {
    return lighting::colourFromRgb(static_cast<std::uint8_t>(colour.red()),
                                   static_cast<std::uint8_t>(colour.green()),
                                   static_cast<std::uint8_t>(colour.blue()));
}

}  // namespace quillmar::shell
