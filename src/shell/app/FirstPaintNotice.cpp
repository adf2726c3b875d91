#include "shell/app/FirstPaintNotice.h"

#include <QEvent>

#include <cstdio>
#include <cstdlib>

namespace quillmar::shell {

void FirstPaintNotice::watchIfAsked(QObject& window) {
    if (!std::getenv(kEnvironmentVariable)) return;
    window.installEventFilter(new FirstPaintNotice(&window));
}

bool FirstPaintNotice::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint) {
        std::fputs("quillmar: shown\n", stderr);
        std::fflush(stderr);
        watched->removeEventFilter(this);
        deleteLater();
    }
    return false;
}

}  // namespace quillmar::shell
