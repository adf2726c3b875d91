#pragma once

#include <filesystem>

namespace quillmar::platform {

// The folders the program works in.
class Paths {
public:
    virtual ~Paths() = default;
    // The folder of the running executable: Skins/, Help/ and the HID service
    // libraries sit there.
    virtual std::filesystem::path programDirectory() const = 0;
    // The user's documents folder; not created when missing.
    virtual std::filesystem::path documentsFolder() const = 0;
    // Where per-user application settings live.
    virtual std::filesystem::path configFolder() const = 0;
    // Where per-session lock files and sockets live.
    virtual std::filesystem::path runtimeFolder() const = 0;
};

// Fixed folders for tests.
class FakePaths final : public Paths {
public:
    std::filesystem::path programDirectory() const override { return program; }
    std::filesystem::path documentsFolder() const override { return documents; }
    std::filesystem::path configFolder() const override { return config; }
    std::filesystem::path runtimeFolder() const override { return runtime; }

    std::filesystem::path program;
    std::filesystem::path documents;
    std::filesystem::path config;
    std::filesystem::path runtime;
};

}  // namespace quillmar::platform
