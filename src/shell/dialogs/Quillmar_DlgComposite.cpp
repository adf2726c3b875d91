#include "shell/dialogs/Quillmar_DlgComposite.h"

#include "keyboard/FunctionKeyTable.h"
#include "keyboard/KeyName.h"
#include "keyboard/KeySelectionList.h"
#include "keyboard/MediaFunctionTable.h"
#include "text/Utf.h"
#include "shell/dialogs/CompositeDialogIds.h"
#include "shell/dialogs/DialogPlacement.h"
#include "shell/dialogs/DialogStyle.h"
#include "shell/dialogs/QtKeyMessage.h"
#include "shell/skin/SkinPlacement.h"
#include "shell/skin/SkinSurfaces.h"
#include "shell/skin/WindowSkin.h"
#include "shell/widgets/ButtonCaption.h"
#include "shell/widgets/CPngButton.h"
#include "shell/widgets/ControlId.h"
#include "shell/window/CQuillmarDlg.h"
#include "shell/window/MainSkinTable.h"
#include "shell/window/MainWindowIds.h"
#include "shell/window/QtText.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QStandardPaths>
#include <QTableWidget>

#include <algorithm>
#include <array>
#include <cstdlib>

namespace quillmar::shell {

using namespace composite_dialog;

namespace {

constexpr const char* kSkinFile = "Composite.ini";
constexpr int kActionListRowsShown = 20;

enum class PictureSet { Key, Macro, Macro2, Media, Function };

std::array<std::string, 5> picturesOf(PictureSet set) {
    static constexpr const char* kPrefixes[] = {"key", "macro", "macro2", "media", "function"};
    const std::string prefix = std::string("Skins/") + kPrefixes[static_cast<int>(set)];
    const bool hasDisabled = set == PictureSet::Macro || set == PictureSet::Macro2;
    const std::string disabled = prefix + (hasDisabled ? "_disable.jpg" : "_normal.jpg");
    return {prefix + "_normal.jpg", prefix + "_over.jpg", prefix + "_down.jpg", disabled, prefix + "_down.jpg"};
}

std::vector<std::string_view> requiredPictures() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> all;
        for (PictureSet set : {PictureSet::Key, PictureSet::Macro, PictureSet::Macro2, PictureSet::Media,
                               PictureSet::Function}) {
            for (const std::string& picture : picturesOf(set))
                if (std::find(all.begin(), all.end(), picture) == all.end()) all.push_back(picture);
        }
        return all;
    }();
    return {names.begin(), names.end()};
}

struct SkinnedButton {
    int id;
    const char* skinKey;
    PictureSet set;
};

constexpr SkinnedButton kButtons[] = {
    {kMask, "CONTROL_MASK", PictureSet::Key},
    {kTitle, "CONTROL_TITLE", PictureSet::Key},
    {kKeyTab, "CONTROL_KEY", PictureSet::Key},
    {kMacroTab, "CONTROL_MACRO", PictureSet::Key},
    {kMediaTab, "CONTROL_MEDIA", PictureSet::Key},
    {kFunctionTab, "CONTROL_FUNCTION", PictureSet::Key},
    {kClear, "CONTROL_CLEAR", PictureSet::Key},
    {kOsk, "CONTROL_OSK", PictureSet::Key},
    {kAddMacro, "FUNC_MACRO_ADD", PictureSet::Macro},
    {kDeleteMacro, "FUNC_MACRO_DELETE", PictureSet::Macro},
    {kRecord, "FUNC_MACRO_RECORD", PictureSet::Macro},
    {kDeleteAction, "FUNC_MACRO_DELETE2", PictureSet::Macro},
    {kClearActions, "FUNC_MACRO_CLEAR", PictureSet::Macro},
    {kMoveToTop, "FUNC_MACRO_UP_TOP", PictureSet::Macro},
    {kMoveUp, "FUNC_MACRO_UP", PictureSet::Macro},
    {kMoveDown, "FUNC_MACRO_DOWN", PictureSet::Macro},
    {kMoveToBottom, "FUNC_MACRO_DOWN_BOTTOM", PictureSet::Macro},
    {kOk, "CONTROL_OK", PictureSet::Key},
    {kCancel, "CONTROL_CANCEL", PictureSet::Key},
    {kApply, "CONTROL2_APPLY", PictureSet::Key},
};

struct PlacedWidget {
    int id;
    const char* skinKey;
};

