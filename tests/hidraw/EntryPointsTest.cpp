#include <dlfcn.h>
#include <gtest/gtest.h>

// The program resolves all twelve entry points by name; a missing one ends it.
TEST(HidlaneLibrary, ExportsAllTwelveEntryPoints) {
    void* library = dlopen("./libhidlane.so", RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    for (const char* name : {"Debug", "Init", "End", "RequestGetDeviceCount", "DeleteRequestFromUnitId",
                             "DeleteRequestFromHandle", "RequestWrite", "RequestWriteOne", "RequestStatusWrite",
                             "RequestStatusGet", "RequestAsyncRead", "RequestStatusSetFeature"})
        EXPECT_NE(dlsym(library, name), nullptr) << name;
    auto debug = reinterpret_cast<int (*)(int)>(dlsym(library, "Debug"));
    ASSERT_NE(debug, nullptr);
    EXPECT_EQ(debug(2), 0);
    EXPECT_EQ(debug(0), 2);
    dlclose(library);
}
