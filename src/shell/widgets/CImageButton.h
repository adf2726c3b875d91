#pragma once

#include <QLabel>

namespace quillmar::shell {

// A picture that acts as a button: the lighting panel's direction, colour,
// checkbox, tool and lamp pictures. A press and release over it is a click.
class CImageButton : public QLabel {
    Q_OBJECT
public:
    explicit CImageButton(int controlId, QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool pressed_ = false;
};

}  // namespace quillmar::shell
