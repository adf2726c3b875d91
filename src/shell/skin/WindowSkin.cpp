#include "shell/skin/WindowSkin.h"

#include "text/IniFile.h"

#include <QBitmap>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <QWindow>

namespace quillmar::shell {

namespace {

constexpr std::string_view kScreenSection = "SCREEN";
constexpr std::string_view kBackgroundKey = "Main";
constexpr std::string_view kMaskKey = "Mask";

QImage loadSkinImage(const std::filesystem::path& folder, const std::string& name) {
    if (name.empty()) return {};
    QImage image;
    image.load(QString::fromStdString((folder / name).string()));
    return image;
}

}  // namespace

QRegion shapeFromMask(const QImage& mask) {
    const QImage rgb = mask.convertToFormat(QImage::Format_ARGB32);
    QImage inside(rgb.size(), QImage::Format_MonoLSB);
    inside.setColorCount(2);
    inside.setColor(0, qRgb(255, 255, 255));
    inside.setColor(1, qRgb(0, 0, 0));
    inside.fill(0);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            if ((row[x] & 0xFFFFFF) != 0xFFFFFF) inside.setPixel(x, y, 1);
        }
    }
    return QRegion(QBitmap::fromImage(inside));
}

WindowSkin::WindowSkin(QWidget& window, QPixmap background)
    : QObject(&window), window_(window), background_(std::move(background)) {
    window_.installEventFilter(this);
}

bool WindowSkin::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &window_) return false;
    switch (event->type()) {
        case QEvent::Paint: {
            QPainter painter(&window_);
            painter.drawPixmap(0, 0, background_);
            return false;
        }
        case QEvent::MouseButtonPress: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() != Qt::LeftButton) return false;
            return startDrag(mouse->position().toPoint(), mouse->globalPosition().toPoint());
        }
        case QEvent::MouseMove: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (!dragOffset_ || !(mouse->buttons() & Qt::LeftButton)) return false;
            window_.move(mouse->globalPosition().toPoint() - *dragOffset_);
            return true;
        }
        case QEvent::MouseButtonRelease:
            dragOffset_.reset();
            return false;
        default:
            return false;
    }
}

bool WindowSkin::startDrag(QPoint windowPos, QPoint globalPos) {
    if (window_.childAt(windowPos) != nullptr) return false;
    QWindow* handle = window_.windowHandle();
    if (handle != nullptr && handle->startSystemMove()) return true;
    dragOffset_ = globalPos - window_.pos();
    return true;
}

WindowSkin* ApplyWindowSkin(QWidget& window, const std::filesystem::path& skinFile) {
    const std::filesystem::path folder = skinFile.parent_path();
    const std::string backgroundName =
        text::readIniString(skinFile, kScreenSection, kBackgroundKey, "");
    const std::string maskName =
        text::readIniString(skinFile, kScreenSection, kMaskKey, backgroundName);
    const QImage background = loadSkinImage(folder, backgroundName);
    if (background.isNull()) return nullptr;

    delete window.findChild<WindowSkin*>(QString(), Qt::FindDirectChildrenOnly);
    window.setWindowFlag(Qt::FramelessWindowHint);
    window.resize(background.size());
    window.hide();
    const QImage mask = loadSkinImage(folder, maskName);
    if (!mask.isNull()) window.setMask(shapeFromMask(mask));
    return new WindowSkin(window, QPixmap::fromImage(background));
}

}  // namespace quillmar::shell
