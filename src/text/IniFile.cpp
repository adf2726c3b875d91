#include "text/IniFile.h"

#include "text/AtomicFile.h"
#include "text/DecimalText.h"
#include "text/SettingsFileText.h"
#include "text/Utf.h"

#include <optional>

namespace quillmar::text {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (asciiLower(a[i]) != asciiLower(b[i])) return false;
    }
    return true;
}

bool isQuote(char c) { return c == '"' || c == '\''; }

bool isQuoted(std::string_view value) {
    return value.size() >= 2 && isQuote(value.front()) && value.back() == value.front();
}

std::string_view unquote(std::string_view value) {
    return isQuoted(value) ? value.substr(1, value.size() - 2) : value;
}

// Quotes a value exactly when reading it back would otherwise change it.
std::string storedForm(std::string_view value) {
    const bool outerBlank = !value.empty() && (isBlank(value.front()) || isBlank(value.back()));
    if (outerBlank || isQuoted(value)) return "\"" + std::string(value) + "\"";
    return std::string(value);
}

struct Line {
    std::string_view content;  // without the line break
    std::size_t begin = 0;     // offset of content in the text
    std::size_t end = 0;       // offset after the line break
    bool terminated = false;
};

enum class LineKind { Other, Section, Entry };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    std::string_view name;
    std::string_view value;
};

ParsedLine parseLine(std::string_view content) {
    const std::string_view text = trimBlanks(content);
    if (text.empty() || text.front() == ';') return {};
    if (text.front() == '[') {
        const std::string_view inner = text.substr(1);
        return {LineKind::Section, trimBlanks(inner.substr(0, inner.find(']'))), {}};
    }
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) return {};
    return {LineKind::Entry, trimBlanks(text.substr(0, equals)),
            trimBlanks(text.substr(equals + 1))};
}

// Calls visit(line) for each line until it returns false.
template <typename Visit>
void forEachLine(std::string_view text, Visit visit) {
    std::size_t begin = 0;
    while (begin < text.size()) {
        const std::size_t lineFeed = text.find('\n', begin);
        Line line;
        line.begin = begin;
        line.terminated = lineFeed != std::string_view::npos;
        line.end = line.terminated ? lineFeed + 1 : text.size();
        std::size_t contentEnd = line.terminated ? lineFeed : text.size();
        if (contentEnd > begin && text[contentEnd - 1] == '\r') --contentEnd;
        line.content = text.substr(begin, contentEnd - begin);
        if (!visit(line)) return;
        begin = line.end;
    }
}

std::optional<std::string_view> findValue(std::string_view text, std::string_view section,
                                          std::string_view key) {
    std::optional<std::string_view> found;
    bool inSection = false;
    forEachLine(text, [&](const Line& line) {
        const ParsedLine parsed = parseLine(line.content);
        if (parsed.kind == LineKind::Section) inSection = sameName(parsed.name, section);
        if (parsed.kind == LineKind::Entry && inSection && sameName(parsed.name, key)) {
            found = parsed.value;
            return false;
        }
        return true;
    });
    return found;
}

std::string cutToValueLength(std::string_view value) {
    return std::string(utf8PrefixWithin(value, kMaxIniValueLength));
}

// Where a write goes: the key's first line, else after the last entry (or the
// header) of the section's first block, else a new section at the end.
struct WritePlace {
    std::optional<Line> entry;
    std::string_view entryName;
    std::optional<Line> sectionAnchor;
};

WritePlace findWritePlace(std::string_view text, std::string_view section, std::string_view key) {
    WritePlace place;
    bool inSection = false;
    bool inFirstBlock = false;
    forEachLine(text, [&](const Line& line) {
        const ParsedLine parsed = parseLine(line.content);
        if (parsed.kind == LineKind::Section) {
            inSection = sameName(parsed.name, section);
            inFirstBlock = inSection && !place.sectionAnchor;
            if (inFirstBlock) place.sectionAnchor = line;
        } else if (parsed.kind == LineKind::Entry && inSection) {
            if (sameName(parsed.name, key)) {
                place.entry = line;
                place.entryName = parsed.name;
                return false;
            }
            if (inFirstBlock) place.sectionAnchor = line;
        }
        return true;
    });
    return place;
}

