#include "shell/window/AboutBox.h"

#include "shell/widgets/ControlId.h"
#include "shell/window/QtText.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>

namespace quillmar::shell {
namespace {

QLabel* addLabel(QWidget& parent, int id, const QString& text) {
    auto* label = new QLabel(text, &parent);
    setControlId(*label, id);
    return label;
}

}  // namespace

AboutBox::AboutBox(const text::Texts& texts, const QString& link, QWidget* parent) : QDialog(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
    const QString caption = toQString(texts.text("MAIN_CAPTION", u"Gaming Keyboard Settings"));
    setWindowTitle(caption);

    auto* icon = new QLabel(this);
    icon->setPixmap(windowIcon().pixmap(48, 48));
    auto* linkLabel = addLabel(*this, kLinkLabel, QStringLiteral("<a href=\"%1\">%1</a>").arg(link.toHtmlEscaped()));
    linkLabel->setOpenExternalLinks(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
    layout->addWidget(addLabel(*this, kNameLabel, caption), 0, 1);
    layout->addWidget(addLabel(*this, kVersionLabel, toQString(texts.text("MAIN_BUTTON_KORVEL_VER", u""))), 1, 1);
    layout->addWidget(linkLabel, 2, 1);
    layout->addWidget(buttons, 3, 0, 1, 2);
}

bool AboutBox::event(QEvent* event) {
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
        emit helpRequested();
        return true;
    }
    return QDialog::event(event);
}

}  // namespace quillmar::shell
