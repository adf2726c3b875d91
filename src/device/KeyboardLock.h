#pragma once

#include <filesystem>

namespace quillmar::device {

// The keyboard belongs to one operation at a time, across every program of
// the user: hold a KeyboardLock for the whole of a download, an import, a
// lighting write or a read-back, so the window in the tray and quillmarctl
// never interleave their transactions (nor take each other's answers).
//
// It is an exclusive flock on "Quillmar_Keyboard_0C45_7518" in the user's
// runtime folder, taken when the first guard of the process is made and
// given back when the last one goes. Guards nest on one thread; other threads
// of the process wait like other processes do. A process that dies gives the
// lock back with its file descriptors.
//
// When the runtime folder cannot be made or trusted the operation still goes
// ahead, serialised only within this process.
class KeyboardLock {
public:
    KeyboardLock();  // waits until the keyboard is free
    ~KeyboardLock();
    KeyboardLock(const KeyboardLock&) = delete;
    KeyboardLock& operator=(const KeyboardLock&) = delete;

    // False when only this process is kept out (no lock file).
    bool sharedWithOtherPrograms() const { return shared_; }

private:
    bool shared_ = false;
};

inline constexpr const char* kKeyboardLockName = "Quillmar_Keyboard_0C45_7518";

// The lock file: kKeyboardLockName in $XDG_RUNTIME_DIR (or the user's own
// folder in /tmp), read when the process's first guard is made.
std::filesystem::path keyboardLockFile();

}  // namespace quillmar::device
