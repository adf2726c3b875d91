#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>

#include "config/AssignmentTextPacking.h"
#include "keyboard/KeyCode.h"

#include "profiles/ProfileFile.h"
#include "profiles/ProfileFileFormat.h"
#include "profiles/ProfileFileFixtures.h"

namespace quillmar::profiles {
namespace {

using testing::RecordingPrompt;
using testing::TempFolder;

TEST(DefaultFile, IsTheBareBlockWithGKeyCodesAndPassesTheCheck) {
    TempFolder folder;
    const auto path = folder / "default.kbp";
    ASSERT_EQ(writeDefaultFile(path), 1);

    const std::vector<std::uint8_t> bytes = testing::readBytes(path);
    ASSERT_EQ(bytes.size(), 32832u);
    const std::vector<std::uint8_t> header = {
        0x46, 0x44, 0x20, 0x00, 0x03, 0x00, 0x01, 0x00, 0x40, 0x80, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x76};
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 32), header);
    EXPECT_TRUE(std::equal(kFixedBlock.begin(), kFixedBlock.end(), bytes.begin() + 32));
    EXPECT_EQ(bytes[32 + 16], 0x45);  // vendor id 0C45, product id 7518
    EXPECT_EQ(bytes[32 + 19], 0x75);

    // Every record is zero but for the extra field of the G-key slots of profile slot 0.
    std::vector<std::uint16_t> extras;
    for (int record = 0; record < 2048; ++record) {
        std::array<std::uint8_t, 16> bytesOfRecord{};
        std::copy_n(bytes.begin() + 64 + record * 16, 16, bytesOfRecord.begin());
        std::uint16_t extra = 0;
        std::memcpy(&extra, &bytesOfRecord[2], 2);
        bytesOfRecord[2] = bytesOfRecord[3] = 0;
        EXPECT_EQ(bytesOfRecord, (std::array<std::uint8_t, 16>{})) << "record " << record;
        if (extra == 0) continue;
        EXPECT_TRUE(record >= 256 && record <= 273) << "record " << record;
        extras.push_back(extra);
    }
    const std::vector<std::uint16_t> gKeyCodes = {0x301,  0x302,  0x303,  0x304,  0x305,  0x306,
                                                  0x307,  0x308,  0x309,  0x1301, 0x1302, 0x1303,
                                                  0x1304, 0x1305, 0x1306, 0x1307, 0x1308, 0x1309};
    EXPECT_EQ(extras, gKeyCodes);

    RecordingPrompt prompt;
    EXPECT_EQ(checkConfigurationFile(path, prompt, text::BuiltInTexts{}), kCheckPassed);
    EXPECT_TRUE(prompt.messages.empty());
}

// A well-formed file with one empty macro (id 1), one launch-program record
// at record 40 and a 22-byte text area holding its 10-character text.
constexpr std::size_t kMacroAt = 32832;
constexpr std::size_t kTextAt = 32832 + 16512;
std::size_t recordAt(int index) { return 64 + std::size_t(index) * 16; }
std::size_t actionAt(int n) { return kMacroAt + 512 + std::size_t(n) * 8; }

void setU16(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint16_t value) {
    std::memcpy(&bytes[offset], &value, 2);
}
void setU32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value) {
    std::memcpy(&bytes[offset], &value, 4);
}
void fixChecksum(std::vector<std::uint8_t>& bytes) {
    HeaderBytes header{};
    std::copy_n(bytes.begin(), 32, header.begin());
    bytes[31] = headerChecksum(header);
}

std::vector<std::uint8_t> wellFormedFile() {
    const HeaderBytes header = encodeHeader(1, 22);
    std::vector<std::uint8_t> bytes(32832 + 16512 + 22, 0);
    std::copy(header.begin(), header.end(), bytes.begin());
    std::copy(kFixedBlock.begin(), kFixedBlock.end(), bytes.begin() + 32);
    setU16(bytes, kMacroAt + 506, 1);
    setU16(bytes, recordAt(40), 3);
    for (std::size_t n = 0; n < 10; ++n) bytes[kTextAt + 2 * n] = 'a';
    return bytes;
}

