#pragma once

#include <QObject>

namespace quillmar::shell {

// Tells a measuring parent the moment the main window is first drawn: with
// QUILLMAR_ANNOUNCE_SHOWN set, the line "quillmar: shown" goes to standard
// error at the window's first paint. Nothing happens without the variable.
class FirstPaintNotice : public QObject {
public:
    static constexpr const char* kEnvironmentVariable = "QUILLMAR_ANNOUNCE_SHOWN";

    // Watches `window` when the variable is set.
    static void watchIfAsked(QObject& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QObject::QObject;
};

}  // namespace quillmar::shell
