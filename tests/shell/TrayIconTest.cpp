#include "shell/tray/CTrayIcon.h"

#include "text/StringTable.h"

#include "platform/TempFolder.h"

#include <QAction>
#include <QCoreApplication>
#include <QImage>
#include <QMenu>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <thread>

namespace quillmar::shell {
namespace {

using testing::TempFolder;

constexpr const char kLanguageFile[] =
    "[LANGUAGE]\nlanguage=%d\n"
    "[ENGINSH]\nMENU_11=&Open\nMENU_33=E&xit\n"
    "[CHINESE]\nMENU_11=打开(&O)\nMENU_22=关于(&A)\nMENU_33=退出(&x)\n";

class TrayIcon : public ::testing::Test {
protected:
    TrayIcon() : texts(folder / "language.ini") {
        chooseLanguage(1);
        for (int icon : {128, 141, 142}) {
            QImage picture(16, 16, QImage::Format_ARGB32);
            picture.fill(Qt::green);
            picture.save(QString::fromStdString((folder / ("tray" + std::to_string(icon) + ".png")).string()));
        }
    }

    void chooseLanguage(int language) {
        char text[256];
        std::snprintf(text, sizeof text, kLanguageFile, language);
        testing::writeBytes(folder / "language.ini", text);
    }

    QStringList menuTexts() {
        QStringList found;
        for (QAction* action : tray.menu().actions()) found << action->text();
        return found;
    }

    TempFolder folder;
    text::StringTable texts;
    bool trayAvailable = true;
    CTrayIcon tray{texts, folder.path(), [this] { return trayAvailable; }};
    QSignalSpy commands{&tray, &CTrayIcon::commandChosen};
};

TEST_F(TrayIcon, MenuTextsFollowTheLanguageEachTimeItOpens) {
    EXPECT_EQ(menuTexts(), (QStringList{"&Open", " ", "E&xit"}));
    chooseLanguage(0);
    EXPECT_EQ(menuTexts(), (QStringList{"打开(&O)", "关于(&A)", "退出(&x)"}));

    QAction* open = tray.menu().actions().front();
    EXPECT_EQ(tray.menu().defaultAction(), open);
    EXPECT_TRUE(open->font().bold());
}

TEST_F(TrayIcon, MenuItemsAndTheDoubleClickSendTheirCommands) {
    for (QAction* action : tray.menu().actions()) action->trigger();
    tray.onActivated(QSystemTrayIcon::Trigger);
    tray.onActivated(QSystemTrayIcon::MiddleClick);
    tray.onActivated(QSystemTrayIcon::Context);
    tray.onActivated(QSystemTrayIcon::DoubleClick);

    QList<int> sent;
    for (const QList<QVariant>& signal : commands) sent << signal.front().toInt();
    EXPECT_EQ(sent, (QList<int>{32771, 32773, 32774, 32771}));
    EXPECT_FALSE(tray.menu().isVisible());
}

TEST_F(TrayIcon, WithoutATrayTheIconWaitsForOne) {
    QSignalSpy availability(&tray, &CTrayIcon::trayAvailabilityChanged);
    trayAvailable = false;
    const std::u16string longTip(200, u'x');
    EXPECT_FALSE(tray.CreateTrayIcon(longTip, 128));
    EXPECT_FALSE(tray.isPresent());
    EXPECT_EQ(tray.systemTrayIcon().toolTip().size(), 127);

    tray.SetTrayIcon(141);
    trayAvailable = true;
    tray.checkTray();
    EXPECT_TRUE(tray.isPresent());
    EXPECT_EQ(tray.currentIcon(), 141);
    trayAvailable = false;
    tray.checkTray();
    EXPECT_FALSE(tray.isPresent());
    ASSERT_EQ(availability.size(), 2);
    EXPECT_TRUE(availability[0].front().toBool());
    EXPECT_FALSE(availability[1].front().toBool());

    // Once removed the icon stays away, whatever the tray does.
    tray.RemoveTrayIcon();
    trayAvailable = true;
    tray.checkTray();
    EXPECT_FALSE(tray.isPresent());
    EXPECT_EQ(availability.size(), 2);
}

TEST_F(TrayIcon, IconChangesFromWorkersArriveInOrderAndOnlyWhenDifferent) {
    ASSERT_TRUE(tray.CreateTrayIcon(u"Keyboard", 128));
    std::thread worker([this] {
        tray.SetTrayIcon(142);
        tray.SetTrayIcon(141);
    });
    worker.join();
    EXPECT_EQ(tray.currentIcon(), 128);  // not yet: changes are made on the window's thread
    QCoreApplication::processEvents();
    EXPECT_EQ(tray.currentIcon(), 141);

    const qint64 shown = tray.systemTrayIcon().icon().cacheKey();
    tray.SetTrayIcon(141);
    QCoreApplication::processEvents();
    EXPECT_EQ(tray.systemTrayIcon().icon().cacheKey(), shown);
    EXPECT_FALSE(tray.systemTrayIcon().icon().isNull());
}

}  // namespace
}  // namespace quillmar::shell
