#include "SkinLayout.h"

#include "keyboard/LayoutKeyList.h"
#include "lighting/PollingRates.h"

#include <array>
#include <cstdio>
#include <stdexcept>

namespace quillmar::skingen {
namespace {

void face(WindowLayout& layout, const char* key, QRect rect, FaceStyle style, const char* caption = "") {
    layout.faced.push_back({key, rect, style, {}, {}, QString::fromUtf8(caption)});
}

void place(WindowLayout& layout, const char* key, QRect rect, const char* caption = "") {
    layout.placed.push_back({key, rect, FaceStyle::Blank, {}, {}, QString::fromUtf8(caption)});
}

constexpr int kMainWidth = 1120;
constexpr int kMainHeight = 680;
constexpr QPoint kKeyboardOrigin(47, 156);

void addKeyboard(MainWindowLayout& layout) {
    layout.keyboard = layOutKeyboard(kKeyboardOrigin);
    for (std::size_t i = 0; i < layout.keyboard.gKeys.size(); ++i) {
        const QString label = QString("G%1").arg(i + 1);
        layout.faced.push_back({"FUNC_G" + std::to_string(i + 1), layout.keyboard.gKeys[i],
                                FaceStyle::GKey, {}, {}, label});
    }
    for (const KeyCap& cap : layout.keyboard.caps) {
        const std::string key = cap.code == keyboard::kNoKey ? "KEY_FN" : keySkinName(cap.code);
        layout.faced.push_back({key, cap.rect, FaceStyle::KeyCap, cap.legend, cap.shifted, {}});
    }
}

void addIndicators(MainWindowLayout& layout) {
    const KeyboardGeometry& kb = layout.keyboard;
    const QRect g1 = kb.gKeys.front();
    layout.faced.push_back({"LOCK_AB", QRect(g1.x(), kb.flipArea.y(), g1.width(), kb.flipArea.height()),
                            FaceStyle::BankIndicator});

    const QRect flip = kb.flipArea;
    const int x = flip.x(), y = flip.y(), h = flip.height();
    layout.faced.push_back({"LEFT_ARROW", QRect(x, y, 18, h), FaceStyle::ArrowLeft});
    layout.faced.push_back({"FLIP_1", QRect(x + 22, y, 30, h), FaceStyle::FlipLeft});
    layout.faced.push_back({"FLIP_0", QRect(x + 56, y, flip.width() - 112, h), FaceStyle::FlipLight, "F1-F4"});
    layout.faced.push_back({"FLIP_2", QRect(flip.right() - 51, y, 30, h), FaceStyle::FlipRight});
    layout.faced.push_back({"RIGHT_ARROW", QRect(flip.right() - 17, y, 18, h), FaceStyle::ArrowRight});

    const QRect spare = kb.functionRowSpareArea;
    const int lockWidth = (spare.width() - 2 * kKeyGap) / 3;
    const std::array<std::pair<const char*, const char*>, 3> locks = {
        {{"LOCK_NUM", "NUM"}, {"LOCK_CAPS", "CAPS"}, {"LOCK_SCROLL", "SCROLL"}}};
    for (std::size_t i = 0; i < locks.size(); ++i) {
        const QRect rect(spare.x() + static_cast<int>(i) * (lockWidth + kKeyGap), spare.y(), lockWidth,
                         spare.height());
        layout.faced.push_back({locks[i].first, rect, FaceStyle::LockLight, locks[i].second});
    }
}

void addHeaderAndBars(MainWindowLayout& layout) {
    layout.decor.push_back({DecorKind::Header, QRect(0, 0, kMainWidth, 56)});
    layout.faced.push_back({"KORVEL_LINK", QRect(22, 10, 214, 36), FaceStyle::BrandLink});
    const std::array<std::pair<const char*, FaceStyle>, 4> windowButtons = {{
        {"CONTROL_HELP", FaceStyle::HelpButton},
        {"CONTROL_MENU", FaceStyle::MenuButton},
        {"CONTROL_MINIMIZE", FaceStyle::MinimiseButton},
        {"CONTROL_CLOSE", FaceStyle::CloseButton},
    }};
    for (std::size_t i = 0; i < windowButtons.size(); ++i)
        layout.faced.push_back({windowButtons[i].first, QRect(960 + 36 * static_cast<int>(i), 14, 32, 28),
                                windowButtons[i].second});

    for (int i = 0; i < 3; ++i)
        layout.faced.push_back({"FUNC_PROFILE" + std::to_string(i + 1), QRect(20 + 120 * i, 68, 116, 34),
                                FaceStyle::ProfileTab, {}, {}, QString("Profile %1").arg(i + 1)});
    layout.faced.push_back({"FUNC_PROFILES", QRect(392, 68, 250, 34), FaceStyle::Button, {}, {},
                            "<Default Profile>"});
    layout.faced.push_back({"FUNC_MACRO", QRect(654, 68, 164, 34), FaceStyle::Button, {}, {}, "Edit macros..."});
    layout.faced.push_back({"FUNC_SWITCH", QRect(830, 68, 270, 34), FaceStyle::Button, {}, {},
                            "Switch to the color keys mode"});

    layout.decor.push_back({DecorKind::Plate, QRect(20, 116, 1080, 322)});
    layout.decor.push_back({DecorKind::Footer, QRect(0, 620, kMainWidth, kMainHeight - 620)});
    layout.placed.push_back({"KORVEL_VER", QRect(28, 633, 300, 24), FaceStyle::Blank, {}, {}, "Version"});
    layout.faced.push_back({"FUNC_DEFAULT", QRect(360, 628, 170, 34), FaceStyle::Button, {}, {},
                            "Restore defaults"});
    layout.faced.push_back({"CONTROL_OK", QRect(772, 628, 100, 34), FaceStyle::Button, {}, {}, "OK"});
    layout.faced.push_back({"CONTROL_CANCEL", QRect(880, 628, 100, 34), FaceStyle::Button, {}, {}, "Cancel"});
    layout.faced.push_back({"CONTROL2_APPLY", QRect(988, 628, 112, 34), FaceStyle::Button, {}, {}, "Apply"});
}

void addLightingPanel(MainWindowLayout& layout) {
    layout.lightingPanel = QRect(20, 450, 1080, 160);
    layout.decor.push_back({DecorKind::Panel, layout.lightingPanel});
    for (int x : {304, 540, 888}) layout.decor.push_back({DecorKind::Divider, QRect(x, 462, 1, 136)});

    auto place = [&layout](const std::string& key, QRect rect) { skingen::place(layout, key.c_str(), rect); };
    place("CONTROL_DengStaPic", QRect(40, 486, 44, 44));
    place("CONTROL_DengStatic", QRect(96, 464, 196, 20));
    place("CONTROL_XGcombox", QRect(96, 488, 196, 28));
    place("CONTROL_JDTStatic", QRect(736, 633, 24, 24));

    place("CONTROL_LightStatic", QRect(324, 464, 200, 20));
    place("CONTROL_LightSlider", QRect(324, 488, 200, 24));
    place("CONTROL_SpeedStatic", QRect(324, 524, 200, 20));
    place("CONTROL_SpeedSlider", QRect(324, 548, 200, 24));

    for (const char* suffix : {"", "2", "3"}) {
        place("CONTROL_BLFXStatic" + std::string(suffix), QRect(556, 464, 100, 20));
        place("CONTROL_BLFXLStaPic" + std::string(suffix), QRect(556, 488, 36, 28));
        place("CONTROL_BLFXRStaPic" + std::string(suffix), QRect(598, 488, 36, 28));
    }
    // Colour groups A and B never show together, so they share one place.
    place("CONTROL_HXysStatic", QRect(668, 464, 200, 20));
    place("CONTROL_HXysButton", QRect(668, 488, 64, 28));
    place("CONTROL_HXsjsStaPic", QRect(744, 492, 20, 20));
    place("CONTROL_HXsjsStatic", QRect(770, 492, 110, 20));
    place("CONTROL_FYYSStatic", QRect(668, 464, 200, 20));
    place("CONTROL_FYYSButton", QRect(668, 488, 64, 28));
    place("CONTROL_FYSJSStaPic", QRect(744, 492, 20, 20));
    place("CONTROL_FYSJSStatic", QRect(770, 492, 110, 20));
    const std::array<const char*, 4> fixedColours = {"CONTROL_HONGPIC", "CONTROL_HUANGPIC", "CONTROL_LVPIC",
                                                     "CONTROL_LANPIC"};
    for (std::size_t i = 0; i < fixedColours.size(); ++i)
        place(fixedColours[i], QRect(668 + 36 * static_cast<int>(i), 488, 28, 28));

    place("CONTROL_USERysStatic", QRect(556, 464, 80, 20));
    place("CONTROL_USERysButton", QRect(556, 488, 64, 28));
    place("CONTROL_USERjsStatic", QRect(640, 464, 80, 20));
    place("CONTROL_USERjsButton", QRect(640, 488, 64, 28));
    place("CONTROL_USERgjStatic", QRect(724, 464, 80, 20));
    place("CONTROL_USERgjStaPic1", QRect(724, 488, 32, 28));
    place("CONTROL_USERgjStaPic2", QRect(760, 488, 32, 28));
    place("CONTROL_umCombo", QRect(556, 530, 236, 28));

    // The trigger mode and the second and third colours stay hidden in every
    // effect; they still get a place inside the panel.
    const std::array<const char*, 15> hidden = {
        "CONTROL_JTysStatic", "CONTROL_JTysButton", "CONTROL_FYCFStatic", "CONTROL_FYdjcfStatic",
        "CONTROL_FYggcfStatc", "CONTROL_FYdjcfStaPic", "CONTROL_FYggcfStaPic", "CONTROL_TSysStatic",
        "CONTROL_TSysButton", "CONTROL_TSsjsStatic", "CONTROL_TSsjsStaPic", "CONTROL_CDysStatic",
        "CONTROL_CDysButton", "CONTROL_CDsjsStatic", "CONTROL_CDsjsStaPic"};
    for (std::size_t i = 0; i < hidden.size(); ++i)
        place(hidden[i], QRect(556 + 40 * static_cast<int>(i % 8), 566 + 24 * static_cast<int>(i / 8), 36, 20));

    place("CONTROL_UsbStatic", QRect(904, 464, 180, 20));
    for (int i = 0; i < lighting::kPollingRateCount; ++i)
        layout.faced.push_back({"FUNC_REPORT" + std::to_string(i + 1),
                                QRect(904 + 92 * (i % 2), 488 + 36 * (i / 2), 86, 30), FaceStyle::RateButton,
                                QString::number(lighting::kPollingRatesHz[static_cast<std::size_t>(i)]) + " Hz"});
}

}  // namespace

std::string keySkinName(keyboard::KeyCode code) {
    char name[8];
    std::snprintf(name, sizeof name, "KEY_%03X", static_cast<unsigned>(keyboard::keyIndexOf(code)));
    return name;
}

MainWindowLayout mainWindowLayout() {
    MainWindowLayout layout;
    layout.size = QSize(kMainWidth, kMainHeight);
    addHeaderAndBars(layout);
    addKeyboard(layout);
    addIndicators(layout);
    addLightingPanel(layout);
    return layout;
}

namespace {

bool isSwappedFunctionKey(const Control& control) {
    for (keyboard::KeyCode code = 0x03B; code <= 0x03E; ++code)
        if (control.key == keySkinName(code)) return true;
    return false;
}

}  // namespace

std::vector<Control> extraKeyControls(const MainWindowLayout& layout) {
    QRect span;
    for (const Control& control : layout.faced)
        if (isSwappedFunctionKey(control)) span = span.united(control.rect);
    // The buttons tile the whole room, so no part of F1..F4 on the window's
    // background shows between them; the caps are drawn inset.
    constexpr int kCount = 6;
    std::vector<Control> keys;
    for (int i = 0; i < kCount; ++i) {
        const int left = span.x() + span.width() * i / kCount;
        const int right = span.x() + span.width() * (i + 1) / kCount;
        keys.push_back({"FUNC_D" + std::to_string(i + 1), QRect(left, span.y(), right - left, span.height()),
                        FaceStyle::KeyCap, QString("D%1").arg(i + 1)});
    }
    return keys;
}

MainWindowLayout flippedMainWindowLayout(const MainWindowLayout& layout) {
    MainWindowLayout flipped = layout;
    std::erase_if(flipped.faced, isSwappedFunctionKey);
    for (Control& key : extraKeyControls(layout)) {
        key.rect.adjust(kKeyGap / 2, 0, -kKeyGap / 2, 0);
        flipped.faced.push_back(std::move(key));
    }
    return flipped;
}

WindowLayout compositeDialogLayout() {
    WindowLayout layout;
    layout.size = QSize(560, 440);
    layout.decor.push_back({DecorKind::Header, QRect(0, 0, 560, 50)});
    layout.decor.push_back({DecorKind::Footer, QRect(0, 384, 560, 56)});
    face(layout, "CONTROL_TITLE", QRect(16, 10, 230, 30), FaceStyle::TitleMark);
    face(layout, "CONTROL_KEY", QRect(16, 58, 110, 34), FaceStyle::ProfileTab, "Single key");
    face(layout, "CONTROL_MACRO", QRect(130, 58, 110, 34), FaceStyle::ProfileTab, "Macro");
    face(layout, "CONTROL_MEDIA", QRect(244, 58, 110, 34), FaceStyle::ProfileTab, "Multimedia");
    face(layout, "CONTROL_FUNCTION", QRect(358, 58, 110, 34), FaceStyle::ProfileTab, "Function");
    face(layout, "CONTROL_CLEAR", QRect(476, 58, 32, 34), FaceStyle::ClearIcon);
    face(layout, "CONTROL_OSK", QRect(512, 58, 32, 34), FaceStyle::KeyboardIcon);
    face(layout, "CONTROL_MASK", QRect(16, 100, 528, 276), FaceStyle::TabPanel);

    place(layout, "KEY_SETTING", QRect(32, 112, 496, 22), "Choose what this key does");
    place(layout, "TISHI_SINGLE_STATIC", QRect(32, 142, 496, 40), "Press the key it should send:");
    place(layout, "FUNC_KEY_INPUT", QRect(32, 190, 496, 48));
    place(layout, "MEDIA_SETTING_TISHI", QRect(32, 142, 496, 22));
    place(layout, "FUNC_MEDIA_SELECT", QRect(32, 168, 496, 196));
    place(layout, "FUNCTION_KEY_SETTING_TISHI", QRect(32, 142, 496, 22));
    place(layout, "FUNC_FUNCTION_SELECT", QRect(32, 168, 496, 196));

    place(layout, "MARCO_NAME_SETTING", QRect(32, 142, 88, 26));
    place(layout, "FUNC_MACRO_LIST", QRect(124, 142, 200, 26));
    face(layout, "FUNC_MACRO_ADD", QRect(332, 142, 28, 26), FaceStyle::AddIcon);
    face(layout, "FUNC_MACRO_DELETE", QRect(364, 142, 28, 26), FaceStyle::RemoveIcon);
    place(layout, "FUNC_MACRO_LIST2", QRect(32, 176, 236, 190));
    face(layout, "FUNC_MACRO_RECORD", QRect(282, 176, 230, 30), FaceStyle::Button, "Record");
    face(layout, "FUNC_MACRO_DELETE2", QRect(282, 212, 112, 26), FaceStyle::Button, "Delete");
    face(layout, "FUNC_MACRO_CLEAR", QRect(400, 212, 112, 26), FaceStyle::Button, "Clear");
    face(layout, "FUNC_MACRO_UP_TOP", QRect(282, 244, 112, 26), FaceStyle::Button, "To top");
    face(layout, "FUNC_MACRO_UP", QRect(400, 244, 112, 26), FaceStyle::Button, "Up");
    face(layout, "FUNC_MACRO_DOWN", QRect(282, 276, 112, 26), FaceStyle::Button, "Down");
    face(layout, "FUNC_MACRO_DOWN_BOTTOM", QRect(400, 276, 112, 26), FaceStyle::Button, "To bottom");
    place(layout, "FUNC_MACRO_RECORD_DELAY", QRect(282, 312, 20, 20));
    place(layout, "FUNC_MACRO_RECORD_DELAY2", QRect(306, 312, 206, 20), "Record delays");
    place(layout, "FUNC_MACRO_CYCLES_PROMPT", QRect(282, 340, 90, 24), "Cycles");
    place(layout, "FUNC_MACRO_CYCLES", QRect(376, 340, 70, 24));

    face(layout, "CONTROL_OK", QRect(228, 394, 100, 32), FaceStyle::Button, "OK");
    face(layout, "CONTROL_CANCEL", QRect(336, 394, 100, 32), FaceStyle::Button, "Cancel");
    face(layout, "CONTROL2_APPLY", QRect(444, 394, 100, 32), FaceStyle::Button, "Apply");
    return layout;
}

WindowLayout profileDialogLayout() {
    WindowLayout layout;
    layout.size = QSize(480, 350);
    layout.decor.push_back({DecorKind::Header, QRect(0, 0, 480, 46)});
    layout.decor.push_back({DecorKind::ListFrame, QRect(14, 54, 452, 204)});
    layout.decor.push_back({DecorKind::Footer, QRect(0, 298, 480, 52)});
    layout.decor.push_back({DecorKind::WordMark, QRect(16, 8, 230, 30)});
    place(layout, "PROGRAM_LIST", QRect(16, 56, 448, 200));
    face(layout, "FUNC_ADD", QRect(16, 264, 100, 28), FaceStyle::Button, "Add");
    face(layout, "FUNC_LOAD", QRect(122, 264, 100, 28), FaceStyle::Button, "Load");
    face(layout, "FUNC_DELETE", QRect(228, 264, 100, 28), FaceStyle::Button, "Delete");
    face(layout, "CONTROL_OK", QRect(152, 308, 100, 30), FaceStyle::Button, "OK");
    face(layout, "CONTROL_CANCEL", QRect(258, 308, 100, 30), FaceStyle::Button, "Cancel");
    face(layout, "CONTROL2_APPLY", QRect(364, 308, 100, 30), FaceStyle::Button, "Apply");
    return layout;
}

}  // namespace quillmar::skingen
