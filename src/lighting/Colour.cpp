#include "lighting/Colour.h"

#include <cstdio>

namespace quillmar::lighting {

std::string colourHexText(ColourValue colour) {
    const auto rgb = rgbBytes(colour);
    char text[8];
    std::snprintf(text, sizeof text, "%02X%02X%02X", rgb[0], rgb[1], rgb[2]);
    return text;
}

}  // namespace quillmar::lighting
