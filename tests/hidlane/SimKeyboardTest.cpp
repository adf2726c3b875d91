// The simulated keyboard driven through the library's C entry points with
// hand-built command reports.
#include <algorithm>
#include <array>
#include <functional>
#include <numeric>

#include "SimTestSupport.h"
#include "hidlane/sim/SimStateFile.h"
#include "keyboard/DefaultKeyTable.h"

namespace quillmar::sim::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

class SimKeyboardTest : public SimLibraryTest {
protected:
    void SetUp() override {
        SimLibraryTest::SetUp();
        startLibrary();
    }
};

Bytes factorySettingsRecord() {
    Bytes record = {0x01, 0x04, 0x01, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x08, 0xFF, 0xFF, 0xFF,
                    0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0x00,
                    0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00};
    record.resize(kSettingsRecordBytes, 0);
    return record;
}

Bytes defaultKeys(std::size_t from, std::size_t count) {
    const auto& table = keyboard::kBuiltInDefaultKeyTable;
    return {table.begin() + from, table.begin() + from + count};
}

void expectWellFormedAnswerTo(const Report& request, const Report& answer) {
    EXPECT_EQ(answer[kReportIdByte], kCommandReportId);
    EXPECT_TRUE(std::equal(request.begin() + kCommandByte, request.begin() + kStatusByte,
                           answer.begin() + kCommandByte))
        << "bytes 3 to 6 are echoed";
    EXPECT_TRUE(hasValidChecksum(answer));
}

struct FactoryRead {
    const char* what;
    std::uint8_t command;
    std::uint8_t length;
    std::uint16_t address;
    std::function<Bytes()> expected;
};

TEST_F(SimKeyboardTest, ReadsOfAFactoryKeyboardAnswerTheFactoryContent) {
    const FactoryRead reads[] = {
        {"device info", 3, 44, 0,
         [] {
             Bytes info(44, 0);
             info[11] = 64;
             std::iota(info.begin() + 12, info.begin() + 30, 1);
             info[30] = 20;
             return info;
         }},
        {"settings at 0", 5, 56, 0,
         [] {
             Bytes bytes = factorySettingsRecord();
             const Bytes next = factorySettingsRecord();
             bytes.insert(bytes.end(), next.begin(), next.begin() + 14);
             return bytes;
         }},
        {"settings at 84 run past the third record", 5, 56, 84,
         [] {
             Bytes bytes = factorySettingsRecord();
             bytes.resize(56, 0);
             return bytes;
         }},
        {"first piece of profile 2's keys", 7, 56, 756, [] { return defaultKeys(0, 56); }},
        {"last piece of profile 2's keys", 7, 42, 1092, [] { return defaultKeys(336, 42); }},
        {"last piece of the default layout", 15, 42, 336, [] { return defaultKeys(336, 42); }},
        {"macro area header", 9, 16, 0,
         [] {
             Bytes header(16, 0);
             header[0] = 0xAA;
             header[1] = 0x55;
             header[2] = 16;
             return header;
         }},
        {"end of the macro memory", 9, 56, 8192 - 56, [] { return Bytes(56, 0); }},
    };
    for (const auto& read : reads) {
        SCOPED_TRACE(read.what);
        const Report request = commandFrame(read.command, read.length, read.address);
        const auto answer = transact(request);
        ASSERT_TRUE(answer);
        expectWellFormedAnswerTo(request, *answer);
        EXPECT_EQ((*answer)[kStatusByte], kStatusOk);
        const Bytes expected = read.expected();
        EXPECT_EQ(Bytes(answer->begin() + 8, answer->begin() + 8 + read.length), expected);
        EXPECT_TRUE(std::all_of(answer->begin() + 8 + read.length, answer->end(), [](auto b) { return b == 0; }));
    }
    EXPECT_EQ(keyboard().readMemory(SimArea::KeyColours), Bytes(kKeyColoursBytes, 0));
}

struct RefusedRequest {
    const char* what;
    std::function<Report()> frame;
    std::uint8_t status;
};