// A file of n empty macros with ids 1..n and nothing else.
void giveMacros(std::vector<std::uint8_t>& bytes, std::uint16_t n) {
    bytes.resize(32832 + std::size_t(n) * 16512);
    setU16(bytes, recordAt(40), 0);
    for (std::uint16_t m = 0; m < n; ++m) setU16(bytes, kMacroAt + m * 16512u + 506, static_cast<std::uint16_t>(m + 1));
    setU16(bytes, 14, n);
    setU32(bytes, 16, 0);
    setU32(bytes, 8, static_cast<std::uint32_t>(bytes.size()));
    fixChecksum(bytes);
}

struct CheckCase {
    const char* name;
    std::function<void(std::vector<std::uint8_t>&)> damage;
    int expected;
    std::u16string message;  // the built-in text shown before the path; empty for none
};

const std::u16string kFormatError = u"wrong file format, nothing was imported: \n  ";
std::u16string refused(std::u16string_view what) { return std::u16string(what) + u"; nothing was imported: \n  "; }

TEST(CheckConfigurationFile, RefusesBadHeadersAndContentWithAMessageThatSaysWhatIsWrong) {
    const CheckCase cases[] = {
        {"well formed", [](auto&) {}, kCheckPassed, u""},
        // The header.
        {"checksum one too high", [](auto& b) { b[31] = static_cast<std::uint8_t>(b[31] + 1); }, kCheckFailed,
         kFormatError},
        {"101 macros", [](auto& b) { giveMacros(b, 101); }, kCheckFailed, kFormatError},
        {"100 macros", [](auto& b) { giveMacros(b, 100); }, kCheckPassed, u""},
        {"total one short", [](auto& b) { setU32(b, 8, 32832 + 16512 + 21), fixChecksum(b); }, kCheckFailed,
         kFormatError},
        {"total that only fits when it wraps",
         [](auto& b) {
             setU32(b, 16, 0xFFFFFFFFu);
             setU32(b, 8, 32832 + 16512 - 1);
             fixChecksum(b);
         },
         kCheckFailed, kFormatError},
        {"flag 1", [](auto& b) { b[30] = 1, fixChecksum(b); }, kCheckPassed, u""},
        {"flag 2", [](auto& b) { b[30] = 2, fixChecksum(b); }, kCheckFailed, kFormatError},
        {"wrong magic", [](auto& b) { b[0] = 0x47, fixChecksum(b); }, kCheckFailed, kFormatError},
        {"version 2", [](auto& b) { setU16(b, 6, 2), fixChecksum(b); }, kCheckFailed, kFormatError},
        {"record count 2047", [](auto& b) { setU16(b, 12, 2047), fixChecksum(b); }, kCheckFailed, kFormatError},
        // The file's length.
        {"longer than its total", [](auto& b) { b.resize(b.size() + 100, 0xEE); }, kCheckPassed, u""},
        {"shorter than its total", [](auto& b) { b.pop_back(); }, kCheckFailed,
         refused(u"The file ends before the size its header gives")},
        {"a hundred macros claimed, none there",
         [](auto& b) {
             setU16(b, 14, 100);
             setU32(b, 8, 32832 + 100 * 16512 + 22);
             fixChecksum(b);
         },
         kCheckFailed, refused(u"The file ends before the size its header gives")},
        {"shorter than the block", [](auto& b) { b.resize(32831); }, kCheckFailed, u""},
        {"empty", [](auto& b) { b.clear(); }, kCheckFailed, u""},
        // Assignment records.
        {"type 9", [](auto& b) { setU16(b, recordAt(7), 9); }, kCheckFailed,
         refused(u"Key assignment 8 has an unknown type")},
        {"key value that is no key code", [](auto& b) { setU16(b, recordAt(7), 2), setU32(b, recordAt(7) + 4, 0x80); },
         kCheckFailed, refused(u"Key assignment 8 has a value outside its type's table")},
        {"key value above 16 bits",
         [](auto& b) { setU16(b, recordAt(7), 2), setU32(b, recordAt(7) + 4, 0x1001E); }, kCheckFailed,
         refused(u"Key assignment 8 has a value outside its type's table")},
        {"key value 0x17F", [](auto& b) { setU16(b, recordAt(7), 2), setU32(b, recordAt(7) + 4, 0x17F); },
         kCheckPassed, u""},
        {"media 17", [](auto& b) { setU16(b, recordAt(7), 7), setU32(b, recordAt(7) + 4, 17); }, kCheckPassed, u""},
        {"media 18", [](auto& b) { setU16(b, recordAt(7), 7), setU32(b, recordAt(7) + 4, 18); }, kCheckFailed,
         refused(u"Key assignment 8 has a value outside its type's table")},
        {"function 10", [](auto& b) { setU16(b, recordAt(7), 8), setU32(b, recordAt(7) + 4, 10); }, kCheckPassed,
         u""},
        {"function 11 in profile slot 3",
         [](auto& b) { setU16(b, recordAt(1600), 8), setU32(b, recordAt(1600) + 4, 11); }, kCheckFailed,
         refused(u"Key assignment 1601 has a value outside its type's table")},
        // Macros.
        {"macro id 0", [](auto& b) { setU16(b, kMacroAt + 506, 0); }, kCheckFailed,
         refused(u"Macro 1 has an id outside 1-100")},
        {"macro id 101", [](auto& b) { setU16(b, kMacroAt + 506, 101); }, kCheckFailed,
         refused(u"Macro 1 has an id outside 1-100")},
        {"macro id used twice",
         [](auto& b) { giveMacros(b, 3), setU16(b, kMacroAt + 2 * 16512 + 506, 1); }, kCheckFailed,
         refused(u"Macro 3 has the id of an earlier macro")},
        {"2001 actions", [](auto& b) { setU16(b, kMacroAt + 508, 2001); }, kCheckFailed,
         refused(u"Macro 1 has more than 2000 actions")},
        {"2000 actions of no key", [](auto& b) { setU16(b, kMacroAt + 508, 2000); }, kCheckPassed, u""},
        {"action of an unknown key", [](auto& b) { setU16(b, kMacroAt + 508, 2), setU16(b, actionAt(1) + 4, 0x200); },
         kCheckFailed, refused(u"Macro 1 has an action with an unknown key")},
        {"unknown key behind the action count", [](auto& b) { setU16(b, kMacroAt + 508, 1), setU16(b, actionAt(1) + 4, 0x200); },
         kCheckPassed, u""},
        {"direction 2", [](auto& b) { setU16(b, kMacroAt + 508, 1), setU16(b, actionAt(0) + 6, 2); }, kCheckFailed,
         refused(u"Macro 1 has an action that is neither a press nor a release")},
        {"delay 40000", [](auto& b) { setU16(b, kMacroAt + 508, 1), setU32(b, actionAt(0), 40000); }, kCheckPassed,
         u""},
        {"delay 40001", [](auto& b) { setU16(b, kMacroAt + 508, 1), setU32(b, actionAt(0), 40001); }, kCheckFailed,
         refused(u"Macro 1 has a delay above 40000 ms")},
        {"name of 249 characters", [](auto& b) { std::fill_n(b.begin() + kMacroAt, 498, 'n'); }, kCheckPassed, u""},
        {"name without terminator", [](auto& b) { std::fill_n(b.begin() + kMacroAt, 500, 'n'); }, kCheckFailed,
         refused(u"Macro 1 has a name without an end")},
        // Texts.
        {"text offset at the area's end", [](auto& b) { setU32(b, recordAt(40) + 4, 22); }, kCheckPassed, u""},
        {"text offset beyond the area", [](auto& b) { setU32(b, recordAt(40) + 4, 24); }, kCheckFailed,
         refused(u"Key assignment 41 points outside the file's text area")},
        {"text without terminator", [](auto& b) { b[kTextAt + 20] = 'z'; }, kCheckFailed,
         refused(u"Key assignment 41 has a text without an end")},
        {"text block without terminator",
         [](auto& b) { setU16(b, recordAt(40), 6), b[kTextAt + 20] = 'z'; }, kCheckFailed,
         refused(u"Key assignment 41 has a text without an end")},
    };
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const auto path = folder / "import.kbp";
        std::vector<std::uint8_t> bytes = wellFormedFile();
        c.damage(bytes);
        testing::writeBytes(path, bytes);

        RecordingPrompt prompt;
        EXPECT_EQ(checkConfigurationFile(path, prompt, text::BuiltInTexts{}), c.expected);
        if (!c.message.empty()) {
            ASSERT_EQ(prompt.messages.size(), 1u);
            EXPECT_EQ(prompt.messages[0], c.message + path.u16string());
        } else {
            EXPECT_TRUE(prompt.messages.empty());
        }
    }
}

