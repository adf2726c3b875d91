// "quillmarctl doctor": finds the keyboard's hidraw nodes, says which ones this user can open
// and whether the udev rule is in place, and what to do about anything missing.
#pragma once

#include "HidrawSystem.h"

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace quillmar::hidraw {

inline constexpr const char* kUdevRuleFileName = "70-quillmar.rules";

struct DoctorNode {
    std::string devNode;
    std::string role; // "command", "consumer", "status" or "other"
    std::vector<std::pair<uint16_t, uint16_t>> usages;
    bool canOpen = false;
    int openError = 0;
};

struct DoctorFindings {
    std::vector<DoctorNode> nodes;
    std::optional<std::filesystem::path> rule;  // where udev finds the rule
    std::optional<std::filesystem::path> strayRule; // installed where udev does not look
};

// The folders udev reads rules from, and the one this build installs into.
std::vector<std::filesystem::path> udevRuleFolders();
std::filesystem::path installedRuleFolder();

DoctorFindings examineSystem(HidrawSystem& system, const std::vector<std::filesystem::path>& ruleFolders,
                             const std::filesystem::path& installedFolder);

// Writes the findings as plain sentences; returns 0 when all is well, 1 when something needs doing.
int writeDoctorReport(const DoctorFindings& findings, std::ostream& out);

int runDoctor(std::ostream& out);

} // namespace quillmar::hidraw
