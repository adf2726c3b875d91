#pragma once

#include <QImage>
#include <QObject>
#include <QPixmap>
#include <QPoint>
#include <QRegion>

#include <filesystem>
#include <optional>

class QWidget;

namespace quillmar::shell {

// The shape a mask picture gives a window: every pixel that is not exactly
// white (red, green and blue 255; alpha does not count).
QRegion shapeFromMask(const QImage& mask);

// The look of a skinned window, installed on it by ApplyWindowSkin: paints
// the background at the client origin before the window's own painting, and
// moves the window when the left button is pressed on the background rather
// than on a control.
class WindowSkin final : public QObject {
    Q_OBJECT
public:
    WindowSkin(QWidget& window, QPixmap background);

    const QPixmap& background() const { return background_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool startDrag(QPoint windowPos, QPoint globalPos);

    QWidget& window_;
    QPixmap background_;
    // Set while the window is moved by hand (no system move available).
    std::optional<QPoint> dragOffset_;
};

// Skins window from section "SCREEN" of skinFile: "Main" names the background
// and "Mask" the shape picture (default: the background), both in the skin
// file's folder. The window becomes frameless, takes the background's size
// and is hidden; without a background it keeps its size and gets no shape,
// and without a mask no shape. Returns the installed skin (a child of the
// window, replacing an earlier one), or nullptr when there is no background.
WindowSkin* ApplyWindowSkin(QWidget& window, const std::filesystem::path& skinFile);

}  // namespace quillmar::shell
