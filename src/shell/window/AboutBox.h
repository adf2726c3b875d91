#pragma once

#include "text/Texts.h"

#include <QDialog>

namespace quillmar::shell {

// The About window: the program's icon, name and version, and the web
// address as a link. Modeless; it deletes itself when closed.
class AboutBox final : public QDialog {
    Q_OBJECT
public:
    static constexpr int kVersionLabel = 1206;
    static constexpr int kNameLabel = 1205;
    static constexpr int kLinkLabel = 1124;

    AboutBox(const text::Texts& texts, const QString& link, QWidget* parent);

signals:
    // F1 in the window.
    void helpRequested();

protected:
    bool event(QEvent* event) override;
};

}  // namespace quillmar::shell
