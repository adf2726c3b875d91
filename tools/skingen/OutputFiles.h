#pragma once

#include <QImage>

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillmar::skingen {

// Where the generated files go; every file is replaced atomically so a program
// started during a build never reads half a picture. Throws on failure: a build
// step must stop rather than leave an incomplete skin behind.
class OutputFolder {
public:
    explicit OutputFolder(std::filesystem::path root);

    const std::filesystem::path& root() const { return root_; }
    void writeText(const std::filesystem::path& relative, std::string_view content) const;
    // The format follows the file name: .jpg, .bmp or .png.
    void writeImage(const std::filesystem::path& relative, const QImage& image) const;

private:
    std::filesystem::path root_;
};

// A settings text file built in memory, section by section, in the order written.
class IniText {
public:
    void section(std::string_view name);
    // Values with blanks at either end are quoted, as the reader strips one pair.
    void value(std::string_view key, std::string_view value);
    const std::string& text() const { return text_; }

private:
    std::string text_;
};

}  // namespace quillmar::skingen
