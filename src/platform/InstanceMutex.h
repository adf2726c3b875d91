#pragma once

namespace quillmar::platform {

// The system-wide object whose existence marks a running instance.
class InstanceMutex {
public:
    virtual ~InstanceMutex() = default;
    // True when another process holds the object (it exists); the handle then
    // stays open until close(). False when nobody does.
    virtual bool open() = 0;
    // Creates the object and holds it for this process; false on failure.
    virtual bool create() = 0;
    virtual void close() = 0;
};

}  // namespace quillmar::platform
