#include "KeyboardGeometry.h"

#include <cmath>
#include <initializer_list>

namespace quillmar::skingen {
namespace {

using keyboard::KeyCode;
using keyboard::kNoKey;

constexpr KeyCode kFnCap = 0xFFFF;  // marks the Fn key while laying out
constexpr KeyCode kGapCap = 0xFFFE; // an empty stretch of the row

struct CapShape {
    KeyCode code;
    double width;
    const char* legend;
    const char* shifted = "";
    double height = 1.0;
};

constexpr double kGKeyColumnWidth = 1.3;
constexpr double kGKeyColumnGap = 0.5;
constexpr double kBlockGap = 0.35;
constexpr double kFunctionRowGap = 0.4;
constexpr double kMainBlockWidth = 15.0;
constexpr double kNavigationWidth = 3.0;

CapShape gap(double width) { return {kGapCap, width, ""}; }

class RowLayout {
public:
    RowLayout(QPoint origin, std::vector<KeyCap>& caps) : origin_(origin), caps_(caps) {}

    void row(int row, double startColumn, std::initializer_list<CapShape> shapes) {
        double column = startColumn;
        for (const CapShape& shape : shapes) {
            if (shape.code != kGapCap) place(row, column, shape);
            column += shape.width;
        }
    }

private:
    void place(int row, double column, const CapShape& shape) {
        const double top = rowTop(row);
        const int x = origin_.x() + static_cast<int>(std::lround(column * kKeyPitch));
        const int y = origin_.y() + static_cast<int>(std::lround(top * kKeyPitch));
        const int right = origin_.x() + static_cast<int>(std::lround((column + shape.width) * kKeyPitch));
        const int bottom = origin_.y() + static_cast<int>(std::lround((top + shape.height) * kKeyPitch));
        const KeyCode code = shape.code == kFnCap ? kNoKey : shape.code;
        caps_.push_back({code, QString::fromUtf8(shape.legend), QString::fromUtf8(shape.shifted),
                         QRect(x, y, right - x - kKeyGap, bottom - y - kKeyGap)});
    }

    static double rowTop(int row) { return row == 0 ? 0.0 : row + kFunctionRowGap; }

