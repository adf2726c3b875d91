#pragma once

#include "text/Texts.h"

#include <QObject>
#include <QSystemTrayIcon>

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

class QMenu;

namespace quillmar::shell {

// The program's icon in the desktop's tray: shows whether a keyboard is
// present; a double click opens the main window; its menu offers Open, About
// and Exit. Talks to the main window only through its signals.
class CTrayIcon : public QObject {
    Q_OBJECT
public:
    static constexpr int kIconId = 140;
    static constexpr int kCommandOpen = 32771;
    static constexpr int kCommandAbout = 32773;
    static constexpr int kCommandExit = 32774;
    static constexpr int kTipLength = 127;
    // How often the tray's presence is checked, to add the icon again when
    // the tray comes back.
    static constexpr int kTrayCheckMs = 2000;

    using TrayAvailable = std::function<bool()>;

    // Icons are the pictures tray128.png, tray141.png and tray142.png in the
    // skin folder. Menu texts are read from `texts` each time the menu opens.
    CTrayIcon(const text::Texts& texts, std::filesystem::path skinFolder,
              QObject* parent = nullptr);
    // For tests: whether the desktop has a tray now.
    CTrayIcon(const text::Texts& texts, std::filesystem::path skinFolder,
              TrayAvailable trayAvailable, QObject* parent = nullptr);
    ~CTrayIcon() override;

    // Adds the icon with the tip (cut to 127 characters) and an icon number
    // (128, 141 or 142). False when the desktop has no tray: the window must
    // then stay reachable some other way. The icon is added once a tray
    // appears.
    bool CreateTrayIcon(const std::u16string& tip, int iconId);
    // Replaces the picture; does nothing when it is already shown. Callable
    // from any thread: changes reach the icon in the order they were asked.
    void SetTrayIcon(int iconId);
    void RemoveTrayIcon();

    bool isPresent() const { return present_; }
    int currentIcon() const { return currentIcon_.load(); }
    QSystemTrayIcon& systemTrayIcon() { return *tray_; }

    // The menu, with its texts as they read now.
    QMenu& menu();

public slots:
    // What the window does on each way of reaching the icon.
    void onActivated(QSystemTrayIcon::ActivationReason reason);
    // Adds the icon back when the tray has come back, and reports a tray that
    // has gone away.
    void checkTray();

signals:
    // A menu command or the double click; the number is the menu command.
    void commandChosen(int commandId);
    // The desktop's tray appeared (true) or went away (false) while the
    // icon is wanted.
    void trayAvailabilityChanged(bool available);

private:
    void refreshMenuTexts();
    void showIcon(int iconId);
    void addToTray();

    const text::Texts& texts_;
    std::filesystem::path skinFolder_;
    TrayAvailable trayAvailable_;
    std::unique_ptr<QSystemTrayIcon> tray_;
    std::unique_ptr<QMenu> menu_;
    class QTimer* trayCheck_ = nullptr;
    bool wanted_ = false;
    bool present_ = false;
    bool trayWasAvailable_ = false;
    std::atomic<int> currentIcon_{0};
};

}  // namespace quillmar::shell