TEST_F(SimKeyboardTest, MalformedOrOutOfBoundsRequestsAreRefusedAndChangeNothing) {
    const Bytes red = {0xFF, 0x00, 0x00};
    const RefusedRequest cases[] = {
        {"report id 3", [] { auto f = commandFrame(3, 44); f[0] = 3; return f; }, kStatusBadFrame},
        {"checksum off by one", [] { auto f = commandFrame(3, 44); ++f[1]; return f; }, kStatusBadFrame},
        {"byte changed after the checksum", [] { auto f = commandFrame(3, 44); f[63] = 1; return f; }, kStatusBadFrame},
        {"unknown command 11", [] { return commandFrame(11); }, kStatusRefused},
        {"command 0", [] { return commandFrame(0); }, kStatusRefused},
        {"device info one byte too long", [] { return commandFrame(3, 45); }, kStatusRefused},
        {"more than 56 data bytes", [] { return commandFrame(7, 57); }, kStatusRefused},
        {"default layout past its end", [] { return commandFrame(15, 56, 336); }, kStatusRefused},
        {"key blocks past their end", [] { return commandFrame(7, 1, 1134); }, kStatusRefused},
        {"macro area past the macro memory", [] { return commandFrame(9, 1, 8192); }, kStatusRefused},
        {"settings past the readable memory", [] { return commandFrame(5, 1, 168); }, kStatusRefused},
        {"settings write outside an update", [&] { return commandFrame(6, 1, 0, red); }, kStatusRefused},
        {"key write outside an update", [&] { return commandFrame(8, 3, 0, red); }, kStatusRefused},
        {"macro write outside an update", [&] { return commandFrame(10, 3, 0, red); }, kStatusRefused},
        {"colour write outside an update", [&] { return commandFrame(17, 3, 0, red); }, kStatusRefused},
    };
    const SimMemory before = keyboard().memory();
    for (const auto& refused : cases) {
        SCOPED_TRACE(refused.what);
        const Report request = refused.frame();
        const auto answer = transact(request);
        ASSERT_TRUE(answer);
        expectWellFormedAnswerTo(request, *answer);
        EXPECT_EQ((*answer)[kStatusByte], refused.status);
    }
    EXPECT_TRUE(keyboard().memory() == before);
}

TEST_F(SimKeyboardTest, WritesBetweenBeginAndEndUpdateLandInTheirAreas) {
    const Bytes colour = {0x11, 0x22, 0x33};
    const Bytes keys(56, 0x07);
    const Bytes macroPiece = {0xAA, 0x55, 0x20, 0x00, 0x01};
    ASSERT_EQ(answerStatus(commandFrame(1)), kStatusOk);
    EXPECT_TRUE(keyboard().inUpdate());
    EXPECT_EQ(answerStatus(commandFrame(6, 1, 57, Bytes{0x02})), kStatusOk);
    EXPECT_EQ(answerStatus(commandFrame(8, 56, 756, keys)), kStatusOk);
    EXPECT_EQ(answerStatus(commandFrame(10, 5, 0, macroPiece)), kStatusOk);
    EXPECT_EQ(answerStatus(commandFrame(17, 3, 512 + 5 * 3, colour)), kStatusOk);
    EXPECT_EQ(answerStatus(commandFrame(6, 1, 0, Bytes{0x09})), kStatusOk);
    ASSERT_EQ(answerStatus(commandFrame(2)), kStatusOk);
    EXPECT_FALSE(keyboard().inUpdate());

    EXPECT_EQ(keyboard().readMemory(SimArea::Settings, 57, 1), Bytes{0x02});
    EXPECT_EQ(keyboard().readMemory(SimArea::KeyBlocks, 756, 56), keys);
    EXPECT_EQ(keyboard().readMemory(SimArea::MacroArea, 0, 5), macroPiece);
    EXPECT_EQ(keyboard().readMemory(SimArea::KeyColours, 527, 3), colour);
    const auto readBack = transact(commandFrame(5, 56, 42));
    ASSERT_TRUE(readBack);
    EXPECT_EQ((*readBack)[8 + 15], 0x02) << "reads see what was written";

    EXPECT_EQ(answerStatus(commandFrame(6, 1, 0, Bytes{0x01})), kStatusRefused) << "the update is over";
    EXPECT_EQ(keyboard().readMemory(SimArea::Settings, 0, 1), Bytes{0x09});
}

