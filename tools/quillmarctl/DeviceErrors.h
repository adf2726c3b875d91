#pragma once

#include <string>

namespace quillmar::ctl {

// A sentence for the user about a failed device operation's result code.
std::string describeDeviceResult(int result);

}  // namespace quillmar::ctl
