#pragma once

#include <QPixmap>

namespace quillmar::shell {

// The five state surfaces a skinned button cuts its face from. QPixmap shares
// its pixels, so every button of a window holds the window's surfaces, not
// copies of them.
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
};

}  // namespace quillmar::shell
