#include "TerminalProgress.h"

#include <unistd.h>

#include <ostream>

namespace quillmar::ctl {
namespace {

constexpr std::string_view kClearLine = "\r\033[K";

bool standardErrorIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

}  // namespace

void clearStatusLine(std::ostream& err) {
    if (standardErrorIsTerminal()) err << kClearLine;
}

TerminalProgress::TerminalProgress(std::ostream& err) : TerminalProgress(err, standardErrorIsTerminal()) {}

TerminalProgress::TerminalProgress(std::ostream& err, bool shown) : err_(err), shown_(shown) {}

TerminalProgress::~TerminalProgress() {
    if (drawn_) err_ << kClearLine << std::flush;
}

void TerminalProgress::show(std::string_view what) {
    if (!shown_) return;
    err_ << kClearLine << "quillmarctl: " << what << "..." << std::flush;
    drawn_ = true;
}

void TerminalProgress::show(std::string_view what, int done, int total) {
    if (!shown_) return;
    err_ << kClearLine << "quillmarctl: " << what << " (" << done << '/' << total << ')' << std::flush;
    drawn_ = true;
}

profiles::ReadProgress TerminalProgress::steps(std::string what) {
    if (!shown_) return {};
    return [this, what = std::move(what)](int done, int total) { show(what, done, total); };
}

}  // namespace quillmar::ctl
