#include "device/HidServiceBinding.h"

#include <gtest/gtest.h>

namespace quillmar::device {
namespace {

TEST(HidServiceBinding, LibraryFileFollowsTheOverride) {
    EXPECT_EQ(hidlaneLibraryPath("/opt/q/", nullptr), "/opt/q/libhidlane.so");
    EXPECT_EQ(hidlaneLibraryPath("/opt/q/", ""), "/opt/q/libhidlane.so");
    EXPECT_EQ(hidlaneLibraryPath("/opt/q/", "sim"), "/opt/q/libhidlane-sim.so");
    EXPECT_EQ(hidlaneLibraryPath("/opt/q/", "/tmp/other.so"), "/tmp/other.so");
}

TEST(HidServiceBinding, ProgramDirectoryHoldsTheTestItself) {
    const auto dir = programDirectory();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.back(), '/');
    EXPECT_EQ(hidlaneLibraryPath(dir, nullptr), dir + "libhidlane.so");
}

TEST(HidServiceBinding, CompleteLibraryIsBoundAndStarted) {
    const auto binding = tryBindHidService(programDirectory() + "libstub_hidlane_ok.so");
    ASSERT_TRUE(binding.ok()) << binding.error;
    EXPECT_EQ(binding.service.Debug(7), 7);
    EXPECT_EQ(binding.service.DeleteRequestFromUnitId(3), 1);
    EXPECT_NE(binding.service.RequestStatusSetFeature, nullptr);
}

TEST(HidServiceBinding, EveryFailureIsReported) {
    const auto dir = programDirectory();
    EXPECT_NE(tryBindHidService(dir + "libno_such_hidlane.so").error, "");
    EXPECT_EQ(tryBindHidService(dir + "libstub_hidlane_no_end.so").error,
              "missing entry point End");
    EXPECT_EQ(tryBindHidService(dir + "libstub_hidlane_init_fails.so").error, "Init(0) failed");
}

}  // namespace
}  // namespace quillmar::device
