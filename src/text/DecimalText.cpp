#include "text/DecimalText.h"

#include <climits>
#include <optional>

namespace quillmar::text {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// One number at the front of text, consumed from it; nothing when text does
// not start (after blanks) with an optionally signed digit.
std::optional<int> takeDecimal(std::string_view& text) {
    std::size_t at = 0;
    while (at < text.size() && isBlank(text[at])) ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
    if (at == text.size() || !isDigit(text[at])) return std::nullopt;
    long long magnitude = 0;
    for (; at < text.size() && isDigit(text[at]); ++at) {
        if (magnitude <= INT_MAX) magnitude = magnitude * 10 + (text[at] - '0');
    }
    text.remove_prefix(at);
    const long long value = negative ? -magnitude : magnitude;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

}  // namespace

int leadingDecimal(std::string_view text) { return takeDecimal(text).value_or(0); }

std::size_t scanDecimalList(std::string_view text, std::span<int> fields) {
    std::size_t filled = 0;
    while (filled < fields.size()) {
        if (filled > 0) {
            if (text.empty() || text.front() != ',') break;
            text.remove_prefix(1);
        }
        const std::optional<int> value = takeDecimal(text);
        if (!value) break;
        fields[filled++] = *value;
    }
    return filled;
}

std::string formatDecimalList(std::span<const int> values) {
    std::string text;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) text += ',';
        text += std::to_string(values[i]);
    }
    return text;
}

}  // namespace quillmar::text
