#pragma once

#include <QPixmap>
#include <QRect>

#include <iterator>

namespace quillmar::shell {

// The five state pictures of a skinned button: the window's state surfaces it
// cuts its faces from, or the faces it cut.
struct ButtonSurfaces {
    QPixmap normal;
    QPixmap over;
    QPixmap down;
    QPixmap disabled;
    QPixmap selected;

    // The same surface for every state.
    static ButtonSurfaces uniform(const QPixmap& surface) {
        return {surface, surface, surface, surface, surface};
    }

    // The rectangle of each surface; states that show the same surface share
    // one face. A button keeps only its faces, so a window's full-size
    // surfaces need not stay in memory once its buttons are placed.
    ButtonSurfaces cut(const QRect& source) const {
        static constexpr QPixmap ButtonSurfaces::*kStates[] = {&ButtonSurfaces::normal, &ButtonSurfaces::over,
                                                                &ButtonSurfaces::down, &ButtonSurfaces::disabled,
                                                                &ButtonSurfaces::selected};
        ButtonSurfaces faces;
        for (std::size_t i = 0; i < std::size(kStates); ++i) {
            const QPixmap& surface = this->*kStates[i];
            std::size_t same = 0;
            while (same < i && (this->*kStates[same]).cacheKey() != surface.cacheKey()) ++same;
            faces.*kStates[i] = same < i ? faces.*kStates[same] : cutFace(surface, source);
        }
        return faces;
    }

    static QPixmap cutFace(const QPixmap& surface, const QRect& source) {
        return surface.isNull() ? QPixmap() : surface.copy(source);
    }
};

}  // namespace quillmar::shell