constexpr PlacedWidget kPlaced[] = {
    {kCaptureField, "FUNC_KEY_INPUT"},     {kMediaList, "FUNC_MEDIA_SELECT"},
    {kFunctionList, "FUNC_FUNCTION_SELECT"}, {kMacroBox, "FUNC_MACRO_LIST"},
    {kActionList, "FUNC_MACRO_LIST2"},     {kRecordDelays, "FUNC_MACRO_RECORD_DELAY"},
    {kRecordDelaysLabel, "FUNC_MACRO_RECORD_DELAY2"}, {kLoopCount, "FUNC_MACRO_CYCLES"},
    {kLoopCountLabel, "FUNC_MACRO_CYCLES_PROMPT"}, {kKeyPrompt, "TISHI_SINGLE_STATIC"},
    {kMacroBoxLabel, "MARCO_NAME_SETTING"}, {kHeading, "KEY_SETTING"},
    {kMediaPrompt, "MEDIA_SETTING_TISHI"},  {kFunctionPrompt, "FUNCTION_KEY_SETTING_TISHI"},
};

constexpr int kMacroControls[] = {kActionList, kMacroBox,      kAddMacro,      kDeleteMacro, kRecord,
                                  kDeleteAction, kClearActions, kMoveToTop,    kMoveUp,      kMoveDown,
                                  kMoveToBottom, kRecordDelays, kRecordDelaysLabel, kLoopCount, kLoopCountLabel,
                                  kMacroBoxLabel};
constexpr int kActionButtons[] = {kRecord, kDeleteAction, kClearActions, kMoveToTop, kMoveUp, kMoveDown, kMoveToBottom};

const QString kPressText = QStringLiteral("↓");
const QString kReleaseText = QStringLiteral("  ↑");

}  // namespace

// ---- Routing --------------------------------------------------------------

const MessageMap<Quillmar_DlgComposite>& Quillmar_DlgComposite::messageMap() {
    using Map = MessageMap<Quillmar_DlgComposite>;
    static constexpr Map::CommandRoute kCommands[] = {
        {kOk, kOk, &Quillmar_DlgComposite::OnOk},
        {kCancel, kCancel, &Quillmar_DlgComposite::OnCancel},
        {kApply, kApply, &Quillmar_DlgComposite::OnApply},
        {kKeyTab, kFunctionTab, &Quillmar_DlgComposite::OnTab},
        {kClear, kClear, &Quillmar_DlgComposite::OnClear},
        {kOsk, kOsk, &Quillmar_DlgComposite::OnOsk},
        {kAddMacro, kAddMacro, &Quillmar_DlgComposite::OnAddMacro},
        {kDeleteMacro, kDeleteMacro, &Quillmar_DlgComposite::OnDeleteMacro},
        {kRecord, kRecord, &Quillmar_DlgComposite::OnRecord},
        {kDeleteAction, kDeleteAction, &Quillmar_DlgComposite::OnDeleteAction},
        {kClearActions, kClearActions, &Quillmar_DlgComposite::OnClearActions},
        {kMoveToTop, kMoveToBottom, &Quillmar_DlgComposite::OnMoveAction},
        {kRecordDelays, kRecordDelays, &Quillmar_DlgComposite::OnRecordDelays},
    };
    static const Map map{{}, kCommands, {}};
    return map;
}

bool Quillmar_DlgComposite::OnCommand(int id) {
    const QWidget* target = control(id);
    if (target && !target->isEnabled()) return false;
    return messageMap().dispatchCommand(*this, id);
}

// ---- Construction --------------------------------------------------------

Quillmar_DlgComposite::Quillmar_DlgComposite(CQuillmarDlg& mainWindow, CompositeDialogSetup setup)
    : QDialog(&mainWindow),
      main_(mainWindow),
      setup_(std::move(setup)),
      session_(setup_.working, setup_.texts, mainWindow.prompt(), setup_.clock),
      onScreenKeyboard_(QStandardPaths::findExecutable(QStringLiteral("onboard"))) {
    setWindowFlag(Qt::FramelessWindowHint, true);
    setModal(true);
    createControls();
}

Quillmar_DlgComposite::~Quillmar_DlgComposite() {
    if (filtering_) qApp->removeEventFilter(this);
}

QWidget* Quillmar_DlgComposite::control(int id) const {
    const auto found = controls_.find(id);
    return found == controls_.end() ? nullptr : found->second;
}

