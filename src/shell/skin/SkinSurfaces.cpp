#include "shell/skin/SkinSurfaces.h"

#include <QImage>
#include <QPainter>

#include <algorithm>

#include <malloc.h>

namespace quillmar::shell {

namespace {

std::string normalisedName(std::string_view picture) {
    std::string name(picture);
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

}  // namespace

QPixmap loadStateSurface(const std::filesystem::path& picture, QSize clientSize) {
    QImage image;
    if (!image.load(QString::fromStdString(picture.string()))) return {};
    QPixmap surface(clientSize.grownBy({0, 0, 2 * kSurfaceMargin, 2 * kSurfaceMargin}));
    surface.fill(Qt::black);
    QPainter painter(&surface);
    painter.drawImage(0, 0, image);
    return surface;
}

SkinSurfaces::SkinSurfaces(std::filesystem::path programDirectory, QSize clientSize)
    : programDirectory_(std::move(programDirectory)), clientSize_(clientSize) {}

bool SkinSurfaces::load(std::span<const std::string_view> pictures) {
    for (std::string_view picture : pictures) {
        std::string name = normalisedName(picture);
        if (loaded_.contains(name)) continue;
        QPixmap surface = loadStateSurface(programDirectory_ / name, clientSize_);
        if (surface.isNull()) {
            failedPicture_ = std::move(name);
            return false;
        }
        loaded_.insert(name);
        surfaces_.emplace(std::move(name), std::move(surface));
    }
    return true;
}

void SkinSurfaces::release() {
    if (surfaces_.empty()) return;
    surfaces_.clear();
    // Freed surfaces leave holes inside the heap that the allocator keeps for
    // itself; give their pages back.
    ::malloc_trim(0);
}

QPixmap SkinSurfaces::surface(std::string_view picture) const {
    std::string name = normalisedName(picture);
    if (const auto found = surfaces_.find(name); found != surfaces_.end()) return found->second;
    if (!loaded_.contains(name)) return {};
    QPixmap surface = loadStateSurface(programDirectory_ / name, clientSize_);
    surfaces_.emplace(std::move(name), surface);
    return surface;
}

ButtonSurfaces SkinSurfaces::buttonSurfaces(const std::array<std::string, 5>& pictures) const {
    return {surface(pictures[0]), surface(pictures[1]), surface(pictures[2]),
            surface(pictures[3]), surface(pictures[4])};
}

}  // namespace quillmar::shell
