#pragma once

#include "Invocation.h"

#include <iosfwd>

namespace quillmar::ctl {

// Each command returns the tool's exit code; results go to out, complaints
// to err.
int runInfo(const Invocation& invocation, std::ostream& out, std::ostream& err);
int runProfile(const Invocation& invocation, std::ostream& out, std::ostream& err);

}  // namespace quillmar::ctl
