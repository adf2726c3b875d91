#pragma once

#include "shell/skin/ButtonSurfaces.h"

#include <filesystem>
#include <string_view>

class QPixmap;
class QWidget;

namespace quillmar::shell {

class CPngButton;

// Placing controls by the rectangles of a window's skin file. A missing key
// puts the control at (1, 1) with size 1 by 1.

// Rectangle, origin and surfaces from the key; a button the skin leaves at
// (1, 1) is disabled.
void PlaceSkinnedButton(CPngButton& button, const std::filesystem::path& skinFile,
                        std::string_view section, std::string_view key,
                        const ButtonSurfaces& surfaces);

// Position and size from the key.
void PlaceControl(QWidget& control, const std::filesystem::path& skinFile,
                  std::string_view section, std::string_view key);

// Position from the key; the control keeps its size.
void MoveControl(QWidget& control, const std::filesystem::path& skinFile,
                 std::string_view section, std::string_view key);

// Position and size from the first key; the face is cut from surface at the
// x and y of the second key, the same in every state.
void PlaceWithImageKey(CPngButton& button, const std::filesystem::path& skinFile,
                       std::string_view positionSection, std::string_view positionKey,
                       std::string_view imageSection, std::string_view imageKey,
                       const QPixmap& surface);

}  // namespace quillmar::shell
