// Any bytes as a colour scheme file: both readers (the scheme file's own and
// the per-key colour tools') read only colours and schemes in range and agree
// on the current scheme; a key colour, the paint colour or a scheme name
// written by the tools reads back as written, and leaves the rest as it was.
#include <stdlib.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "device/CommandTransaction.h"
#include "device/DeviceCommands.h"
#include "keyboard/KeyButtons.h"
#include "lighting/KeyColours.h"
#include "lighting/LightingPreview.h"
#include "profiles/UserColourFiles.h"
#include "profiles/UserFolder.h"
#include "text/IniDocument.h"

namespace {

namespace fs = std::filesystem;
using namespace quillmar;

const fs::path& scratchFolder() {
    static const fs::path folder = [] {
        std::string pattern = (fs::temp_directory_path() / "quillmar-colour-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        return fs::path(pattern);
    }();
    return folder;
}

// No keyboard is attached: the tools' writes to it fail at once, the file
// writes go ahead.
int noKeyboard(const HidSelector*, HidlaneCallback, uint32_t, uint32_t, uint32_t*) { return 0; }

void writeBytes(const fs::path& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

bool inRange(profiles::ColourValue colour) { return colour <= 0xFFFFFF; }

void checkSettings(const profiles::SchemeSettings& settings) {
    if (!inRange(settings.baseColour) || !inRange(settings.paintColour)) std::abort();
}

// A name from a few input bytes, with the characters a settings file treats
// specially among them.
std::u16string nameFrom(const std::uint8_t* data, std::size_t size) {
    static constexpr char16_t kCharacters[] = u" \"'=[];\t\r\nAz09\u00E9\u4E2D";
    std::u16string name;
    for (std::size_t i = 0; i < std::min<std::size_t>(size, 12); ++i)
        name += kCharacters[data[i] % (std::size(kCharacters) - 1)];
    return name;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    ::setenv("XDG_RUNTIME_DIR", scratchFolder().c_str(), 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const profiles::UserFolder folder(scratchFolder());
    const fs::path file = folder.colourFile(0);
    writeBytes(file, data, size);
    const auto at = [&](std::size_t i) { return size > i ? data[i] : std::uint8_t{0}; };

    const profiles::UserColourFiles files(folder);
    const int present = files.readPresentScheme(0);
    if (present < 0 || present >= profiles::kSchemeCount) std::abort();
    checkSettings(files.readSchemeSettings(0, present));
    files.readSchemeName(0, present);

    device::HidService service;
    service.RequestGetDeviceCount = noKeyboard;
    const device::LinkTiming noWaiting{std::chrono::milliseconds{0}, std::chrono::milliseconds{0},
                                       std::chrono::milliseconds{0}, std::chrono::milliseconds{0}};
    device::CommandTransaction transaction(service, noWaiting);
    device::DeviceCommands commands(transaction, noWaiting);
    lighting::KeyColours colours(commands, folder, folder.colourFile(3));
    colours.loadColourScheme(0);
    colours.loadSchemeNames(0);
    if (colours.scheme() != present) std::abort();
    checkSettings(colours.settings());
    for (int position = 0; position < lighting::kLightingPositions; ++position)
        if (!inRange(colours.keyColour(0, position).colour)) std::abort();
    // The scheme file's reader reads the whole file for each key: a few keys only.
    for (std::size_t i = 0; i < 4; ++i)
        if (!inRange(files.readKeyColour(0, present, at(i) % lighting::kLightingPositions).colour)) std::abort();

    // Only a file that can be read as a settings file is written to.
    if (!text::IniDocument::load(file)) return 0;
    const auto& buttons = lighting::LightingPreview::previewButtons();
    const int button = buttons[at(0) % buttons.size()];
    const auto position = keyboard::lightingPositionOf(button);
    const int other = (position.value_or(0) + 1 + at(1) % 20) % lighting::kLightingPositions;
    const profiles::KeyColour otherBefore = files.readKeyColour(0, present, other);
    const profiles::KeyColour painted{static_cast<profiles::ColourValue>(at(2) | at(3) << 8 | at(4) << 16), (at(5) & 1) != 0};
    if (colours.SetKeyColour(0, button, painted) && position) {
        if (files.readKeyColour(0, present, *position) != painted) std::abort();
        if (other != *position && files.readKeyColour(0, present, other) != otherBefore) std::abort();
    }
    const profiles::ColourValue paint = painted.colour ^ 0x808080;
    if (colours.ChoosePaintColour(0, paint) && files.readSchemeSettings(0, present).paintColour != paint)
        std::abort();
    const std::u16string name = nameFrom(data + std::min<std::size_t>(size, 6), size - std::min<std::size_t>(size, 6));
    if (colours.RenameScheme(0, name) && files.readSchemeName(0, present) != name) std::abort();
    if (files.readPresentScheme(0) != present) std::abort();
    return 0;
}