CPngButton* Quillmar_DlgComposite::button(int id) const { return qobject_cast<CPngButton*>(control(id)); }

void Quillmar_DlgComposite::createControls() {
    const auto add = [this](QWidget* widget, int id) {
        setControlId(*widget, id);
        controls_[id] = widget;
    };
    for (const SkinnedButton& skinned : kButtons) {
        auto* face = new CPngButton(skinned.id, this);
        face->setFocusPolicy(Qt::NoFocus);
        add(face, skinned.id);
        if (skinned.id == kMask || skinned.id == kTitle) {
            face->setAttribute(Qt::WA_TransparentForMouseEvents);
            continue;
        }
        const int id = skinned.id;
        connect(face, &QPushButton::clicked, this, [this, id] { OnCommand(id); });
    }
    captureField_ = new QLineEdit(this);
    captureField_->setReadOnly(true);
    captureField_->setAlignment(Qt::AlignCenter);
    captureField_->setFont(QFont(QStringLiteral("Verdana"), 18));
    add(captureField_, kCaptureField);

    mediaList_ = new QListWidget(this);
    functionList_ = new QListWidget(this);
    add(mediaList_, kMediaList);
    add(functionList_, kFunctionList);
    connect(mediaList_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (suppressSelection_) return;
        session_.selectMedia(row);
        showChanged();
    });
    connect(functionList_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (suppressSelection_) return;
        session_.selectFunction(row);
        showChanged();
    });

    macroBox_ = new QComboBox(this);
    macroBox_->setEditable(true);
    macroBox_->setInsertPolicy(QComboBox::NoInsert);
    macroBox_->lineEdit()->setMaxLength(config::kMaxMacroNameLength);
    add(macroBox_, kMacroBox);
    connect(macroBox_, &QComboBox::activated, this, &Quillmar_DlgComposite::onMacroSelected);
    connect(macroBox_, &QComboBox::editTextChanged, this, &Quillmar_DlgComposite::onMacroBoxText);

    actionList_ = new QTableWidget(0, 3, this);
    actionList_->setSelectionBehavior(QAbstractItemView::SelectRows);
    actionList_->setSelectionMode(QAbstractItemView::SingleSelection);
    actionList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    actionList_->verticalHeader()->hide();
    actionList_->horizontalHeader()->setStretchLastSection(true);
    actionList_->setColumnWidth(kKeyColumn, 70);
    actionList_->setColumnWidth(kDirectionColumn, 60);
    actionList_->setColumnWidth(kDelayColumn, 70);
    add(actionList_, kActionList);
    connect(actionList_, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (!suppressSelection_) session_.selectRow(row);
    });
    connect(actionList_, &QTableWidget::cellDoubleClicked, this, &Quillmar_DlgComposite::beginCellEdit);

    recordDelays_ = new QCheckBox(this);
    recordDelays_->setFocusPolicy(Qt::NoFocus);
    add(recordDelays_, kRecordDelays);
    connect(recordDelays_, &QCheckBox::clicked, this, [this] { OnCommand(kRecordDelays); });

    loopCount_ = new QLineEdit(this);
    add(loopCount_, kLoopCount);
    connect(loopCount_, &QLineEdit::textEdited, this, &Quillmar_DlgComposite::onLoopCountEdited);

    for (int id : {kRecordDelaysLabel, kLoopCountLabel, kKeyPrompt, kMacroBoxLabel, kHeading, kMediaPrompt,
                   kFunctionPrompt}) {
        auto* label = new QLabel(this);
        label->setWordWrap(true);
        label->setAttribute(Qt::WA_TranslucentBackground);
        label->setStyleSheet(QStringLiteral("color: #E4E4E4; background: transparent;"));
        add(label, id);
    }
    setStyleSheet(QString::fromLatin1(kDarkControlStyle));
}

bool Quillmar_DlgComposite::loadSkin() {
    if (skinLoaded_) return true;
    const auto skinFile = setup_.programDirectory / "Skins" / kSkinFile;
    ApplyWindowSkin(*this, skinFile);
    surfaces_ = std::make_unique<SkinSurfaces>(setup_.programDirectory, size());
    if (!surfaces_->load(requiredPictures())) return false;
    placeControls();
    skinLoaded_ = true;
    return true;
}

