#pragma once

#include <string>
#include <string_view>

// The sections and keys of the colour scheme files "UserDengColor_<n>.userd", shared by
// the file's reader and the per-key colour tools that edit it in one document.
namespace quillmar::profiles::colourfile {

inline constexpr std::string_view kPresentSection = "PRESENTMODE";
inline constexpr std::string_view kPresentKey = "mode";
inline constexpr std::string_view kNamesSection = "MODENAME";
inline constexpr std::string_view kToolKey = "tool";
inline constexpr std::string_view kBaseColourKey = "jcolor";
inline constexpr std::string_view kPaintColourKey = "color";
inline constexpr std::string_view kKeyColourDefault = "255,0,0,1";
inline constexpr std::string_view kColourDefault = "0,0,0";

inline std::string schemeSection(int scheme) { return "Mode" + std::to_string(scheme); }

}  // namespace quillmar::profiles::colourfile