TEST_F(SimKeyboardTest, CorruptedWritesAreAnsweredAsTakenButKeptWithTheirLastByteChanged) {
    for (const char* wrong : {"corrupt-writes", "corrupt-writes x", "corrupt-writes -1", "corrupt-writes 2 3"})
        EXPECT_FALSE(keyboard().applyControlLine(wrong)) << wrong;
    ASSERT_TRUE(keyboard().applyControlLine(" corrupt-writes 2 "));
    const Bytes keys(56, 0x07);
    const Bytes macroPiece = {0xAA, 0x55, 0x20, 0x00, 0x01};
    ASSERT_EQ(answerStatus(commandFrame(1)), kStatusOk);
    EXPECT_EQ(answerStatus(commandFrame(6, 1, 57, Bytes{0x02})), kStatusOk);
    EXPECT_EQ(answerStatus(commandFrame(8, 56, 756, keys)), kStatusOk);
    EXPECT_EQ(answerStatus(commandFrame(10, 5, 0, macroPiece)), kStatusOk);
    EXPECT_EQ(answerStatus(commandFrame(8, 56, 0, keys)), kStatusOk);
    ASSERT_EQ(answerStatus(commandFrame(2)), kStatusOk);

    EXPECT_EQ(keyboard().readMemory(SimArea::Settings, 57, 1), Bytes{0x02}) << "settings are not counted";
    Bytes keptKeys = keys;
    keptKeys.back() ^= 0x01;
    EXPECT_EQ(keyboard().readMemory(SimArea::KeyBlocks, 756, 56), keptKeys);
    EXPECT_EQ(keyboard().readMemory(SimArea::MacroArea, 0, 5), (Bytes{0xAA, 0x55, 0x20, 0x00, 0x00}));
    EXPECT_EQ(keyboard().readMemory(SimArea::KeyBlocks, 0, 56), keys) << "the third write is kept as sent";
}

// Another program's keyboard object on the same state file, as quillmarctl
// beside the window: each reads what the other wrote, nothing is lost.
TEST_F(SimKeyboardTest, TwoProgramsOnTheStateFileShareOneKeyboard) {
    SimKeyboard other;
    other.start();
    const auto otherSends = [&](const Report& frame) {
        ASSERT_TRUE(other.receiveOutputReport(SimInterface::Command, frame));
    };
    const Bytes remap(8, 0x3A);
    otherSends(commandFrame(1));
    otherSends(commandFrame(8, 8, 0, remap));
    otherSends(commandFrame(2));

    const auto seen = transact(commandFrame(7, 8, 0));
    ASSERT_TRUE(seen);
    EXPECT_EQ(Bytes(seen->begin() + kReportDataOffset, seen->begin() + kReportDataOffset + 8), remap);

    const Bytes lighting = {0x05};
    ASSERT_EQ(answerStatus(commandFrame(1)), kStatusOk);
    ASSERT_EQ(answerStatus(commandFrame(6, 1, 0, lighting)), kStatusOk);
    ASSERT_EQ(answerStatus(commandFrame(2)), kStatusOk);
    otherSends(commandFrame(3, 8, 0));
    EXPECT_EQ(other.readMemory(SimArea::Settings, 0, 1), lighting);
    EXPECT_EQ(other.readMemory(SimArea::KeyBlocks, 0, 8), remap);
    EXPECT_EQ(loadSimState(statePath())->keyBlocks[0], 0x3A) << "the window's save kept the other's remap";
    other.stop();
}

TEST_F(SimKeyboardTest, WriteDeviceInfoNeedsNoUpdateAndKeepsTheMacroMemoryInStep) {
    Bytes info = keyboard().readMemory(SimArea::DeviceInfo);
    info[kActiveProfileByte] = 2;
    info[kMacroUnitsByte] = 2;
    EXPECT_EQ(answerStatus(commandFrame(4, 44, 0, info)), kStatusOk);
    EXPECT_EQ(keyboard().readMemory(SimArea::DeviceInfo), info);
    EXPECT_EQ(keyboard().readMemory(SimArea::MacroArea).size(), 256u);
    EXPECT_EQ(answerStatus(commandFrame(9, 1, 256)), kStatusRefused);
}

