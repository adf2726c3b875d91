#include "device/HidServiceBinding.h"

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>

namespace quillmar::device {
namespace {

template <typename Entry>
bool resolve(void* library, const char* name, Entry& entry, std::string& error) {
    entry = reinterpret_cast<Entry>(dlsym(library, name));
    if (!entry && error.empty()) error = std::string("missing entry point ") + name;
    return entry != nullptr;
}

std::string resolveAll(void* library, HidService& s) {
    std::string error;
    resolve(library, "Debug", s.Debug, error);
    resolve(library, "Init", s.Init, error);
    resolve(library, "End", s.End, error);
    resolve(library, "RequestGetDeviceCount", s.RequestGetDeviceCount, error);
    resolve(library, "DeleteRequestFromUnitId", s.DeleteRequestFromUnitId, error);
    resolve(library, "DeleteRequestFromHandle", s.DeleteRequestFromHandle, error);
    resolve(library, "RequestWrite", s.RequestWrite, error);
    resolve(library, "RequestWriteOne", s.RequestWriteOne, error);
    resolve(library, "RequestStatusWrite", s.RequestStatusWrite, error);
    resolve(library, "RequestStatusGet", s.RequestStatusGet, error);
    resolve(library, "RequestAsyncRead", s.RequestAsyncRead, error);
    resolve(library, "RequestStatusSetFeature", s.RequestStatusSetFeature, error);
    return error;
}

}  // namespace

std::string programDirectory() {
    std::error_code ignored;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ignored);
    return exe.parent_path().string() + "/";
}

std::string hidlaneLibraryPath(std::string_view programDir, const char* override) {
    const std::string dir(programDir);
    if (!override || !*override) return dir + kHidlaneLibrary;
    if (std::string_view(override) == "sim") return dir + kHidlaneSimLibrary;
    return override;
}

HidServiceBinding tryBindHidService(const std::string& libraryPath) {
    HidServiceBinding binding;
    void* library = dlopen(libraryPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        const char* reason = dlerror();
        binding.error = "cannot load " + libraryPath + (reason ? std::string(": ") + reason : "");
        return binding;
    }
    binding.error = resolveAll(library, binding.service);
    if (!binding.ok()) {
        dlclose(library);
        binding.service = {};
        return binding;
    }
    if (binding.service.Init(0) <= 0) binding.error = "Init(0) failed";
    return binding;
}

HidService bindHidServiceOrExit() {
    const auto path =
        hidlaneLibraryPath(programDirectory(), std::getenv(kHidlaneEnvironmentVariable));
    auto binding = tryBindHidService(path);
    if (!binding.ok()) std::_Exit(0);
    return binding.service;
}

}  // namespace quillmar::device
