#pragma once

#include "profiles/KeyboardReadback.h"

#include <iosfwd>
#include <string>
#include <string_view>

namespace quillmar::ctl {

// Clears a status line a TerminalProgress may have left on standard error,
// so a message written next starts a line of its own.
void clearStatusLine(std::ostream& err);

// One status line of a long operation, redrawn in place on standard error
// while that is a terminal; scripts see nothing of it. The line is cleared
// when the operation ends.
class TerminalProgress {
public:
    explicit TerminalProgress(std::ostream& err);  // shown when standard error is a terminal
    TerminalProgress(std::ostream& err, bool shown);
    ~TerminalProgress();
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    void show(std::string_view what);
    void show(std::string_view what, int done, int total);
    // Shows each step of a read from the keyboard under the given words.
    profiles::ReadProgress steps(std::string what);

private:
    std::ostream& err_;
    const bool shown_;
    bool drawn_ = false;
};

}  // namespace quillmar::ctl
