#pragma once

#include <QWidget>

namespace quillmar::shell {

// A download's progress under the busy indicator: a thin bar filled to the
// share of commands sent. Drawn by hand in the window's colours.
class DownloadProgressBar final : public QWidget {
public:
    explicit DownloadProgressBar(QWidget* parent) : QWidget(parent) {}

    void setProgress(int done, int total);
    int done() const { return done_; }
    int total() const { return total_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int done_ = 0;
    int total_ = 0;
};

}  // namespace quillmar::shell
