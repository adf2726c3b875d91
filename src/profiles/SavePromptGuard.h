#pragma once

namespace quillmar::profiles {

// Set while the save question of a profile switch is on screen, so that a
// switch asked for meanwhile goes ahead without asking again. Only the
// switch that asked clears it.
class SavePromptGuard {
public:
    class Hold {
    public:
        explicit Hold(SavePromptGuard& guard) : guard_(guard) { guard_.set_ = true; }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;
        ~Hold() { guard_.set_ = false; }

    private:
        SavePromptGuard& guard_;
    };

    bool isSet() const { return set_; }

private:
    bool set_ = false;
};

}  // namespace quillmar::profiles
