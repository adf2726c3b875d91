#include "TrayIcons.h"

#include "FacePainter.h"

#include <QPainter>

namespace quillmar::skingen {
namespace {

enum class TrayLook { NoKeyboard, Present, Indicator };

QImage trayIcon(TrayLook look) {
    QImage image(64, 64, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF body(3, 3, 58, 58);
    QLinearGradient fill(body.topLeft(), body.bottomRight());
    if (look == TrayLook::NoKeyboard) {
        fill.setColorAt(0, QColor(0x5a, 0x60, 0x6b));
        fill.setColorAt(1, QColor(0x33, 0x37, 0x3f));
    } else {
        fill.setColorAt(0, theme::kAccent);
        fill.setColorAt(0.6, QColor(0x8a, 0x5c, 0xff));
        fill.setColorAt(1, QColor(0xff, 0x3d, 0x7f));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(body, 13, 13);
    // A small keyboard: three rows of keys and a space bar.
    p.setBrush(QColor(0x0b, 0x0c, 0x0f, 220));
    p.drawRoundedRect(QRectF(10, 19, 44, 28), 4, 4);
    p.setBrush(look == TrayLook::NoKeyboard ? QColor(0xb0, 0xb6, 0xc0) : Qt::white);
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 5; ++column)
            p.drawRoundedRect(QRectF(13.5 + column * 7.8, 22.5 + row * 7, 5.5, 5), 1, 1);
    p.drawRoundedRect(QRectF(21, 37, 22, 5), 1, 1);
    if (look == TrayLook::NoKeyboard) {
        p.setPen(QPen(QColor(0xff, 0x4d, 0x5e), 5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(12, 52), QPointF(52, 12));
    }
    if (look == TrayLook::Indicator) {
        p.setPen(QPen(QColor(0x0b, 0x0c, 0x0f), 3));
        p.setBrush(theme::kAssigned);
        p.drawEllipse(QPointF(50, 14), 10, 10);
    }
    return image;
}

}  // namespace

void writeTrayIcons(const OutputFolder& out) {
    out.writeImage("Skins/tray128.png", trayIcon(TrayLook::NoKeyboard));
    out.writeImage("Skins/tray141.png", trayIcon(TrayLook::Present));
    out.writeImage("Skins/tray142.png", trayIcon(TrayLook::Indicator));
    out.writeImage("Skins/app.png", trayIcon(TrayLook::Present));
}

}  // namespace quillmar::skingen
