#pragma once

#include <QString>

#include <string>

namespace quillmar::shell {

// A text of the string table or the core as Qt shows it.
inline QString toQString(const std::u16string& text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace quillmar::shell
