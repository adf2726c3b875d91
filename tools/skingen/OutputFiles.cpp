#include "OutputFiles.h"

#include "text/AtomicFile.h"

#include <QBuffer>
#include <QByteArray>

#include <stdexcept>

namespace quillmar::skingen {

OutputFolder::OutputFolder(std::filesystem::path root) : root_(std::move(root)) {}

void OutputFolder::writeText(const std::filesystem::path& relative, std::string_view content) const {
    const std::filesystem::path target = root_ / relative;
    std::filesystem::create_directories(target.parent_path());
    if (!text::writeFileAtomically(target, content))
        throw std::runtime_error("cannot write " + target.string());
}

void OutputFolder::writeImage(const std::filesystem::path& relative, const QImage& image) const {
    const std::string extension = relative.extension().string();
    const char* format = extension == ".jpg" ? "JPG" : extension == ".bmp" ? "BMP" : "PNG";
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    // High quality keeps key legends crisp and flat areas free of blocks.
    const int quality = extension == ".jpg" ? 95 : -1;
    const QImage pixels = extension == ".png" ? image : image.convertToFormat(QImage::Format_RGB32);
    if (!pixels.save(&buffer, format, quality))
        throw std::runtime_error("cannot encode " + relative.string());
    writeText(relative, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

void IniText::section(std::string_view name) {
    if (!text_.empty()) text_ += "\n";
    text_ += "[";
    text_ += name;
    text_ += "]\n";
}

void IniText::value(std::string_view key, std::string_view value) {
    const bool outerBlank = !value.empty() && (value.front() == ' ' || value.back() == ' ');
    text_ += key;
    text_ += "=";
    if (outerBlank) text_ += "\"";
    text_ += value;
    if (outerBlank) text_ += "\"";
    text_ += "\n";
}

}  // namespace quillmar::skingen
