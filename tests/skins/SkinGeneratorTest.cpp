// The skin generator run as the build runs it, its output read the way the
// program reads it: through the settings-file reader, the string table and
// the colour scheme files.
#include "keyboard/LayoutKeyList.h"
#include "text/IniFile.h"
#include "text/StringTable.h"
#include "text/TextSlots.h"
#include "profiles/UserColourFiles.h"
#include "text/Utf.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
namespace text = quillmar::text;

class SkinGeneratorTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        output_ = new fs::path(fs::temp_directory_path() / ("skingen-test-" + std::to_string(::getpid())));
        fs::remove_all(*output_);
        const std::string command = "QT_QPA_PLATFORM=offscreen '" SKINGEN_PATH "' '" + output_->string() +
                                    "' --version 9.8.7 2>/dev/null";
        exitCode_ = std::system(command.c_str());
    }
    static void TearDownTestSuite() {
        fs::remove_all(*output_);
        delete output_;
    }
    void SetUp() override { ASSERT_EQ(exitCode_, 0); }

    static fs::path skin(const std::string& name) { return *output_ / "Skins" / name; }

    static QImage image(const std::string& name) {
        return QImage(QString::fromStdString(skin(name).string()));
    }

    // A rectangle read from section "BUTTONINFO" as the window reads it; the
    // missing-key default 1,1,1,1 when absent.
    static QRect rectOf(const std::string& file, const std::string& key, const char* section = "BUTTONINFO") {
        const std::string value = text::readIniString(skin(file), section, key, "1,1,1,1,x");
        int x = 0, y = 0, w = 0, h = 0;
        if (std::sscanf(value.c_str(), "%d,%d,%d,%d", &x, &y, &w, &h) != 4) return {};
        return QRect(x, y, w, h);
    }

    static inline fs::path* output_ = nullptr;
    static inline int exitCode_ = -1;
};

std::vector<std::string> mainWindowKeys() {
    std::vector<std::string> keys = {
        "KORVEL_LINK", "FUNC_PROFILES", "FUNC_MACRO", "CONTROL_OK", "CONTROL_CANCEL", "CONTROL_HELP",
        "CONTROL_CLOSE", "CONTROL_MINIMIZE", "CONTROL_MENU", "CONTROL2_APPLY", "LOCK_CAPS", "LOCK_NUM",
        "LOCK_SCROLL", "LOCK_AB", "FLIP_0", "FLIP_1", "FLIP_2", "KORVEL_VER", "FUNC_PROFILE1", "FUNC_PROFILE2",
        "FUNC_PROFILE3", "FUNC_DEFAULT", "FUNC_SWITCH", "FUNC_REPORT1", "FUNC_REPORT2", "FUNC_REPORT3",
        "FUNC_REPORT4", "KEY_FN", "LEFT_ARROW", "RIGHT_ARROW",
        // the lighting panel
        "CONTROL_UsbStatic", "CONTROL_DengStatic", "CONTROL_DengStaPic", "CONTROL_XGcombox", "CONTROL_JDTStatic",
        "CONTROL_LightStatic", "CONTROL_LightSlider", "CONTROL_SpeedStatic", "CONTROL_SpeedSlider",
        "CONTROL_BLFXStatic", "CONTROL_BLFXLStaPic", "CONTROL_BLFXRStaPic", "CONTROL_FYYSStatic",
        "CONTROL_FYYSButton", "CONTROL_FYSJSStaPic", "CONTROL_FYSJSStatic", "CONTROL_FYCFStatic",
        "CONTROL_FYdjcfStatic", "CONTROL_FYggcfStatc", "CONTROL_FYdjcfStaPic", "CONTROL_FYggcfStaPic",
        "CONTROL_HONGPIC", "CONTROL_HUANGPIC", "CONTROL_LVPIC", "CONTROL_LANPIC", "CONTROL_HXysStatic",
        "CONTROL_HXysButton", "CONTROL_HXsjsStatic", "CONTROL_HXsjsStaPic", "CONTROL_JTysStatic",
        "CONTROL_JTysButton", "CONTROL_USERysStatic", "CONTROL_USERysButton", "CONTROL_USERjsStatic",
        "CONTROL_USERjsButton", "CONTROL_USERgjStatic", "CONTROL_USERgjStaPic1", "CONTROL_USERgjStaPic2",
        "CONTROL_TSysStatic", "CONTROL_TSysButton", "CONTROL_TSsjsStatic", "CONTROL_TSsjsStaPic",
        "CONTROL_CDysStatic", "CONTROL_CDysButton", "CONTROL_CDsjsStatic", "CONTROL_CDsjsStaPic",
        "CONTROL_umCombo", "CONTROL_BLFXStatic2", "CONTROL_BLFXLStaPic2", "CONTROL_BLFXRStaPic2",
        "CONTROL_BLFXStatic3", "CONTROL_BLFXLStaPic3", "CONTROL_BLFXRStaPic3"};
    for (int g = 1; g <= 9; ++g) keys.push_back("FUNC_G" + std::to_string(g));
    return keys;
}

