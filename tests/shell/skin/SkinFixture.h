#pragma once

#include <QImage>
#include <QPixmap>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <string>

namespace quillmar::shell::testing {

// A skin folder of its own, removed at the end.
class SkinFolder {
public:
    std::filesystem::path path(const std::string& name) const {
        return std::filesystem::path(dir_.path().toStdString()) / name;
    }

    std::filesystem::path writeFile(const std::string& name, const std::string& text) const {
        const auto file = path(name);
        std::ofstream(file, std::ios::binary) << text;
        return file;
    }

    void writeImage(const std::string& name, const QImage& image) const {
        image.save(QString::fromStdString(path(name).string()));
    }

private:
    QTemporaryDir dir_;
};

// A surface whose every pixel tells where it is and which state it belongs
// to: red = x, green = y, blue = tag.
inline QPixmap positionSurface(int tag, QSize size = {256, 256}) {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) image.setPixel(x, y, qRgb(x & 0xFF, y & 0xFF, tag));
    }
    return QPixmap::fromImage(image);
}

}  // namespace quillmar::shell::testing
