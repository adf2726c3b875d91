#include "CommandSupport.h"
#include "Commands.h"
#include "ExitCodes.h"
#include "Invocation.h"
#include "WindowReload.h"

#include "hidlane/hidraw/Doctor.h"
#include "platform/LinuxPaths.h"
#include "profiles/StaleTemporaries.h"

#include <iostream>
#include <map>
#include <string>
#include <vector>

using namespace quillmar::ctl;

namespace {

int runDoctorCommand(const Invocation& invocation, std::ostream& out, std::ostream& err) {
    if (invocation.arguments.size() == 1 && invocation.arguments[0] == "--dump")
        return quillmar::hidraw::runDoctorDump(out);
    if (!invocation.arguments.empty()) return wrongArguments(err, "doctor", "--dump or nothing");
    return quillmar::hidraw::runDoctor(out);
}

using CommandFunction = int (*)(const Invocation&, std::ostream&, std::ostream&);

const std::map<std::string, CommandFunction>& commandTable() {
    static const std::map<std::string, CommandFunction> table = {
        {"default", runDefault}, {"doctor", runDoctorCommand}, {"export", runExport},
        {"import", runImport},   {"info", runInfo},           {"keys", runKeys},
        {"lighting", runLighting}, {"macro", runMacro},
        {"profile", runProfile}, {"rate", runRate},           {"remap", runRemap},
        {"keycolour", runKeyColour}, {"basecolour", runBaseColour}, {"scheme", runScheme},
        {"backup", runBackup},   {"backups", runBackups},     {"restore", runRestore},
    };
    return table;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> words(argv + 1, argv + argc);
    if (words.size() == 1 && (words[0] == "--help" || words[0] == "-h" || words[0] == "help")) {
        std::cout << kUsageText;
        return kExitDone;
    }
    const auto invocation = parseInvocation(words);
    if (!invocation) return badUsage(std::cerr, words.empty() ? "no command given" : "--device needs sim or a path");
    const auto command = commandTable().find(invocation->command);
    if (command == commandTable().end()) {
        return badUsage(std::cerr, "unknown command '" + invocation->command + "'");
    }
    quillmar::profiles::removeStaleSaveTemporaries(quillmar::platform::LinuxPaths());
    const int exitCode = command->second(*invocation, std::cout, std::cerr);
    if (exitCode == kExitDone && changesTheKeyboard(*invocation)) askRunningWindowToReload();
    return exitCode;
}