std::vector<std::string> keyButtonKeys() {
    std::vector<std::string> keys;
    for (const auto& key : quillmar::keyboard::kLayoutKeyList) {
        char name[8];
        std::snprintf(name, sizeof name, "KEY_%03X", static_cast<unsigned>(quillmar::keyboard::keyIndexOf(key.keyCode)));
        keys.push_back(name);
    }
    keys.push_back("KEY_FN");
    for (int g = 1; g <= 9; ++g) keys.push_back("FUNC_G" + std::to_string(g));
    return keys;
}

double meanDifference(const QImage& a, QPoint aOrigin, const QImage& b, QPoint bOrigin, QSize size) {
    double total = 0;
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const QRgb p = a.pixel(aOrigin + QPoint(x, y));
            const QRgb q = b.pixel(bOrigin + QPoint(x, y));
            total += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return total / (3.0 * size.width() * size.height());
}

TEST_F(SkinGeneratorTest, EveryMainWindowControlHasARectangleInsideTheBackground) {
    const QImage background = image(text::readIniString(skin("Main.ini"), "SCREEN", "Main", ""));
    ASSERT_FALSE(background.isNull());
    EXPECT_EQ(text::readIniString(skin("Main.ini"), "SCREEN", "Link", "").rfind("https://", 0), 0u);
    std::vector<std::string> keys = mainWindowKeys();
    for (const std::string& key : keyButtonKeys()) keys.push_back(key);
    for (const std::string& key : keys) {
        const QRect rect = rectOf("Main.ini", key);
        EXPECT_FALSE(rect.x() == 1 && rect.y() == 1) << key << " is missing";
        EXPECT_TRUE(background.rect().contains(rect)) << key;
    }
    // The num pad's Num Lock and the right Shift, as the skin names them.
    EXPECT_TRUE(rectOf("Main.ini", "KEY_0C5").isValid());
    EXPECT_TRUE(rectOf("Main.ini", "KEY_036").isValid());
}

TEST_F(SkinGeneratorTest, KeyButtonsDoNotOverlap) {
    const std::vector<std::string> keys = keyButtonKeys();
    for (std::size_t i = 0; i < keys.size(); ++i)
        for (std::size_t j = i + 1; j < keys.size(); ++j)
            EXPECT_FALSE(rectOf("Main.ini", keys[i]).intersects(rectOf("Main.ini", keys[j])))
                << keys[i] << " and " << keys[j];
}

TEST_F(SkinGeneratorTest, StatePicturesHaveTheBackgroundsSize) {
    struct Window {
        const char* file;
        std::vector<const char*> pictures;
    };
    const std::vector<Window> windows = {
        {"Main.ini", {"main_normal.jpg", "main_over.jpg", "main_down.jpg", "main_disable.jpg", "main_color0.jpg",
                      "main_color1.jpg"}},
        {"Composite.ini", {"key_normal.jpg", "key_over.jpg", "key_down.jpg", "macro_normal.jpg", "macro_over.jpg",
                           "macro_down.jpg", "macro_disable.jpg", "macro2_normal.jpg", "macro2_over.jpg",
                           "macro2_down.jpg", "macro2_disable.jpg", "media_normal.jpg", "media_over.jpg",
                           "media_down.jpg", "function_normal.jpg", "function_over.jpg", "function_down.jpg"}},
        {"Profile.ini", {"Profile_normal.jpg", "Profile_over.jpg", "Profile_down.jpg"}},
    };
    for (const Window& window : windows) {
        const QImage background = image(text::readIniString(skin(window.file), "SCREEN", "Main", ""));
        const QImage mask = image(text::readIniString(skin(window.file), "SCREEN", "Mask", ""));
        ASSERT_FALSE(background.isNull()) << window.file;
        EXPECT_EQ(mask.size(), background.size()) << window.file;
        // The mask's corners are cut away, its middle is window.
        EXPECT_EQ(mask.pixel(0, 0), qRgb(255, 255, 255)) << window.file;
        EXPECT_NE(mask.pixel(mask.width() / 2, mask.height() / 2), qRgb(255, 255, 255)) << window.file;
        for (const char* picture : window.pictures)
            EXPECT_EQ(image(picture).size(), background.size()) << picture;
    }
}

