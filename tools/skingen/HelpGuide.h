#pragma once

#include <string>
#include <string_view>

namespace quillmar::skingen {

// "Help/index.html": the user guide the Help button opens.
std::string helpGuide(std::string_view version);

}  // namespace quillmar::skingen
