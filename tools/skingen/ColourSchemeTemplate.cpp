#include "ColourSchemeTemplate.h"

#include "OutputFiles.h"
#include "keyboard/LayoutKeyList.h"

#include <QColor>

#include <array>
#include <functional>
#include <optional>
#include <vector>

namespace quillmar::skingen {
namespace {

constexpr int kMatrixColumns = 21;

struct Scheme {
    const char* name;
    QColor base;    // the eraser's colour; unpainted keys show it
    QColor paint;   // the brush's colour
    // The painted colour of a lighting position, or none for the base colour.
    std::function<std::optional<QColor>(int row, int column, int position)> painted;
};

bool isGameKey(int position) {
    // W A S D, Q E R, Space, Shift, Ctrl and the four arrows.
    constexpr std::array<int, 13> keys = {44, 64, 65, 66, 43, 45, 46, 108, 84, 105, 99, 119, 120};
    for (int key : keys)
        if (key == position) return true;
    return position == 121;
}

QColor blend(QColor a, QColor b, double t) {
    return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * t),
                            static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * t),
                            static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * t));
}

std::vector<Scheme> schemes() {
    const auto byColumn = [](QColor left, QColor right) {
        return [=](int, int column, int) -> std::optional<QColor> {
            return blend(left, right, column / double(kMatrixColumns - 1));
        };
    };
    const auto byRow = [](QColor top, QColor bottom) {
        return [=](int row, int, int) -> std::optional<QColor> { return blend(top, bottom, row / 5.0); };
    };
    return {
        {"Arctic", QColor(0, 40, 120), QColor(200, 240, 255), byRow(QColor(220, 245, 255), QColor(0, 90, 255))},
        {"Inferno", QColor(80, 0, 0), QColor(255, 200, 0), byRow(QColor(255, 230, 40), QColor(255, 20, 0))},
        {"WASD Focus", QColor(0, 50, 150), QColor(255, 30, 30),
         [](int, int, int position) -> std::optional<QColor> {
             if (isGameKey(position)) return QColor(255, 30, 30);
             return std::nullopt;
         }},
        {"Rainbow", QColor(0, 0, 0), QColor(255, 255, 255),
         [](int, int column, int) -> std::optional<QColor> {
             return QColor::fromHsv(column * 359 / kMatrixColumns, 255, 255);
         }},
        {"Ocean", QColor(0, 30, 60), QColor(0, 255, 200), byColumn(QColor(0, 255, 200), QColor(0, 80, 255))},
        {"Toxic", QColor(20, 120, 0), QColor(180, 255, 0),
         [](int row, int column, int) -> std::optional<QColor> {
             if (row == 0 || column >= 17) return QColor(180, 255, 0);
             return std::nullopt;
         }},
        {"Sunset", QColor(40, 0, 60), QColor(255, 120, 0), byColumn(QColor(255, 140, 0), QColor(200, 0, 160))},
        {"Stealth", QColor(40, 40, 40), QColor(255, 255, 255),
         [](int, int, int position) -> std::optional<QColor> {
             if (isGameKey(position)) return QColor(255, 255, 255);
             return std::nullopt;
         }},
        {"Royal", QColor(70, 0, 160), QColor(255, 190, 0),
         [](int row, int, int) -> std::optional<QColor> {
             if (row == 0) return QColor(255, 190, 0);
             return std::nullopt;
         }},
        {"Candy", QColor(255, 80, 180), QColor(0, 220, 255),
         [](int, int column, int) -> std::optional<QColor> {
             if (column % 2 == 1) return QColor(0, 220, 255);
             return std::nullopt;
         }},
    };
}

std::string rgb(QColor colour) {
    return std::to_string(colour.red()) + "," + std::to_string(colour.green()) + "," + std::to_string(colour.blue());
}

std::vector<int> litPositions() {
    std::vector<int> positions;
    for (const keyboard::LayoutKey& key : keyboard::kLayoutKeyList) positions.push_back(key.lightingPosition);
    positions.push_back(keyboard::kFnLightingPosition);
    positions.push_back(keyboard::kGKeyLightingPosition);
    return positions;
}

}  // namespace

std::string colourSchemeTemplate() {
    const std::vector<Scheme> all = schemes();
    IniText ini;
    ini.section("PRESENTMODE");
    ini.value("mode", "0");
    ini.section("MODENAME");
    for (std::size_t i = 0; i < all.size(); ++i) ini.value(std::to_string(i), all[i].name);
    for (std::size_t i = 0; i < all.size(); ++i) {
        const Scheme& scheme = all[i];
        ini.section("Mode" + std::to_string(i));
        ini.value("tool", "0");
        ini.value("jcolor", rgb(scheme.base));
        ini.value("color", rgb(scheme.paint));
        for (int position : litPositions()) {
            const std::optional<QColor> painted =
                scheme.painted(position / kMatrixColumns, position % kMatrixColumns, position);
            ini.value(std::to_string(position), rgb(painted.value_or(scheme.base)) + (painted ? ",0" : ",1"));
        }
    }
    return ini.text();
}

}  // namespace quillmar::skingen
