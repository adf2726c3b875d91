#include "shell/window/DownloadProgressBar.h"

#include <QPainter>

#include <algorithm>

namespace quillmar::shell {

void DownloadProgressBar::setProgress(int done, int total) {
    total_ = std::max(total, 0);
    done_ = std::clamp(done, 0, total_);
    update();
}

void DownloadProgressBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect frame = rect().adjusted(0, 0, -1, -1);
    painter.fillRect(frame, QColor(0x20, 0x20, 0x24));
    if (total_ > 0) {
        QRect filled = frame.adjusted(1, 1, 0, 0);
        filled.setWidth(static_cast<int>(static_cast<long long>(filled.width()) * done_ / total_));
        painter.fillRect(filled, QColor(0xF0, 0x8A, 0x24));
    }
    painter.setPen(QColor(0x70, 0x70, 0x78));
    painter.drawRect(frame);
}

}  // namespace quillmar::shell
