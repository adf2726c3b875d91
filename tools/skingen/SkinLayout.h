#pragma once

#include "KeyboardGeometry.h"

#include <QRect>
#include <QSize>
#include <QString>

#include <string>
#include <utility>
#include <vector>

namespace quillmar::skingen {

// How a button's face is drawn in the state pictures.
enum class FaceStyle {
    KeyCap,          // layout keys and Fn: legend on a keycap
    GKey,            // macro keys; the window writes their labels
    Button,          // plain push button; the window writes its caption
    ProfileTab,      // profile buttons: the selected look marks the active one
    RateButton,      // polling rate, the rate printed on the face
    HelpButton,
    MenuButton,
    MinimiseButton,
    CloseButton,
    LockLight,       // Caps / Num / Scroll: lit in the "over" picture
    BankIndicator,   // A/B: bank B in the "over" picture
    FlipLight,       // Flip0: lit in the "disable" picture
    FlipLeft,
    FlipRight,
    ArrowLeft,       // decoration; the window cuts it from Arrow.jpg
    ArrowRight,
    BrandLink,       // the product's word mark, opens the web site
    Blank,           // no face of its own (version text)
    TabPanel,        // the composite dialog's tab area
    TitleMark,
    ClearIcon,
    KeyboardIcon,
    AddIcon,
    RemoveIcon,
};

struct Control {
    Control(std::string key, QRect rect, FaceStyle style, QString legend = {}, QString shifted = {},
            QString caption = {})
        : key(std::move(key)), rect(rect), style(style), legend(std::move(legend)), shifted(std::move(shifted)),
          caption(std::move(caption)) {}

    std::string key;   // skin key in section "BUTTONINFO"
    QRect rect;        // window pixels, as written
    FaceStyle style = FaceStyle::Blank;
    QString legend;    // printed on the face
    QString shifted;   // key caps: the small upper legend
    QString caption;   // what the window itself writes on it (previews only)
};

// Background areas the painter decorates.
enum class DecorKind { Header, Plate, Panel, Footer, Divider, ListFrame, WordMark };

struct Decor {
    DecorKind kind;
    QRect rect;
};

struct WindowLayout {
    QSize size;
    std::vector<Decor> decor;
    std::vector<Control> faced;   // buttons cut from the state pictures
    std::vector<Control> placed;  // position and size only
};

struct MainWindowLayout : WindowLayout {
    KeyboardGeometry keyboard;
    QRect lightingPanel;
};

MainWindowLayout mainWindowLayout();

// The extra keys D1..D6 ("FUNC_D1".."FUNC_D6"), which Flip mode 1 shows in
// place of F1..F4: six caps sharing the room of those four.
std::vector<Control> extraKeyControls(const MainWindowLayout& layout);

// The main window as Flip mode 1 draws it: D1..D6 where F1..F4 are.
MainWindowLayout flippedMainWindowLayout(const MainWindowLayout& layout);
WindowLayout compositeDialogLayout();
WindowLayout profileDialogLayout();

// The skin key of a layout key button: "KEY_" and its key index in three
// upper-case hexadecimal digits.
std::string keySkinName(keyboard::KeyCode code);

}  // namespace quillmar::skingen
