#include "shell/dialogs/CQuillmar_DlgProfile.h"

#include "device/DeviceCommands.h"
#include "profiles/ProfileFile.h"
#include "profiles/UserFolder.h"
#include "shell/dialogs/DialogStyle.h"
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

#include <QHeaderView>
#include <QKeyEvent>
#include <QTableWidget>

#include <array>
#include <cstdlib>

namespace quillmar::shell {
namespace {

constexpr int kOk = 1;
constexpr int kCancel = 2;
constexpr int kList = 1007;
constexpr int kLoad = 1008;
constexpr int kAdd = 1010;
constexpr int kDelete = 1011;
constexpr int kApply = 1012;

constexpr int kCheckColumn = 0;
constexpr int kNameColumn = 1;
constexpr int kPathColumn = 2;
constexpr int kProfileRole = Qt::UserRole;

struct SkinnedButton {
    int id;
    const char* skinKey;
    const char* captionKey;
    std::u16string_view builtIn;
};

constexpr SkinnedButton kButtons[] = {
    {kAdd, "FUNC_ADD", "PROFILE_DLG_ADD", u"添加"},
    {kLoad, "FUNC_LOAD", "PROFILE_DLG_LOAD", u"载入"},
    {kDelete, "FUNC_DELETE", "PROFILE_DLG_DELETE", u"删除"},
    {kOk, "CONTROL_OK", "PROFILE_OK", u"确定"},
    {kCancel, "CONTROL_CANCEL", "PROFILE_CANCLE", u"取消"},
    {kApply, "CONTROL2_APPLY", "PROFILE_APPLY", u"应用"},
};

const std::array<std::string, 5> kPictures = {"Skins/Profile_normal.jpg", "Skins/Profile_over.jpg",
                                              "Skins/Profile_down.jpg", "Skins/Profile_down.jpg",
                                              "Skins/Profile_down.jpg"};

}  // namespace

const MessageMap<CQuillmar_DlgProfile>& CQuillmar_DlgProfile::messageMap() {
    using Map = MessageMap<CQuillmar_DlgProfile>;
    static constexpr Map::CommandRoute kCommands[] = {
        {kAdd, kAdd, &CQuillmar_DlgProfile::OnAdd},          {kLoad, kLoad, &CQuillmar_DlgProfile::OnLoad},
        {kDelete, kDelete, &CQuillmar_DlgProfile::OnDelete}, {kApply, kApply, &CQuillmar_DlgProfile::OnApply},
        {kOk, kOk, &CQuillmar_DlgProfile::OnOk},             {kCancel, kCancel, &CQuillmar_DlgProfile::OnCancel},
    };
    static const Map map{{}, kCommands, {}};
    return map;
}

bool CQuillmar_DlgProfile::OnCommand(int id) {
    const QWidget* target = control(id);
    if (target && !target->isEnabled()) return false;
    return messageMap().dispatchCommand(*this, id);
}

CQuillmar_DlgProfile::CQuillmar_DlgProfile(CQuillmarDlg& mainWindow, ProfileDialogSetup setup)
    : QDialog(&mainWindow), main_(mainWindow), setup_(std::move(setup)) {
    setModal(true);
    for (const SkinnedButton& skinned : kButtons) {
        auto* face = new CPngButton(skinned.id, this);
        face->setFocusPolicy(Qt::NoFocus);
        setControlId(*face, skinned.id);
        controls_[skinned.id] = face;
        const int id = skinned.id;
        connect(face, &QPushButton::clicked, this, [this, id] { OnCommand(id); });
    }
    list_ = new QTableWidget(0, 3, this);
    setControlId(*list_, kList);
    controls_[kList] = list_;
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setShowGrid(true);
    list_->verticalHeader()->hide();
    list_->setColumnWidth(kCheckColumn, 60);
    list_->setColumnWidth(kNameColumn, 120);
    list_->setColumnWidth(kPathColumn, 230);
    list_->horizontalHeader()->setStretchLastSection(true);
    setStyleSheet(QString::fromLatin1(kDarkControlStyle));
    connect(list_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (filling_ || item->column() != kCheckColumn) return;
        // One check at a time: checking a row clears the others.
        if (item->checkState() == Qt::Checked) checkRow(item->row());
        enableApply(true);
    });
    // A dialog never opened holds nothing to apply; otherwise every profile change asks to save.
    enableApply(false);
}

CQuillmar_DlgProfile::~CQuillmar_DlgProfile() = default;

QWidget* CQuillmar_DlgProfile::control(int id) const {
    const auto found = controls_.find(id);
    return found == controls_.end() ? nullptr : found->second;
}

bool CQuillmar_DlgProfile::loadSkin() {
    if (skinLoaded_) return true;
    const auto skinFile = setup_.programDirectory / "Skins" / "Profile.ini";
    ApplyWindowSkin(*this, skinFile);
    surfaces_ = std::make_unique<SkinSurfaces>(setup_.programDirectory, size());
    const std::array<std::string_view, 3> pictures = {kPictures[0], kPictures[1], kPictures[2]};
    if (!surfaces_->load(pictures)) return false;
    CaptionStyle caption;
    caption.fontFace = QStringLiteral("Tahoma");
    caption.colour = Qt::white;
    for (const SkinnedButton& skinned : kButtons) {
        auto* face = static_cast<CPngButton*>(control(skinned.id));
        PlaceSkinnedButton(*face, skinFile, main_window::kButtonSection, skinned.skinKey,
                           surfaces_->buttonSurfaces(kPictures));
        face->setCaptionStyle(caption);
    }
    PlaceControl(*list_, skinFile, main_window::kButtonSection, "PROGRAM_LIST");
    surfaces_->release();  // the buttons have cut their faces
    skinLoaded_ = true;
    return true;
}

