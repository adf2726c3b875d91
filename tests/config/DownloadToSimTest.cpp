// Downloads from the configuration stores to the simulated keyboard, through
// the whole device link, and reads the keyboard's memory back.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "ImageFixtures.h"
#include "config/ApplyChanges.h"
#include "config/AssignmentBlockHeader.h"
#include "config/DeviceImageDownload.h"
#include "config/KeyBlockImage.h"
#include "config/MacroArea.h"
#include "config/MacroAreaDecoder.h"
#include "device/DeviceLink.h"
#include "device/RecordingWindow.h"
#include "device/ResultCode.h"
#include "hidlane/SimTestSupport.h"
#include "hidlane/sim/SimKeyboard.h"
#include "support/LinkedSimService.h"
#include "profiles/KeyboardReadback.h"

namespace quillmar::config {
namespace {

using namespace std::chrono_literals;
using keyboard::AssignmentType;
using keyboard::DeviceKeyEntry;
using keyboard::kBuiltInDefaultKeyTable;
using sim::SimArea;
using testing::Bytes;
using testing::macroOf;
using testing::macroWithActions;
using testing::press;
using testing::release;

constexpr int kPositionOfA = 19;
constexpr int kSlotOfA = 0x1E;
constexpr int kPositionOfF1 = 16;
constexpr int kSlotOfF1 = 0x3B;
const std::u16string kTooLong =
    u"Macro space exceeds the hardware space.\r\n Please reduce the number of macros or macro action "
    u"number，and then download.";
const std::u16string kNamesLeftOut = u"shortage of hardware space, cancelled the macro name of storage.";

// A request the keyboard received, from its trace line "> 04 cs cs cmd len al ah ...".
struct SeenRequest {
    int command = 0;
    int length = 0;
    int address = 0;
};

std::vector<SeenRequest> requestsIn(const std::vector<std::string>& lines) {
    std::vector<SeenRequest> requests;
    const auto byteAt = [](const std::string& line, int index) {
        return std::stoi(line.substr(2 + 3 * static_cast<std::size_t>(index), 2), nullptr, 16);
    };
    for (const std::string& line : lines) {
        if (line.rfind("> ", 0) != 0) continue;
        requests.push_back({byteAt(line, 3), byteAt(line, 4), byteAt(line, 5) | byteAt(line, 6) << 8});
    }
    return requests;
}

std::vector<int> commandsIn(const std::vector<SeenRequest>& requests) {
    std::vector<int> commands;
    for (const SeenRequest& request : requests) commands.push_back(request.command);
    return commands;
}

// Records each message with the number of requests the keyboard had seen by then.
class CountingPrompt final : public platform::Prompt {
public:
    struct Shown {
        std::u16string text;
        std::size_t requestsBefore = 0;
    };
    std::vector<Shown> shown;

    void showMessage(const std::u16string& text) override {
        shown.push_back({text, requestsIn(sim::sharedSimKeyboard().traceLines()).size()});
    }
    bool askYesNo(const std::u16string& text) override {
        showMessage(text);
        return false;
    }
};

class DownloadToSimTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("QUILLMAR_SIM_STATE", (folder_.path() / "sim-keyboard.bin").c_str(), 1);
        for (const char* name :
             {"QUILLMAR_SIM_TRACE", "QUILLMAR_SIM_CONTROL", "QUILLMAR_SIM_UNPLUGGED", "QUILLMAR_SIM_CORRUPT_WRITES"})
            ::unsetenv(name);
        ASSERT_GT(Init(0), 0);
    }

    void TearDown() override {
        if (link) link->waitForWorkers();
        End();
        link.reset();
        ::unsetenv("QUILLMAR_SIM_STATE");
    }

    sim::SimKeyboard& keyboard() { return sim::sharedSimKeyboard(); }

    // Starts the link as the main window does and waits for the arrival.
    void connect() {
        link = std::make_unique<device::DeviceLink>(service_, window, prompt, texts, timing());
        link->start();
        waitForCount(1);
        keyboard().clearTrace();
    }

