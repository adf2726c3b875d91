// Undo and redo of the main window: the shortcuts, the line that names the
// next undo and redo, and what the window shows after a step.
#include "shell/window/CQuillmarDlg.h"

#include "shell/window/MainWindowIds.h"
#include "shell/window/QtText.h"

#include <QKeySequence>
#include <QLabel>
#include <QShortcut>

#include <algorithm>

namespace quillmar::shell {
namespace {

// The platform's bindings plus the ones users expect from every desktop.
QList<QKeySequence> bindingsOf(QKeySequence::StandardKey key, const QList<QKeySequence>& extra) {
    QList<QKeySequence> keys = QKeySequence::keyBindings(key);
    for (const QKeySequence& sequence : extra)
        if (!keys.contains(sequence)) keys.append(sequence);
    return keys;
}

}  // namespace

void CQuillmarDlg::createUndoControls() {
    // Window shortcuts: they are silent while an editor dialog has the keys.
    auto* undoKeys = new QShortcut(this);
    undoKeys->setKeys(bindingsOf(QKeySequence::Undo, {QKeySequence(Qt::CTRL | Qt::Key_Z)}));
    connect(undoKeys, &QShortcut::activated, this, [this] { undo(); });
    auto* redoKeys = new QShortcut(this);
    redoKeys->setKeys(bindingsOf(QKeySequence::Redo, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                                                      QKeySequence(Qt::CTRL | Qt::Key_Y)}));
    connect(redoKeys, &QShortcut::activated, this, [this] { redo(); });

    undoStatus_ = new QLabel(this);
    undoStatus_->setStyleSheet(QStringLiteral("color: #c8c8c8; font-size: 8pt;"));
    history_.setListener([this] { showEditHistory(); });
    showEditHistory();
}

bool CQuillmarDlg::undo() { return stepHistory(true); }

bool CQuillmarDlg::redo() { return stepHistory(false); }

bool CQuillmarDlg::stepHistory(bool back) {
    if (downloadRunning_ || editorOpen_ || !lighting_ || !keyColours_) return false;
    const profiles::EditTargets targets{setup_.configuration.working, lighting_.get(), keyColours_.get()};
    const profiles::EditStep* step = back ? history_.undo(targets) : history_.redo(targets);
    if (!step) return false;
    if (step->changesConfiguration()) {
        const int profile = currentProfile();
        if (step->configuration.reachesBeyond(profile)) requireAllProfilesDownload();
        refreshKeyButtons(profile);
        // The keyboard may hold the other side of the step: the next Apply writes this one.
        markChanged();
    }
    if (step->changesPanel()) refreshLightingControls();
    return true;
}

void CQuillmarDlg::recordConfigurationEdit(profiles::EditKind kind, const std::function<void()>& edit) {
    profiles::recordConfigurationEdit(history_, kind, lighting_ ? lighting_->state().profile : 0,
                                      setup_.configuration.working, edit);
}

void CQuillmarDlg::showEditHistory() {
    if (!undoStatus_) return;
    const QString undoText = toQString(history_.undoLabel(texts_));
    const QString redoText = toQString(history_.redoLabel(texts_));
    const QString undoKey = QKeySequence(Qt::CTRL | Qt::Key_Z).toString(QKeySequence::NativeText);
    const QString redoKey = QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z).toString(QKeySequence::NativeText);
    undoStatus_->setText(QStringLiteral("%1: %2\n%3: %4").arg(undoKey, undoText, redoKey, redoText));
    undoStatus_->setToolTip(QStringLiteral("%1 (%2)\n%3 (%4)").arg(undoText, undoKey, redoText, redoKey));
    placeEditHistory();
    undoStatus_->setVisible(history_.canUndo() || history_.canRedo());
}

// In the free space between restore defaults and OK, beside the buttons it concerns.
void CQuillmarDlg::placeEditHistory() {
    const QWidget* restore = control(main_window::kRestoreDefaults);
    const QWidget* ok = control(main_window::kOk);
    if (!restore || !ok) return;
    constexpr int kGap = 16;
    const int width = std::max(0, ok->geometry().left() - restore->geometry().right() - 2 * kGap);
    undoStatus_->setFixedWidth(width);
    undoStatus_->adjustSize();
    undoStatus_->move(restore->geometry().right() + kGap, restore->geometry().center().y() - undoStatus_->height() / 2);
}

}  // namespace quillmar::shell
