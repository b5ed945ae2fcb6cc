// Helpers shared by the automation server's objects: member names compared
// without regard to letter case (as late binding does), argument checks and
// conversions that raise AutomationError with a text naming the member.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "values/Variant.h"

namespace xl {

std::string LowerAscii(std::string_view text);

// The member being invoked, for argument checks and error texts.
struct MemberCall {
    const char* owner;         // "Range", "Workbook", ...
    const std::string& name;   // as the caller spelled it
    InvokeKind kind;
    std::span<Variant> args;   // for Put the new value is the last one

    bool IsPut() const { return kind == InvokeKind::Put; }
    // Arguments other than a Put's value.
    std::span<Variant> Params() const { return IsPut() && !args.empty() ? args.first(args.size() - 1) : args; }
    // Fails when a Put came without its value.
    const Variant& NewValue() const;
    bool HasParam(size_t i) const { return i < Params().size() && !Params()[i].IsMissing(); }

    [[noreturn]] void Fail(const std::string& why) const;
    [[noreturn]] void Unknown() const;
    // Arguments beyond max (not counting a Put's value) or fewer than min fail.
    void ExpectParams(size_t min, size_t max) const;
    // A property that cannot be written, or a method that cannot be assigned.
    void ExpectGet() const;
    // Property put: exactly the value, no index arguments.
    void ExpectPut() const;

    int64_t IntParam(size_t i) const;
    std::string TextParam(size_t i) const;
    int64_t IntValue() const;
    double NumberValue() const;
    bool BoolValue() const;
    std::string TextValue() const;
};

// Strict conversions of an argument (numbers, numeric texts, booleans);
// anything else is a bad argument.
bool ToIntStrict(const Variant& value, int64_t& out);
bool ToNumberStrict(const Variant& value, double& out);
const AutoRef& ObjectOf(const Variant& value);  // null when not an object

}  // namespace xl
