#include "shell/window/CQuillmarDlg.h"

#include "device/GKeyButtons.h"
#include "device/WindowMessages.h"
#include "keyboard/KeyButtons.h"
#include "keyboard/LayoutKeyList.h"
#include "text/IniFile.h"
#include "profiles/KtvlSettings.h"
#include "profiles/UserFolder.h"
#include "shell/QtPrompt.h"
#include "shell/skin/SkinPlacement.h"
#include "shell/skin/WindowSkin.h"
#include "shell/tray/CTrayIcon.h"
#include "shell/skin/SkinSurfaces.h"
#include "shell/widgets/CPngButton.h"
#include "shell/widgets/ControlId.h"
#include "shell/widgets/WindowMessageEvent.h"
#include "shell/widgets/CColourPickerButton.h"
#include "shell/widgets/CImageButton.h"
#include "shell/window/LightingPanelWindow.h"
#include "shell/window/MainSkinTable.h"
#include "text/StringTable.h"
#include "shell/window/MainWindowIds.h"
#include "shell/window/DownloadProgressBar.h"
#include "shell/window/WindowThreadPrompt.h"
#include "shell/window/QtText.h"

#include <QApplication>
#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QThread>
#include <QTimer>

#include <iostream>

namespace quillmar::shell {

using namespace main_window;

CQuillmarDlg::CQuillmarDlg(MainWindowSetup setup)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      setup_(std::move(setup)),
      texts_(setup_.texts),
      ownPrompt_(std::make_unique<QtPrompt>(this)),
      prompt_(std::make_unique<WindowThreadPrompt>(
          [this](const std::function<void()>& work) { runOnWindowThread(work); }, *ownPrompt_)),
      ownFileChooser_(std::make_unique<QtFileChooser>(this, setup_.userFolder, texts_)),
      fileChooser_(ownFileChooser_.get()),
      ownBackupChooser_(std::make_unique<QtBackupChooser>(this, texts_)),
      backupChooser_(ownBackupChooser_.get()) {
    setWindowTitle(toQString(texts_.text("MAIN_CAPTION", u"Gaming Keyboard Settings")));
    qApp->installEventFilter(this);
}

CQuillmarDlg::~CQuillmarDlg() {
    qApp->removeEventFilter(this);
    beginShutdown();
    lightingPanel_ = &defaultLightingPanel_;
    ownLightingPanel_.reset();
    link_.reset();
}

void CQuillmarDlg::setPrompt(platform::Prompt& prompt) { prompt_->setTarget(prompt); }

void CQuillmarDlg::setFileChooser(FileChooser& chooser) { fileChooser_ = &chooser; }

bool CQuillmarDlg::OnInitDialog(const device::HidService& service, device::LinkTiming timing) {
    link_ = std::make_unique<device::DeviceLink>(service, *this, *prompt_, texts_, timing);
    if (startHidden_) link_->presence().setAutoShowDone();
    link_->start();
    lighting_ = std::make_unique<lighting::LightingControl>(
        link_->commands(), profiles::KtvlSettings(profiles::UserFolder(setup_.userFolder).settingsFile()));
    const profiles::UserFolder userFolder(setup_.userFolder);
    keyColours_ = std::make_unique<lighting::KeyColours>(link_->commands(), userFolder,
                                                         setup_.programDirectory / "Skins" / "UserDengColor_3.userd");
    keyColours_->PrepareUserColourFiles();
    switching_ = std::make_unique<profiles::ProfileSwitching>(link_->commands(), setup_.configuration.working,
                                                              profileFile(), *lighting_, *this, *prompt_, texts_);

    if (!loadSkin()) return false;
    createControls();
    placeControls();
    createLightingPanel();
    createUndoControls();
    device::relabelGKeyButtons(*this, device::GKeyBank::A);
    applyFlipMode();
    disableApply();
    showBusyIndicator(false);

    setWindowIcon(QIcon(QString::fromStdString((setup_.programDirectory / "Skins" / "app.png").string())));
    setWindowFlag(Qt::Tool, true);
    postMessage(device::kMessageInit, device::kTagInit, 0);
    refreshWindowTexts();
    startTimer(kTimerPreview, kPreviewFirstDelayMs);
    return true;
}

bool CQuillmarDlg::loadSkin() {
    const std::filesystem::path skinFile = mainSkinFile();
    const std::filesystem::path skinFolder = skinFile.parent_path();
    ApplyWindowSkin(*this, skinFile);
    surfaces_ = std::make_unique<SkinSurfaces>(setup_.programDirectory, size());
    const auto pictures = requiredMainPictures();
    if (!surfaces_->load(pictures)) {
        // The program still ends quietly; this line lets a broken install be told apart.
        std::cerr << "quillmar: cannot read the skin picture "
                  << (setup_.programDirectory / surfaces_->failedPicture()).string() << '\n';
        return false;
    }
    const auto extraKeys = extraKeyPictures();
    surfaces_->load(extraKeys);
    for (int frame = 1; frame <= kBusyIndicatorFrames; ++frame) {
        const auto file = skinFolder / ("jdt" + std::to_string(frame) + ".bmp");
        busyFrames_.emplace_back(QString::fromStdString(file.string()));
    }
    return true;
}

void CQuillmarDlg::createControls() {
    const auto add = [this](QWidget* widget, int id) {
        setControlId(*widget, id);
        controls_[id] = widget;
    };
    const auto addButton = [this, &add](int id) {
        auto* button = new CPngButton(id, this);
        // Skinned faces have no focus look; the keyboard never clicks them.
        button->setFocusPolicy(Qt::NoFocus);
        add(button, id);
        connect(button, &QPushButton::clicked, this, [this, id] { OnCommand(id); });
        return button;
    };
    for (const SkinnedControl& control : mainSkinnedControls()) addButton(control.id);
    for (const ArrowControl& arrow : flipArrows()) addButton(arrow.id);
    for (int i = 0; i < kExtraKeyCount; ++i) addButton(kFirstExtraKey + i)->hide();
    for (const PlacedControl& control : lightingPanelControls()) {
        QWidget* widget = nullptr;
        if (control.id == kBusyIndicator) {
            busyIndicator_ = new QLabel(this);
            widget = busyIndicator_;
            downloadProgress_ = new DownloadProgressBar(this);
            downloadProgress_->hide();
        } else {
            widget = LightingPanelWindow::createControl(control.id, this);
        }
        add(widget, control.id);
        const int id = control.id;
        if (auto* colour = qobject_cast<CColourPickerButton*>(widget))
            connect(colour, &CColourPickerButton::colourChosen, this, [this, id] { OnCommand(id); });
        if (auto* image = qobject_cast<CImageButton*>(widget))
            connect(image, &CImageButton::clicked, this, [this, id] { OnCommand(id); });
        if (auto* list = qobject_cast<QComboBox*>(widget))
            connect(list, &QComboBox::activated, this, [this, id] { OnCommand(id); });
    }
}

void CQuillmarDlg::createLightingPanel() {
    if (lightingPanel_ != &defaultLightingPanel_) return;
    const auto* table = dynamic_cast<const text::StringTable*>(&texts_);
    const int language = table && table->ChooseLanguageSection() == "CHINESE" ? 0 : 1;
    LightingPanelSetup panelSetup{[this](int id) { return control(id); },
                                  [this](int id) { return button(id); },
                                  mainSkinFile(),
                                  language,
                                  texts_,
                                  [this] { return switching_->switchProfile(currentProfile()) == 1; },
                                  [this] { refreshKeyButtons(currentProfile()); },
                                  [this](profiles::EditKind kind, const std::function<void()>& action) {
                                      profiles::recordPanelEdit(history_, kind, *lighting_, *keyColours_,
                                                                profiles::UserFolder(setup_.userFolder), action);
                                  }};
    ownLightingPanel_ = std::make_unique<LightingPanelWindow>(std::move(panelSetup), *lighting_, *keyColours_);
    lightingPanel_ = ownLightingPanel_.get();
}

void CQuillmarDlg::placeControls() {
    const std::filesystem::path skinFile = mainSkinFile();
    for (const SkinnedControl& control : mainSkinnedControls()) {
        CPngButton& face = *button(control.id);
        PlaceSkinnedButton(face, skinFile, kButtonSection, control.skinKey,
                           surfaces_->buttonSurfaces(picturesOf(control.faces)));
        face.setColourKeySurfaces(surfaces_->surface("Skins/main_color0.jpg"), surfaces_->surface("Skins/main_color1.jpg"));
    }
    for (const PlacedControl& control : lightingPanelControls()) {
        QWidget* widget = controls_.at(control.id);
        PlaceControl(*widget, skinFile, kButtonSection, control.skinKey);
        // The lighting panel's own code shows its controls.
        if (control.id != kBusyIndicator) widget->hide();
    }
    // The download's progress sits under the busy indicator.
    if (busyIndicator_ && downloadProgress_) {
        constexpr int kProgressWidth = 120;
        constexpr int kProgressHeight = 16;
        const QRect indicator = busyIndicator_->geometry();
        downloadProgress_->setGeometry(indicator.center().x() - kProgressWidth / 2, indicator.bottom() + 4,
                                       kProgressWidth, kProgressHeight);
    }
    CaptionStyle captionStyle;
    captionStyle.fontFace = QStringLiteral("Tahoma");
    captionStyle.colour = Qt::white;
    for (int id : {kFirstProfileButton, kFirstProfileButton + 1, kFirstProfileButton + 2, kMacroEdit,
                   kRestoreDefaults, kOk, kCancel, kApply, kSwitch, kProfileDialogButton}) {
        button(id)->setCaptionStyle(captionStyle);
    }
    CaptionStyle gKeyStyle = captionStyle;
    gKeyStyle.colour = QColor(0xE4, 0xE4, 0xE4);
    for (int id : keyboard::kGKeyList) button(id)->setCaptionStyle(gKeyStyle);
    CaptionStyle versionStyle = gKeyStyle;
    versionStyle.fontFace = QStringLiteral("Verdana");
    versionStyle.pointSize = 8;
    versionStyle.textFormat = text_format::kVerticalCentre | text_format::kSingleLine;
    button(kVersion)->setCaptionStyle(versionStyle);
}

void CQuillmarDlg::refreshWindowTexts() {
    struct Caption {
        const char* key;
        int id;
    };
    static constexpr Caption kCaptions[] = {
        {"PROFILE_1", kFirstProfileButton}, {"PROFILE_2", kFirstProfileButton + 1},
        {"PROFILE_3", kFirstProfileButton + 2}, {"PROFILE_MACRO", kMacroEdit},
        {"PROFILE_DEFAULT", kRestoreDefaults}, {"PROFILE_OK", kOk},
        {"PROFILE_CANCLE", kCancel}, {"PROFILE_APPLY", kApply},
    };
    for (const Caption& caption : kCaptions) button(caption.id)->setText(toQString(texts_.text(caption.key, u" ")));
    static constexpr Caption kTooltips[] = {
        {"MAIN_HELP_PROMPT", kHelp}, {"MAIN_MINIMIZE_PROMPT", kMinimise},
        {"MAIN_MENU_PROMPT", kButtonMenu}, {"MAIN_CLOSE_PROMPT", kClose},
    };
    for (const Caption& tooltip : kTooltips) button(tooltip.id)->setToolTipText(toQString(texts_.text(tooltip.key, u" ")));
    button(kSwitch)->setText(toQString(texts_.text("MAIN_SWITCH_FUNCTION_TEXT", u"Switch to the color keys mode")));
    button(kVersion)->setText(toQString(texts_.text("MAIN_BUTTON_KORVEL_VER", u"")));
    button(kLink)->setToolTipText(webAddress());
}

QWidget* CQuillmarDlg::control(int id) const {
    const auto found = controls_.find(id);
    return found == controls_.end() ? nullptr : found->second;
}

CPngButton* CQuillmarDlg::button(int id) const { return qobject_cast<CPngButton*>(control(id)); }

bool CQuillmarDlg::isApplyEnabled() const {
    const CPngButton* apply = button(kApply);
    return apply && apply->isEnabled();
}

void CQuillmarDlg::markChanged() {
    if (CPngButton* apply = button(kApply)) apply->setEnabled(true);
}

void CQuillmarDlg::disableApply() {
    if (CPngButton* apply = button(kApply)) apply->setEnabled(false);
}

// ---- Threads: the device link's sends and posts --------------------------

bool CQuillmarDlg::onWindowThread() const { return QThread::currentThread() == thread(); }

void CQuillmarDlg::runOnWindowThread(const std::function<void()>& work) {
    if (onWindowThread()) {
        work();
        return;
    }
    if (shuttingDown_.load()) return;
    auto finished = std::make_shared<bool>(false);
    QMetaObject::invokeMethod(
        this,
        [this, &work, finished] {
            if (!shuttingDown_.load()) work();
            std::lock_guard lock(sendMutex_);
            *finished = true;
            sendFinished_.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock lock(sendMutex_);
    sendFinished_.wait(lock, [this, &finished] { return *finished || shuttingDown_.load(); });
}

void CQuillmarDlg::queueOnWindowThread(std::function<void()> work) {
    QMetaObject::invokeMethod(this, std::move(work), Qt::QueuedConnection);
}

void CQuillmarDlg::beginShutdown() {
    {
        std::lock_guard lock(sendMutex_);
        shuttingDown_.store(true);
    }
    sendFinished_.notify_all();
    if (link_) link_->presence().stop();
}

void CQuillmarDlg::sendMessage(std::uint32_t message, std::uint32_t wParam, std::uint32_t lParam) {
    runOnWindowThread([this, message, wParam, lParam] { SendWindowMessage(message, wParam, lParam); });
}

void CQuillmarDlg::postMessage(std::uint32_t message, std::uint32_t wParam, std::uint32_t lParam) {
    postWindowMessage(*this, message, wParam, lParam);
}

void CQuillmarDlg::hide() {
    if (onWindowThread()) {
        QWidget::hide();
        return;
    }
    queueOnWindowThread([this] { QWidget::hide(); });
}

void CQuillmarDlg::setTrayIcon(int iconId) {
    if (onWindowThread()) {
        if (trayIcon_) trayIcon_->SetTrayIcon(iconId);
        return;
    }
    queueOnWindowThread([this, iconId] { setTrayIcon(iconId); });
}

void CQuillmarDlg::setButtonText(int controlId, const std::u16string& text) {
    queueOnWindowThread([this, controlId, text] {
        if (CPngButton* face = button(controlId)) face->setText(toQString(text));
    });
}

void CQuillmarDlg::setButtonStateImages(int controlId, const std::array<std::string, 5>& pictures) {
    queueOnWindowThread([this, controlId, pictures] {
        if (CPngButton* face = button(controlId)) face->setSurfaces(surfaces_->buttonSurfaces(pictures));
        surfaces_->release();
    });
}

void CQuillmarDlg::startTimer(int timerId, int periodMs) {
    if (!onWindowThread()) {
        queueOnWindowThread([this, timerId, periodMs] { startTimer(timerId, periodMs); });
        return;
    }
    QTimer*& timer = timers_[timerId];
    if (!timer) {
        timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [this, timerId] { OnTimer(timerId); });
    }
    timer->start(periodMs);
}

void CQuillmarDlg::stopTimer(int timerId) {
    if (const auto found = timers_.find(timerId); found != timers_.end()) found->second->stop();
}

bool CQuillmarDlg::isTimerActive(int timerId) const {
    const auto found = timers_.find(timerId);
    return found != timers_.end() && found->second->isActive();
}

// ---- Routing ----------------------------------------------------------------

bool CQuillmarDlg::SendWindowMessage(std::uint32_t message, std::uint32_t wParam, std::uint32_t lParam) {
    return messageMap().dispatchMessage(*this, message, wParam, lParam);
}

bool CQuillmarDlg::OnCommand(int id) { return messageMap().dispatchCommand(*this, id); }

bool CQuillmarDlg::OnTimer(int timerId) { return messageMap().dispatchTimer(*this, timerId); }

bool CQuillmarDlg::event(QEvent* event) {
    if (event->type() == WindowMessageEvent::eventType()) {
        const auto* message = static_cast<WindowMessageEvent*>(event);
        SendWindowMessage(message->message(), message->wParam(), message->lParam());
        return true;
    }
    return QWidget::event(event);
}

std::filesystem::path CQuillmarDlg::mainSkinFile() const { return setup_.programDirectory / "Skins" / "Main.ini"; }

QString CQuillmarDlg::webAddress() const {
    return QString::fromStdString(text::readIniString(mainSkinFile(), kScreenSection, "Link", ""));
}

}  // namespace quillmar::shell
