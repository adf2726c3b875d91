#pragma once

#include "Invocation.h"
#include "KeyboardSession.h"

#include <iosfwd>
#include <memory>
#include <string_view>

namespace quillmar::ctl {

// The keyboard of the invocation's device; nothing, with the reason told on
// err, when it cannot be taken up.
std::unique_ptr<KeyboardSession> openOrComplain(const Invocation& invocation, std::ostream& err);

// Tells err why a device operation failed; returns the keyboard-error exit code.
int keyboardError(int result, std::ostream& err);

// "quillmarctl: <complaint>" on err; returns the exit code given.
int complain(std::string_view complaint, int exitCode, std::ostream& err);

// One line with the complaint and where the usage is told; returns the
// bad-usage exit code.
int badUsage(std::ostream& err, std::string_view complaint, std::string_view see = "quillmarctl --help");

// A command's arguments were not what it takes.
int wrongArguments(std::ostream& err, std::string_view command, std::string_view takes);

}  // namespace quillmar::ctl
