#include "ConsolePrompt.h"

#include "TerminalProgress.h"

#include "text/Utf.h"

#include <iostream>

namespace quillmar::ctl {

void ConsolePrompt::showMessage(const std::u16string& text) {
    clearStatusLine(std::cerr);
    std::cerr << text::toUtf8(text) << '\n';
}

bool ConsolePrompt::askYesNo(const std::u16string& text) {
    clearStatusLine(std::cerr);
    std::cerr << text::toUtf8(text) << " [answered No]\n";
    return false;
}

}  // namespace quillmar::ctl
