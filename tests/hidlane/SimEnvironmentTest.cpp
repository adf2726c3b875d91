// What the simulated keyboard takes from its environment: the state file, the
// trace file, the control FIFO and the unplugged start; and the shared library.
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "SimTestSupport.h"
#include "hidlane/sim/SimStateFile.h"

namespace quillmar::sim::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::string fileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

using SimEnvironmentTest = SimLibraryTest;

TEST_F(SimEnvironmentTest, EndUpdateAndWriteDeviceInfoSaveTheMemoryForTheNextStart) {
    startLibrary();
    ASSERT_EQ(answerStatus(commandFrame(1)), kStatusOk);
    ASSERT_EQ(answerStatus(commandFrame(6, 1, 0, Bytes{0x03})), kStatusOk);
    EXPECT_FALSE(std::filesystem::exists(statePath())) << "nothing is saved inside an update";
    ASSERT_EQ(answerStatus(commandFrame(2)), kStatusOk);
    auto saved = loadSimState(statePath());
    ASSERT_TRUE(saved);
    EXPECT_TRUE(*saved == keyboard().memory());

    Bytes info = keyboard().readMemory(SimArea::DeviceInfo);
    info[kActiveProfileByte] = 1;
    ASSERT_EQ(answerStatus(commandFrame(4, 44, 0, info)), kStatusOk);
    saved = loadSimState(statePath());
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->deviceInfo[kActiveProfileByte], 1);

    End();
    keyboard().resetToFactory();
    startLibrary();
    const auto settings = transact(commandFrame(5, 1, 0));
    ASSERT_TRUE(settings);
    EXPECT_EQ((*settings)[8], 0x03);
    EXPECT_EQ(keyboard().readMemory(SimArea::DeviceInfo, kActiveProfileByte, 1), Bytes{1});
}

TEST_F(SimEnvironmentTest, ADamagedStateFileStartsAFactoryKeyboard) {
    std::filesystem::create_directories(statePath().parent_path());
    Bytes damaged = serializeSimState(factorySimMemory());
    damaged[8 + kActiveProfileByte] = 2;
    damaged.pop_back();
    std::ofstream(statePath(), std::ios::binary).write(reinterpret_cast<const char*>(damaged.data()),
                                                       static_cast<std::streamsize>(damaged.size()));
    keyboard().writeMemory(SimArea::KeyColours, 0, Bytes{9});
    startLibrary();
    EXPECT_TRUE(keyboard().memory() == factorySimMemory());
}

TEST_F(SimEnvironmentTest, TheTraceFileHasOneLinePerReport) {
    const auto tracePath = folder_.path() / "trace.txt";
    ::setenv("QUILLMAR_SIM_TRACE", tracePath.c_str(), 1);
    startLibrary();
    ASSERT_EQ(answerStatus(commandFrame(1)), kStatusOk);
    keyboard().dropAnswers(1);
    ASSERT_GT(writeFrame(commandFrame(2)), 0);
    keyboard().setIndicator(true);
    keyboard().unplug();
    ASSERT_TRUE(nextEvent(HIDLANE_TAG_CONS));
    End();

    std::string zeros;
    for (int i = 0; i < 59; ++i) zeros += " 00";
    const std::string expected = "> 04 01 00 01 00" + zeros + "\n" +
                                 "< 04 01 00 01 00" + zeros + "\n" +
                                 "> 04 02 00 02 00" + zeros + "\n" +
                                 "! CONS 1811\n"
                                 "= count 0\n";
    EXPECT_EQ(fileText(tracePath), expected);
}

class FifoWriter {
public:
    explicit FifoWriter(const std::filesystem::path& fifo) : fd_(::open(fifo.c_str(), O_WRONLY | O_CLOEXEC)) {}
    ~FifoWriter() {
        if (fd_ >= 0) ::close(fd_);
    }
    bool write(std::string_view text) const { return ::write(fd_, text.data(), text.size()) == static_cast<ssize_t>(text.size()); }

private:
    int fd_;
};

