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

int badUsage(std::ostream& err, std::string_view complaint, std::string_view see) {
    err << "quillmarctl: " << complaint << " (see " << see << ")\n";
    return kExitBadUsage;
}

int wrongArguments(std::ostream& err, std::string_view command, std::string_view takes) {
    return badUsage(err, std::string(command) + " takes " + std::string(takes));
}

}  // namespace quillmar::ctl
