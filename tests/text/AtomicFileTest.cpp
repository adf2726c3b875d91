#include "text/AtomicFile.h"

#include "platform/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

namespace quillmar::text {
namespace {

using testing::readBytes;
using testing::TempFolder;
using testing::writeBytes;

mode_t permissions(const std::filesystem::path& file) {
    struct stat info {};
    ::stat(file.c_str(), &info);
    return info.st_mode & 07777;
}

TEST(AtomicFile, ReplacesContentAndKeepsPermissions) {
    TempFolder folder;
    const auto file = folder / "scheme.userd";
    writeBytes(file, "old content that is longer");
    ::chmod(file.c_str(), 0640);

    ASSERT_TRUE(writeFileAtomically(file, "new"));
    EXPECT_EQ(readBytes(file), "new");
    EXPECT_EQ(permissions(file), 0640u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(AtomicFile, FailsWithoutTouchingAnythingWhenTheFolderIsMissing) {
    TempFolder folder;
    EXPECT_FALSE(writeFileAtomically(folder / "missing" / "file", "x"));
    EXPECT_FALSE(std::filesystem::exists(folder / "missing"));
}

// A pid no process has: a child that has ended and been reaped.
long endedPid() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

std::string temporaryName(std::string_view target, long pid) {
    return "." + std::string(target) + "." + std::to_string(pid) + ".3.123456.tmp";
}

TEST(AtomicFile, TemporaryNamesTellTheirFileAndWriter) {
    const auto parsed = parseAtomicTemporaryName(".ktvl.ini.4242.0.987.tmp");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->target, "ktvl.ini");
    EXPECT_EQ(parsed->writerPid, 4242);
    for (const char* other : {"ktvl.ini.4242.0.987.tmp", ".ktvl.ini.4242.0.987", "..4242.0.987.tmp",
                              ".a.4242.0.tmp", ".a.4242.x.987.tmp", ".a.0.0.987.tmp", ".a.99999999999.0.1.tmp",
                              ".a.-5.0.1.tmp", ".tmp"})
        EXPECT_FALSE(parseAtomicTemporaryName(other)) << other;
}

// A save killed mid-write leaves its temporary; the next start removes it, in
// subfolders too, but keeps one whose writer still runs, other hidden files,
// and whatever a link points at.
TEST(AtomicFile, StaleTemporariesAreRemovedOnlyWhenTheirWriterHasGone) {
    TempFolder folder;
    const long ended = endedPid();
    const long running = ::getpid();
    std::filesystem::create_directories(folder / "Backups" / "2026-01-01");
    const auto stale = folder / temporaryName("$Profile0", ended);
    const auto staleBelow = folder / "Backups" / "2026-01-01" / temporaryName("ktvl.ini", ended);
    const auto busy = folder / temporaryName("ktvl.ini", running);
    const auto other = folder / ".hidden.tmp";
    const auto linked = folder / temporaryName("linked", ended);
    for (const auto& file : {stale, staleBelow, busy, other}) writeBytes(file, "x");
    std::filesystem::create_symlink(busy, linked);

    EXPECT_EQ(removeStaleTemporaries(folder.path()), 2u);
    EXPECT_FALSE(std::filesystem::exists(stale));
    EXPECT_FALSE(std::filesystem::exists(staleBelow));
    for (const auto& file : {busy, other, linked}) EXPECT_TRUE(std::filesystem::exists(file)) << file;
    EXPECT_EQ(removeStaleTemporaries(folder / "missing"), 0u);
}

TEST(AtomicFile, StaleTemporariesOfOneFileLeaveOtherFilesTemporaries) {
    TempFolder folder;
    const long ended = endedPid();
    const auto mine = folder / temporaryName("Quillmar_Orlenta.ini", ended);
    const auto others = folder / temporaryName("other.conf", ended);
    writeBytes(mine, "x");
    writeBytes(others, "x");

    EXPECT_EQ(removeStaleTemporariesOf(folder / "Quillmar_Orlenta.ini"), 1u);
    EXPECT_FALSE(std::filesystem::exists(mine));
    EXPECT_TRUE(std::filesystem::exists(others));
}

}  // namespace
}  // namespace quillmar::text