void CQuillmar_DlgProfile::run() {
    if (!openDialog()) std::exit(0);
    exec();
}

bool CQuillmar_DlgProfile::openDialog() {
    if (!loadSkin()) return false;
    ++openCount_;
    const text::Texts& texts = setup_.texts;
    for (const SkinnedButton& skinned : kButtons)
        static_cast<CPngButton*>(control(skinned.id))->setText(toQString(texts.text(skinned.captionKey, skinned.builtIn)));
    list_->setHorizontalHeaderLabels({toQString(texts.text("PROFILE_DLG_ACTIVE", u"激活")),
                                      toQString(texts.text("PROFILE_DLG_NAME", u"名称")),
                                      toQString(texts.text("PROFILE_DLG_PATH", u"路径"))});
    list_->setRowCount(0);
    const auto profileFile = profiles::UserFolder(setup_.userFolder).profileFile();
    for (int profile = 0; profile < device::kProfileCount; ++profile) {
        addRow(profileFile);
        list_->item(profile, kCheckColumn)->setData(kProfileRole, profile);
    }
    if (main_.link().presence().connectedCount() > 0) {
        const int active = main_.link().commands().GetActiveProfile();
        if (active >= 0 && active < device::kProfileCount) checkRow(active);
    }
    enableApply(false);
    return true;
}

void CQuillmar_DlgProfile::addRow(const std::filesystem::path& file) {
    filling_ = true;
    const int row = list_->rowCount();
    list_->insertRow(row);
    auto* check = new QTableWidgetItem;
    check->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    check->setCheckState(Qt::Unchecked);
    list_->setItem(row, kCheckColumn, check);
    list_->setItem(row, kNameColumn, new QTableWidgetItem(QString::fromStdString(file.stem().string())));
    list_->setItem(row, kPathColumn, new QTableWidgetItem(QString::fromStdString(file.parent_path().string())));
    filling_ = false;
}

int CQuillmar_DlgProfile::checkedRow() const {
    for (int row = 0; row < list_->rowCount(); ++row)
        if (list_->item(row, kCheckColumn)->checkState() == Qt::Checked) return row;
    return -1;
}

void CQuillmar_DlgProfile::checkRow(int row) {
    const bool wasFilling = filling_;
    filling_ = true;
    for (int other = 0; other < list_->rowCount(); ++other)
        list_->item(other, kCheckColumn)->setCheckState(other == row ? Qt::Checked : Qt::Unchecked);
    filling_ = wasFilling;
}

void CQuillmar_DlgProfile::showProfile(int profile) {
    if (isOpen()) checkRow(profile);
}

bool CQuillmar_DlgProfile::isApplyEnabled() const { return control(kApply)->isEnabled(); }

void CQuillmar_DlgProfile::enableApply(bool enabled) { control(kApply)->setEnabled(enabled); }

void CQuillmar_DlgProfile::OnAdd(int) {
    const profiles::UserFolder folder(setup_.userFolder);
    folder.ensureUserFolder({});
    std::u16string name = setup_.texts.text("PROFILE_NEW", u"\\The new contextual  mode");
    while (!name.empty() && (name.front() == u'\\' || name.front() == u'/')) name.erase(0, 1);
    const auto initial = folder.path() / std::filesystem::path(name);
    const auto chosen = main_.fileChooser().chooseNewProfileFile(initial);
    if (!chosen || profiles::writeDefaultFile(*chosen) != 1) return;
    addRow(*chosen);
    enableApply(true);
}

void CQuillmar_DlgProfile::OnLoad(int) {
    const profiles::UserFolder folder(setup_.userFolder);
    folder.ensureUserFolder({});
    const auto chosen = main_.fileChooser().chooseProfileFileToLoad(folder.path() / "*.kbp");
    if (!chosen) return;
    addRow(*chosen);
    enableApply(true);
}

void CQuillmar_DlgProfile::OnDelete(int) {
    const int row = list_->currentRow();
    if (row >= 0) list_->removeRow(row);
    enableApply(true);
}

int CQuillmar_DlgProfile::checkedProfile() const {
    const int row = checkedRow();
    if (row < 0) return -1;
    // Each of the first rows keeps its profile when rows above it are
    // deleted; rows of added or loaded files stand for the first profile.
    const QVariant profile = list_->item(row, kCheckColumn)->data(kProfileRole);
    return profile.isValid() ? profile.toInt() : 0;
}

void CQuillmar_DlgProfile::OnApply(int) {
    main_.activateProfileFromDialog(checkedProfile());
    enableApply(false);
}

void CQuillmar_DlgProfile::OnOk(int) {
    OnApply(kApply);
    closeDialog();
}

void CQuillmar_DlgProfile::OnCancel(int) { closeDialog(); }

void CQuillmar_DlgProfile::reject() { closeDialog(); }

void CQuillmar_DlgProfile::closeDialog() {
    if (openCount_ == 0) return;
    enableApply(false);
    --openCount_;
    QDialog::done(QDialog::Rejected);
}

void CQuillmar_DlgProfile::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        main_.SendWindowMessage(main_window::kMessageHelp, 0, 0);
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

CQuillmar_DlgProfile* attachProfileDialog(CQuillmarDlg& mainWindow, const ProfileDialogSetup& setup) {
    auto* dialog = new CQuillmar_DlgProfile(mainWindow, setup);
    mainWindow.setProfileDialog(*dialog);
    return dialog;
}

}  // namespace quillmar::shell