TEST_F(SimKeyboardTest, AnswersArriveLaterOnTheCommandReadsThread) {
    for (auto latency : {0ms, 1ms}) {
        keyboard().setLatency(latency);
        ASSERT_GT(writeFrame(commandFrame(3, 44)), 0);
        const auto answer = nextEvent(HIDLANE_TAG_CTRL);
        ASSERT_TRUE(answer);
        EXPECT_EQ(answer->kind, HIDLANE_EVENT_DATA);
        EXPECT_EQ(answer->lengthOrCount, kReportBytes);
        EXPECT_NE(answer->thread, std::this_thread::get_id());
    }
    keyboard().pressBankKey();
    const auto notice = nextEvent(HIDLANE_TAG_CONS);
    ASSERT_TRUE(writeFrame(commandFrame(1)));
    const auto answer = nextEvent(HIDLANE_TAG_CTRL);
    ASSERT_TRUE(notice && answer);
    EXPECT_NE(notice->thread, answer->thread) << "each standing read has its own thread";
}

TEST_F(SimKeyboardTest, DroppedAnswersCarryOutTheirCommandButNeverArrive) {
    keyboard().dropAnswers(2);
    ASSERT_GT(writeFrame(commandFrame(1)), 0);
    ASSERT_GT(writeFrame(commandFrame(6, 1, 0, Bytes{0x05})), 0);
    const auto answer = transact(commandFrame(3, 44));
    ASSERT_TRUE(answer);
    EXPECT_EQ((*answer)[kCommandByte], 3) << "the dropped answers never come";
    EXPECT_EQ(keyboard().readMemory(SimArea::Settings, 0, 1), Bytes{0x05});
    EXPECT_EQ(keyboard().traceLines().size(), 4u) << "three requests, one answer traced";
}

TEST_F(SimKeyboardTest, ForcedStatusesAreAnsweredWithoutCarryingOutTheCommand) {
    ASSERT_EQ(answerStatus(commandFrame(1)), kStatusOk);
    for (std::uint8_t status : {kStatusBadFrame, kStatusRefused}) {
        keyboard().answerWithStatus(status, 2);
        const Report write = commandFrame(6, 1, 0, Bytes{0x07});
        for (int attempt = 0; attempt < 2; ++attempt) {
            const auto answer = transact(write);
            ASSERT_TRUE(answer);
            expectWellFormedAnswerTo(write, *answer);
            EXPECT_EQ((*answer)[kStatusByte], status);
            EXPECT_EQ(keyboard().readMemory(SimArea::Settings, 0, 1), Bytes{0x01});
        }
        EXPECT_EQ(answerStatus(write), kStatusOk) << "the third attempt goes through";
        EXPECT_EQ(keyboard().readMemory(SimArea::Settings, 0, 1), Bytes{0x07});
        keyboard().writeMemory(SimArea::Settings, 0, Bytes{0x01});
    }
}

TEST_F(SimKeyboardTest, AnAnswerCanCarryAnotherCommandByte) {
    keyboard().answerWithCommand(0x07, 1);
    const auto stray = transact(commandFrame(3, 44));
    ASSERT_TRUE(stray);
    EXPECT_EQ((*stray)[kCommandByte], 0x07);
    EXPECT_TRUE(hasValidChecksum(*stray));
    const auto next = transact(commandFrame(3, 44));
    ASSERT_TRUE(next);
    EXPECT_EQ((*next)[kCommandByte], 0x03);
}

TEST_F(SimKeyboardTest, ALateAnswerIsOvertakenByTheNextOne) {
    keyboard().delayAnswers(300ms, 1);
    ASSERT_GT(writeFrame(commandFrame(3, 44)), 0);
    ASSERT_GT(writeFrame(commandFrame(15, 56)), 0);
    const auto first = nextEvent(HIDLANE_TAG_CTRL);
    const auto second = nextEvent(HIDLANE_TAG_CTRL);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->bytes[kCommandByte], 15);
    EXPECT_EQ(second->bytes[kCommandByte], 3);
}

