#include "HelpGuide.h"

namespace quillmar::skingen {

std::string helpGuide(std::string_view version) {
    std::string page = R"(<!DOCTYPE html>
<html lang="en"><head><meta charset="utf-8"><title>Quillmar Gaming Keyboard - User Guide</title>
<style>body{font-family:sans-serif;max-width:760px;margin:2em auto;color:#222;line-height:1.5}
h1{border-bottom:3px solid #1fc8ff}h2{margin-top:1.6em}code,kbd{background:#eef;padding:0 .3em;border-radius:3px}</style></head>
<body><h1>Quillmar Gaming Keyboard Settings</h1><p>Version @VERSION@. Placeholder guide.</p></body></html>
)";
    const std::string marker = "@VERSION@";
    page.replace(page.find(marker), marker.size(), version);
    return page;
}

}  // namespace quillmar::skingen