void Quillmar_DlgComposite::placeControls() {
    const auto skinFile = setup_.programDirectory / "Skins" / kSkinFile;
    for (const SkinnedButton& skinned : kButtons)
        PlaceSkinnedButton(*button(skinned.id), skinFile, main_window::kButtonSection, skinned.skinKey,
                           surfaces_->buttonSurfaces(picturesOf(skinned.set)));
    for (const PlacedWidget& placed : kPlaced)
        PlaceControl(*control(placed.id), skinFile, main_window::kButtonSection, placed.skinKey);
    button(kMask)->lower();
    CaptionStyle caption;
    caption.fontFace = QStringLiteral("Tahoma");
    caption.colour = Qt::white;
    for (const SkinnedButton& skinned : kButtons) {
        CaptionStyle style = caption;
        if (skinned.id == kRecord || skinned.id == kMacroTab) style.pointSize = 8;
        button(skinned.id)->setCaptionStyle(style);
    }
}

void Quillmar_DlgComposite::setTexts() {
    const text::Texts& texts = setup_.texts;
    const auto text = [&](const char* key, std::u16string_view builtIn) { return toQString(texts.text(key, builtIn)); };
    struct Caption {
        int id;
        const char* key;
    };
    static constexpr Caption kCaptions[] = {
        {kKeyTab, "SINGLE_KEY"},    {kMacroTab, "MACRO_SETTING"},  {kMediaTab, "MULTI_MEDIA"},
        {kFunctionTab, "FUNCTION_KEY"}, {kRecord, "A_RECORD"},     {kDeleteAction, "A_DELETE"},
        {kClearActions, "A_CLEAR"}, {kMoveToTop, "A_TOP"},         {kMoveUp, "A_UP"},
        {kMoveDown, "A_DOWN"},      {kMoveToBottom, "A_BOTTOM"},   {kOk, "MACRO_OK"},
        {kCancel, "MACRO_CANCLE"},
    };
    for (const Caption& caption : kCaptions) button(caption.id)->setText(text(caption.key, u" "));
    button(kApply)->setText(text("PROFILE_APPLY", u"Apply"));
    button(kClear)->setToolTipText(text("COMPOSITE_PROMPT_CLEAR", u"Restore the default functiong of buttons"));
    button(kOsk)->setToolTipText(text("COMPOSITE_PROMPT_OSK", u"Open the on-screen keyboard"));
    static constexpr Caption kLabels[] = {
        {kRecordDelaysLabel, "RECORD_DELAY"}, {kLoopCountLabel, "MACRO_CYCLES"}, {kKeyPrompt, "SINGLE_STATIC"},
        {kMacroBoxLabel, "MACRO_NAME_SETTING"}, {kMediaPrompt, "MEDIA_EDIT_TISHI"},
        {kFunctionPrompt, "FUNCTION_TISHI"},
    };
    for (const Caption& label : kLabels) static_cast<QLabel*>(control(label.id))->setText(text(label.key, u" "));
    static_cast<QLabel*>(control(kHeading))
        ->setText(request_.isG9 ? text("MACRO_EDIT_TISHI", u" ") : text("KEY_SETTING_TISHI", u" "));
    actionList_->setHorizontalHeaderLabels(
        {text("MACRO_KEYS_TISHI", u"hello world"), text("MACRO_ACTION_TISHI", u"hello world"),
         text("MACRO_DELAY_MS", u"hello world")});

    const QSignalBlocker blockMedia(mediaList_);
    const QSignalBlocker blockFunctions(functionList_);
    mediaList_->clear();
    for (const keyboard::MediaFunction& media : keyboard::kMediaFunctionTable)
        mediaList_->addItem(toQString(keyboard::keyName(media.keyCode, texts)));
    functionList_->clear();
    for (const keyboard::FunctionKey& function : keyboard::kFunctionKeyTable)
        functionList_->addItem(toQString(texts.text(function.nameKey, function.builtInName)));
}

// ---- Opening and closing ----------------------------------------------------