// A button shows its face copied from (x - 1, y - 1) of the state picture:
// the normal picture must match the background one pixel up and left.
TEST_F(SkinGeneratorTest, NormalPictureLinesUpWithTheBackgroundThroughTheOnePixelCut) {
    const QImage background = image("main_bg.jpg");
    const QImage normal = image("main_normal.jpg");
    const QSize inner = background.size() - QSize(2, 2);
    EXPECT_LT(meanDifference(background, QPoint(1, 1), normal, QPoint(0, 0), inner), 1.5);
    EXPECT_GT(meanDifference(background, QPoint(1, 1), normal, QPoint(1, 1), inner), 1.5);
}

TEST_F(SkinGeneratorTest, EveryKeyButtonLooksDifferentWhenHoveredPressedAssignedAndFlagged) {
    const QImage normal = image("main_normal.jpg");
    for (const char* picture : {"main_over.jpg", "main_down.jpg", "main_disable.jpg", "main_color1.jpg"}) {
        const QImage other = image(picture);
        for (const std::string& key : keyButtonKeys()) {
            const QRect rect = rectOf("Main.ini", key);
            const QPoint cut = rect.topLeft() - QPoint(1, 1);
            EXPECT_GT(meanDifference(normal, cut, other, cut, rect.size()), 4.0) << key << " in " << picture;
        }
    }
}

TEST_F(SkinGeneratorTest, LightingBitmapsAndTrayIconsLoad) {
    std::vector<std::string> names = {
        "dengup.bmp", "dengdown.bmp", "leftup.bmp", "leftdown.bmp", "rightup.bmp", "rightdown.bmp", "upup.bmp",
        "updown.bmp", "downup.bmp", "downdown.bmp", "kuosan.bmp", "kuosandown.bmp", "julong.bmp",
        "julongdown.bmp", "hong.bmp", "hongok.bmp", "huang.bmp", "huangok.bmp", "lv.bmp", "lvok.bmp", "lan.bmp",
        "lanok.bmp", "sjsup.bmp", "sjsdown.bmp", "user1up.bmp", "user1down.bmp", "user2up.bmp", "user2down.bmp",
        "Arrow.jpg", "tray128.png", "tray141.png", "tray142.png"};
    for (int i = 1; i <= 10; ++i) names.push_back("jdt" + std::to_string(i) + ".bmp");
    for (int i = 0; i <= 25; ++i) names.push_back(std::to_string(i) + ".bmp");
    for (const std::string& name : names) EXPECT_FALSE(image(name).isNull()) << name;
    // Each bitmap fits the place of the control that shows it.
    const std::vector<std::pair<const char*, const char*>> shownIn = {
        {"4.bmp", "CONTROL_LightSlider"},      {"9.bmp", "CONTROL_SpeedSlider"},
        {"dengup.bmp", "CONTROL_DengStaPic"},  {"leftup.bmp", "CONTROL_BLFXLStaPic"},
        {"julongdown.bmp", "CONTROL_BLFXRStaPic3"}, {"hongok.bmp", "CONTROL_HONGPIC"},
        {"sjsdown.bmp", "CONTROL_HXsjsStaPic"}, {"user2up.bmp", "CONTROL_USERgjStaPic2"},
        {"jdt7.bmp", "CONTROL_JDTStatic"}};
    for (const auto& [bitmap, control] : shownIn)
        EXPECT_EQ(image(bitmap).size(), rectOf("Main.ini", control).size()) << bitmap << " in " << control;
    // The Flip decorations' cells lie inside Arrow.jpg.
    for (const char* key : {"UP_ARROW_LEFT1", "DOWN_ARROW_LEFT2", "UP_ARROW_RIGHT2", "DOWN_ARROW_RIGHT1"}) {
        const QRect cell = rectOf("Main.ini", key, "BUTTONINFO2");
        EXPECT_TRUE(image("Arrow.jpg").rect().contains(cell.translated(-1, -1))) << key;
    }
}

