#include "ReportDescriptor.h"

#include <algorithm>
#include <set>

namespace quillmar::hidraw {
namespace {

enum ItemType : uint8_t { Main = 0, Global = 1, Local = 2 };

constexpr uint8_t kTagInput = 0x8;
constexpr uint8_t kTagOutput = 0x9;
constexpr uint8_t kTagFeature = 0xB;
constexpr uint8_t kTagCollection = 0xA;
constexpr uint8_t kTagEndCollection = 0xC;
constexpr uint8_t kTagUsagePage = 0x0;
constexpr uint8_t kTagReportSize = 0x7;
constexpr uint8_t kTagReportId = 0x8;
constexpr uint8_t kTagReportCount = 0x9;
constexpr uint8_t kTagPush = 0xA;
constexpr uint8_t kTagPop = 0xB;
constexpr uint8_t kTagUsage = 0x0;
constexpr uint8_t kLongItemPrefix = 0xFE;
constexpr uint64_t kMaxReportBits = 8 * 16384; // the kernel's largest report

struct Item {
    uint8_t type;
    uint8_t tag;
    uint32_t value;
    size_t size;
};

uint32_t littleEndian(const uint8_t* p, size_t n) {
    uint32_t v = 0;
    for (size_t i = 0; i < n; ++i) v |= uint32_t(p[i]) << (8 * i);
    return v;
}

// The global items that Push and Pop save and restore together.
struct Globals {
    uint16_t usagePage = 0;
    uint32_t reportSize = 0;
    uint32_t reportCount = 0;
    uint8_t reportId = 0;
};

class Parser {
public:
    ReportDescriptor result;

    void apply(const Item& item) {
        if (item.type == Global) applyGlobal(item);
        else if (item.type == Local) applyLocal(item);
        else if (item.type == Main) applyMain(item);
    }

    void finish() {
        for (auto& c : result.collections)
            for (ReportKind kind : {ReportKind::Input, ReportKind::Output, ReportKind::Feature})
                for (auto& [id, bits] : lengths(c, kind)) bits = (bits + 7) / 8;
    }

private:
    std::vector<Globals> stack_;
    Globals globals_;
    uint32_t firstUsage_ = 0;
    bool haveUsage_ = false;
    int depth_ = 0;

    static ReportLengths& lengths(TopLevelCollection& c, ReportKind kind) {
        return kind == ReportKind::Input ? c.input : kind == ReportKind::Output ? c.output : c.feature;
    }

    void applyGlobal(const Item& item) {
        switch (item.tag) {
        case kTagUsagePage: globals_.usagePage = uint16_t(item.value); break;
        case kTagReportSize: globals_.reportSize = item.value; break;
        case kTagReportCount: globals_.reportCount = item.value; break;
        case kTagReportId:
            // An id may be declared before the Collection item it belongs to: it counts at
            // the Input, Output and Feature items that follow.
            result.numberedReports = true;
            globals_.reportId = uint8_t(item.value);
            break;
        case kTagPush: stack_.push_back(globals_); break;
        case kTagPop:
            if (!stack_.empty()) {
                globals_ = stack_.back();
                stack_.pop_back();
            }
            break;
        default: break;
        }
    }

    void applyLocal(const Item& item) {
        if (item.tag != kTagUsage || haveUsage_) return;
        // A four-byte usage names its own page in the high half.
        firstUsage_ = item.size == 4 ? item.value : (uint32_t(globals_.usagePage) << 16) | (item.value & 0xFFFF);
        haveUsage_ = true;
    }

    void addField(ReportKind kind) {
        if (depth_ == 0 || result.collections.empty()) return;
        auto& bits = lengths(result.collections.back(), kind)[globals_.reportId];
        bits = std::min<uint64_t>(bits + uint64_t(globals_.reportSize) * globals_.reportCount, kMaxReportBits);
    }

    void applyMain(const Item& item) {
        if (item.tag == kTagCollection) {
            if (depth_ == 0) {
                TopLevelCollection c;
                c.usagePage = haveUsage_ ? uint16_t(firstUsage_ >> 16) : globals_.usagePage;
                c.usage = haveUsage_ ? uint16_t(firstUsage_) : 0;
                result.collections.push_back(c);
            }
            ++depth_;
        } else if (item.tag == kTagEndCollection && depth_ > 0) {
            --depth_;
        } else if (item.tag == kTagInput) {
            addField(ReportKind::Input);
        } else if (item.tag == kTagOutput) {
            addField(ReportKind::Output);
        } else if (item.tag == kTagFeature) {
            addField(ReportKind::Feature);
        }
        haveUsage_ = false; // local items last until the next main item
    }
};

} // namespace

const ReportLengths& TopLevelCollection::reports(ReportKind kind) const {
    return kind == ReportKind::Input ? input : kind == ReportKind::Output ? output : feature;
}

std::vector<uint8_t> TopLevelCollection::reportIds() const {
    std::set<uint8_t> ids;
    for (const auto* lengths : {&input, &output, &feature})
        for (const auto& [id, bytes] : *lengths) ids.insert(id);
    return {ids.begin(), ids.end()};
}

bool ReportDescriptor::offers(uint16_t usagePage, uint16_t usage) const {
    return collection(usagePage, usage) != nullptr;
}

const TopLevelCollection* ReportDescriptor::collection(uint16_t usagePage, uint16_t usage) const {
    for (const auto& c : collections)
        if (c.usagePage == usagePage && c.usage == usage) return &c;
    return nullptr;
}

ReportDescriptor parseReportDescriptor(const uint8_t* bytes, size_t length) {
    Parser parser;
    size_t pos = 0;
    while (pos < length) {
        uint8_t prefix = bytes[pos];
        if (prefix == kLongItemPrefix) {
            if (pos + 1 >= length) break;
            pos += 3 + size_t(bytes[pos + 1]);
            continue;
        }
        size_t size = (prefix & 3) == 3 ? 4 : (prefix & 3);
        if (pos + 1 + size > length) break;
        Item item{uint8_t((prefix >> 2) & 3), uint8_t(prefix >> 4), littleEndian(bytes + pos + 1, size), size};
        parser.apply(item);
        pos += 1 + size;
    }
    parser.finish();
    return std::move(parser.result);
}

} // namespace quillmar::hidraw