bool Quillmar_DlgComposite::openForKey(const CompositeRequest& request) {
    if (!loadSkin()) return false;
    request_ = request;
    const std::string delaySetting = text::toUtf8(setup_.texts.text("MACRO_ACTION_RECORD_DELAY", u"RecordDelay"));
    const bool recordDelays = setup_.settings.readNumber(platform::kProfilesSection, delaySetting, 0) == 1;
    setup_.settings.writeNumber(platform::kProfilesSection, delaySetting, recordDelays ? 1 : 0);
    session_.open(main_.currentProfile(), request.slot, request.isG9, recordDelays);

    setTexts();
    recordDelays_->setChecked(recordDelays);
    const bool g9 = request.isG9;
    const auto faces = surfaces_->buttonSurfaces(picturesOf(g9 ? PictureSet::Macro2 : PictureSet::Key));
    for (int id : {kKeyTab, kMediaTab, kFunctionTab, kClear, kTitle}) button(id)->setSurfaces(faces);
    for (int id : {kKeyTab, kMediaTab, kFunctionTab, kClear}) button(id)->setEnabled(!g9);
    if (g9) {
        for (int id : {kKeyTab, kMediaTab, kFunctionTab}) button(id)->setText(QString());
    }
    button(kOsk)->setEnabled(hasOnScreenKeyboard());
    showMacroList();
    showActions();
    showTab();
    showRecordingState();
    showChanged();
    placeBesideKeyButton(request.buttonId);
    return true;
}

void Quillmar_DlgComposite::placeBesideKeyButton(int buttonId) {
    const QWidget* key = main_.control(buttonId);
    const QScreen* screen = key && key->screen() ? key->screen() : QGuiApplication::primaryScreen();
    if (!key || !screen) return;
    // The rule works in the coordinates of the screen the key is on.
    const QRect area = screen->geometry();
    const QPoint topLeft = key->mapToGlobal(QPoint(0, 0)) - area.topLeft();
    const ScreenRect rect{topLeft.x(), topLeft.y(), topLeft.x() + key->width(), topLeft.y() + key->height()};
    const ScreenPoint at = placeBesideButton(rect, width(), height(), area.width(), area.height());
    move(area.topLeft() + QPoint(at.x, at.y));
}

void Quillmar_DlgComposite::closeIfOpen() {
    if (session_.isOpen()) OnCancel(kCancel);
}

void Quillmar_DlgComposite::reject() { OnCancel(kCancel); }

void Quillmar_DlgComposite::closeDialog() {
    endCellEdit();
    session_.close();
    updateKeyGrab();
    QDialog::done(QDialog::Rejected);
}

void Quillmar_DlgComposite::OnOk(int) {
    // Nothing changed since the last Apply: nothing for the keyboard either.
    if (session_.changed()) OnApply(kApply);
    closeDialog();
}

void Quillmar_DlgComposite::OnCancel(int) { closeDialog(); }

void Quillmar_DlgComposite::OnApply(int) {
    endCellEdit();
    config::CompositeApplyResult result;
    main_.recordConfigurationEdit(profiles::EditKind::KeyAssignment, [&] { result = session_.apply(); });
    if (result.otherProfilesChanged) main_.requireAllProfilesDownload();
    main_.refreshKeyButtons(main_.currentProfile());
    main_.markChanged();
    // The macro list's records are now committed; the rows stay as shown.
    showRecordingState();
    showChanged();
    updateKeyGrab();
}

// ---- Tabs -------------------------------------------------------------

void Quillmar_DlgComposite::OnTab(int id) {
    static constexpr int kTabOfButton[] = {config::kTabKey, config::kTabMacro, config::kTabMedia,
                                           config::kTabFunction};
    if (!session_.clickTab(kTabOfButton[id - kKeyTab])) return;
    afterEdit();
}

void Quillmar_DlgComposite::OnClear(int) {
    session_.clear();
    afterEdit();
}

void Quillmar_DlgComposite::OnOsk(int) {
    if (hasOnScreenKeyboard()) QProcess::startDetached(onScreenKeyboard_, {});
}

void Quillmar_DlgComposite::afterEdit() {
    showTab();
    showMacroList();
    showActions();
    showRecordingState();
    showChanged();
}

