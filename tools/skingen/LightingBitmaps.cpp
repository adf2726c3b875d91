#include "LightingBitmaps.h"

#include "FacePainter.h"

#include <QPainter>
#include <QPainterPath>

#include <array>
#include <cmath>
#include <functional>
#include <string>

namespace quillmar::skingen {
namespace {

const QColor kIdle(0x8a, 0x93, 0xa3);
const QColor kButtonFill(0x24, 0x28, 0x30);
const QColor kButtonBorder(0x3b, 0x41, 0x4c);

QImage drawn(QSize size, const std::function<void(QPainter&, QRectF)>& draw) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(theme::kPanel);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

void buttonBase(QPainter& p, QRectF r, bool selected) {
    p.setPen(QPen(selected ? theme::kAccent : kButtonBorder, 1));
    p.setBrush(selected ? QColor(0x0e, 0x6f, 0x93) : kButtonFill);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
}

void arrow(QPainter& p, QPointF centre, double angleDegrees, QColor colour) {
    p.save();
    p.translate(centre);
    p.rotate(angleDegrees);
    p.setPen(QPen(colour, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(-7, 0), QPointF(7, 0));
    const QPointF head[3] = {{2, -5}, {7, 0}, {2, 5}};
    p.drawPolyline(head, 3);
    p.restore();
}

// Spread: arrows pointing out of the centre; gather: pointing in.
void rings(QPainter& p, QRectF r, bool spread, QColor colour) {
    const QPointF c = r.center();
    p.setPen(QPen(colour, 1.8));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 3.0, 3.0);
    for (double angle : {0.0, 180.0}) {
        p.save();
        p.translate(c);
        p.rotate(angle);
        p.setPen(QPen(colour, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        const double tip = spread ? 13 : 6;
        const double d = spread ? -4 : 4;
        p.drawLine(QPointF(6, 0), QPointF(13, 0));
        const QPointF head[3] = {{tip + d, -4}, {tip, 0}, {tip + d, 4}};
        p.drawPolyline(head, 3);
        p.restore();
    }
}

void writeDirectionButtons(const OutputFolder& out) {
    const QSize size(36, 28);
    struct Direction {
        const char* name;
        std::function<void(QPainter&, QRectF, QColor)> glyph;
    };
    const std::array<Direction, 6> directions = {{
        {"left", [](QPainter& p, QRectF r, QColor c) { arrow(p, r.center(), 180, c); }},
        {"right", [](QPainter& p, QRectF r, QColor c) { arrow(p, r.center(), 0, c); }},
        {"up", [](QPainter& p, QRectF r, QColor c) { arrow(p, r.center(), -90, c); }},
        {"down", [](QPainter& p, QRectF r, QColor c) { arrow(p, r.center(), 90, c); }},
        {"kuosan", [](QPainter& p, QRectF r, QColor c) { rings(p, r, true, c); }},
        {"julong", [](QPainter& p, QRectF r, QColor c) { rings(p, r, false, c); }},
    }};
    for (const Direction& direction : directions) {
        for (bool selected : {false, true}) {
            // "kuosan"/"julong" add "down" for the selected look; the arrows say "up" or "down".
            const std::string base = direction.name;
            const bool paired = base != "kuosan" && base != "julong";
            const std::string name = base + (selected ? "down" : (paired ? "up" : ""));
            out.writeImage("Skins/" + name + ".bmp", drawn(size, [&](QPainter& p, QRectF r) {
                buttonBase(p, r, selected);
                direction.glyph(p, r, selected ? Qt::white : kIdle);
            }));
        }
    }
}

void writeLamp(const OutputFolder& out) {
    for (bool on : {false, true}) {
        out.writeImage(on ? "Skins/dengdown.bmp" : "Skins/dengup.bmp", drawn(QSize(44, 44), [on](QPainter& p, QRectF r) {
            buttonBase(p, r, on);
            const QPointF c(r.center().x(), r.center().y() - 3);
            if (on) {
                QRadialGradient glow(c, 16);
                glow.setColorAt(0, QColor(0x1f, 0xc8, 0xff, 150));
                glow.setColorAt(1, QColor(0x1f, 0xc8, 0xff, 0));
                p.setPen(Qt::NoPen);
                p.setBrush(glow);
                p.drawEllipse(c, 16.0, 16.0);
            }
            p.setPen(QPen(on ? Qt::white : kIdle, 2));
            p.setBrush(on ? QColor(0x1f, 0xc8, 0xff) : Qt::transparent);
            p.drawEllipse(c, 8.0, 8.0);
            p.setBrush(Qt::NoBrush);
            p.drawLine(QPointF(c.x() - 4, c.y() + 12), QPointF(c.x() + 4, c.y() + 12));
            p.drawLine(QPointF(c.x() - 3, c.y() + 15), QPointF(c.x() + 3, c.y() + 15));
        }));
    }
}

void writeFixedColours(const OutputFolder& out) {
    const std::array<std::pair<const char*, QColor>, 4> colours = {{
        {"hong", QColor(0xff, 0x2d, 0x3a)},
        {"huang", QColor(0xff, 0xd1, 0x2a)},
        {"lv", QColor(0x2e, 0xe0, 0x6a)},
        {"lan", QColor(0x2f, 0x7b, 0xff)},
    }};
    for (const auto& [name, colour] : colours) {
        for (bool selected : {false, true}) {
            out.writeImage("Skins/" + std::string(name) + (selected ? "ok" : "") + ".bmp",
                           drawn(QSize(28, 28), [&, selected](QPainter& p, QRectF r) {
                               if (selected) {
                                   p.setPen(QPen(Qt::white, 2));
                                   p.setBrush(Qt::NoBrush);
                                   p.drawRoundedRect(r.adjusted(1, 1, -1, -1), 7, 7);
                               }
                               p.setPen(Qt::NoPen);
                               p.setBrush(colour);
                               p.drawRoundedRect(r.adjusted(4, 4, -4, -4), 4, 4);
                           }));
        }
    }
}

void writeCheckboxes(const OutputFolder& out) {
    for (bool on : {false, true}) {
        out.writeImage(on ? "Skins/sjsdown.bmp" : "Skins/sjsup.bmp", drawn(QSize(20, 20), [on](QPainter& p, QRectF r) {
            p.setPen(QPen(on ? theme::kAccent : kButtonBorder, 1.2));
            p.setBrush(on ? QColor(0x0e, 0x6f, 0x93) : kButtonFill);
            p.drawRoundedRect(r.adjusted(2, 2, -2, -2), 3, 3);
            if (on) {
                p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
                const QPointF tick[3] = {{5.5, 10}, {8.5, 13}, {14.5, 6.5}};
                p.drawPolyline(tick, 3);
            }
        }));
    }
}

void writeTools(const OutputFolder& out) {
    for (bool selected : {false, true}) {
        const char* state = selected ? "down" : "up";
        out.writeImage(std::string("Skins/user1") + state + ".bmp", drawn(QSize(32, 28), [selected](QPainter& p, QRectF r) {
            buttonBase(p, r, selected);
            const QColor ink = selected ? Qt::white : kIdle;
            p.setPen(QPen(ink, 2.4, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(20, 7), QPointF(13, 16));  // handle
            p.setPen(Qt::NoPen);
            p.setBrush(selected ? theme::kAccent : ink);
            p.drawEllipse(QPointF(11.5, 18.5), 3.6, 3.6);  // bristles
        }));
        out.writeImage(std::string("Skins/user2") + state + ".bmp", drawn(QSize(32, 28), [selected](QPainter& p, QRectF r) {
            buttonBase(p, r, selected);
            const QColor ink = selected ? Qt::white : kIdle;
            p.save();
            p.translate(r.center());
            p.rotate(-35);
            p.setPen(QPen(ink, 1.6));
            p.setBrush(Qt::NoBrush);
            p.drawRoundedRect(QRectF(-9, -4.5, 18, 9), 2, 2);
            p.setBrush(ink);
            p.drawRoundedRect(QRectF(-9, -4.5, 7, 9), 2, 2);
            p.restore();
        }));
    }
}

void writeBusyFrames(const OutputFolder& out) {
    for (int frame = 1; frame <= 10; ++frame) {
        out.writeImage("Skins/jdt" + std::to_string(frame) + ".bmp", drawn(QSize(24, 24), [frame](QPainter& p, QRectF) {
            for (int dot = 0; dot < 10; ++dot) {
                const double angle = (dot * 36 - 90) * M_PI / 180.0;
                const int age = (frame - 1 - dot + 10) % 10;  // 0 = the newest dot
                QColor colour = theme::kAccent;
                colour.setAlpha(age < 5 ? 255 - age * 45 : 35);
                p.setPen(Qt::NoPen);
                p.setBrush(colour);
                p.drawEllipse(QPointF(12 + 8.5 * std::cos(angle), 12 + 8.5 * std::sin(angle)), 2.0, 2.0);
            }
        }));
    }
}

// The fill of channel n: brightness 0..4 and speed 6..10 show a quarter per
// step; the other numbers are spare steps of a fourteen-step channel.
double channelFill(int n) {
    if (n <= 4) return n / 4.0;
    if (n == 5) return 1.0;
    if (n <= 10) return (n - 6) / 4.0;
    return (n - 11) / 14.0;
}

void writeSliderChannels(const OutputFolder& out) {
    for (int n = 0; n <= 25; ++n) {
        const double fill = channelFill(n);
        const int steps = n <= 10 ? 4 : 14;
        out.writeImage("Skins/" + std::to_string(n) + ".bmp", drawn(QSize(200, 24), [fill, steps](QPainter& p, QRectF r) {
            const QRectF track(10, r.center().y() - 3, r.width() - 20, 6);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0x26, 0x2a, 0x32));
            p.drawRoundedRect(track, 3, 3);
            QLinearGradient gradient(track.topLeft(), track.topRight());
            gradient.setColorAt(0, theme::kAccent.darker(160));
            gradient.setColorAt(1, theme::kAccent);
            p.setBrush(gradient);
            p.drawRoundedRect(QRectF(track.left(), track.top(), track.width() * fill, track.height()), 3, 3);
            for (int i = 0; i <= steps; ++i) {
                const double x = track.left() + track.width() * i / steps;
                p.setBrush(i <= fill * steps + 1e-9 ? QColor(0xd8, 0xf5, 0xff) : QColor(0x3a, 0x3f, 0x49));
                p.drawEllipse(QPointF(x, track.center().y()), 1.6, 1.6);
            }
            const QPointF knob(track.left() + track.width() * fill, track.center().y());
            p.setPen(QPen(theme::kAccent, 2));
            p.setBrush(Qt::white);
            p.drawEllipse(knob, 7.0, 7.0);
        }));
    }
}

}  // namespace

void writeLightingBitmaps(const OutputFolder& out) {
    writeLamp(out);
    writeDirectionButtons(out);
    writeFixedColours(out);
    writeCheckboxes(out);
    writeTools(out);
    writeBusyFrames(out);
    writeSliderChannels(out);
}

}  // namespace quillmar::skingen
