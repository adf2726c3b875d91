#include "profiles/ContentProblemMessage.h"

#include "profiles/SlotText.h"

namespace quillmar::profiles {
namespace {

TextSlot slotOf(ContentFault fault) {
    switch (fault) {
    case ContentFault::ShorterThanTotal: return TextSlot::IMPORT_ERR_SHORT;
    case ContentFault::AssignmentType: return TextSlot::IMPORT_ERR_ASSIGNMENT_TYPE;
    case ContentFault::AssignmentValue: return TextSlot::IMPORT_ERR_ASSIGNMENT_VALUE;
    case ContentFault::MacroId: return TextSlot::IMPORT_ERR_MACRO_ID;
    case ContentFault::MacroIdRepeated: return TextSlot::IMPORT_ERR_MACRO_ID_TWICE;
    case ContentFault::MacroTooManyActions: return TextSlot::IMPORT_ERR_MACRO_ACTIONS;
    case ContentFault::MacroActionKey: return TextSlot::IMPORT_ERR_MACRO_KEY;
    case ContentFault::MacroActionDirection: return TextSlot::IMPORT_ERR_MACRO_DIRECTION;
    case ContentFault::MacroActionDelay: return TextSlot::IMPORT_ERR_MACRO_DELAY;
    case ContentFault::MacroNameUnterminated: return TextSlot::IMPORT_ERR_MACRO_NAME;
    case ContentFault::TextOffset: return TextSlot::IMPORT_ERR_TEXT_OFFSET;
    case ContentFault::TextUnterminated: return TextSlot::IMPORT_ERR_TEXT_END;
    }
    return TextSlot::PROFILE_FORMAT_ERROR;
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
                                     const platform::Texts& texts) {
    return fillNumberAndPath(slotText(texts, slotOf(problem.fault)), problem.number, path);
}

}  // namespace quillmar::profiles
