#include "Invocation.h"

namespace quillmar::ctl {

const char* const kUsageText =
    "usage: quillmarctl [--device sim|PATH] COMMAND [ARGUMENTS]\n"
    "\n"
    "commands:\n"
    "  info                  the active profile, macro memory and lighting effects\n"
    "  profile [N]           show or set the active profile (1-3)\n"
    "  export FILE           write the keyboard's keys and macros as a profile file\n"
    "  import FILE           check a profile file and download all three profiles\n"
    "  default FILE          write the default configuration file\n"
    "  remap [--profile N] KEY TARGET\n"
    "                        give one key another function and download the profile;\n"
    "                        KEY is a key name (A, F1, \"Caps Lock\", Esc ...; see keys),\n"
    "                        TARGET is default, disabled, key:NAME, media:0-17,\n"
    "                        function:0-10 or macro:ID; G-keys are set in the window\n"
    "  keys                  every key name KEY and key:NAME take, with its aliases\n"
    "  lighting [--profile N] [SETTING=VALUE ...]\n"
    "                        set effect=ID brightness=0-4 speed=0-4 direction=255|0\n"
    "                        colour=RRGGBB multicolour=0|1 fixed=0-3 in the order\n"
    "                        given; with none, show the lighting record\n"
    "  rate [--profile N] [0-3|125|250|500|1000]\n"
    "                        show or set the polling rate, by index or in Hz\n"
    "  keycolour [--profile N] KEY RRGGBB | keycolour [--profile N] --erase KEY\n"
    "                        paint one key (KEY as for remap, or Fn), or give it the base colour\n"
    "  basecolour [--profile N] RRGGBB\n"
    "                        recolour every key that shows the base colour\n"
    "  scheme [--profile N] [1-10]\n"
    "                        list the colour schemes, or make one current\n"
    "  macro list            one line per macro: ID: NAME (loop L, N actions)\n"
    "  macro show ID         the macro's line, then one line per action: +KEY:MS for\n"
    "                        a press, -KEY:MS for a release, MS the delay after it\n"
    "  macro add [--loop L] NAME STEP...\n"
    "                        add a macro of the steps (as shown); prints its id\n"
    "  macro delete [--force] ID\n"
    "                        delete a macro; --force resets the keys that play it\n"
    "  backup                keep the keyboard's configuration as a backup; prints its name\n"
    "  backups               the backups, newest first: NAME  YYYY-MM-DD HH:MM:SS  OPERATION\n"
    "  restore NAME          put a backup back on the keyboard (keys, macros, lighting,\n"
    "                        colour schemes), keeping a backup of what it replaces\n"
    "  doctor [--dump]       check that this user can reach the keyboard; --dump shows\n"
    "                        its descriptors and a trace of its reports to send in\n"
    "\n"
    "--profile is 1-3 and defaults to the keyboard's active profile.\n"
    "--device picks the HID service library: sim for the simulated keyboard, or the\n"
    "path of a library; by default QUILLMAR_HIDLANE, else libhidlane.so beside the tool.\n"
    "Every keyboard command first reads the keyboard's configuration into the profile\n"
    "file of the per-user folder, as the program does when a keyboard arrives.\n"
    "exit codes: 0 done, 1 keyboard error or a file that cannot be read or written,\n"
    "2 bad usage, 3 file refused by the import check\n";

std::optional<Invocation> parseInvocation(const std::vector<std::string>& words) {
    Invocation invocation;
    std::size_t next = 0;
    while (next < words.size() && words[next].starts_with("--device")) {
        const std::string& word = words[next];
        if (word == "--device") {
            if (next + 1 >= words.size()) return std::nullopt;
            invocation.device = words[next + 1];
            next += 2;
        } else if (word.starts_with("--device=")) {
            invocation.device = word.substr(9);
            next += 1;
        } else {
            return std::nullopt;
        }
        if (invocation.device.empty()) return std::nullopt;
    }
    if (next >= words.size()) return std::nullopt;
    invocation.command = words[next];
    invocation.arguments.assign(words.begin() + static_cast<std::ptrdiff_t>(next) + 1, words.end());
    return invocation;
}

}  // namespace quillmar::ctl