void Quillmar_DlgComposite::showTab() {
    const int tab = session_.shownTab();
    static constexpr std::pair<int, int> kTabButtons[] = {{config::kTabKey, kKeyTab},
                                                          {config::kTabMacro, kMacroTab},
                                                          {config::kTabMedia, kMediaTab},
                                                          {config::kTabFunction, kFunctionTab}};
    for (const auto& [shown, id] : kTabButtons) button(id)->setSelected(shown == tab);
    PictureSet maskSet = PictureSet::Key;
    if (tab == config::kTabMacro) maskSet = PictureSet::Macro;
    if (tab == config::kTabMedia) maskSet = PictureSet::Media;
    if (tab == config::kTabFunction) maskSet = PictureSet::Function;
    button(kMask)->setSurfaces(surfaces_->buttonSurfaces(picturesOf(maskSet)));

    const bool g9 = request_.isG9;
    for (int id : kMacroControls) control(id)->setVisible(tab == config::kTabMacro);
    captureField_->setVisible(tab == config::kTabKey);
    control(kKeyPrompt)->setVisible(tab == config::kTabKey && !g9);
    mediaList_->setVisible(tab == config::kTabMedia);
    control(kMediaPrompt)->setVisible(tab == config::kTabMedia && !g9);
    functionList_->setVisible(tab == config::kTabFunction);
    control(kFunctionPrompt)->setVisible(tab == config::kTabFunction && !g9);
    {
        const QSignalBlocker blockMedia(mediaList_);
        const QSignalBlocker blockFunctions(functionList_);
        mediaList_->setCurrentRow(session_.mediaSelection());
        functionList_->setCurrentRow(session_.functionSelection());
    }
    showCapturedKey();
    updateKeyGrab();
}

void Quillmar_DlgComposite::showCapturedKey() {
    captureField_->setText(session_.showsCapturedKey()
                               ? toQString(keyboard::keyName(session_.capturedKey(), setup_.texts))
                               : QString());
}

void Quillmar_DlgComposite::showChanged() {
    CPngButton* apply = button(kApply);
    apply->setEnabled(session_.changed());
    // The key pictures have no disabled look: the caption tells instead.
    CaptionStyle style = apply->captionStyle();
    style.colour = apply->isEnabled() ? QColor(Qt::white) : QColor(0x80, 0x86, 0x90);
    apply->setCaptionStyle(style);
}

// ---- Key capture and recording --------------------------------------------

void Quillmar_DlgComposite::updateKeyGrab() {
    const bool wanted = session_.isOpen() && (session_.isCapturing() || session_.isRecording());
    if (wanted && !filtering_) qApp->installEventFilter(this);
    if (!wanted && filtering_) qApp->removeEventFilter(this);
    filtering_ = wanted;
    // The grab keeps Super and Menu from the desktop on X11; a Wayland
    // compositor keeps its own shortcuts whatever the program asks.
    const bool grab = wanted && isVisible();
    if (grab && !grabbing_) grabKeyboard();
    if (!grab && grabbing_) releaseKeyboard();
    grabbing_ = grab;
}

bool Quillmar_DlgComposite::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return QDialog::eventFilter(watched, event);
    return handleKey(*static_cast<QKeyEvent*>(event));
}

bool Quillmar_DlgComposite::handleKey(QKeyEvent& event) {
    const auto message = keyMessageOf(event);
    if (!message) return false;
    config::KeyHandling handling = config::KeyHandling::Pass;
    if (session_.isRecording()) {
        const std::size_t before = session_.actions().size();
        handling = session_.recordKey(*message);
        if (session_.actions().size() != before) {
            const int row = session_.selectedRow();
            const QSignalBlocker block(actionList_);
            actionList_->insertRow(row);
            showActionRow(row);
            if (row > 0) showActionRow(row - 1);
            actionList_->setCurrentCell(row, 0);
            actionList_->scrollToItem(actionList_->item(row, 0));
            showChanged();
        }
    } else if (session_.isCapturing()) {
        handling = session_.captureKey(*message);
        showCapturedKey();
        showChanged();
    }
    if (handling == config::KeyHandling::Pass) return false;
    event.accept();
    return true;
}

void Quillmar_DlgComposite::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    updateKeyGrab();
}

void Quillmar_DlgComposite::hideEvent(QHideEvent* event) {
    // The state pictures are read again when the dialog next opens.
    if (surfaces_) surfaces_->release();
    QDialog::hideEvent(event);
}

void Quillmar_DlgComposite::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape: event->accept(); return;
    case Qt::Key_F1:
        if (!session_.isRecording()) main_.SendWindowMessage(main_window::kMessageHelp, 0, 0);
        event->accept();
        return;
    default: QDialog::keyPressEvent(event);
    }
}

void Quillmar_DlgComposite::OnRecord(int) {
    endCellEdit();
    session_.toggleRecording();
    showRecordingState();
    updateKeyGrab();
}

