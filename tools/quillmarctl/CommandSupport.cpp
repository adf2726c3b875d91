#include "CommandSupport.h"

#include "DeviceErrors.h"
#include "ExitCodes.h"
#include "TerminalProgress.h"

#include <ostream>

namespace quillmar::ctl {

std::unique_ptr<KeyboardSession> openOrComplain(const Invocation& invocation, std::ostream& err) {
    std::string error;
    auto session = KeyboardSession::open(invocation.device, {}, error);
    if (!session) err << "quillmarctl: " << error << '\n';
    return session;
}

int keyboardError(int result, std::ostream& err) {
    return complain(describeDeviceResult(result), kExitKeyboardError, err);
}

int complain(std::string_view complaint, int exitCode, std::ostream& err) {
    clearStatusLine(err);
    err << "quillmarctl: " << complaint << '\n';
    return exitCode;
}

int badUsage(std::ostream& err, std::string_view complaint) {
    if (!complaint.empty()) err << "quillmarctl: " << complaint << '\n';
    err << kUsageText;
    return kExitBadUsage;
}

}  // namespace quillmar::ctl
