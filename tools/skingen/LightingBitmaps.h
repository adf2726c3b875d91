#pragma once

#include "OutputFiles.h"

namespace quillmar::skingen {

// The lighting panel's bitmaps: lamp, direction, fixed colours, checkboxes,
// brush and eraser, busy indicator frames and the slider channels
// "0.bmp".."25.bmp". All are drawn on the panel's colour, so they sit on it
// without an edge.
void writeLightingBitmaps(const OutputFolder& out);

}  // namespace quillmar::skingen