TEST_F(SimEnvironmentTest, ControlLinesFromTheFifoDriveTheKeyboard) {
    const auto fifo = folder_.path() / "control";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ::setenv("QUILLMAR_SIM_CONTROL", fifo.c_str(), 1);
    startLibrary();
    ASSERT_TRUE(FifoWriter(fifo).write("bank\nno such command\nlighting-changed\n  indicator on \n"));
    for (std::uint8_t high : {0x02, 0x04, 0x18}) {
        const auto notice = nextEvent(HIDLANE_TAG_CONS);
        ASSERT_TRUE(notice);
        EXPECT_EQ(notice->bytes.at(1), high);
    }
    {
        FifoWriter second(fifo);  // a new writer after the first one closed
        ASSERT_TRUE(second.write("indicator off\r\nunplug\n"));
    }
    const auto off = nextEvent(HIDLANE_TAG_CONS);
    ASSERT_TRUE(off);
    EXPECT_EQ(off->bytes, (Bytes{0x10, 0x18}));
    const auto count = nextEvent(HIDLANE_TAG_CTRL);
    ASSERT_TRUE(count);
    EXPECT_EQ(count->kind, HIDLANE_EVENT_DEVICE_COUNT);
    EXPECT_EQ(count->lengthOrCount, 0u);
    ASSERT_TRUE(FifoWriter(fifo).write("plug\n"));
    ASSERT_TRUE(nextEvent(HIDLANE_TAG_CTRL));
    EXPECT_EQ(deviceCount(), 1);
}

TEST_F(SimEnvironmentTest, AnUnpluggedStartHasNoKeyboardUntilPlugged) {
    ::setenv("QUILLMAR_SIM_UNPLUGGED", "1", 1);
    startLibrary();
    EXPECT_EQ(deviceCount(), 0);
    EXPECT_EQ(writeFrame(commandFrame(3, 44)), 0);
    keyboard().plug();
    const auto count = nextEvent(HIDLANE_TAG_CTRL);
    ASSERT_TRUE(count);
    EXPECT_EQ(count->lengthOrCount, 1u);
    EXPECT_EQ(answerStatus(commandFrame(3, 44)), kStatusOk);
}

TEST_F(SimEnvironmentTest, CorruptedWritesCanBeAskedForAtTheStart) {
    ::setenv("QUILLMAR_SIM_CORRUPT_WRITES", "1", 1);
    startLibrary();
    const Bytes keys(56, 0x07);
    ASSERT_EQ(answerStatus(commandFrame(1)), kStatusOk);
    EXPECT_EQ(answerStatus(commandFrame(8, 56, 0, keys)), kStatusOk);
    EXPECT_EQ(answerStatus(commandFrame(8, 56, 56, keys)), kStatusOk);
    EXPECT_EQ(keyboard().readMemory(SimArea::KeyBlocks, 55, 2), (Bytes{0x06, 0x07}));
}

TEST_F(SimEnvironmentTest, TheSharedLibraryExportsTheEntryPointsOnly) {
    // Kept loaded, as the program keeps it: its keyboard lives for the process.
    void* library = ::dlopen(HIDLANE_SIM_LIBRARY, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    ASSERT_NE(library, nullptr) << ::dlerror();
    for (const char* name : {"Debug", "Init", "End", "RequestGetDeviceCount", "DeleteRequestFromUnitId",
                             "DeleteRequestFromHandle", "RequestWrite", "RequestWriteOne", "RequestStatusWrite",
                             "RequestStatusGet", "RequestAsyncRead", "RequestStatusSetFeature"})
        EXPECT_NE(::dlsym(library, name), nullptr) << name;
    EXPECT_EQ(::dlsym(library, "_ZN8quillmar3sim17sharedSimKeyboardEv"), nullptr);

    auto init = reinterpret_cast<int (*)(int)>(::dlsym(library, "Init"));
    auto end = reinterpret_cast<int (*)()>(::dlsym(library, "End"));
    auto count = reinterpret_cast<decltype(&RequestGetDeviceCount)>(::dlsym(library, "RequestGetDeviceCount"));
    ASSERT_TRUE(init && end && count);
    EXPECT_GT(init(0), 0);
    EXPECT_EQ(count(&kCommandSelector, nullptr, 0, hidlane_check_value(&kCommandSelector, nullptr, 0, nullptr, 0),
                    nullptr),
              1);
    EXPECT_EQ(end(), 1);
    ::dlclose(library);
}

}  // namespace
}  // namespace quillmar::sim::test
