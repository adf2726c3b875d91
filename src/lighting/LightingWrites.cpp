#include "lighting/LightingWrites.h"

#include "device/KeyboardLock.h"
#include "device/ResultCode.h"

namespace quillmar::lighting {

int WriteLightingBytes(device::DeviceCommands& commands, const LightingWrites& writes) {
    if (writes.empty()) return device::kSuccess;
    const device::KeyboardLock keyboard;
    int firstFailure = device::kSuccess;
    const auto keep = [&firstFailure](int result) {
        if (firstFailure == device::kSuccess) firstFailure = result;
    };
    keep(commands.BeginUpdate());
    for (const LightingWrite& write : writes) keep(commands.WriteSettings(write.address, write.bytes));
    keep(commands.EndUpdate());
    return firstFailure;
}

}  // namespace quillmar::lighting
