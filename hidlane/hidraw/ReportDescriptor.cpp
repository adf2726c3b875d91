#include "ReportDescriptor.h"

namespace quillmar::hidraw {
namespace {

enum ItemType : uint8_t { Main = 0, Global = 1, Local = 2 };

constexpr uint8_t kTagCollection = 0xA;
constexpr uint8_t kTagEndCollection = 0xC;
constexpr uint8_t kTagUsagePage = 0x0;
constexpr uint8_t kTagReportId = 0x8;
constexpr uint8_t kTagPush = 0xA;
constexpr uint8_t kTagPop = 0xB;
constexpr uint8_t kTagUsage = 0x0;
constexpr uint8_t kLongItemPrefix = 0xFE;

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

class Parser {
public:
    ReportDescriptor result;

    void apply(const Item& item) {
        if (item.type == Global) applyGlobal(item);
        else if (item.type == Local) applyLocal(item);
        else if (item.type == Main) applyMain(item);
    }

private:
    std::vector<uint16_t> pageStack_;
    uint16_t usagePage_ = 0;
    uint32_t firstUsage_ = 0;
    bool haveUsage_ = false;
    int depth_ = 0;

    void applyGlobal(const Item& item) {
        switch (item.tag) {
        case kTagUsagePage: usagePage_ = uint16_t(item.value); break;
        case kTagPush: pageStack_.push_back(usagePage_); break;
        case kTagPop:
            if (!pageStack_.empty()) {
                usagePage_ = pageStack_.back();
                pageStack_.pop_back();
            }
            break;
        case kTagReportId:
            result.numberedReports = true;
            if (depth_ > 0 && !result.collections.empty())
                result.collections.back().reportIds.push_back(uint8_t(item.value));
            break;
        default: break;
        }
    }

    void applyLocal(const Item& item) {
        if (item.tag != kTagUsage || haveUsage_) return;
        // A four-byte usage names its own page in the high half.
        firstUsage_ = item.size == 4 ? item.value : (uint32_t(usagePage_) << 16) | (item.value & 0xFFFF);
        haveUsage_ = true;
    }

    void applyMain(const Item& item) {
        if (item.tag == kTagCollection) {
            if (depth_ == 0) {
                TopLevelCollection c;
                c.usagePage = haveUsage_ ? uint16_t(firstUsage_ >> 16) : usagePage_;
                c.usage = haveUsage_ ? uint16_t(firstUsage_) : 0;
                result.collections.push_back(c);
            }
            ++depth_;
        } else if (item.tag == kTagEndCollection && depth_ > 0) {
            --depth_;
        }
        haveUsage_ = false; // local items last until the next main item
    }
};

} // namespace

bool ReportDescriptor::offers(uint16_t usagePage, uint16_t usage) const {
    for (const auto& c : collections)
        if (c.usagePage == usagePage && c.usage == usage) return true;
    return false;
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
    return std::move(parser.result);
}

} // namespace quillmar::hidraw
