// Applying a colour scheme reads each key's colour on its own, and every read
// parses the whole ".userd" file again. This measures one such pass.
#include "profiles/UserColourFiles.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using quillmar::profiles::UserColourFiles;
using quillmar::profiles::UserFolder;

constexpr int kSchemes = 10;
constexpr int kPositions = 126;
constexpr int kKeysRead = 106;  // the 105 key buttons and the Fn key

// A full file as shipped: ten named schemes of 126 positions each, CRLF lines.
std::string fullSchemeFile() {
    std::string text = "[PRESENTMODE]\r\nmode=9\r\n[MODENAME]\r\n";
    for (int s = 0; s < kSchemes; ++s) text += std::to_string(s) + "=Scheme " + std::to_string(s) + "\r\n";
    for (int s = 0; s < kSchemes; ++s) {
        text += "[Mode" + std::to_string(s) + "]\r\n";
        for (int k = 0; k < kPositions; ++k) {
            text += std::to_string(k) + "=" + std::to_string(k * 2 % 256) + ",128," +
                    std::to_string(s * 25) + ",1\r\n";
        }
        text += "tool=0\r\njcolor=0,0,0\r\ncolor=255,255,255\r\n";
    }
    return text;
}

int positionOfKey(int key) { return key < 105 ? key : 110; }

void ApplySchemeReadsEveryKey(benchmark::State& state) {
    std::string pattern = (std::filesystem::temp_directory_path() / "quillmar-bench-XXXXXX").string();
    const std::filesystem::path folder = ::mkdtemp(pattern.data());
    const UserColourFiles files{UserFolder(folder)};
    std::ofstream(UserFolder(folder).colourFile(0), std::ios::binary) << fullSchemeFile();

    const int scheme = files.readPresentScheme(0);  // the last scheme: the longest search
    for (auto _ : state) {
        for (int key = 0; key < kKeysRead; ++key) {
            benchmark::DoNotOptimize(files.readKeyColour(0, scheme, positionOfKey(key)));
        }
    }
    state.SetItemsProcessed(state.iterations() * kKeysRead);
    std::filesystem::remove_all(folder);
}
BENCHMARK(ApplySchemeReadsEveryKey)->Unit(benchmark::kMillisecond);

}  // namespace
