#pragma once

namespace quillmar::shell {

// What the main window asks of its profile dialog: run it on the profile
// button, and whether it is open with unapplied changes. The window's own
// default has no dialog.
class ProfileDialogHooks {
public:
    virtual ~ProfileDialogHooks() = default;
    virtual void run() {}
    virtual bool isOpen() const { return false; }
    virtual bool isApplyEnabled() const { return false; }
    // Checks the profile's row, as a switch from elsewhere made it active.
    virtual void showProfile(int /*profile*/) {}
};

}  // namespace quillmar::shell