void Quillmar_DlgComposite::OnRecordDelays(int) {
    session_.setRecordDelays(recordDelays_->isChecked());
    const std::string delaySetting = text::toUtf8(setup_.texts.text("MACRO_ACTION_RECORD_DELAY", u"RecordDelay"));
    setup_.settings.writeNumber(platform::kProfilesSection, delaySetting, session_.recordsDelays() ? 1 : 0);
}

void Quillmar_DlgComposite::showRecordingState() {
    const bool recording = session_.isRecording();
    CPngButton* record = button(kRecord);
    record->setText(toQString(recording ? setup_.texts.text("MACRO_ACTION_STOP_RECORD", u"Stop Record")
                                        : setup_.texts.text("MACRO_ACTION_RECORD", u"Record")));
    record->setSelected(recording);
    for (int id : {kAddMacro, kDeleteMacro, kMacroBox}) control(id)->setEnabled(!recording);
    const bool macroShown = session_.currentMacro() >= 0;
    for (int id : kActionButtons) control(id)->setEnabled(macroShown);
}

// ---- Macro list -----------------------------------------------------------

void Quillmar_DlgComposite::showMacroList() {
    suppressSelection_ = true;
    const QSignalBlocker block(macroBox_);
    macroBox_->clear();
    for (const config::MacroRecord& macro : session_.macros()) macroBox_->addItem(toQString(config::macroName(macro)));
    macroBox_->setCurrentIndex(session_.currentMacro());
    if (session_.currentMacro() < 0) macroBox_->setEditText(QString());
    loopCount_->setText(QString::number(session_.loopCount()));
    suppressSelection_ = false;
}

void Quillmar_DlgComposite::onMacroSelected(int index) {
    if (suppressSelection_) return;
    session_.selectMacro(index);
    showMacroList();
    showActions();
    showRecordingState();
}

void Quillmar_DlgComposite::onMacroBoxText(const QString& text) {
    if (suppressSelection_) return;
    const bool wasEmpty = session_.macros().empty();
    const std::u16string name(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()));
    session_.typeMacroName(name);
    const QSignalBlocker block(macroBox_);
    if (wasEmpty && !session_.macros().empty()) {
        showMacroList();
        showActions();
        showRecordingState();
    } else if (session_.currentMacro() >= 0) {
        const int cursor = macroBox_->lineEdit()->cursorPosition();
        macroBox_->setItemText(session_.currentMacro(),
                               toQString(config::macroName(session_.macros()[static_cast<std::size_t>(session_.currentMacro())])));
        macroBox_->setEditText(text);
        macroBox_->lineEdit()->setCursorPosition(cursor);
    }
    showChanged();
}

void Quillmar_DlgComposite::onLoopCountEdited(const QString& text) {
    const std::string shown = session_.setLoopCountText(text.trimmed().toStdString());
    if (QString::fromStdString(shown) != text) loopCount_->setText(QString::fromStdString(shown));
    showChanged();
}

void Quillmar_DlgComposite::OnAddMacro(int) {
    if (!session_.addMacro()) return;
    afterEdit();
}

void Quillmar_DlgComposite::OnDeleteMacro(int) {
    if (!session_.deleteMacro()) return;
    afterEdit();
}

// ---- Action list ------------------------------------------------------------

void Quillmar_DlgComposite::showActions() {
    endCellEdit();
    suppressSelection_ = true;
    const QSignalBlocker block(actionList_);
    actionList_->setRowCount(static_cast<int>(session_.actions().size()));
    for (int row = 0; row < actionList_->rowCount(); ++row) showActionRow(row);
    if (session_.selectedRow() >= 0) {
        actionList_->setCurrentCell(session_.selectedRow(), 0);
        actionList_->scrollToItem(actionList_->item(session_.selectedRow(), 0));
    } else {
        actionList_->clearSelection();
    }
    suppressSelection_ = false;
}

void Quillmar_DlgComposite::showActionRow(int row) {
    const config::MacroAction& action = session_.actions()[static_cast<std::size_t>(row)];
    const QColor grey = actionList_->palette().color(QPalette::Disabled, QPalette::Text);
    const auto set = [&](int column, const QString& text, bool greyed) {
        QTableWidgetItem* item = actionList_->item(row, column);
        if (!item) {
            item = new QTableWidgetItem;
            actionList_->setItem(row, column, item);
        }
        item->setText(text);
        if (greyed) item->setForeground(grey);
    };
    set(kKeyColumn, toQString(keyboard::keyName(action.keyCode, setup_.texts)), true);
    set(kDirectionColumn, action.direction == config::KeyDirection::Press ? kPressText : kReleaseText, true);
    set(kDelayColumn, QString::number(action.delayMs), false);
}

