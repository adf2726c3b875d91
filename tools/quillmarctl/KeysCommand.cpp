#include "CommandSupport.h"
#include "Commands.h"
#include "ExitCodes.h"

#include "keyboard/KeyInfoTable.h"
#include "keyboard/KeyNameLookup.h"
#include "text/Utf.h"

#include <ostream>
#include <set>

namespace quillmar::ctl {
namespace {

constexpr std::size_t kNameColumn = 16;

void printKey(std::ostream& out, const std::string& name, const std::vector<std::u16string_view>& aliases) {
    out << name;
    if (!aliases.empty()) {
        out << std::string(name.size() < kNameColumn ? kNameColumn - name.size() : 1, ' ');
        for (std::size_t i = 0; i < aliases.size(); ++i)
            out << (i == 0 ? "" : ", ") << text::toUtf8(aliases[i]);
    }
    out << '\n';
}

}  // namespace

// Every key name KEY and key:NAME take, in key-table order, each with its
// aliases.
int runKeys(const Invocation& invocation, std::ostream& out, std::ostream& err) {
    if (!invocation.arguments.empty()) return wrongArguments(err, "keys", "no arguments");
    std::set<std::u16string_view> listed;
    for (std::size_t index = 1; index < keyboard::kKeyInfoTable.size(); ++index) {
        const std::u16string_view name = keyboard::kKeyInfoTable[index].name;
        if (name.empty() || !listed.insert(name).second) continue;
        const auto code = keyboard::keyCodeOf(static_cast<keyboard::KeyIndex>(index));
        printKey(out, text::toUtf8(name), keyboard::aliasesOf(code));
    }
    return kExitDone;
}

}  // namespace quillmar::ctl