TEST_F(SimKeyboardTest, UnplugAndPlugAreCountEventsOnTheCommandRead) {
    ASSERT_EQ(answerStatus(commandFrame(1)), kStatusOk);
    keyboard().unplug();
    auto count = nextEvent(HIDLANE_TAG_CTRL);
    ASSERT_TRUE(count);
    EXPECT_EQ(count->kind, HIDLANE_EVENT_DEVICE_COUNT);
    EXPECT_EQ(count->lengthOrCount, 0u);
    EXPECT_TRUE(count->bytes.empty());
    EXPECT_EQ(deviceCount(), 0);
    EXPECT_EQ(writeFrame(commandFrame(3, 44)), 0);
    keyboard().pressBankKey();

    keyboard().plug();
    count = nextEvent(HIDLANE_TAG_CTRL);
    ASSERT_TRUE(count);
    EXPECT_EQ(count->kind, HIDLANE_EVENT_DEVICE_COUNT);
    EXPECT_EQ(count->lengthOrCount, 1u);
    EXPECT_EQ(deviceCount(), 1);
    EXPECT_EQ(answerStatus(commandFrame(6, 1, 0, Bytes{1})), kStatusRefused) << "unplugging ended the update";
    EXPECT_FALSE(nextEvent(HIDLANE_TAG_CONS, 0ms)) << "an unplugged keyboard sends no notices";
}

TEST_F(SimKeyboardTest, NoticesReachTheConsumerReadAsLittleEndianCodes) {
    const std::pair<std::function<void(SimKeyboard&)>, Bytes> cases[] = {
        {[](SimKeyboard& k) { k.pressBankKey(); }, {0xFF, 0x02}},
        {[](SimKeyboard& k) { k.changeLightingOnKeyboard(); }, {0x01, 0x04}},
        {[](SimKeyboard& k) { k.setIndicator(true); }, {0x11, 0x18}},
        {[](SimKeyboard& k) { k.setIndicator(false); }, {0x10, 0x18}},
    };
    for (const auto& [action, bytes] : cases) {
        action(keyboard());
        const auto notice = nextEvent(HIDLANE_TAG_CONS);
        ASSERT_TRUE(notice);
        EXPECT_EQ(notice->kind, HIDLANE_EVENT_DATA);
        EXPECT_EQ(notice->bytes, bytes);
    }
}

TEST_F(SimKeyboardTest, CallsWithAWrongCheckValueAreRefused) {
    const std::uint8_t word[2] = {0x05, 0x02};
    const Report frame = commandFrame(3, 44);
    const auto check = [](const HidSelector& s, HidlaneCallback cb, std::uint32_t tag, const std::uint8_t* p,
                          std::uint32_t n) { return hidlane_check_value(&s, cb, tag, p, n) + 1; };
    std::uint32_t unitId = 0;
    const std::pair<const char*, std::function<int()>> calls[] = {
        {"RequestGetDeviceCount", [&] { return RequestGetDeviceCount(&kCommandSelector, nullptr, 0, check(kCommandSelector, nullptr, 0, nullptr, 0), nullptr); }},
        {"RequestWriteOne", [&] { return RequestWriteOne(&kCommandSelector, nullptr, 0, frame.data(), 64, check(kCommandSelector, nullptr, 0, frame.data(), 64), nullptr); }},
        {"RequestWrite", [&] { return RequestWrite(&kCommandSelector, nullptr, 0, frame.data(), 64, check(kCommandSelector, nullptr, 0, frame.data(), 64), nullptr); }},
        {"RequestAsyncRead", [&] { return RequestAsyncRead(&kCommandSelector, recordToOtherLog, HIDLANE_TAG_CTRL, check(kCommandSelector, recordToOtherLog, HIDLANE_TAG_CTRL, nullptr, 0), &unitId); }},
        {"RequestStatusWrite", [&] { return RequestStatusWrite(&kStatusSelector, recordToMainLog, HIDLANE_TAG_DEL, word, 2, check(kStatusSelector, recordToMainLog, HIDLANE_TAG_DEL, word, 2), &unitId); }},
        {"RequestStatusGet", [&] { return RequestStatusGet(&kStatusSelector, recordToOtherLog, HIDLANE_TAG_DEL, check(kStatusSelector, recordToOtherLog, HIDLANE_TAG_DEL, nullptr, 0), &unitId); }},
        {"RequestStatusSetFeature", [&] { return RequestStatusSetFeature(&kCommandSelector, nullptr, 0, frame.data(), 64, check(kCommandSelector, nullptr, 0, frame.data(), 64), nullptr); }},
    };
    for (const auto& [name, call] : calls) {
        SCOPED_TRACE(name);
        EXPECT_EQ(call(), 0);
    }
    EXPECT_EQ(unitId, 0u);
    EXPECT_TRUE(keyboard().traceLines().empty()) << "no report reached the keyboard";
    EXPECT_TRUE(keyboard().statusWords().empty());
    EXPECT_FALSE(nextEvent(HIDLANE_TAG_CTRL, 50ms)) << "nothing was answered";
}