    QPoint origin_;
    std::vector<KeyCap>& caps_;
};

void layOutMainBlock(RowLayout& rows, double x) {
    rows.row(0, x, {{0x001, 1, "Esc"}, gap(1), {0x03B, 1, "F1"}, {0x03C, 1, "F2"}, {0x03D, 1, "F3"},
                    {0x03E, 1, "F4"}, gap(0.5), {0x03F, 1, "F5"}, {0x040, 1, "F6"}, {0x041, 1, "F7"},
                    {0x042, 1, "F8"}, gap(0.5), {0x043, 1, "F9"}, {0x044, 1, "F10"}, {0x057, 1, "F11"},
                    {0x058, 1, "F12"}});
    rows.row(1, x, {{0x029, 1, "`", "~"}, {0x002, 1, "1", "!"}, {0x003, 1, "2", "@"}, {0x004, 1, "3", "#"},
                    {0x005, 1, "4", "$"}, {0x006, 1, "5", "%"}, {0x007, 1, "6", "^"}, {0x008, 1, "7", "&"},
                    {0x009, 1, "8", "*"}, {0x00A, 1, "9", "("}, {0x00B, 1, "0", ")"}, {0x00C, 1, "-", "_"},
                    {0x00D, 1, "=", "+"}, {0x00E, 2, "Backspace"}});
    rows.row(2, x, {{0x00F, 1.5, "Tab"}, {0x010, 1, "Q"}, {0x011, 1, "W"}, {0x012, 1, "E"}, {0x013, 1, "R"},
                    {0x014, 1, "T"}, {0x015, 1, "Y"}, {0x016, 1, "U"}, {0x017, 1, "I"}, {0x018, 1, "O"},
                    {0x019, 1, "P"}, {0x01A, 1, "[", "{"}, {0x01B, 1, "]", "}"}, {0x02B, 1.5, "\\", "|"}});
    rows.row(3, x, {{0x03A, 1.75, "Caps Lock"}, {0x01E, 1, "A"}, {0x01F, 1, "S"}, {0x020, 1, "D"},
                    {0x021, 1, "F"}, {0x022, 1, "G"}, {0x023, 1, "H"}, {0x024, 1, "J"}, {0x025, 1, "K"},
                    {0x026, 1, "L"}, {0x027, 1, ";", ":"}, {0x028, 1, "'", "\""}, {0x01C, 2.25, "Enter"}});
    rows.row(4, x, {{0x02A, 1.25, "Shift"}, {0x056, 1, "<", ">"}, {0x02C, 1, "Z"}, {0x02D, 1, "X"},
                    {0x02E, 1, "C"}, {0x02F, 1, "V"}, {0x030, 1, "B"}, {0x031, 1, "N"}, {0x032, 1, "M"},
                    {0x033, 1, ",", "<"}, {0x034, 1, ".", ">"}, {0x035, 1, "/", "?"}, {0x036, 2.75, "Shift"}});
    rows.row(5, x, {{0x01D, 1.25, "Ctrl"}, {0x15B, 1.25, "Win"}, {0x038, 1.25, "Alt"}, {0x039, 6.25, ""},
                    {0x138, 1, "Alt"}, {0x15C, 1, "Win"}, {kFnCap, 1, "Fn"}, {0x15D, 1, "Menu"},
                    {0x11D, 1, "Ctrl"}});
}

void layOutNavigationBlock(RowLayout& rows, double x) {
    rows.row(0, x, {{0x137, 1, "PrtSc"}, {0x046, 1, "ScrLk"}, {0x045, 1, "Pause"}});
    rows.row(1, x, {{0x152, 1, "Ins"}, {0x147, 1, "Home"}, {0x149, 1, "PgUp"}});
    rows.row(2, x, {{0x153, 1, "Del"}, {0x14F, 1, "End"}, {0x151, 1, "PgDn"}});
    rows.row(4, x, {gap(1), {0x148, 1, "\u25B2"}});
    rows.row(5, x, {{0x14B, 1, "\u25C0"}, {0x150, 1, "\u25BC"}, {0x14D, 1, "\u25B6"}});
}

void layOutNumberPad(RowLayout& rows, double x) {
    rows.row(1, x, {{0x145, 1, "Num"}, {0x135, 1, "/"}, {0x037, 1, "*"}, {0x04A, 1, "-"}});
    rows.row(2, x, {{0x047, 1, "7", "Home"}, {0x048, 1, "8", "\u25B2"}, {0x049, 1, "9", "PgUp"},
                    {0x04E, 1, "+", "", 2.0}});
    rows.row(3, x, {{0x04B, 1, "4", "\u25C0"}, {0x04C, 1, "5"}, {0x04D, 1, "6", "\u25B6"}});
    rows.row(4, x, {{0x04F, 1, "1", "End"}, {0x050, 1, "2", "\u25BC"}, {0x051, 1, "3", "PgDn"},
                    {0x11C, 1, "Enter", "", 2.0}});
    rows.row(5, x, {{0x052, 2, "0", "Ins"}, {0x053, 1, ".", "Del"}});
}

int px(double units) { return static_cast<int>(std::lround(units * kKeyPitch)); }

}  // namespace

KeyboardGeometry layOutKeyboard(QPoint origin) {
    KeyboardGeometry geometry;
    RowLayout rows(origin, geometry.caps);
    const double mainX = kGKeyColumnWidth + kGKeyColumnGap;
    const double navigationX = mainX + kMainBlockWidth + kBlockGap;
    const double numberPadX = navigationX + kNavigationWidth + kBlockGap;
    layOutMainBlock(rows, mainX);
    layOutNavigationBlock(rows, navigationX);
    layOutNumberPad(rows, numberPadX);

    const int height = px(5 + 1 + kFunctionRowGap) - kKeyGap;
    const int gWidth = px(kGKeyColumnWidth) - kKeyGap;
    for (int i = 0; i < 9; ++i) {
        const int top = (height + kKeyGap) * i / 9;
        const int bottom = (height + kKeyGap) * (i + 1) / 9 - kKeyGap;
        geometry.gKeys.push_back(QRect(origin.x(), origin.y() + top, gWidth, bottom - top));
    }
    geometry.keys = QRect(origin, QSize(px(numberPadX + 4) - kKeyGap, height));
    geometry.functionRowSpareArea =
        QRect(origin.x() + px(numberPadX), origin.y(), px(4) - kKeyGap, px(1) - kKeyGap);
    geometry.flipArea = QRect(origin.x() + px(mainX + 2), origin.y() - 30, px(4) - kKeyGap, 22);
    return geometry;
}

}  // namespace quillmar::skingen