    // Waits until the presence check has taken in the keyboard count.
    void waitForCount(int count) {
        const auto deadline = std::chrono::steady_clock::now() + 5s;
        while (link->presence().connectedCount() != count && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(1ms);
        ASSERT_EQ(link->presence().connectedCount(), count);
        link->waitForWorkers();
    }

    static device::LinkTiming timing() { return device::LinkTiming{500ms, 1ms, 20ms, 10ms, 1ms, 1ms}; }

    DownloadTarget download() { return downloadTargetOf(*link, prompt, texts); }

    void setActiveProfileOnKeyboard(std::uint8_t profile) {
        ASSERT_TRUE(keyboard().writeMemory(SimArea::DeviceInfo, sim::kActiveProfileByte, Bytes{profile}));
    }

    Bytes keyBlockOnKeyboard(int profile) {
        return keyboard().readMemory(SimArea::KeyBlocks, static_cast<std::size_t>(profile) * 378, 378);
    }

    DeviceKeyEntry entryOnKeyboard(int profile, int position) {
        const Bytes bytes = keyboard().readMemory(SimArea::KeyBlocks, static_cast<std::size_t>(profile * 378 + position * 3), 3);
        return {bytes[0], bytes[1], bytes[2]};
    }

    Bytes macroAreaOnKeyboard(std::size_t size) { return keyboard().readMemory(SimArea::MacroArea, 0, size); }

    keyboard::KeyAssignment& workingRecord(int profile, int slot) {
        return configuration.working.records()[static_cast<std::size_t>(assignmentRecordIndex(profile, slot))];
    }

    std::vector<std::u16string> messages() const {
        std::vector<std::u16string> texts;
        for (const auto& shown : prompt.shown) texts.push_back(shown.text);
        return texts;
    }

    sim::test::TemporaryFolder folder_;
    const device::HidService service_ = quillmar::testing::linkedSimService();
    device::testing::RecordingWindow window;
    CountingPrompt prompt;
    text::BuiltInTexts texts;
    std::unique_ptr<device::DeviceLink> link;
    Configuration configuration;
    int saves = 0;
    std::function<int()> saveProfileFile = [this] { return ++saves, 1; };
};

TEST_F(DownloadToSimTest, ApplyWritesTheRemapIntoTheActiveProfilesBlock) {
    setActiveProfileOnKeyboard(1);
    connect();
    workingRecord(1, kSlotOfA) = {AssignmentType::Key, 0, 0x30};  // B
    workingRecord(0, kSlotOfA) = {AssignmentType::Disabled};     // another profile: not sent
    auto target = download();

    EXPECT_TRUE(applyChanges(true, configuration, saveProfileFile, target));
    EXPECT_EQ(saves, 1);

    Bytes expected(kBuiltInDefaultKeyTable.begin(), kBuiltInDefaultKeyTable.end());
    EXPECT_EQ(keyBlockOnKeyboard(0), expected);
    EXPECT_EQ(keyBlockOnKeyboard(2), expected);
    expected[kPositionOfA * 3 + 2] = 0x05;
    EXPECT_EQ(keyBlockOnKeyboard(1), expected);

    const auto requests = requestsIn(keyboard().traceLines());
    EXPECT_EQ(commandsIn(requests), (std::vector<int>{3, 1, 10, 8, 8, 8, 8, 8, 8, 8, 2}))
        << "active profile, then the bracketed writes";
    EXPECT_EQ(requests[3].address, 378) << "only the block at 378";
    EXPECT_EQ(requests[9].address, 378 + 336);
    EXPECT_TRUE(prompt.shown.empty());

    // The keyboard's block reads back as the working configuration's records.
    std::array<std::uint8_t, 378> block{};
    ASSERT_EQ(link->commands().ReadProfileKeys(1, block), device::kSuccess);
    std::array<keyboard::KeyAssignment, 512> back{};
    decodeKeyBlock(back, block, kBuiltInDefaultKeyTable);
    EXPECT_EQ(back[kSlotOfA].type, AssignmentType::Key);
    EXPECT_EQ(back[kSlotOfA].value, 0x30u);
}

TEST_F(DownloadToSimTest, ApplyWithoutChangesSendsNothing) {
    connect();
    auto target = download();
    EXPECT_FALSE(applyChanges(false, configuration, saveProfileFile, target));
    EXPECT_EQ(saves, 0);
    EXPECT_TRUE(requestsIn(keyboard().traceLines()).empty());
}

TEST_F(DownloadToSimTest, TheSingleMacroOfTheWorkedExampleLandsByteForByte) {
    connect();
    configuration.working.replaceMacros({macroOf(u"ab", 1, 1, {press(0x1E, 120)})});
    workingRecord(0, kSlotOfF1) = {AssignmentType::PlayMacro, 1, 1};
    auto target = download();

    EXPECT_TRUE(applyChanges(true, configuration, saveProfileFile, target));
    const Bytes expected = {0xAA, 0x55, 30, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x12, 0x00,
                            0x01, 0x00, 0x01, 0x02, 0x0C, 0xA0, 0x02, 0x04, 0x61, 0x00, 0x62, 0x00};
    EXPECT_EQ(macroAreaOnKeyboard(30), expected);
    EXPECT_EQ(entryOnKeyboard(0, kPositionOfF1), (DeviceKeyEntry{0x05, 0x01, 0x00}));
}

TEST_F(DownloadToSimTest, MacrosLandAsBuiltAndReadBackUnderTheKeyboardsIds) {
    connect();
    MacroList macros = {macroOf(u"first", 4, 2, {press(0x2A, 15), press(0x1E, 40000), release(0x1E), release(0x2A)}),
                        macroWithActions(u"long one", 9, 300), macroOf(u"", 2, 1, {press(0x120, 50)})};
    configuration.working.replaceMacros(MacroList(macros));
    workingRecord(0, kSlotOfF1) = {AssignmentType::PlayMacro, 1, 9};
    auto target = download();

    EXPECT_EQ(takeDownloadSnapshot(configuration, DownloadScope::ActiveProfile, target), 1);
    const Bytes built = buildMacroArea(macros, true);
    EXPECT_EQ(macroAreaOnKeyboard(built.size()), built);
    EXPECT_EQ(entryOnKeyboard(0, kPositionOfF1), (DeviceKeyEntry{0x05, 0x01, 0x01}));

    // As the refresh from the keyboard reads it: header first, then the whole area.
    Bytes header(16);
    ASSERT_EQ(link->commands().ReadMacroArea(header), device::kSuccess);
    Bytes area(header[2] | header[3] << 8);
    ASSERT_EQ(link->commands().ReadMacroArea(area), device::kSuccess);
    const auto decoded = decodeMacroArea(area, texts);
    ASSERT_TRUE(decoded);
    ASSERT_EQ(decoded->size(), 3u);
    EXPECT_EQ(macroName((*decoded)[0]), u"first");
    EXPECT_EQ((*decoded)[1].actionCount, 300);
    EXPECT_EQ(macroName((*decoded)[2]), u"Macro3");
    EXPECT_EQ((*decoded)[0].actions[0].delayMs, 10u);
    EXPECT_EQ((*decoded)[0].actions[1].delayMs, 40000u);
}

TEST_F(DownloadToSimTest, NamesThatDoNotFitAreLeftOutWithAWarningAfterTheDownload) {
    connect();
    const MacroList macros = {macroOf(u"alpha", 1, 1, {press(0x1E)}), macroOf(u"beta", 2, 1, {release(0x1E)})};
    configuration.working.replaceMacros(MacroList(macros));
    auto target = download();
    target.macroMemoryBytes = macroAreaSizes(macros).withNames - 1;

    EXPECT_EQ(takeDownloadSnapshot(configuration, DownloadScope::ActiveProfile, target), 1);
    const Bytes area = macroAreaOnKeyboard(macroAreaSizes(macros).withoutNames);
    EXPECT_EQ(area, buildMacroArea(macros, false));
    EXPECT_EQ(area[6], 0) << "names flag";
    EXPECT_EQ(area[20 + 3], 0) << "first name length";
    EXPECT_EQ(area[28 + 3], 0) << "second name length";

    ASSERT_EQ(messages(), std::vector<std::u16string>{kNamesLeftOut});
    EXPECT_EQ(prompt.shown[0].requestsBefore, requestsIn(keyboard().traceLines()).size())
        << "shown once everything was sent";
    EXPECT_EQ(commandsIn(requestsIn(keyboard().traceLines())).back(), 2);
}

TEST_F(DownloadToSimTest, MacrosTooLargeEvenWithoutNamesAreRefusedAndNothingIsSent) {
    connect();
    const MacroList macros = {macroWithActions(u"big", 1, 2000), macroWithActions(u"bigger", 2, 2000)};
    configuration.working.replaceMacros(MacroList(macros));
    workingRecord(0, kSlotOfA) = {AssignmentType::Disabled};
    const sim::SimMemory before = keyboard().memory();

    struct Case {
        const char* what;
        std::size_t memory;
    };
    const Case cases[] = {
        {"keyboard's own memory (8192 bytes)", download().macroMemoryBytes},
        {"one byte short", macroAreaSizes(macros).withoutNames - 1},
        {"no keyboard has told its memory", 0},
    };
    for (const Case& c : cases) {
        prompt.shown.clear();
        auto target = download();
        target.macroMemoryBytes = c.memory;
        EXPECT_FALSE(applyChanges(true, configuration, saveProfileFile, target)) << c.what;
        EXPECT_EQ(messages(), std::vector<std::u16string>{kTooLong}) << c.what;
        EXPECT_TRUE(requestsIn(keyboard().traceLines()).empty()) << c.what;
        EXPECT_TRUE(keyboard().memory() == before) << c.what;
    }
}

TEST_F(DownloadToSimTest, AllProfilesAreWrittenInOrderFromARefreshedSnapshot) {
    connect();
    for (int profile = 0; profile < 3; ++profile)
        workingRecord(profile, kSlotOfA) = {AssignmentType::Function, 0, static_cast<std::uint32_t>(profile)};
    workingRecord(2, kSlotOfF1) = {AssignmentType::LaunchProgram};
    configuration.working.texts().setText(assignmentRecordIndex(2, kSlotOfF1), u"/usr/bin/true");
    configuration.working.replaceMacros({macroOf(u"m", 1, 1, {})});
    auto target = download();

    EXPECT_EQ(takeDownloadSnapshot(configuration, DownloadScope::AllProfiles, target), 1);
    std::vector<int> blockAddresses;
    for (const SeenRequest& request : requestsIn(keyboard().traceLines()))
        if (request.command == 8 && request.address % 378 == 0) blockAddresses.push_back(request.address);
    EXPECT_EQ(blockAddresses, (std::vector<int>{0, 378, 756}));
    for (int profile = 0; profile < 3; ++profile)
        EXPECT_EQ(entryOnKeyboard(profile, kPositionOfA), (DeviceKeyEntry{0x05, 0x05, static_cast<std::uint8_t>(profile)}));
    EXPECT_EQ(entryOnKeyboard(2, kPositionOfF1), keyboard::entryAt(kBuiltInDefaultKeyTable, kPositionOfF1))
        << "a launch-program key keeps its default on the keyboard";

    auto held = configuration.snapshot.lock();
    const auto& header = configuration.snapshot.assignments().header;
    EXPECT_EQ(header[14], 1) << "macro count";
    EXPECT_EQ(header[16], 28) << "text area size";
    EXPECT_EQ(header[31], blockHeaderChecksum(header));
    EXPECT_EQ(configuration.snapshot.macroCount(), 1);
    EXPECT_EQ(configuration.snapshot.records()[assignmentRecordIndex(2, kSlotOfA)].value, 2u);
    EXPECT_EQ(configuration.snapshot.records()[assignmentRecordIndex(2, kSlotOfF1)].value, 0u) << "packed at offset 0";
}

TEST_F(DownloadToSimTest, WithTheActiveProfileUnknownNoBlockIsWritten) {
    connect();
    keyboard().answerWithStatus(0xFF, device::CommandTransaction::kAttempts);
    auto target = download();
    EXPECT_FALSE(applyChanges(true, configuration, saveProfileFile, target));
    EXPECT_EQ(commandsIn(requestsIn(keyboard().traceLines())), (std::vector<int>{3, 3, 3, 1, 10, 2}));
}

TEST_F(DownloadToSimTest, UnpluggedInTheMiddleOfADownload) {
    connect();
    configuration.working.replaceMacros({macroWithActions(u"long", 1, 2000)});  // 143 pieces
    workingRecord(0, kSlotOfA) = {AssignmentType::Disabled};
    std::atomic<bool> done{false};
    std::thread unplugger([&] {
        while (!done && requestsIn(keyboard().traceLines()).size() < 40) std::this_thread::sleep_for(100us);
        keyboard().unplug();
    });
    auto target = download();
    const bool disableApply = applyChanges(true, configuration, saveProfileFile, target);
    done = true;
    unplugger.join();

    EXPECT_FALSE(disableApply) << "Apply stays enabled";
    EXPECT_EQ(saves, 1);
    EXPECT_LT(requestsIn(keyboard().traceLines()).size(), 150u);
    EXPECT_EQ(entryOnKeyboard(0, kPositionOfA), keyboard::entryAt(kBuiltInDefaultKeyTable, kPositionOfA));

    // Plugged in again, the same Apply goes through.
    waitForCount(0);
    keyboard().plug();
    waitForCount(1);
    EXPECT_TRUE(applyChanges(true, configuration, saveProfileFile, download()));
    EXPECT_EQ(entryOnKeyboard(0, kPositionOfA), DeviceKeyEntry{});
}

// Downloads that write only what the keyboard does not hold yet, and read
// back what they wrote.
class CheckedDownloadTest : public DownloadToSimTest {
protected:
    // The empty macro area as this program writes it (the factory's differs
    // in its names flag), so that only key changes are left to write.
    void emptyMacroAreaAsWritten() {
        ASSERT_TRUE(keyboard().writeMemory(SimArea::MacroArea, 0, buildMacroArea({}, true)));
    }

