#include "shell/window/LightingPanelWindow.h"

#include "lighting/LightingSliders.h"
#include "text/IniFile.h"
#include "text/Utf.h"
#include "shell/skin/SkinPlacement.h"
#include "shell/widgets/CBitmapSlider.h"
#include "shell/widgets/CColourPickerButton.h"
#include "shell/widgets/CImageButton.h"
#include "shell/widgets/CPngButton.h"
#include "shell/window/MainSkinTable.h"
#include "shell/window/QtText.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <array>
#include <vector>

namespace quillmar::shell {
namespace {

using namespace lighting::panel_control;
namespace group = lighting::control_group;

struct GroupControls {
    lighting::ControlGroups group;
    std::vector<int> ids;
};

const std::vector<GroupControls>& panelGroups() {
    static const std::vector<GroupControls> groups = {
        {group::kEffectList, {kEffectList}},
        {group::kBrightness, {1172, lighting::kBrightnessSlider}},
        {group::kSpeed, {1166, lighting::kSpeedSlider}},
        {group::kDirection, {1148, kFirstDirection, kSecondDirection}},
        {group::kColourA, {1154, kColourA, kMulticolourA, 1173}},
        {group::kColourB, {1151, kColourB, kMulticolourB, 1176}},
        {group::kFixedColours, {1194, 1195, 1196, 1197}},
        {group::kCustomColours, {1159, 1160, 1161, 1162, 1163, kBrush, kEraser, kSchemeList}},
    };
    return groups;
}

constexpr std::array<int, 7> kColourButtons = {1152, 1155, 1158, 1160, 1162, 1187, 1191};
constexpr std::array<int, 15> kImageButtons = {1149, 1150, 1156, 1175, 1164, 1165, 1167, 1194,
                                               1195, 1196, 1197, 1180, 1183, 1188, 1192};

// Label texts of the skin file, by key.
struct LabelText {
    std::string_view key;
    std::vector<int> ids;
};

const std::vector<LabelText>& labelTexts() {
    static const std::vector<LabelText> labels = {
        {"Usb", {1204}},    {"Deng", {1171}},          {"Light", {1172}},   {"FX", {1148}},
        {"Speed", {1166}},  {"Color", {1151, 1154, 1159}}, {"JColor", {1161}}, {"DC", {1173, 1176}},
        {"Tool", {1163}},
    };
    return labels;
}

template <std::size_t N>
bool isOneOf(const std::array<int, N>& ids, int id) {
    return std::ranges::find(ids, id) != ids.end();
}

constexpr int kWholeAreaRepaint = 24;

constexpr lighting::ColourValue kAutomaticColour = lighting::colourFromRgb(255, 0, 0);

}  // namespace

QWidget* LightingPanelWindow::createControl(int id, QWidget* parent) {
    if (id == lighting::kBrightnessSlider || id == lighting::kSpeedSlider) {
        auto* slider = new CBitmapSlider(id, parent);
        slider->setRange(lighting::kSliderFirst, lighting::kSliderLast);
        slider->setPageSize(lighting::kSliderPageStep);
        return slider;
    }
    if (isOneOf(kColourButtons, id)) {
        auto* button = new CColourPickerButton(id, parent);
        button->setAutomaticColour(kAutomaticColour);
        return button;
    }
    if (isOneOf(kImageButtons, id)) return new CImageButton(id, parent);
    if (id == kEffectList || id == kSchemeList) {
        auto* list = new QComboBox(parent);
        list->setFocusPolicy(Qt::StrongFocus);
        if (id == kSchemeList) {
            list->setEditable(true);
            list->setInsertPolicy(QComboBox::NoInsert);
        }
        return list;
    }
    return new QLabel(parent);
}

LightingPanelWindow::LightingPanelWindow(LightingPanelSetup setup, lighting::LightingControl& control,
                                         lighting::KeyColours& keyColours)
    : setup_(std::move(setup)), panel_(control, keyColours, preview_) {
    const QString otherText = toQString(setup_.texts.text("MAIN_COLOR_OTHER", u"Other…"));
    for (int id : kColourButtons) {
        if (auto* button = qobject_cast<CColourPickerButton*>(setup_.control(id))) button->setOtherText(otherText);
    }
    if (auto* schemes = qobject_cast<QComboBox*>(setup_.control(kSchemeList)); schemes && schemes->lineEdit()) {
        QObject::connect(schemes->lineEdit(), &QLineEdit::editingFinished, schemes, [this, schemes] {
            const std::u16string text = schemes->currentText().toStdU16String();
            if (schemes->currentIndex() >= 0 && schemes->itemText(schemes->currentIndex()) != schemes->currentText())
                renameScheme(text);
        });
    }
    // A key's face covers it whole: the window's skin under it need not be
    // drawn again each time the preview recolours it.
    for (int id : lighting::LightingPreview::previewButtons()) {
        if (CPngButton* key = setup_.button(id)) key->setAttribute(Qt::WA_OpaquePaintEvent);
    }
    showTexts();
    show();
}

lighting::LightingPanel::LookSink LightingPanelWindow::sink() {
    return [this](std::span<const lighting::ButtonLook> looks) { applyLooks(looks); };
}

void LightingPanelWindow::applyLooks(std::span<const lighting::ButtonLook> looks) {
    QRect changed;
    QWidget* window = nullptr;
    int changedCount = 0;
    for (const lighting::ButtonLook& look : looks) {
        CPngButton* key = setup_.button(look.buttonId);
        if (!key) continue;
        if (key->hasOutline() == look.look.coloured && (!look.look.coloured || key->outlineColour() == look.look.colour))
            continue;
        key->setOutline(look.look.colour, 100, look.look.coloured);
        if (!look.look.coloured) key->setDown(false);
        changed |= key->geometry();
        window = key->parentWidget();
        ++changedCount;
    }
    // When much of the keyboard changes, one rectangle around the changed
    // keys reaches the screen in one piece, where a hundred small ones would
    // each cost a transfer of their own.
    if (window && changedCount >= kWholeAreaRepaint) window->update(changed);
}

// ---- Notices -------------------------------------------------------------------

void LightingPanelWindow::onControl(int controlId) {
    const auto colourOf = [this](int id) {
        const auto* button = qobject_cast<CColourPickerButton*>(setup_.control(id));
        return lighting::chosenColour(button ? button->colour() : -1, kAutomaticColour);
    };
    const auto listPosition = [this](int id) {
        const auto* list = qobject_cast<QComboBox*>(setup_.control(id));
        return list ? list->currentIndex() : -1;
    };
    using profiles::EditKind;
    switch (controlId) {
    case kEffectList: edit(EditKind::Lighting, [&] { panel_.SelectEffectAt(listPosition(kEffectList), sink()); }); break;
    case kFirstDirection:
    case kSecondDirection: edit(EditKind::Lighting, [&] { panel_.SetDirection(controlId); }); break;
    case kColourA:
    case kColourB: edit(EditKind::Lighting, [&] { panel_.ChooseColour(colourOf(controlId)); }); break;
    case kMulticolourA:
    case kMulticolourB: edit(EditKind::Lighting, [&] { panel_.ToggleMulticolour(); }); break;
    case kLamp:
        if (panel_.ToggleLamp(setup_.mayOpen, sink()) && setup_.showAssignments) setup_.showAssignments();
        break;
    case kPaintColour: panel_.ChoosePaintColour(colourOf(kPaintColour)); break;
    case kBaseColour: edit(EditKind::ColourScheme, [&] { panel_.ChangeBaseColour(colourOf(kBaseColour), sink()); }); break;
    case kBrush:
    case kEraser: panel_.ChooseTool(controlId); break;
    case kSchemeList: edit(EditKind::ColourScheme, [&] { panel_.SelectScheme(listPosition(kSchemeList), sink()); }); break;
    default:
        if (controlId >= kFirstFixedColour && controlId < kFirstFixedColour + lighting::kFixedColourCount)
            edit(EditKind::Lighting, [&] { panel_.SetFixedColour(controlId); });
        else
            edit(EditKind::Lighting, [&] { panel_.SetPollingRate(controlId); });
        break;
    }
    show();
}

void LightingPanelWindow::onSliderMoved(std::uint32_t wParam, std::uint32_t lParam) {
    edit(profiles::EditKind::Lighting,
         [&] { panel_.MoveSlider(static_cast<int>(wParam), static_cast<int>(lParam)); });
    show();
}

void LightingPanelWindow::paintKey(int buttonId) {
    edit(profiles::EditKind::KeyColour, [&] { panel_.PaintKey(buttonId, sink()); });
}

void LightingPanelWindow::edit(profiles::EditKind kind, const std::function<void()>& action) {
    if (setup_.recordEdit)
        setup_.recordEdit(kind, action);
    else
        action();
}

void LightingPanelWindow::previewStep() { panel_.PreviewTick(sink()); }

void LightingPanelWindow::refreshControls() {
    show();
    panel_.RefreshLightingControls(sink());
}

void LightingPanelWindow::refillColourSchemes(int profile) {
    panel_.RefillColourSchemes(profile);
    show();
}

void LightingPanelWindow::closePanel() {
    panel_.ClosePanel(sink());
    show();
}

void LightingPanelWindow::restoreDefaults() {
    edit(profiles::EditKind::Lighting, [&] { panel_.RestoreLightingDefaults(sink()); });
    show();
}

void LightingPanelWindow::renameScheme(const std::u16string& name) {
    edit(profiles::EditKind::ColourScheme, [&] { panel_.RenameScheme(name); });
    show();
}

// ---- Showing the view ----------------------------------------------------------

const QPixmap& LightingPanelWindow::picture(std::string_view file) {
    auto found = pictures_.find(file);
    if (found == pictures_.end()) {
        const auto path = setup_.mainSkinFile.parent_path() / std::string(file);
        found = pictures_.emplace(std::string(file), QPixmap(QString::fromStdString(path.string()))).first;
    }
    return found->second;
}

void LightingPanelWindow::setPicture(int id, std::string_view file) {
    if (auto* label = qobject_cast<QLabel*>(setup_.control(id))) {
        const QPixmap& pixmap = picture(file);
        if (label->pixmap().cacheKey() != pixmap.cacheKey()) label->setPixmap(pixmap);
    }
}

void LightingPanelWindow::setVisible(int id, bool visible) {
    if (QWidget* widget = setup_.control(id); widget && widget->isVisibleTo(widget->parentWidget()) != visible)
        widget->setVisible(visible);
}

void LightingPanelWindow::showTexts() {
    if (setup_.language != 0 && setup_.language != 1) return;
    const std::string_view section = setup_.language == 0 ? "Control_Name" : "Control_Name1";
    for (const LabelText& label : labelTexts()) {
        const QString text = QString::fromStdString(text::readIniString(setup_.mainSkinFile, section, label.key, ""));
        for (int id : label.ids) {
            if (auto* widget = qobject_cast<QLabel*>(setup_.control(id))) widget->setText(text);
        }
    }
}

void LightingPanelWindow::show() {
    const lighting::PanelView view = panel_.view();
    setPicture(kLamp, view.lampImage);
    setVisible(kLamp, true);
    setVisible(1171, true);
    setVisible(1204, true);
    for (const GroupControls& controls : panelGroups()) {
        for (int id : controls.ids) setVisible(id, (view.visibleGroups & controls.group) != 0);
    }
    showEffectList(view);
    const auto showSlider = [this](int id, const lighting::SliderView& slider) {
        if (auto* widget = qobject_cast<CBitmapSlider*>(setup_.control(id))) {
            widget->setPosition(slider.position);
            const QPixmap& channel = picture(slider.background);
            if (widget->channel().cacheKey() != channel.cacheKey()) widget->setChannel(channel);
        }
    };
    showSlider(lighting::kBrightnessSlider, view.brightness);
    showSlider(lighting::kSpeedSlider, view.speed);
    const auto showColour = [this](int id, lighting::ColourValue colour) {
        if (auto* button = qobject_cast<CColourPickerButton*>(setup_.control(id)))
            button->setColour(static_cast<std::int32_t>(colour & 0xFFFFFF));
    };
    showColour(kColourA, view.colour);
    showColour(kColourB, view.colour);
    showColour(kPaintColour, view.paintColour);
    showColour(kBaseColour, view.baseColour);
    setPicture(kMulticolourA, view.multicolourImage);
    setPicture(kMulticolourB, view.multicolourImage);
    setPicture(kFirstDirection, view.directionImages.first);
    setPicture(kSecondDirection, view.directionImages.second);
    placeDirectionControls(view.directionPlacement);
    for (int i = 0; i < lighting::kFixedColourCount; ++i) setPicture(kFirstFixedColour + i, view.fixedColourImages[i]);
    for (int i = 0; i < static_cast<int>(kRateButtons.size()); ++i) {
        if (CPngButton* rate = setup_.button(kRateButtons[i]); rate && rate->isSelected() != (i == view.pollingRate))
            rate->setSelected(i == view.pollingRate);
    }
    setPicture(kBrush, view.brushImage);
    setPicture(kEraser, view.eraserImage);
    showSchemeList(view);
}

void LightingPanelWindow::showEffectList(const lighting::PanelView& view) {
    auto* list = qobject_cast<QComboBox*>(setup_.control(kEffectList));
    if (!list) return;
    const QSignalBlocker quiet(list);
    QStringList names;
    const std::string_view section = setup_.language == 0 ? "Mode" : setup_.language == 1 ? "Mode1" : "";
    for (int id : view.effectIds) {
        names << (section.empty() ? QString()
                                  : QString::fromStdString(
                                        text::readIniString(setup_.mainSkinFile, section, std::to_string(id), "1")));
    }
    QStringList shown;
    for (int i = 0; i < list->count(); ++i) shown << list->itemText(i);
    if (shown != names) {
        list->clear();
        list->addItems(names);
    }
    if (list->currentIndex() != view.selectedPosition) list->setCurrentIndex(view.selectedPosition);
}

void LightingPanelWindow::showSchemeList(const lighting::PanelView& view) {
    auto* list = qobject_cast<QComboBox*>(setup_.control(kSchemeList));
    if (!list) return;
    const QSignalBlocker quiet(list);
    QStringList names;
    for (const std::u16string& name : panel_.schemeNames()) names << QString::fromStdU16String(name);
    QStringList shown;
    for (int i = 0; i < list->count(); ++i) shown << list->itemText(i);
    if (shown != names) {
        list->clear();
        list->addItems(names);
    }
    if (list->currentIndex() != view.scheme) list->setCurrentIndex(view.scheme);
}

void LightingPanelWindow::placeDirectionControls(const lighting::DirectionPlacement& placement) {
    if (placedDirection_ == placement.label) return;
    placedDirection_ = placement.label;
    const std::pair<int, std::string_view> placed[] = {
        {1148, placement.label}, {kFirstDirection, placement.first}, {kSecondDirection, placement.second}};
    for (const auto& [id, key] : placed) {
        if (QWidget* widget = setup_.control(id)) PlaceControl(*widget, setup_.mainSkinFile, main_window::kButtonSection, key);
    }
}

}  // namespace quillmar::shell
