#include "platform/DetachedCompanionStarter.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

extern char** environ;

namespace quillmar::platform {
namespace {

class SpawnSettings {
public:
    SpawnSettings() {
        ::posix_spawn_file_actions_init(&actions_);
        ::posix_spawnattr_init(&attributes_);
        for (int stream : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
            ::posix_spawn_file_actions_addopen(&actions_, stream, "/dev/null",
                                               stream == STDIN_FILENO ? O_RDONLY : O_WRONLY, 0);
        }
        ::posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSID);
    }
    ~SpawnSettings() {
        ::posix_spawnattr_destroy(&attributes_);
        ::posix_spawn_file_actions_destroy(&actions_);
    }
    SpawnSettings(const SpawnSettings&) = delete;
    SpawnSettings& operator=(const SpawnSettings&) = delete;

    const posix_spawn_file_actions_t* actions() const { return &actions_; }
    const posix_spawnattr_t* attributes() const { return &attributes_; }

private:
    posix_spawn_file_actions_t actions_;
    posix_spawnattr_t attributes_;
};

}  // namespace

bool DetachedCompanionStarter::start(const std::filesystem::path& program) {
    if (::access(program.c_str(), X_OK) != 0) return false;
    const SpawnSettings settings;
    std::string file = program.string();
    char* arguments[] = {file.data(), nullptr};
    pid_t child = 0;
    if (::posix_spawn(&child, file.c_str(), settings.actions(), settings.attributes(), arguments,
                      environ) != 0) {
        return false;
    }
    // The companion runs for as long as it likes; a waiting thread collects
    // its exit status whenever that comes.
    std::thread([child] { ::waitpid(child, nullptr, 0); }).detach();
    return true;
}

}  // namespace quillmar::platform