// Whatever the program writes, it takes back: random configurations of every
// kind of assignment, macro and text pass the check.
TEST(CheckConfigurationFile, AcceptsEveryConfigurationTheProgramWrites) {
    using keyboard::AssignmentType;
    std::mt19937 random(20261210);
    const auto pick = [&random](std::uint32_t below) {
        return std::uniform_int_distribution<std::uint32_t>(0, below - 1)(random);
    };
    // Every key code the program knows, and none for macro actions the
    // keyboard held without a key the program knows.
    const auto randomKey = [&pick] {
        const auto code = keyboard::keyCodeOf(static_cast<keyboard::KeyIndex>(pick(256)));
        return keyboard::isValidKeyCode(code) ? code : keyboard::kNoKey;
    };
    TempFolder folder;
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        config::ConfigStore store;
        installDefaultConfiguration(store);
        config::MacroList macros;
        const std::uint32_t macroCount = pick(6) + (round == 0 ? 95 : 0);
        for (std::uint32_t n = 0; n < macroCount; ++n) {
            config::MacroRecord macro = testing::sampleMacro(static_cast<std::uint16_t>(100 - n), u"", 0);
            config::setMacroName(macro, std::u16string(pick(300), u'm'));
            for (std::uint32_t a = pick(n == 0 ? 2100 : 30); a > 0; --a) {
                config::appendMacroAction(macro, {pick(50000), randomKey(), static_cast<config::KeyDirection>(pick(3))});
            }
            macros.push_back(macro);
        }
        store.replaceMacros(std::move(macros));
        auto records = store.records();
        for (int k = 0; k < 200; ++k) {
            const int index = static_cast<int>(pick(config::kAssignmentRecordCount));
            const auto type = static_cast<AssignmentType>(pick(9));
            std::uint32_t key = keyboard::kNoKey;
            while (key == keyboard::kNoKey) key = randomKey();
            const std::uint32_t value = type == AssignmentType::Key        ? key
                                        : type == AssignmentType::Media    ? pick(18)
                                        : type == AssignmentType::Function ? pick(11)
                                                                           : pick(1u << 31);
            records[static_cast<std::size_t>(index)] = {type, static_cast<std::uint16_t>(pick(10)), value, 0, 0};
            if (config::carriesText(records[static_cast<std::size_t>(index)]) && pick(4) != 0)
                store.texts().setText(index, std::u16string(pick(40), u't'));
        }
        const auto path = folder / "random.kbp";
        ASSERT_EQ(writeConfigurationFile(store, path), 1);
        RecordingPrompt prompt;
        EXPECT_EQ(checkConfigurationFile(path, prompt, text::BuiltInTexts{}), kCheckPassed);
        EXPECT_TRUE(prompt.messages.empty());
    }
}

TEST(CheckConfigurationFile, MissingAndUnopenableFilesAreRefusedSilently) {
    TempFolder folder;
    RecordingPrompt prompt;
    EXPECT_EQ(checkConfigurationFile(folder / "missing.kbp", prompt, text::BuiltInTexts{}), kCheckFailed);
    EXPECT_EQ(checkConfigurationFile(folder.path(), prompt, text::BuiltInTexts{}), kCheckUnopenable);
    EXPECT_TRUE(prompt.messages.empty());
}

}  // namespace
}  // namespace quillmar::profiles
