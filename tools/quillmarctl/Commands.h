#pragma once

#include "Invocation.h"

#include <iosfwd>

namespace quillmar::ctl {

// Each command returns the tool's exit code; results go to out, complaints
// to err.
int runInfo(const Invocation& invocation, std::ostream& out, std::ostream& err);
int runProfile(const Invocation& invocation, std::ostream& out, std::ostream& err);
int runExport(const Invocation& invocation, std::ostream& out, std::ostream& err);
int runImport(const Invocation& invocation, std::ostream& out, std::ostream& err);
int runDefault(const Invocation& invocation, std::ostream& out, std::ostream& err);
int runRemap(const Invocation& invocation, std::ostream& out, std::ostream& err);
int runLighting(const Invocation& invocation, std::ostream& out, std::ostream& err);
int runRate(const Invocation& invocation, std::ostream& out, std::ostream& err);
int runKeyColour(const Invocation& invocation, std::ostream& out, std::ostream& err);
int runBaseColour(const Invocation& invocation, std::ostream& out, std::ostream& err);
int runScheme(const Invocation& invocation, std::ostream& out, std::ostream& err);
int runMacro(const Invocation& invocation, std::ostream& out, std::ostream& err);
int runKeys(const Invocation& invocation, std::ostream& out, std::ostream& err);
int runBackup(const Invocation& invocation, std::ostream& out, std::ostream& err);
int runBackups(const Invocation& invocation, std::ostream& out, std::ostream& err);
int runRestore(const Invocation& invocation, std::ostream& out, std::ostream& err);

}  // namespace quillmar::ctl