TEST_F(SkinGeneratorTest, LanguageFileSelectsEnglishAndHasEveryTextInBothLanguages) {
    quillmar::text::StringTable table(skin("language.ini"));
    EXPECT_EQ(table.ChooseLanguageSection(), "ENGINSH");
    for (const auto& info : quillmar::text::kTextSlots) {
        const std::string english = text::readIniString(skin("language.ini"), "ENGINSH", info.key, "");
        const std::string chinese = text::readIniString(skin("language.ini"), "CHINESE", info.key, "");
        EXPECT_FALSE(english.empty()) << info.key;
        EXPECT_FALSE(chinese.empty()) << info.key;
        // A slot holds at most 107 characters.
        EXPECT_LE(quillmar::text::toUtf16(english).size(), 107u) << info.key;
        EXPECT_LE(quillmar::text::toUtf16(chinese).size(), 107u) << info.key;
        // Callers fill in the value where the built-in text has its marker.
        for (const char* marker : {"%d", "%s", "%03x"}) {
            const bool wanted = quillmar::text::toUtf8(info.builtIn).find(marker) != std::string::npos;
            EXPECT_EQ(english.find(marker) != std::string::npos, wanted) << info.key << " " << marker;
            EXPECT_EQ(chinese.find(marker) != std::string::npos, wanted) << info.key << " " << marker;
        }
    }
    for (const char* key : {"MEDIA_MUTE_8", "FUNC_KEY_DESC9", "MAIN_NO_DEVICE_PROMPT", "MACRO_KEYS_TISHI"})
        EXPECT_NE(text::readIniString(skin("language.ini"), "ENGINSH", key, ""),
                  text::readIniString(skin("language.ini"), "CHINESE", key, "")) << key;
    table.LoadStringTable();
    EXPECT_EQ(table.slot(quillmar::text::TextSlot::MEDIA_CALC_17), u"Calculator");
    EXPECT_EQ(table.slot(quillmar::text::TextSlot::PROFILE_TIP), u"Current profile: ");
}

TEST_F(SkinGeneratorTest, LanguageFileHasTheTextsWindowsReadWhenTheyOpen) {
    const std::vector<const char*> keys = {
        "PROFILE_1", "PROFILE_2", "PROFILE_3", "PROFILE_MACRO", "PROFILE_DEFAULT", "PROFILE_OK", "PROFILE_CANCLE",
        "PROFILE_APPLY", "MENU_1", "MENU_2", "MENU_3", "MENU_4", "MENU_11", "MENU_22", "MENU_33", "GUANYU_JIESHAO",
        "GUANYU_BANQUAN", "SINGLE_KEY", "SINGLE_STATIC", "MULTI_MEDIA", "FUNCTION_KEY", "FUNCTION_TISHI",
        "KEY_SETTING_TISHI", "MACRO_SETTING", "MACRO_NAME_SETTING", "MACRO_EDIT_TISHI", "MEDIA_EDIT_TISHI",
        "MACRO_CYCLES", "RECORD_DELAY", "MACRO_OK", "MACRO_CANCLE", "A_RECORD", "A_CLEAR", "A_DELETE", "A_UP",
        "A_DOWN", "A_TOP", "A_BOTTOM", "COMPOSITE_MACRO_OVER", "COMPOSITE_PROMPT_CLEAR", "COMPOSITE_PROMPT_OSK"};
    for (const char* key : keys)
        for (const char* section : {"ENGINSH", "CHINESE"})
            EXPECT_FALSE(text::readIniString(skin("language.ini"), section, key, "").empty()) << section << " " << key;
    EXPECT_NE(text::readIniString(skin("language.ini"), "ENGINSH", "MAIN_BUTTON_KORVEL_VER", "").find("9.8.7"),
              std::string::npos);
}

TEST_F(SkinGeneratorTest, ColourSchemeTemplateReadsAsTenNamedSchemes) {
    const fs::path folder = *output_ / "user";
    fs::create_directories(folder);
    fs::copy_file(skin("UserDengColor_3.userd"), folder / "UserDengColor_0.userd");
    const quillmar::profiles::UserColourFiles files{quillmar::profiles::UserFolder(folder)};
    EXPECT_EQ(files.readPresentScheme(0), 0);
    std::vector<std::u16string> names;
    for (int scheme = 0; scheme < quillmar::profiles::kSchemeCount; ++scheme) {
        const std::u16string name = files.readSchemeName(0, scheme);
        EXPECT_NE(name, u"0") << scheme;
        EXPECT_EQ(std::count(names.begin(), names.end(), name), 0) << scheme;
        names.push_back(name);
    }
    // "WASD Focus": W (light 44) painted, J (light 70) on the base colour.
    const quillmar::profiles::SchemeSettings settings = files.readSchemeSettings(0, 2);
    const quillmar::profiles::KeyColour w = files.readKeyColour(0, 2, 44);
    const quillmar::profiles::KeyColour j = files.readKeyColour(0, 2, 70);
    EXPECT_FALSE(w.followsBaseColour);
    EXPECT_NE(w.colour, settings.baseColour);
    EXPECT_TRUE(j.followsBaseColour);
    EXPECT_EQ(j.colour, settings.baseColour);
}

TEST_F(SkinGeneratorTest, HelpGuideIsWritten) {
    EXPECT_GT(fs::file_size(*output_ / "Help" / "index.html"), 2000u);
}

}  // namespace
