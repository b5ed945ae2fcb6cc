#include "vm/VmErrors.h"

#include "compiler/OpCodes.h"

namespace {

// The message texts are Windows-1251 bytes (Russian), written fully
// escaped so that no hexadecimal escape runs into a following letter.
// " ошибка при очистке буффера" (an error while clearing the buffer)
constexpr const char* kClearBuffer =
    "\x20\xee\xf8\xe8\xe1\xea\xe0\x20\xef\xf0\xe8\x20\xee\xf7\xe8\xf1\xf2\xea\xe5\x20\xe1\xf3\xf4\xf4\xe5\xf0\xe0";
// "константа " / " не коректна" (constant ... is not correct)
constexpr const char* kConstant = "\xea\xee\xed\xf1\xf2\xe0\xed\xf2\xe0\x20";
constexpr const char* kNotCorrect = "\x20\xed\xe5\x20\xea\xee\xf0\xe5\xea\xf2\xed\xe0";
// "преобразование строки [[" / "]] вызвало ошибку" (converting the string ... failed)
constexpr const char* kStringConversion =
    "\xef\xf0\xe5\xee\xe1\xf0\xe0\xe7\xee\xe2\xe0\xed\xe8\xe5\x20\xf1\xf2\xf0\xee\xea\xe8\x20\x5b\x5b";
constexpr const char* kBracketsFailed = "\x5d\x5d\x20\xe2\xfb\xe7\xe2\xe0\xeb\xee\x20\xee\xf8\xe8\xe1\xea\xf3";
// "переменная " / " не существует" (variable ... does not exist)
constexpr const char* kVariable = "\xef\xe5\xf0\xe5\xec\xe5\xed\xed\xe0\xff\x20";
constexpr const char* kDoesNotExist = "\x20\xed\xe5\x20\xf1\xf3\xf9\xe5\xf1\xf2\xe2\xf3\xe5\xf2";
// "свойство " / " не существует или вызывает ошибку" (property ... does not exist or fails)
constexpr const char* kProperty = "\xf1\xe2\xee\xe9\xf1\xf2\xe2\xee\x20";
constexpr const char* kMissingOrFails =
    "\x20\xed\xe5\x20\xf1\xf3\xf9\xe5\xf1\xf2\xe2\xf3\xe5\xf2\x20\xe8\xeb\xe8\x20\xe2\xfb\xe7\xfb\xe2\xe0\xe5\xf2"
    "\x20\xee\xf8\xe8\xe1\xea\xf3";
// "вызов функции " / " вызвало ошибку" (the call of function ... failed)
constexpr const char* kFunctionCall = "\xe2\xfb\xe7\xee\xe2\x20\xf4\xf3\xed\xea\xf6\xe8\xe8\x20";
constexpr const char* kFailed = "\x20\xe2\xfb\xe7\xe2\xe0\xeb\xee\x20\xee\xf8\xe8\xe1\xea\xf3";
// "индекс [" / "] не найден или некоректен" (index ... not found or incorrect)
constexpr const char* kIndex = "\xe8\xed\xe4\xe5\xea\xf1\x20\x5b";
constexpr const char* kIndexNotFound =
    "\x5d\x20\xed\xe5\x20\xed\xe0\xe9\xe4\xe5\xed\x20\xe8\xeb\xe8\x20\xed\xe5\xea\xee\xf0\xe5\xea\xf2\xe5\xed";
// "диапозон :[" / "] не может быть сформированн" (range ... cannot be formed)
constexpr const char* kRange = "\xe4\xe8\xe0\xef\xee\xe7\xee\xed\x20\x3a\x5b";
constexpr const char* kRangeNotFormed =
    "\x5d\x20\xed\xe5\x20\xec\xee\xe6\xe5\xf2\x20\xe1\xfb\xf2\xfc\x20\xf1\xf4\xee\xf0\xec\xe8\xf0\xee\xe2\xe0"
    "\xed\xed";
// " следующий параметр(" / "; номер:" / ") вызывает ошибку" (next parameter (...; number:...) fails)
constexpr const char* kNextParameter = "\x20\xf1\xeb\xe5\xe4\xf3\xfe\xf9\xe8\xe9\x20\xef\xe0\xf0\xe0\xec\xe5\xf2\xf0\x28";
constexpr const char* kNumber = "\x3b\x20\xed\xee\xec\xe5\xf0\x3a";
constexpr const char* kParameterFails = "\x29\x20\xe2\xfb\xe7\xfb\xe2\xe0\xe5\xf2\x20\xee\xf8\xe8\xe1\xea\xf3";
// " рушит скрипт" (breaks the script)
constexpr const char* kBreaksScript = "\x20\xf0\xf3\xf8\xe8\xf2\x20\xf1\xea\xf0\xe8\xef\xf2";
// " рушение ассоциации" (the association breaks)
constexpr const char* kAssociationBreaks =
    "\x20\xf0\xf3\xf8\xe5\xed\xe8\xe5\x20\xe0\xf1\xf1\xee\xf6\xe8\xe0\xf6\xe8\xe8";
// " или " (or)
constexpr const char* kOr = "\x20\xe8\xeb\xe8\x20";
// " не найдено" (not found)
constexpr const char* kNotFound = "\x20\xed\xe5\x20\xed\xe0\xe9\xe4\xe5\xed\xee";

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

}  // namespace

std::string InstructionMessage(uint16_t code, const std::string& p, const std::string& q) {
    switch (code) {
    case opEnd: return std::string("\";\"") + kClearBuffer;
    case opLiteral: return kConstant + Quoted(p) + kNotCorrect;
    case opString: return kStringConversion + p + kBracketsFailed;
    case opVariable: return kVariable + Quoted(p) + kDoesNotExist;
    case opMember: return kProperty + Quoted(p) + kMissingOrFails;
    case opParen: return kFunctionCall + Quoted(p) + kFailed;
    case opIndex: return kIndex + p + kIndexNotFound;
    case opRange: return kRange + p + "<->" + q + kRangeNotFormed;
    case opComma: return std::string("\",\"") + kNextParameter + p + kNumber + q + kParameterFails;
    case opDotDot:
    case opDotDotDot: return std::string("\"..\"") + kBreaksScript;
    case opPair: return "\"" + p + " :> " + q + "\"" + kAssociationBreaks;
    case opClose: return "\"]\" or \")\" not corected";
    case opBegin: return std::string("\"{\"") + kOr + "\"begin\"" + kBreaksScript;
    case opBlockEnd: return std::string("\"}\"") + kOr + "\"end\"" + kBreaksScript;
    case opIf: return std::string("\"if(<?>)\"") + kBreaksScript;
    case opThen: return std::string("\"then\"") + kBreaksScript;
    case opElse: return std::string("\"else\"") + kBreaksScript;
    case opGoto: return "label " + Quoted(p) + kNotFound;
    case opFirst: return "\".<<\" first crushed <obj>";
    case opLast: return "\".>>\" last crushed <obj>";
    case opNext: return "\".>\" next crushed <obj>";
    case opPrior: return "\".<\" prior crushed <obj>";
    default: break;
    }
    const bool operatorCode = (code >= 16 && code <= 28) || (code >= 32 && code <= 44) || (code >= 48 && code <= 61);
    if (operatorCode) return Quoted(OperatorToken(code)) + kBreaksScript;
    return {};
}

std::string EipText(int32_t index, uint16_t code, const std::string& operand) {
    return "eip: " + std::to_string(uint16_t(uint32_t(index))) + "; " + InstructionMessage(code, operand);
}

std::string CurrentErrorText() {
    try {
        throw;
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return "unknown error";
    }
}
