#pragma once

#include "OutputFiles.h"
#include "SkinLayout.h"

#include <QImage>

#include <filesystem>
#include <string>

namespace quillmar::skingen {

// Writes a window's skin file and every state picture from one layout: each
// face is drawn in the pictures exactly where the file puts its button.
void writeMainWindowSkin(const OutputFolder& out, const MainWindowLayout& layout);
void writeCompositeDialogSkin(const OutputFolder& out, const WindowLayout& layout);
void writeProfileDialogSkin(const OutputFolder& out, const WindowLayout& layout);

// The main window as a user first sees it: background, normal faces and the
// captions the window writes itself, the lighting panel open with the
// bitmaps from the skins folder.
QImage mainWindowPreview(const MainWindowLayout& layout, const std::filesystem::path& skins);

// "%d,%d,%d,%d": x, y, width, height.
std::string rectValue(QRect rect);

}  // namespace quillmar::skingen
