#include "excel/XlDispatch.h"

#include <cmath>

#include "values/unitUtils.h"

namespace xl {

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return lower;
}

void MemberCall::Fail(const std::string& why) const {
    throw AutomationError(std::string(owner) + "." + name + ": " + why);
}

void MemberCall::Unknown() const {
    throw AutomationError(std::string(owner) + " has no member \"" + name + "\"");
}

const Variant& MemberCall::NewValue() const {
    if (args.empty()) Fail("no value to assign");
    return args.back();
}

void MemberCall::ExpectParams(size_t min, size_t max) const {
    if (IsPut() && args.empty()) Fail("no value to assign");
    const size_t count = Params().size();
    if (count < min) Fail("too few arguments");
    if (count > max) Fail("too many arguments");
}

void MemberCall::ExpectGet() const {
    if (IsPut()) Fail("cannot be assigned");
    ExpectParams(0, 0);
}

void MemberCall::ExpectPut() const { ExpectParams(0, 0); }

bool ToIntStrict(const Variant& value, int64_t& out) {
    double number = 0;
    if (!ToNumberStrict(value, number)) return false;
    if (!(number >= -9.2e18 && number <= 9.2e18)) return false;
    out = value.IsIntegerKind() ? value.ToInt() : int64_t(std::llround(number));
    return true;
}

bool ToNumberStrict(const Variant& value, double& out) {
    if (value.IsNumericKind() || value.Kind() == VarKind::Date) {
        out = value.IsIntegerKind() ? double(value.ToInt()) : value.ToDouble();
        if (value.Kind() == VarKind::Bool) out = value.BoolValue() ? -1 : 0;
        return std::isfinite(out);
    }
    if (value.Kind() == VarKind::String) {
        // Numeric texts count as numbers, with either decimal separator.
        std::string text = value.StrValue();
        for (char& c : text)
            if (c == '.') c = ',';
        long double parsed = 0;
        if (!ParseFloatComma(text, parsed)) return false;
        out = double(parsed);
        return std::isfinite(out);
    }
    return false;
}

const AutoRef& ObjectOf(const Variant& value) {
    static const AutoRef none;
    return value.Kind() == VarKind::Dispatch ? value.Object() : none;
}

int64_t MemberCall::IntParam(size_t i) const {
    int64_t out = 0;
    if (!HasParam(i) || !ToIntStrict(Params()[i], out))
        Fail("argument " + std::to_string(i + 1) + " must be a number");
    return out;
}

std::string MemberCall::TextParam(size_t i) const {
    if (!HasParam(i)) Fail("argument " + std::to_string(i + 1) + " is missing");
    const Variant& arg = Params()[i];
    if (arg.Kind() == VarKind::Dispatch || arg.Kind() == VarKind::Error)
        Fail("argument " + std::to_string(i + 1) + " must be a text");
    return arg.ToText();
}

int64_t MemberCall::IntValue() const {
    int64_t out = 0;
    if (!ToIntStrict(NewValue(), out)) Fail("the value must be a number");
    return out;
}

double MemberCall::NumberValue() const {
    double out = 0;
    if (!ToNumberStrict(NewValue(), out)) Fail("the value must be a number");
    return out;
}

bool MemberCall::BoolValue() const {
    const Variant& value = NewValue();
    if (value.Kind() == VarKind::Bool) return value.BoolValue();
    double number = 0;
    if (!ToNumberStrict(value, number)) Fail("the value must be a boolean");
    return number != 0;
}

std::string MemberCall::TextValue() const {
    const Variant& value = NewValue();
    if (value.Kind() == VarKind::Dispatch || value.Kind() == VarKind::Error)
        Fail("the value must be a text");
    return value.ToText();
}

}  // namespace xl
