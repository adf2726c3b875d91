#include "KeyboardSession.h"

#include "device/HidServiceBinding.h"

#include <cstdlib>

namespace quillmar::ctl {

namespace {

std::string libraryPathFor(const std::string& device) {
    const std::string programDir = device::programDirectory();
    if (device.empty()) {
        return device::hidlaneLibraryPath(programDir,
                                          std::getenv(device::kHidlaneEnvironmentVariable));
    }
    return device::hidlaneLibraryPath(programDir, device.c_str());
}

}  // namespace

KeyboardSession::KeyboardSession(const device::HidService& service) : service_(service) {}

std::unique_ptr<KeyboardSession> KeyboardSession::open(const std::string& device,
                                                       ConsoleWindow::MessageHandler onMessage,
                                                       std::string& error) {
    const device::HidServiceBinding binding = device::tryBindHidService(libraryPathFor(device));
    if (!binding.ok()) {
        error = binding.error;
        return nullptr;
    }
    std::unique_ptr<KeyboardSession> session(new KeyboardSession(binding.service));
    session->window_.setHandler(std::move(onMessage));
    session->link_ = std::make_unique<device::DeviceLink>(session->service_, session->window_,
                                                          session->prompt_, session->texts_);
    const int count = session->link_->start();
    session->link_->waitForWorkers();
    if (count <= 0) {
        error = "no keyboard attached";
        return nullptr;
    }
    return session;
}

KeyboardSession::~KeyboardSession() {
    // Stop the library's threads before the link they call back goes away.
    if (service_.End) service_.End();
    if (link_) link_->waitForWorkers();
}

}  // namespace quillmar::ctl