std::string_view lineBreakOf(std::string_view text) {
    const std::size_t lineFeed = text.find('\n');
    return lineFeed != std::string_view::npos && lineFeed > 0 && text[lineFeed - 1] == '\r'
               ? "\r\n"
               : "\n";
}

std::string withNewSection(std::string_view text, std::string_view section,
                           const std::string& entry, std::string_view lineBreak) {
    std::string result(text);
    if (!result.empty() && result.back() != '\n') result += lineBreak;
    const std::string blankLine = std::string(lineBreak) + std::string(lineBreak);
    if (!result.empty() && !result.ends_with(blankLine)) result += lineBreak;
    result += "[" + std::string(section) + "]";
    result += lineBreak;
    return result + entry + std::string(lineBreak);
}

std::string withEntry(std::string_view text, std::string_view section, std::string_view key,
                      std::string_view value) {
    const std::string_view lineBreak = lineBreakOf(text);
    const WritePlace place = findWritePlace(text, section, key);
    std::string result(text);
    if (place.entry) {
        const std::string entry = std::string(place.entryName) + "=" + storedForm(value);
        return result.replace(place.entry->begin, place.entry->content.size(), entry);
    }
    const std::string entry = std::string(key) + "=" + storedForm(value);
    if (!place.sectionAnchor) return withNewSection(text, section, entry, lineBreak);
    const Line& anchor = *place.sectionAnchor;
    const std::string inserted = anchor.terminated ? entry + std::string(lineBreak)
                                                   : std::string(lineBreak) + entry;
    return result.insert(anchor.end, inserted);
}

bool hasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

bool writable(std::string_view section, std::string_view key, std::string_view value) {
    if (hasLineBreak(section) || hasLineBreak(key) || hasLineBreak(value)) return false;
    if (section.find(']') != std::string_view::npos) return false;
    if (key.find('=') != std::string_view::npos) return false;
    return key.empty() || (key.front() != '[' && key.front() != ';');
}

}  // namespace

std::string readIniString(const std::filesystem::path& file, std::string_view section,
                          std::string_view key, std::string_view defaultValue) {
    const std::optional<SettingsFileText> loaded = loadSettingsFileText(file);
    if (loaded) {
        const std::optional<std::string_view> value =
            findValue(loaded->text, trimBlanks(section), trimBlanks(key));
        if (value) return cutToValueLength(unquote(*value));
    }
    return cutToValueLength(defaultValue);
}

int readIniNumber(const std::filesystem::path& file, std::string_view section,
                  std::string_view key, int defaultValue) {
    return leadingDecimal(readIniString(file, section, key, std::to_string(defaultValue)));
}

bool writeIniString(const std::filesystem::path& file, std::string_view section,
                    std::string_view key, std::string_view value) {
    section = trimBlanks(section);
    key = trimBlanks(key);
    if (!writable(section, key, value)) return false;
    std::optional<SettingsFileText> contents = loadSettingsFileText(file);
    if (!contents) return false;  // unreadable: never overwrite it blind
    contents->text = withEntry(contents->text, section, key, value);
    return text::writeFileAtomically(file, encodeSettingsFileText(*contents));
}

bool writeIniNumber(const std::filesystem::path& file, std::string_view section,
                    std::string_view key, int value) {
    return writeIniString(file, section, key, std::to_string(value));
}

std::string readIniText(std::string_view text, std::string_view section, std::string_view key,
                        std::string_view defaultValue) {
    const std::optional<std::string_view> value = findValue(text, trimBlanks(section), trimBlanks(key));
    return cutToValueLength(value ? unquote(*value) : defaultValue);
}

bool writeIniText(std::string& text, std::string_view section, std::string_view key, std::string_view value) {
    section = trimBlanks(section);
    key = trimBlanks(key);
    if (!writable(section, key, value)) return false;
    text = withEntry(text, section, key, value);
    return true;
}

}  // namespace quillmar::text