TEST_F(SimKeyboardTest, StatusWordsAreKeptAndTheLastCanBeAskedFor) {
    std::uint32_t previous = 0;
    for (std::uint8_t bank : {0x02, 0x03}) {
        const std::uint8_t word[2] = {0x05, bank};
        DeleteRequestFromUnitId(previous);
        std::uint32_t unitId = 0;
        const auto check = hidlane_check_value(&kStatusSelector, recordToMainLog, HIDLANE_TAG_DEL, word, 2);
        EXPECT_GT(RequestStatusWrite(&kStatusSelector, recordToMainLog, HIDLANE_TAG_DEL, word, 2, check, &unitId), 0);
        EXPECT_NE(unitId, 0u);
        EXPECT_NE(unitId, previous);
        previous = unitId;
    }
    using Word = std::array<std::uint8_t, 2>;
    EXPECT_EQ(keyboard().statusWords(), (std::vector<Word>{{0x05, 0x02}, {0x05, 0x03}}));

    std::uint32_t getId = 0;
    const auto check = hidlane_check_value(&kStatusSelector, recordToOtherLog, HIDLANE_TAG_DEL, nullptr, 0);
    ASSERT_GT(RequestStatusGet(&kStatusSelector, recordToOtherLog, HIDLANE_TAG_DEL, check, &getId), 0);
    const auto word = nextEvent(HIDLANE_TAG_DEL, 3s, recordToOtherLog);
    ASSERT_TRUE(word);
    EXPECT_EQ(word->bytes, (Bytes{0x05, 0x03}));
    EXPECT_TRUE(logHasNoEvents(recordToMainLog)) << "status writes call no callback";

    EXPECT_EQ(DeleteRequestFromUnitId(previous), 1);
    EXPECT_EQ(DeleteRequestFromUnitId(previous), 0);
    EXPECT_EQ(DeleteRequestFromUnitId(0), 0);
    EXPECT_EQ(DeleteRequestFromUnitId(getId), 1);
}

TEST_F(SimKeyboardTest, DeletedReadsAreNotCalledAgain) {
    const std::uint32_t secondRead = startRead(kCommandSelector, HIDLANE_TAG_CTRL, recordToOtherLog);
    ASSERT_NE(secondRead, 0u);
    EXPECT_EQ(DeleteRequestFromUnitId(commandRead_), 1);
    ASSERT_GT(writeFrame(commandFrame(3, 44)), 0);
    ASSERT_TRUE(nextEvent(HIDLANE_TAG_CTRL, 3s, recordToOtherLog)) << "the remaining read still gets answers";
    EXPECT_FALSE(nextEvent(HIDLANE_TAG_CTRL, 0ms));

    EXPECT_EQ(DeleteRequestFromHandle(recordToMainLog), 1) << "the consumer read";
    EXPECT_EQ(DeleteRequestFromHandle(recordToMainLog), 0);
    keyboard().pressBankKey();
    EXPECT_EQ(DeleteRequestFromHandle(recordToOtherLog), 1);
    EXPECT_TRUE(logHasNoEvents(recordToMainLog));
}

TEST_F(SimKeyboardTest, InitAgainChangesNothingAndOnlyFlagsZeroAreAccepted) {
    keyboard().writeMemory(SimArea::KeyColours, 0, Bytes{1, 2, 3});
    EXPECT_GT(Init(0), 0);
    EXPECT_EQ(keyboard().readMemory(SimArea::KeyColours, 0, 3), (Bytes{1, 2, 3}));
    EXPECT_EQ(Init(1), 0);
    EXPECT_EQ(Debug(2), 0);
    EXPECT_EQ(Debug(0), 2);
}

}  // namespace
}  // namespace quillmar::sim::test