void Quillmar_DlgComposite::OnDeleteAction(int) {
    session_.deleteRow();
    showActions();
    showChanged();
}

void Quillmar_DlgComposite::OnClearActions(int) {
    if (!session_.clearRows()) return;
    showActions();
    showChanged();
}

void Quillmar_DlgComposite::OnMoveAction(int id) {
    static constexpr config::RowMove kMoves[] = {config::RowMove::ToTop, config::RowMove::Up, config::RowMove::Down,
                                                 config::RowMove::ToBottom};
    session_.moveRow(kMoves[id - kMoveToTop]);
    showActions();
    actionList_->setFocus();
    showChanged();
}

void Quillmar_DlgComposite::beginCellEdit(int row, int column) {
    endCellEdit();
    if (row < 0 || row >= static_cast<int>(session_.actions().size())) return;
    if (column == kDelayColumn && session_.isRecording()) OnRecord(kRecord);
    const config::MacroAction& action = session_.actions()[static_cast<std::size_t>(row)];
    QWidget* editor = nullptr;
    if (column == kKeyColumn) {
        auto* keys = new QComboBox(actionList_);
        for (int position = 0; position < keyboard::kKeySelectionListSize; ++position)
            keys->addItem(toQString(keyboard::keyName(keyboard::keyCodeAtListPosition(position), setup_.texts)));
        keys->setMaxVisibleItems(kActionListRowsShown);
        keys->setCurrentIndex(keyboard::listPositionOf(action.keyCode) < keyboard::kKeySelectionListSize
                                  ? keyboard::listPositionOf(action.keyCode)
                                  : -1);
        connect(keys, &QComboBox::activated, this, [this] { endCellEdit(); });
        editor = keys;
    } else if (column == kDirectionColumn) {
        auto* directions = new QComboBox(actionList_);
        directions->addItems({kPressText, kReleaseText});
        directions->setCurrentIndex(action.direction == config::KeyDirection::Press ? 0 : 1);
        connect(directions, &QComboBox::activated, this, [this] { endCellEdit(); });
        editor = directions;
    } else {
        auto* delay = new QLineEdit(QString::number(action.delayMs), actionList_);
        delay->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,9}")), delay));
        connect(delay, &QLineEdit::editingFinished, this, [this] { endCellEdit(); });
        editor = delay;
    }
    editedRow_ = row;
    editedColumn_ = column;
    cellEditor_ = editor;
    actionList_->setCellWidget(row, column, editor);
    editor->setFocus();
}

void Quillmar_DlgComposite::endCellEdit() {
    if (!cellEditor_) return;
    QWidget* editor = cellEditor_;
    cellEditor_ = nullptr;
    const int row = editedRow_;
    if (editedColumn_ == kKeyColumn) {
        const int position = static_cast<QComboBox*>(editor)->currentIndex();
        if (position >= 0) session_.setRowKey(row, position);
    } else if (editedColumn_ == kDirectionColumn) {
        session_.setRowDirection(row, static_cast<QComboBox*>(editor)->currentIndex() == 1
                                          ? config::KeyDirection::Release
                                          : config::KeyDirection::Press);
    } else {
        bool ok = false;
        const qulonglong typed = static_cast<QLineEdit*>(editor)->text().toULongLong(&ok);
        if (ok) session_.setRowDelay(row, typed);
    }
    actionList_->removeCellWidget(row, editedColumn_);
    editedRow_ = editedColumn_ = -1;
    if (row < static_cast<int>(session_.actions().size())) showActionRow(row);
    showRecordingState();
    showChanged();
}

Quillmar_DlgComposite* attachCompositeDialog(CQuillmarDlg& mainWindow, const CompositeDialogSetup& setup) {
    auto* dialog = new Quillmar_DlgComposite(mainWindow, setup);
    mainWindow.setCompositeOpener([dialog](const CompositeRequest& request) {
        if (!dialog->openForKey(request)) std::exit(0);
        dialog->exec();
    });
    return dialog;
}

}  // namespace quillmar::shell