    // The arrival's read-back, which tells what the keyboard holds.
    void readBack() {
        ASSERT_TRUE(profiles::readKeyboardImage(profiles::readSourceOf(*link, texts)));
        keyboard().clearTrace();
    }

    DownloadTarget checked(bool verify = true, bool changesOnly = true) {
        DownloadTarget target = download();
        target.verifyWrites = verify;
        target.writeChangesOnly = changesOnly;
        target.progress = [this](int done, int total) { progress = {done, total}; };
        return target;
    }

    std::vector<int> commandsSent() { return commandsIn(requestsIn(keyboard().traceLines())); }

    std::pair<int, int> progress{-1, -1};
    const std::u16string kKeysOfProfile2Differ =
        u"The keys the keyboard holds for Profile 2 differ from what was written to it.";
    const std::u16string kMacrosDiffer = u"The macros the keyboard holds differ from what was written to it.";
};

TEST_F(CheckedDownloadTest, OneRemapWritesOnlyItsPieceAndReadsItBack) {
    setActiveProfileOnKeyboard(1);
    emptyMacroAreaAsWritten();
    connect();
    readBack();
    workingRecord(1, kSlotOfA) = {AssignmentType::Key, 0, 0x30};  // B

    EXPECT_TRUE(applyChanges(true, configuration, saveProfileFile, checked()));

    const auto requests = requestsIn(keyboard().traceLines());
    ASSERT_EQ(commandsIn(requests), (std::vector<int>{1, 8, 2, 7})) << "BeginUpdate, one piece, EndUpdate, its read";
    const int pieceOfA = 378 + kPositionOfA * 3 / 56 * 56;
    EXPECT_EQ(requests[1].address, pieceOfA);
    EXPECT_EQ(requests[1].length, 56);
    EXPECT_EQ(requests[3].address, pieceOfA);
    EXPECT_EQ(progress, std::make_pair(4, 4));
    EXPECT_EQ(entryOnKeyboard(1, kPositionOfA), (DeviceKeyEntry{0x02, 0x02, 0x05}));
    EXPECT_TRUE(prompt.shown.empty());

    // Known now: the same change again sends nothing at all.
    keyboard().clearTrace();
    EXPECT_TRUE(applyChanges(true, configuration, saveProfileFile, checked()));
    EXPECT_TRUE(commandsSent().empty());
}

TEST_F(CheckedDownloadTest, EachSettingChangesOnlyItsPartOfTheTraffic) {
    struct Case {
        const char* what;
        bool verify;
        bool changesOnly;
        bool readBackFirst;
        std::vector<int> commands;
    };
    const std::vector<int> sevenWrites(7, 8), sevenReads(7, 7);
    const auto join = [](std::initializer_list<std::vector<int>> parts) {
        std::vector<int> all;
        for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
        return all;
    };
    const Case cases[] = {
        {"both off: as always", false, false, true, join({{1, 10}, sevenWrites, {2}})},
        {"changes only", false, true, true, {1, 8, 2}},
        {"verify only", true, false, true, join({{1, 10}, sevenWrites, {2, 9}, sevenReads})},
        {"both, nothing known yet", true, true, false, join({{3, 1, 10}, sevenWrites, {2, 9}, sevenReads})},
    };
    connect();
    for (const Case& c : cases) {
        link->commands().forgetActiveProfile();
        link->commands().mirror().forget();
        keyboard().resetToFactory();
        emptyMacroAreaAsWritten();
        workingRecord(0, kSlotOfA) = {AssignmentType::Key, 0, 0x30};
        if (c.readBackFirst) readBack();
        keyboard().clearTrace();

        EXPECT_TRUE(applyChanges(true, configuration, saveProfileFile, checked(c.verify, c.changesOnly))) << c.what;
        EXPECT_EQ(commandsSent(), c.commands) << c.what;
        EXPECT_EQ(entryOnKeyboard(0, kPositionOfA), (DeviceKeyEntry{0x02, 0x02, 0x05})) << c.what;
    }
}

TEST_F(CheckedDownloadTest, KeysTheKeyboardKeptOtherwiseAreToldAndWrittenAgainNextTime) {
    setActiveProfileOnKeyboard(1);
    emptyMacroAreaAsWritten();
    connect();
    readBack();
    workingRecord(1, kSlotOfA) = {AssignmentType::Disabled};
    keyboard().keepOtherBytes(1);

    EXPECT_FALSE(applyChanges(true, configuration, saveProfileFile, checked())) << "Apply stays enabled";
    EXPECT_EQ(messages(), std::vector<std::u16string>{kKeysOfProfile2Differ});
    EXPECT_EQ(prompt.shown[0].requestsBefore, 4u) << "told once the read-back is done";

    // What was read back is what is known, so the piece goes out again.
    keyboard().clearTrace();
    prompt.shown.clear();
    EXPECT_TRUE(applyChanges(true, configuration, saveProfileFile, checked()));
    EXPECT_EQ(commandsSent(), (std::vector<int>{1, 8, 2, 7}));
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_EQ(entryOnKeyboard(1, kPositionOfA), DeviceKeyEntry{});
}

TEST_F(CheckedDownloadTest, AMacroAreaTheKeyboardKeptOtherwiseIsToldAsTheMacros) {
    connect();
    readBack();
    configuration.working.replaceMacros({macroOf(u"ab", 1, 1, {press(0x1E, 120)})});
    keyboard().keepOtherBytes(1);

    EXPECT_FALSE(applyChanges(true, configuration, saveProfileFile, checked()));
    EXPECT_EQ(messages(), std::vector<std::u16string>{kMacrosDiffer});
    EXPECT_EQ(commandsSent(), (std::vector<int>{1, 10, 2, 9})) << "the keys were known and unchanged";
}

// Another program may have written to it while it was away.
TEST_F(CheckedDownloadTest, AKeyboardThatLeftIsWrittenWholeOnItsReturn) {
    emptyMacroAreaAsWritten();
    connect();
    readBack();
    keyboard().unplug();
    waitForCount(0);
    keyboard().plug();
    waitForCount(1);
    keyboard().clearTrace();
    workingRecord(0, kSlotOfA) = {AssignmentType::Disabled};

    EXPECT_TRUE(applyChanges(true, configuration, saveProfileFile, checked()));
    const auto sent = commandsSent();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), 8), 7);
    EXPECT_EQ(std::count(sent.begin(), sent.end(), 7), 7);
}

TEST_F(CheckedDownloadTest, AShrunkenMacroAreaIsWrittenOnlyUpToItsNewEnd) {
    connect();
    const MacroList both = {macroOf(u"short", 1, 1, {press(0x1E)}), macroWithActions(u"long", 2, 100)};
    configuration.working.replaceMacros(MacroList(both));
    ASSERT_TRUE(applyChanges(true, configuration, saveProfileFile, checked(false, false)));
    readBack();
    const MacroList shorter = {both[0]};
    configuration.working.replaceMacros(MacroList(shorter));

    EXPECT_TRUE(applyChanges(true, configuration, saveProfileFile, checked()));
    const Bytes area = buildMacroArea(shorter, true);
    ASSERT_LT(area.size(), 56u);
    EXPECT_EQ(commandsSent(), (std::vector<int>{1, 10, 2, 9})) << "the header piece alone";
    EXPECT_EQ(macroAreaOnKeyboard(area.size()), area);
}

}  // namespace
}  // namespace quillmar::config
