#include "shell/window/MainSkinTable.h"

#include "keyboard/KeyButtons.h"
#include "keyboard/LayoutKeyList.h"
#include "shell/window/MainWindowIds.h"

namespace quillmar::shell::main_window {
namespace {

constexpr const char* kNormal = "Skins/main_normal.jpg";
constexpr const char* kOver = "Skins/main_over.jpg";
constexpr const char* kDown = "Skins/main_down.jpg";
constexpr const char* kDisable = "Skins/main_disable.jpg";
constexpr const char* kFlipNormal = "Skins/flip_normal.jpg";
constexpr const char* kFlipOver = "Skins/flip_over.jpg";
constexpr const char* kFlipDown = "Skins/flip_down.jpg";
constexpr const char* kFlipDisable = "Skins/flip_disable.jpg";

struct NamedControl {
    int id;
    const char* skinKey;
    FaceSet faces;
};

constexpr NamedControl kWindowButtons[] = {
    {kLink, "KORVEL_LINK", FaceSet::Link},
    {kProfileDialogButton, "FUNC_PROFILES", FaceSet::Plain},
    {kMacroEdit, "FUNC_MACRO", FaceSet::Plain},
    {kOk, "CONTROL_OK", FaceSet::Plain},
    {kCancel, "CONTROL_CANCEL", FaceSet::Plain},
    {kHelp, "CONTROL_HELP", FaceSet::Plain},
    {kClose, "CONTROL_CLOSE", FaceSet::Plain},
    {kMinimise, "CONTROL_MINIMIZE", FaceSet::Plain},
    {kButtonMenu, "CONTROL_MENU", FaceSet::Plain},
    {kApply, "CONTROL2_APPLY", FaceSet::Apply},
    {kCapsLight, "LOCK_CAPS", FaceSet::Light},
    {kNumLight, "LOCK_NUM", FaceSet::Light},
    {kScrollLight, "LOCK_SCROLL", FaceSet::Light},
    {kBankLight, "LOCK_AB", FaceSet::Light},
    {kFlip0, "FLIP_0", FaceSet::Flip0},
    {kFlip1, "FLIP_1", FaceSet::Selectable},
    {kFlip2, "FLIP_2", FaceSet::Selectable},
    {kVersion, "KORVEL_VER", FaceSet::Version},
    {kFirstProfileButton, "FUNC_PROFILE1", FaceSet::Selectable},
    {kFirstProfileButton + 1, "FUNC_PROFILE2", FaceSet::Selectable},
    {kFirstProfileButton + 2, "FUNC_PROFILE3", FaceSet::Selectable},
    {kRestoreDefaults, "FUNC_DEFAULT", FaceSet::Selectable},
    {kSwitch, "FUNC_SWITCH", FaceSet::Selectable},
    {1147, "FUNC_REPORT1", FaceSet::Selectable},
    {1168, "FUNC_REPORT2", FaceSet::Selectable},
    {1169, "FUNC_REPORT3", FaceSet::Selectable},
    {1170, "FUNC_REPORT4", FaceSet::Selectable},
};

constexpr PlacedControl kLightingPanel[] = {
    {1204, "CONTROL_UsbStatic"},      {1171, "CONTROL_DengStatic"},    {1167, "CONTROL_DengStaPic"},
    {1146, "CONTROL_XGcombox"},       {1177, "CONTROL_JDTStatic"},     {1172, "CONTROL_LightStatic"},
    {1178, "CONTROL_LightSlider"},
    {1166, "CONTROL_SpeedStatic"},    {1179, "CONTROL_SpeedSlider"},   {1148, "CONTROL_BLFXStatic"},
    {1149, "CONTROL_BLFXLStaPic"},    {1150, "CONTROL_BLFXRStaPic"},   {1151, "CONTROL_FYYSStatic"},
    {1152, "CONTROL_FYYSButton"},     {1175, "CONTROL_FYSJSStaPic"},   {1176, "CONTROL_FYSJSStatic"},
    {1182, "CONTROL_FYCFStatic"},     {1181, "CONTROL_FYdjcfStatic"},  {1184, "CONTROL_FYggcfStatc"},
    {1183, "CONTROL_FYdjcfStaPic"},   {1180, "CONTROL_FYggcfStaPic"},  {1194, "CONTROL_HONGPIC"},
    {1195, "CONTROL_HUANGPIC"},       {1196, "CONTROL_LVPIC"},         {1197, "CONTROL_LANPIC"},
    {1154, "CONTROL_HXysStatic"},     {1155, "CONTROL_HXysButton"},    {1173, "CONTROL_HXsjsStatic"},
    {1156, "CONTROL_HXsjsStaPic"},    {1157, "CONTROL_JTysStatic"},    {1158, "CONTROL_JTysButton"},
    {1159, "CONTROL_USERysStatic"},   {1160, "CONTROL_USERysButton"},  {1161, "CONTROL_USERjsStatic"},
    {1162, "CONTROL_USERjsButton"},   {1163, "CONTROL_USERgjStatic"},  {1164, "CONTROL_USERgjStaPic1"},
    {1165, "CONTROL_USERgjStaPic2"},  {1186, "CONTROL_TSysStatic"},    {1187, "CONTROL_TSysButton"},
    {1189, "CONTROL_TSsjsStatic"},    {1188, "CONTROL_TSsjsStaPic"},   {1190, "CONTROL_CDysStatic"},
    {1191, "CONTROL_CDysButton"},     {1193, "CONTROL_CDsjsStatic"},   {1192, "CONTROL_CDsjsStaPic"},
    {1198, "CONTROL_umCombo"},
};

}  // namespace

std::array<std::string, 5> picturesOf(FaceSet faces) {
    switch (faces) {
    case FaceSet::Plain: return {kNormal, kOver, kDown, kNormal, kNormal};
    case FaceSet::Apply: return {kNormal, kOver, kDown, kDisable, kNormal};
    case FaceSet::Link: return {kNormal, kOver, kDisable, kNormal, kNormal};
    case FaceSet::Selectable: return {kNormal, kOver, kDown, kNormal, kDisable};
    case FaceSet::Flip0: return {kNormal, kNormal, kNormal, kNormal, kDisable};
    case FaceSet::Light: return {kNormal, kNormal, kNormal, kNormal, kOver};
    case FaceSet::Version: return {kNormal, kNormal, kNormal, kNormal, kNormal};
    case FaceSet::Key: return {kNormal, kOver, kDown, kNormal, kDisable};
    case FaceSet::ExtraKey: return {kFlipNormal, kFlipOver, kFlipDown, kFlipNormal, kFlipDisable};
    }
    return {kNormal, kNormal, kNormal, kNormal, kNormal};
}

std::vector<std::string_view> requiredMainPictures() {
    return {kNormal, kOver, kDown, kDisable, kArrowPicture, "Skins/main_color0.jpg", "Skins/main_color1.jpg"};
}

std::vector<SkinnedControl> mainSkinnedControls() {
    std::vector<SkinnedControl> controls;
    for (const NamedControl& control : kWindowButtons) controls.push_back({control.id, control.skinKey, control.faces});
    const auto addKey = [&controls](int buttonId) {
        controls.push_back({buttonId, keyboard::skinNameOfButton(buttonId).value_or(""), FaceSet::Key});
    };
    for (int buttonId : keyboard::kGKeyList) addKey(buttonId);
    for (const keyboard::LayoutKey& key : keyboard::kLayoutKeyList) addKey(key.buttonId);
    controls.push_back({kFn, "KEY_FN", FaceSet::Selectable});
    for (int i = 0; i < kExtraKeyCount; ++i)
        controls.push_back({kFirstExtraKey + i, "FUNC_D" + std::to_string(i + 1), FaceSet::ExtraKey});
    return controls;
}

std::vector<std::string_view> extraKeyPictures() { return {kFlipNormal, kFlipOver, kFlipDown, kFlipDisable}; }

std::vector<PlacedControl> lightingPanelControls() {
    return {std::begin(kLightingPanel), std::end(kLightingPanel)};
}

std::array<ArrowControl, 2> flipArrows() {
    return {{{kLeftArrow, "LEFT_ARROW", "UP_ARROW_LEFT1", "DOWN_ARROW_LEFT1"},
             {kRightArrow, "RIGHT_ARROW", "UP_ARROW_RIGHT1", "DOWN_ARROW_RIGHT1"}}};
}

}  // namespace quillmar::shell::main_window
