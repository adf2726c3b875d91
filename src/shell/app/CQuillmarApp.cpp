#include "shell/app/CQuillmarApp.h"

#include "shell/app/FirstPaintNotice.h"

#include "device/HidServiceBinding.h"
#include "hidlane/hidraw/Doctor.h"
#include "platform/DetachedCompanionStarter.h"
#include "platform/InstanceListener.h"
#include "platform/SocketInstanceSignal.h"
#include "platform/StartupArbitration.h"
#include "profiles/UserFolder.h"
#include "shell/dialogs/CQuillmar_DlgProfile.h"
#include "shell/dialogs/Quillmar_DlgComposite.h"
#include "shell/window/CQuillmarDlg.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <utility>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace quillmar::shell {
namespace {

constexpr int kWaitingRequestPollMs = 50;

std::filesystem::path runningExecutable() {
    std::error_code error;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path("quillmar") : path;
}

}  // namespace

CQuillmarApp::CQuillmarApp(std::vector<std::string> arguments)
    : settings_(folders_),
      paths_(platform::ApplicationPaths::fromExecutable(runningExecutable())),
      texts_(paths_.languageFile),
      options_(platform::ReadStartOptions(arguments)),
      mutex_(folders_.runtimeFolder()) {
    texts_.LoadStringTable();
}

CQuillmarApp::~CQuillmarApp() = default;

int CQuillmarApp::run() {
    if (!arbitrateStartup()) return 0;
    // Listening from here on, a second start during this one's start-up
    // finds the window instead of giving up.
    listenForOtherInstances();
    if (!initialiseWindow()) return 0;
    QObject::connect(window_.get(), &CQuillmarDlg::modalRunEnded, [this] { shutdown(); });
    return QApplication::exec();
}

bool CQuillmarApp::arbitrateStartup() {
    platform::SocketInstanceSignal signal(folders_.runtimeFolder());
    platform::DetachedCompanionStarter companion;
    const platform::StartupOutcome outcome =
        platform::ArbitrateStartup(options_, paths_, {mutex_, signal, companion});
    return outcome.goOn;
}

bool CQuillmarApp::initialiseWindow() {
    const profiles::UserFolder userFolder(folders_);
    window_ = std::make_unique<CQuillmarDlg>(
        MainWindowSetup{paths_.programDirectory, userFolder.path(), texts_, settings_, configuration_});
    if (options_.startHidden) window_->setStartHidden();
    FirstPaintNotice::watchIfAsked(*window_);
    attachCompositeDialog(*window_, {paths_.programDirectory, texts_, settings_, configuration_.working, clock_});
    attachProfileDialog(*window_, {paths_.programDirectory, userFolder.path(), texts_});
    // Only the library for the real keyboard can be kept from it by the system's access rights.
    const std::string library = device::hidlaneLibraryPath(paths_.programDirectory.string(), std::getenv(device::kHidlaneEnvironmentVariable));
    if (std::filesystem::path(library).filename() == "libhidlane.so")
        window_->setKeyboardAccessCheck([] { return hidraw::keyboardPresentButClosed(); });
    if (!window_->OnInitDialog(device::bindHidServiceOrExit())) return false;
    events_.create();
    return true;
}

// Another start of the program asks this window to show itself or to close.
void CQuillmarApp::listenForOtherInstances() {
    listener_ = platform::InstanceListener::listen(
        folders_.runtimeFolder(), static_cast<int>(::getpid()), [this](const platform::InstanceMessage& message) {
            if (platform::isInstanceRequest(message)) deliverWhenReady(message);
        });
    if (!listener_) return;
    listenerNotifier_ = std::make_unique<QSocketNotifier>(listener_->fd(), QSocketNotifier::Read);
    QObject::connect(listenerNotifier_.get(), &QSocketNotifier::activated, [this] {
        if (listener_) listener_->acceptOne();
    });
}

void CQuillmarApp::deliverWhenReady(const platform::InstanceMessage& message) {
    if (window_ && window_->isInitialised() && waitingRequests_.empty()) {
        window_->SendWindowMessage(message.message, message.wParam, message.lParam);
        return;
    }
    waitingRequests_.push_back(message);
    if (!waitingRequestsTimer_) {
        waitingRequestsTimer_ = std::make_unique<QTimer>();
        QObject::connect(waitingRequestsTimer_.get(), &QTimer::timeout, [this] { deliverWaitingRequests(); });
    }
    waitingRequestsTimer_->start(kWaitingRequestPollMs);
}

void CQuillmarApp::deliverWaitingRequests() {
    if (!window_ || !window_->isInitialised()) return;
    waitingRequestsTimer_->stop();
    const auto requests = std::exchange(waitingRequests_, {});
    for (const auto& message : requests) window_->SendWindowMessage(message.message, message.wParam, message.lParam);
}

void CQuillmarApp::shutdown() {
    mutex_.close();
    events_.close();
    // A close request arrives through the notifier: it must outlive its signal.
    if (listenerNotifier_) listenerNotifier_->setEnabled(false);
    if (waitingRequestsTimer_) waitingRequestsTimer_->stop();
    QApplication::quit();
}

}  // namespace quillmar::shell
