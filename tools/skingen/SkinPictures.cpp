#include "SkinPictures.h"

#include "FacePainter.h"
#include "keyboard/LayoutKeyList.h"

#include <QPainter>

#include <array>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <utility>

namespace quillmar::skingen {
namespace {

constexpr int kMaskCornerRadius = 14;

// A skinned button copies its face from (x - 1, y - 1) of a state picture, so
// the pictures are drawn one pixel up and left of the window's background.
QImage renderScene(const WindowLayout& layout, PictureState state, PictureSet set, bool asStatePicture) {
    QImage image(layout.size, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    if (asStatePicture) painter.translate(-1, -1);
    paintBackground(painter, layout);
    for (const Control& control : layout.faced) paintFace(painter, control, state, set);
    return image;
}

QImage renderMask(QSize size) {
    QImage mask(size, QImage::Format_RGB32);
    mask.fill(Qt::white);
    QPainter painter(&mask);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawRoundedRect(QRectF(QPointF(0, 0), QSizeF(size)), kMaskCornerRadius, kMaskCornerRadius);
    return mask;
}

void writeButtonInfo(IniText& ini, const WindowLayout& layout) {
    ini.section("BUTTONINFO");
    for (const Control& control : layout.faced) ini.value(control.key, rectValue(control.rect));
    for (const Control& control : layout.placed) ini.value(control.key, rectValue(control.rect));
}

void writeScreen(IniText& ini, const std::string& prefix, const std::string& link) {
    ini.section("SCREEN");
    ini.value("Main", prefix + "_bg.jpg");
    ini.value("Mask", prefix + "_mask.png");
    if (!link.empty()) ini.value("Link", link);
}

using PictureList = std::vector<std::pair<std::string, PictureState>>;

void writeBackgroundAndMask(const OutputFolder& out, const WindowLayout& layout, const std::string& prefix,
                            PictureSet set) {
    out.writeImage("Skins/" + prefix + "_bg.jpg", renderScene(layout, PictureState::Normal, set, false));
    out.writeImage("Skins/" + prefix + "_mask.png", renderMask(layout.size));
}

void writeStatePictures(const OutputFolder& out, const WindowLayout& layout, PictureSet set,
                        const PictureList& pictures) {
    for (const auto& [name, state] : pictures)
        out.writeImage("Skins/" + name, renderScene(layout, state, set, true));
}

// A skin file's common part: the window's pictures and every control's place.
IniText skinFile(const std::string& prefix, const WindowLayout& layout, const std::string& link = "") {
    IniText ini;
    writeScreen(ini, prefix, link);
    writeButtonInfo(ini, layout);
    return ini;
}

const Control& controlNamed(const WindowLayout& layout, const std::string& key) {
    for (const Control& control : layout.faced)
        if (control.key == key) return control;
    throw std::logic_error("no control " + key);
}

// Arrow.jpg holds the Flip decorations; BUTTONINFO2 names each cell so that
// the (x - 1, y - 1) cut lands on the cell's corner. "UP" cells show Flip
// mode 1, "DOWN" cells Flip mode 0.
void writeArrows(const OutputFolder& out, IniText& ini, const MainWindowLayout& layout) {
    const QImage background = renderScene(layout, PictureState::Normal, PictureSet::Main, false);
    const QRect left = controlNamed(layout, "LEFT_ARROW").rect;
    const QRect right = controlNamed(layout, "RIGHT_ARROW").rect;
    const int cellWidth = left.width() + 6;
    QImage arrows(QSize(cellWidth * 8 + 2, left.height() + 4), QImage::Format_RGB32);
    arrows.fill(QColor(0x17, 0x19, 0x1e));
    QPainter painter(&arrows);
    painter.setRenderHint(QPainter::Antialiasing);
    ini.section("BUTTONINFO2");
    int cell = 0;
    for (const char* mode : {"UP", "DOWN"}) {
        for (const char* side : {"LEFT", "RIGHT"}) {
            for (int variant : {1, 2}) {
                const QRect source = side[0] == 'L' ? left : right;
                const QRect target(2 + cell * cellWidth, 2, source.width(), source.height());
                painter.drawImage(target.topLeft(), background.copy(source));
                QColor colour = mode[0] == 'U' ? theme::kAccent : QColor(0x4a, 0x50, 0x5b);
                if (variant == 2) colour = colour.lighter(140);
                paintChevron(painter, target, side[0] == 'L', colour);
                ini.value(std::string(mode) + "_ARROW_" + side + std::to_string(variant),
                          rectValue(target.translated(1, 1)));
                ++cell;
            }
        }
    }
    painter.end();
    out.writeImage("Skins/Arrow.jpg", arrows);
}

// Label texts and effect names: language 0 (Chinese) in "Control_Name" and
// "Mode", language 1 (English) in "Control_Name1" and "Mode1".
void writeLightingTexts(IniText& ini) {
    const std::array<std::array<const char*, 3>, 9> labels = {{
        {"Usb", "报告率", "Polling rate"},
        {"Deng", "灯光效果", "Lighting effect"},
        {"Light", "亮度", "Brightness"},
        {"FX", "方向", "Direction"},
        {"Speed", "速度", "Speed"},
        {"Color", "颜色", "Colour"},
        {"JColor", "底色", "Base colour"},
        {"DC", "多彩", "Multicolour"},
        {"Tool", "工具", "Tool"},
    }};
    const std::array<std::array<const char*, 3>, 20> effects = {{
        {"1", "列波浪", "Column Wave"},       {"2", "流动波浪", "Flowing Wave"},
        {"3", "序列波浪", "Sequence Wave"},   {"4", "全键变色", "Colour Cycle"},
        {"5", "呼吸", "Breathing"},           {"6", "常亮", "Static"},
        {"7", "按键点亮", "Reactive"},        {"8", "按键渐隐", "Reactive Fade"},
        {"9", "按键拖尾", "Reactive Trail"},  {"10", "随机闪烁", "Sparkle"},
        {"11", "单键变色", "Rainbow Keys"},   {"12", "行波浪", "Row Wave"},
        {"13", "涟漪", "Ripples"},            {"14", "灯光脚本", "Light Script"},
        {"15", "雨滴", "Raindrops"},          {"16", "波纹", "Ripple"},
        {"17", "预设颜色", "Preset Colour"},  {"18", "光环", "Rings"},
        {"19", "键盘效果 19", "Keyboard Effect 19"}, {"20", "自定义按键颜色", "Custom Key Colours"},
    }};
    for (int language : {0, 1}) {
        ini.section(language == 0 ? "Control_Name" : "Control_Name1");
        for (const auto& label : labels) ini.value(label[0], label[1 + language]);
    }
    for (int language : {0, 1}) {
        ini.section(language == 0 ? "Mode" : "Mode1");
        for (const auto& effect : effects) ini.value(effect[0], effect[1 + language]);
    }
}

// Each layout key must have exactly one cap, or a button would go unplaced.
void checkEveryLayoutKeyDrawn(const MainWindowLayout& layout) {
    for (const keyboard::LayoutKey& key : keyboard::kLayoutKeyList) {
        int found = 0;
        for (const KeyCap& cap : layout.keyboard.caps) found += cap.code == key.keyCode;
        if (found != 1) throw std::logic_error("layout key " + keySkinName(key.keyCode) + " drawn " +
                                               std::to_string(found) + " times");
    }
}

}  // namespace

std::string rectValue(QRect rect) {
    return std::to_string(rect.x()) + "," + std::to_string(rect.y()) + "," + std::to_string(rect.width()) + "," +
           std::to_string(rect.height());
}

void writeMainWindowSkin(const OutputFolder& out, const MainWindowLayout& layout) {
    checkEveryLayoutKeyDrawn(layout);
    writeBackgroundAndMask(out, layout, "main", PictureSet::Main);
    writeStatePictures(out, layout, PictureSet::Main,
                       {{"main_normal.jpg", PictureState::Normal},
                        {"main_over.jpg", PictureState::Over},
                        {"main_down.jpg", PictureState::Down},
                        {"main_disable.jpg", PictureState::Disabled},
                        {"main_color0.jpg", PictureState::ColourOff},
                        {"main_color1.jpg", PictureState::ColourOn}});
    // Flip mode 1 shows D1..D6 where F1..F4 are; their faces come from
    // pictures of their own, so neither set paints over the other.
    writeStatePictures(out, flippedMainWindowLayout(layout), PictureSet::Main,
                       {{"flip_normal.jpg", PictureState::Normal},
                        {"flip_over.jpg", PictureState::Over},
                        {"flip_down.jpg", PictureState::Down},
                        {"flip_disable.jpg", PictureState::Disabled}});
    IniText ini = skinFile("main", layout, "https://quillmar.invalid/");
    ini.section("BUTTONINFO");
    for (const Control& key : extraKeyControls(layout)) ini.value(key.key, rectValue(key.rect));
    writeArrows(out, ini, layout);
    writeLightingTexts(ini);
    out.writeText("Skins/Main.ini", ini.text());
}

void writeCompositeDialogSkin(const OutputFolder& out, const WindowLayout& layout) {
    struct Family {
        const char* prefix;
        PictureSet set;
        bool hasDisabled;
    };
    const std::array<Family, 5> families = {{
        {"key", PictureSet::Key, false},
        {"macro", PictureSet::Macro, true},
        {"macro2", PictureSet::Macro2, true},
        {"media", PictureSet::Media, false},
        {"function", PictureSet::Function, false},
    }};
    for (const Family& family : families) {
        const std::string prefix = family.prefix;
        PictureList pictures = {{prefix + "_normal.jpg", PictureState::Normal},
                                {prefix + "_over.jpg", PictureState::Over},
                                {prefix + "_down.jpg", PictureState::Down}};
        if (family.hasDisabled) pictures.push_back({prefix + "_disable.jpg", PictureState::Disabled});
        writeStatePictures(out, layout, family.set, pictures);
    }
    // The background shows the single-key tab's look.
    writeBackgroundAndMask(out, layout, "composite", PictureSet::Key);
    out.writeText("Skins/Composite.ini", skinFile("composite", layout).text());
}

void writeProfileDialogSkin(const OutputFolder& out, const WindowLayout& layout) {
    writeBackgroundAndMask(out, layout, "profile", PictureSet::Profile);
    writeStatePictures(out, layout, PictureSet::Profile,
                       {{"Profile_normal.jpg", PictureState::Normal},
                        {"Profile_over.jpg", PictureState::Over},
                        {"Profile_down.jpg", PictureState::Down}});
    out.writeText("Skins/Profile.ini", skinFile("profile", layout).text());
}

QImage mainWindowPreview(const MainWindowLayout& layout, const std::filesystem::path& skins) {
    QImage image = renderScene(layout, PictureState::Normal, PictureSet::Main, false);
    const QImage selected = renderScene(layout, PictureState::Disabled, PictureSet::Main, true);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (const Control& control : layout.faced) {
        // The first profile and the fastest rate shown as chosen, as the window would.
        if (control.key == "FUNC_PROFILE1" || control.key == "FUNC_REPORT4")
            painter.drawImage(control.rect.topLeft(), selected.copy(control.rect.translated(-1, -1)));
        if (control.caption.isEmpty()) continue;
        painter.setFont(skinFont(12, control.style == FaceStyle::GKey));
        painter.setPen(Qt::white);
        painter.drawText(control.rect, Qt::AlignCenter, control.caption);
    }
    // The lighting panel open on the first effect.
    const std::map<std::string, std::string> bitmaps = {
        {"CONTROL_DengStaPic", "dengdown.bmp"}, {"CONTROL_LightSlider", "4.bmp"},
        {"CONTROL_SpeedSlider", "9.bmp"},       {"CONTROL_BLFXLStaPic", "leftup.bmp"},
        {"CONTROL_BLFXRStaPic", "rightdown.bmp"}, {"CONTROL_HXsjsStaPic", "sjsdown.bmp"},
        {"CONTROL_JDTStatic", "jdt3.bmp"}};
    const std::map<std::string, QString> labels = {
        {"CONTROL_DengStatic", "Lighting effect"}, {"CONTROL_LightStatic", "Brightness"},
        {"CONTROL_SpeedStatic", "Speed"}, {"CONTROL_BLFXStatic", "Direction"}, {"CONTROL_HXysStatic", "Colour"},
        {"CONTROL_HXsjsStatic", "Multicolour"}, {"CONTROL_UsbStatic", "Polling rate"}, {"KORVEL_VER", "Version 0.1.0"}};
    for (const Control& control : layout.placed) {
        if (const auto bitmap = bitmaps.find(control.key); bitmap != bitmaps.end()) {
            painter.drawImage(control.rect.topLeft(), QImage(QString::fromStdString((skins / bitmap->second).string())));
        } else if (const auto label = labels.find(control.key); label != labels.end()) {
            painter.setFont(skinFont(12));
            painter.setPen(QColor(0xe4, 0xe4, 0xe4));
            painter.drawText(control.rect, Qt::AlignLeft | Qt::AlignVCenter, label->second);
        } else if (control.key == "CONTROL_XGcombox" || control.key == "CONTROL_HXysButton") {
            const bool combo = control.key == "CONTROL_XGcombox";
            painter.setPen(QColor(0x3b, 0x41, 0x4c));
            painter.setBrush(combo ? QColor(0x22, 0x25, 0x2c) : QColor(0xff, 0x2d, 0x3a));
            painter.drawRoundedRect(QRectF(control.rect).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
            if (combo) {
                painter.setPen(theme::kText);
                painter.drawText(control.rect.adjusted(8, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, "Column Wave");
            }
        }
    }
    return image;
}

}  // namespace quillmar::skingen
