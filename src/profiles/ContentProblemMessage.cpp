#include "profiles/ContentProblemMessage.h"

#include "text/SlotText.h"

namespace quillmar::profiles {
namespace {

text::TextSlot slotOf(ContentFault fault) {
    switch (fault) {
    case ContentFault::ShorterThanTotal: return text::TextSlot::IMPORT_ERR_SHORT;
    case ContentFault::AssignmentType: return text::TextSlot::IMPORT_ERR_ASSIGNMENT_TYPE;
    case ContentFault::AssignmentValue: return text::TextSlot::IMPORT_ERR_ASSIGNMENT_VALUE;
    case ContentFault::MacroId: return text::TextSlot::IMPORT_ERR_MACRO_ID;
    case ContentFault::MacroIdRepeated: return text::TextSlot::IMPORT_ERR_MACRO_ID_TWICE;
    case ContentFault::MacroTooManyActions: return text::TextSlot::IMPORT_ERR_MACRO_ACTIONS;
    case ContentFault::MacroActionKey: return text::TextSlot::IMPORT_ERR_MACRO_KEY;
    case ContentFault::MacroActionDirection: return text::TextSlot::IMPORT_ERR_MACRO_DIRECTION;
    case ContentFault::MacroActionDelay: return text::TextSlot::IMPORT_ERR_MACRO_DELAY;
    case ContentFault::MacroNameUnterminated: return text::TextSlot::IMPORT_ERR_MACRO_NAME;
    case ContentFault::TextOffset: return text::TextSlot::IMPORT_ERR_TEXT_OFFSET;
    case ContentFault::TextUnterminated: return text::TextSlot::IMPORT_ERR_TEXT_END;
    }
    return text::TextSlot::PROFILE_FORMAT_ERROR;
}

void replaceOnce(std::u16string& text, std::u16string_view placeholder, const std::u16string& value) {
    if (const auto at = text.find(placeholder); at != std::u16string::npos) text.replace(at, placeholder.size(), value);
}

}  // namespace

std::u16string fillNumberAndPath(std::u16string format, int number, const std::filesystem::path& path) {
    const std::string digits = std::to_string(number);
    replaceOnce(format, u"%d", std::u16string(digits.begin(), digits.end()));
    replaceOnce(format, u"%s", path.u16string());
    return format;
}

std::u16string contentProblemMessage(const ContentProblem& problem, const std::filesystem::path& path,
                                     const text::Texts& texts) {
    return fillNumberAndPath(text::slotText(texts, slotOf(problem.fault)), problem.number, path);
}

}  // namespace quillmar::profiles
