#include "LanguageTexts.h"

#include "OutputFiles.h"

namespace quillmar::skingen {

const std::vector<LanguageText>& languageTexts() {
    // MACRO_ACTION_RECORD_DELAY is also the name under which the record-delay
    // setting is stored, so it is the same in both languages.
    static const std::vector<LanguageText> texts = {
        {"MACRO_ACTION_RECORD_DELAY", "RecordDelay", "RecordDelay"},
        {"MACRO_NEW_PREFIX", "Macro", "宏"},
        {"MACRO_ERR_MAX", "You can have at most %d macros.", "宏的数量最多为 %d 个。"},
        {"MACRO_KEYS_TISHI", "Key", "按键"},
        {"MACRO_ACTION_TISHI", "Action", "动作"},
        {"MACRO_DELAY_MS", "Delay (ms)", "延时(毫秒)"},
        {"MACRO_ACTION_CLEAR_CONFIRM", "Remove all actions of this macro?", "确定要清除该宏的所有动作吗？"},
        {"MACRO_ACTION_ERR_MODIFY", "Actions cannot be typed in here; use the Record button.",
         "此处不能直接编辑，请使用录制按钮。"},
        {"MACRO_ACTION_ERR_DELAY_MAX", "The longest delay is %d ms.", "最长延时为 %d 毫秒。"},
        {"MACRO_ACTION_RECORD", "Record", "录制"},
        {"MACRO_ACTION_STOP_RECORD", "Stop recording", "停止录制"},
        {"EXTRA_MACRO_TOO_LONG",
         "The macros do not fit in the keyboard's memory. Remove some macros or actions, then apply again.",
         "宏超出了键盘的存储空间。请减少宏或宏动作的数量，然后再应用。"},
        {"EXTRA_PROFILE_SPACE_TIGHT", "The keyboard's memory is nearly full, so the macro names were not stored.",
         "键盘存储空间不足，未保存宏名称。"},
        {"UNKNOWN_KEY", "Unknown key: %03x", "未知按键: %03x"},
        {"MEDIA_PALYER_1", "Media Player", "媒体播放器"},
        {"MEDIA_PALY_PAUSE_2", "Play/Pause", "播放/暂停"},
        {"MEDIA_STOP_PALY_3", "Stop", "停止"},
        {"MEDIA_PREV_TRACK_4", "Previous Track", "上一曲"},
        {"MEDIA_Next_TRACK_5", "Next Track", "下一曲"},
        {"MEDIA_V_LOW_6", "Volume Down", "音量减"},
        {"MEDIA_V_ADD_7", "Volume Up", "音量加"},
        {"MEDIA_MUTE_8", "Mute", "静音"},
        {"MEDIA_WWW_HOME_9", "Browser Home", "浏览器主页"},
        {"MEDIA_WWW_REFRESH_10", "Browser Refresh", "浏览器刷新"},
        {"MEDIA_WWW_STOP_11", "Browser Stop", "浏览器停止"},
        {"MEDIA_WWW_BACK_12", "Browser Back", "浏览器后退"},
        {"MEDIA_WWW_FORWARD_13", "Browser Forward", "浏览器前进"},
        {"MEDIA_WWW_FAVORITE_14", "Favorites", "收藏夹"},
        {"MEDIA_WWW_SEARCH_15", "Search", "搜索"},
        {"MEDIA_MY_PC_16", "My Computer", "我的电脑"},
        {"MEDIA_CALC_17", "Calculator", "计算器"},
        {"MEDIA_MAIL_18", "Email", "电子邮件"},
        {"FUNC_KEY_DESC1", "Open", "打开"},
        {"FUNC_KEY_DESC2", "New", "新建"},
        {"FUNC_KEY_DESC3", "Undo", "撤销"},
        {"FUNC_KEY_DESC4", "Save", "保存"},
        {"FUNC_KEY_DESC5", "Copy", "复制"},
        {"FUNC_KEY_DESC6", "Cut", "剪切"},
        {"FUNC_KEY_DESC7", "Paste", "粘贴"},
        {"FUNC_KEY_DESC8", "Find", "查找"},
        {"FUNC_KEY_DESC9", "Select All", "全选"},
        {"FUNC_KEY_DESC10", "Zoom-", "缩小"},
        {"FUNC_KEY_DESC11", "Zoom+", "放大"},
        {"MACRO_DELETE_CONFIRM_OF_KEYS", "Some keys play this macro. Delete it anyway?",
         "有按键正在使用该宏，确定要删除吗？"},
        {"KEY_PROMPT_SET", " set to: ", " 设置为: "},
        {"KEY_PROMPT_SINGLE", "Key(", "按键("},
        {"KEY_PROMPT_MACRO", "Macro(", "宏("},
        {"KEY_PROMPT_MEDIA", "Media(", "多媒体("},
        {"KEY_PROMPT_FUNCTION", "Function(", "功能("},
        {"DEFAULT_PROFILE_NAME", "<Default Profile>", "<默认情景模式>"},
        {"PROFILE_SELECT_PROMPT", "Save the changes to this profile first?", "是否保存当前情景模式的设置？"},
        {"PROFILE_SEELCT_PROMPT2", "Close the key editor before switching profiles.",
         "切换情景模式前，请先关闭编辑对话框。"},
        {"PROFILE_LOAD_PROMPT", "Switching the profile stops any macro that is playing.",
         "切换情景模式将自动停止正在播放的宏！"},
        {"PROFILE_FORMAT_ERROR", "The file has a wrong format; the defaults were restored: %s",
         "文件格式错误，已恢复默认值：%s"},
        {"PROFILE_NEW", "New profile", "新建情景模式"},
        {"PROFILE_TIP", "Current profile: ", "当前情景模式："},
        {"KEYBOARD_TRAY_DESC", "Quillmar Gaming Keyboard", "Quillmar 游戏键盘"},
        {"MAIN_CAPTION", "Gaming Keyboard Settings", "游戏键盘设置"},
        {"MAIN_HELP_PROMPT", "Help", "帮助"},
        {"MAIN_MINIMIZE_PROMPT", "Minimize", "最小化"},
        {"MAIN_MENU_PROMPT", "Menu", "菜单"},
        {"MAIN_CLOSE_PROMPT", "Close", "关闭"},
        {"MAIN_BUTTON_KORVEL_VER", "", ""},  // filled with the version
        {"MAIN_PROMPT_DEFAULT", "Do you want to restore the default settings?", "确定要恢复默认设置吗？"},
        {"MAIN_PROMPT_INPORT", "The file has a wrong format; nothing was imported.", "文件格式错误，导入失败！"},
        {"MAIN_SWITCH_FUNCTION_TEXT", "Switch to the color keys mode", "切换到颜色键模式"},
        {"MAIN_SWITCH_COLOR_TEXT", "Switch to the function keys mode", "切换到功能键模式"},
        {"MAIN_DEFAULT_MATRIX_PROMPT", "The keyboard's default layout could not be read.", "读取键盘默认布局失败。"},
        {"MAIN_NO_DEVICE_PROMPT", "No keyboard found. Plug the keyboard in to see and change its keys.",
         "未检测到键盘，无法显示按键设置！"},
        {"MAIN_FOLDER_READ_ONLY",
         "The folder %s cannot be written, so this computer keeps no copy of the keyboard's settings. "
         "The keyboard keeps them, and what you apply still reaches it.",
         "无法写入文件夹 %s，本机不会保存键盘设置的副本。键盘仍保留这些设置，应用的更改仍会写入键盘。"},
        {"MAIN_IMPORT_NOT_DOWNLOADED",
         "The keyboard did not take the imported settings. They are kept here: press Apply to write them again.",
         "键盘未接受导入的设置。设置已保留，请按“应用”重新写入。"},
        {"MAIN_KEYBOARD_BACK_WITH_EDITS",
         "The keyboard is back or was changed by another program, and this window holds changes it lacks. "
         "Yes writes them to the keyboard; No drops them and shows what the keyboard holds.",
         "键盘已重新连接或被其他程序更改，而本窗口中有键盘尚未保存的更改（未应用或写入被中断）。"
         "选择“是”将这些更改写入键盘；选择“否”放弃更改并显示键盘中的设置。"},
        {"MAIN_CLOSE_WITH_EDITS",
         "Some changes have not been applied to the keyboard. "
         "Yes applies them and closes; No closes without them; Cancel goes back.",
         "部分更改尚未应用到键盘。选择“是”应用并关闭；选择“否”不应用直接关闭；选择“取消”返回。"},
        {"MAIN_DOWNLOAD_INTERRUPTED",
         "The download did not finish: the keyboard holds only part of the changes. "
         "They are kept here; plug the keyboard in and apply them again.",
         "写入未完成：键盘只保存了部分更改。更改已保留，请连接键盘后重新应用。"},

        {"PROFILE_1", "Profile 1", "情景模式 1"},
        {"PROFILE_2", "Profile 2", "情景模式 2"},
        {"PROFILE_3", "Profile 3", "情景模式 3"},
        {"PROFILE_MACRO", "Edit macros...", "宏编辑..."},
        {"PROFILE_DEFAULT", "Restore defaults", "恢复默认"},
        {"PROFILE_OK", "OK", "确定"},
        {"PROFILE_CANCLE", "Cancel", "取消"},
        {"PROFILE_APPLY", "Apply", "应用"},
        {"MENU_1", "Import...", "导入..."},
        {"MENU_2", "Export...", "导出..."},
        {"MENU_3", "About", "关于"},
        {"MENU_4", "Close", "关闭"},
        {"MENU_11", "&Open", "打开(&O)"},
        {"MENU_22", "&About", "关于(&A)"},
        {"MENU_33", "E&xit", "退出(&X)"},
        {"GUANYU_JIESHAO",
         "Quillmar Gaming Keyboard Settings: remap keys, record macros, set the lighting and the polling rate.",
         "Quillmar 游戏键盘设置：按键重定义、宏录制、灯光效果与报告率设置。"},
        {"GUANYU_BANQUAN", "Copyright (C) the Quillmar developers.", "版权所有 (C) Quillmar 开发者。"},
        {"SINGLE_KEY", "Single key", "单键"},
        {"SINGLE_STATIC", "Press the key this key should send:", "请按下该键要发送的按键："},
        {"MULTI_MEDIA", "Multimedia", "多媒体"},
        {"FUNCTION_KEY", "Function", "功能键"},
        {"FUNCTION_TISHI", "Choose the function this key runs:", "请选择该键执行的功能："},
        {"KEY_SETTING_TISHI", "Choose what this key does", "设置按键功能"},
        {"MACRO_SETTING", "Macro", "宏"},
        {"MACRO_NAME_SETTING", "Macro:", "宏名称："},
        {"MACRO_EDIT_TISHI", "G9 plays macros: choose or record one", "G9 键只能设置为宏"},
        {"MEDIA_EDIT_TISHI", "Choose the multimedia function:", "请选择多媒体功能："},
        {"MACRO_CYCLES", "Cycles", "循环次数"},
        {"RECORD_DELAY", "Record delays", "录制延时"},
        {"MACRO_OK", "OK", "确定"},
        {"MACRO_CANCLE", "Cancel", "取消"},
        {"A_RECORD", "Record", "录制"},
        {"A_CLEAR", "Clear", "清空"},
        {"A_DELETE", "Delete", "删除"},
        {"A_UP", "Up", "上移"},
        {"A_DOWN", "Down", "下移"},
        {"A_TOP", "To top", "移至顶部"},
        {"A_BOTTOM", "To bottom", "移至底部"},
        {"COMPOSITE_MACRO_OVER", "Recording finished", "录制完成"},
        {"COMPOSITE_PROMPT_CLEAR", "Restore the key's default function", "恢复按键的默认功能"},
        {"COMPOSITE_PROMPT_OSK", "Open the on-screen keyboard", "打开屏幕键盘"},
    };
    return texts;
}

std::string languageFile(std::string_view version) {
    const std::string englishVersion = "Version " + std::string(version);
    const std::string chineseVersion = "版本 " + std::string(version);
    IniText ini;
    ini.section("LANGUAGE");
    ini.value("language", "1");
    for (bool english : {true, false}) {
        ini.section(english ? "ENGINSH" : "CHINESE");
        for (const LanguageText& text : languageTexts()) {
            if (text.key == "MAIN_BUTTON_KORVEL_VER")
                ini.value(text.key, english ? englishVersion : chineseVersion);
            else
                ini.value(text.key, english ? text.english : text.chinese);
        }
    }
    return ";; Texts of the Quillmar keyboard settings. language=1 shows English, 0 Chinese.\n" + ini.text();
}

}  // namespace quillmar::skingen
