#include "ProfileNumber.h"

namespace quillmar::ctl {

std::optional<int> parseProfileNumber(const std::string& text) {
    if (text.size() != 1 || text[0] < '1' || text[0] > '3') return std::nullopt;
    return text[0] - '1';
}

}  // namespace quillmar::ctl
