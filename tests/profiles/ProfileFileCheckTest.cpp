#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "profiles/ProfileFile.h"
#include "profiles/ProfileFileFormat.h"
#include "profiles/ProfileFileFixtures.h"

namespace quillmar::profiles {
namespace {

using testing::RecordingPrompt;
using testing::TempFolder;

const std::u16string kBuiltInFormatError = u"wrong file format, revert to the default values: \n  ";

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

// A well-formed file with one macro and a 22-byte text area, to be damaged.
std::vector<std::uint8_t> wellFormedFile() {
    const HeaderBytes header = encodeHeader(1, 22);
    std::vector<std::uint8_t> bytes(32832 + 16512 + 22, 0);
    std::copy(header.begin(), header.end(), bytes.begin());
    std::copy(kFixedBlock.begin(), kFixedBlock.end(), bytes.begin() + 32);
    return bytes;
}

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

struct CheckCase {
    const char* name;
    std::function<void(std::vector<std::uint8_t>&)> damage;
    int expected;
    bool formatErrorShown;
};

TEST(CheckConfigurationFile, JudgesTheHeaderAndTellsTheUserOnlyAboutBadHeaders) {
    const CheckCase cases[] = {
        {"well formed", [](auto&) {}, kCheckPassed, false},
        {"checksum one too high", [](auto& b) { b[31] = static_cast<std::uint8_t>(b[31] + 1); },
         kCheckFailed, true},
        {"101 macros",
         [](auto& b) {
             setU16(b, 14, 101);
             setU32(b, 8, 32832 + 101 * 16512 + 22);
             fixChecksum(b);
         },
         kCheckFailed, true},
        {"100 macros",
         [](auto& b) {
             setU16(b, 14, 100);
             setU32(b, 8, 32832 + 100 * 16512 + 22);
             fixChecksum(b);
         },
         kCheckPassed, false},
        {"total one short", [](auto& b) { setU32(b, 8, 32832 + 16512 + 21), fixChecksum(b); }, kCheckFailed,
         true},
        {"total that only fits when it wraps",
         [](auto& b) {
             setU32(b, 16, 0xFFFFFFFFu);
             setU32(b, 8, 32832 + 16512 - 1);
             fixChecksum(b);
         },
         kCheckFailed, true},
        {"flag 1", [](auto& b) { b[30] = 1, fixChecksum(b); }, kCheckPassed, false},
        {"flag 2", [](auto& b) { b[30] = 2, fixChecksum(b); }, kCheckFailed, true},
        {"wrong magic", [](auto& b) { b[0] = 0x47, fixChecksum(b); }, kCheckFailed, true},
        {"version 2", [](auto& b) { setU16(b, 6, 2), fixChecksum(b); }, kCheckFailed, true},
        {"record count 2047", [](auto& b) { setU16(b, 12, 2047), fixChecksum(b); }, kCheckFailed, true},
        {"longer than its total", [](auto& b) { b.resize(b.size() + 100, 0xEE); }, kCheckPassed, false},
        {"shorter than its total", [](auto& b) { b.resize(32832 + 100); }, kCheckPassed, false},
        {"shorter than the block", [](auto& b) { b.resize(32831); }, kCheckFailed, false},
        {"empty", [](auto& b) { b.clear(); }, kCheckFailed, false},
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
        if (c.formatErrorShown) {
            ASSERT_EQ(prompt.messages.size(), 1u);
            EXPECT_EQ(prompt.messages[0], kBuiltInFormatError + path.u16string());
        } else {
            EXPECT_TRUE(prompt.messages.empty());
        }
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
