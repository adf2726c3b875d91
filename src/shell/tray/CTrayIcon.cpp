#include "shell/tray/CTrayIcon.h"

#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QString>
#include <QTimer>

#include <string_view>

namespace quillmar::shell {
namespace {

struct MenuItem {
    int command;
    std::string_view textKey;
};

constexpr MenuItem kMenuItems[] = {
    {CTrayIcon::kCommandOpen, "MENU_11"},
    {CTrayIcon::kCommandAbout, "MENU_22"},
    {CTrayIcon::kCommandExit, "MENU_33"},
};

QString toQString(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

}  // namespace

CTrayIcon::CTrayIcon(const text::Texts& texts, std::filesystem::path skinFolder, QObject* parent)
    : CTrayIcon(texts, std::move(skinFolder), &QSystemTrayIcon::isSystemTrayAvailable, parent) {}

CTrayIcon::CTrayIcon(const text::Texts& texts, std::filesystem::path skinFolder,
                     TrayAvailable trayAvailable, QObject* parent)
    : QObject(parent),
      texts_(texts),
      skinFolder_(std::move(skinFolder)),
      trayAvailable_(std::move(trayAvailable)),
      tray_(std::make_unique<QSystemTrayIcon>()),
      menu_(std::make_unique<QMenu>()),
      trayCheck_(new QTimer(this)) {
    for (const MenuItem& item : kMenuItems) {
        QAction* action = menu_->addAction(QStringLiteral(" "));
        connect(action, &QAction::triggered, this, [this, command = item.command] {
            emit commandChosen(command);
        });
    }
    QAction* open = menu_->actions().front();
    QFont bold = open->font();
    bold.setBold(true);
    open->setFont(bold);
    menu_->setDefaultAction(open);
    connect(menu_.get(), &QMenu::aboutToShow, this, &CTrayIcon::refreshMenuTexts);
    tray_->setContextMenu(menu_.get());
    connect(tray_.get(), &QSystemTrayIcon::activated, this, &CTrayIcon::onActivated);
    connect(trayCheck_, &QTimer::timeout, this, &CTrayIcon::checkTray);
}

CTrayIcon::~CTrayIcon() {
    tray_->setContextMenu(nullptr);
}

bool CTrayIcon::CreateTrayIcon(const std::u16string& tip, int iconId) {
    tray_->setToolTip(toQString(tip.substr(0, kTipLength)));
    showIcon(iconId);
    wanted_ = true;
    trayWasAvailable_ = trayAvailable_();
    if (trayWasAvailable_) addToTray();
    trayCheck_->start(kTrayCheckMs);
    return present_;
}

void CTrayIcon::SetTrayIcon(int iconId) {
    // Worker threads ask too: the change is made on the icon's own thread, in
    // the order asked.
    QMetaObject::invokeMethod(this, [this, iconId] {
        if (iconId != currentIcon_.load()) showIcon(iconId);
    }, Qt::AutoConnection);
}

void CTrayIcon::RemoveTrayIcon() {
    wanted_ = false;
    trayCheck_->stop();
    if (!present_) return;
    tray_->hide();
    present_ = false;
}

QMenu& CTrayIcon::menu() {
    refreshMenuTexts();
    return *menu_;
}

void CTrayIcon::onActivated(QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::DoubleClick) emit commandChosen(kCommandOpen);
}

void CTrayIcon::checkTray() {
    const bool available = trayAvailable_();
    if (!wanted_ || available == trayWasAvailable_) return;
    trayWasAvailable_ = available;
    if (available) {
        // A tray that went away forgot its icons: add ours again.
        tray_->hide();
        addToTray();
    } else {
        present_ = false;
    }
    emit trayAvailabilityChanged(available);
}

// The language may have changed since the last opening: read the texts anew.
void CTrayIcon::refreshMenuTexts() {
    const QList<QAction*> actions = menu_->actions();
    for (std::size_t index = 0; index < std::size(kMenuItems); ++index) {
        actions[static_cast<qsizetype>(index)]->setText(
            toQString(texts_.text(kMenuItems[index].textKey, u" ")));
    }
}

void CTrayIcon::showIcon(int iconId) {
    const std::filesystem::path picture = skinFolder_ / ("tray" + std::to_string(iconId) + ".png");
    tray_->setIcon(QIcon(QString::fromStdString(picture.string())));
    currentIcon_.store(iconId);
}

void CTrayIcon::addToTray() {
    tray_->show();
    present_ = true;
}

}  // namespace quillmar::shell
