// Our automation value: factories normalise payloads to their kind, and the
// conversions follow the platform's variant rules as far as scripts see them.
#include "values/Variant.h"

#include <cmath>
#include <limits>

#include "values/floattext.h"
#include "values/oledate.h"
#include "values/unitUtils.h"

namespace {

constexpr long double kCurrencyScale = 10000;

bool IsSignedIntKind(VarKind kind) {
    return kind == VarKind::I1 || kind == VarKind::I2 || kind == VarKind::I4 || kind == VarKind::I8;
}

bool IsUnsignedIntKind(VarKind kind) {
    return kind == VarKind::UI1 || kind == VarKind::UI2 || kind == VarKind::UI4 || kind == VarKind::UI8;
}

// A value stored in a narrow kind keeps only what the kind can hold, as a
// value of that width would.
int64_t NarrowSigned(int64_t value, VarKind kind) {
    switch (kind) {
        case VarKind::I1: return int8_t(value);
        case VarKind::I2: return int16_t(value);
        case VarKind::I4: return int32_t(value);
        default: return value;
    }
}

uint64_t NarrowUnsigned(uint64_t value, VarKind kind) {
    switch (kind) {
        case VarKind::UI1: return uint8_t(value);
        case VarKind::UI2: return uint16_t(value);
        case VarKind::UI4: return uint32_t(value);
        default: return value;
    }
}

// Rounds half to even; values outside the 64-bit range (and NaN) give the
// smallest integer, as the processor's conversion does.
int64_t RoundToInt(long double value) {
    const long double rounded = std::nearbyint(value);
    if (!(rounded >= -9223372036854775808.0L && rounded < 9223372036854775808.0L))
        return std::numeric_limits<int64_t>::min();
    return int64_t(rounded);
}

// Currency to integer: scaled / 10000, half to even, without going through
// floating point.
int64_t CurrencyToInt(int64_t scaled) {
    int64_t quotient = scaled / 10000;
    const int64_t remainder = scaled % 10000;
    const int64_t twice = remainder < 0 ? -2 * remainder : 2 * remainder;
    const int64_t step = remainder < 0 ? -1 : 1;
    if (twice > 10000 || (twice == 10000 && quotient % 2 != 0)) quotient += step;
    return quotient;
}

// Numbers in texts: the decimal comma, and also the point that drivers and
// files on this platform write.
bool ParseNumberText(const std::string& text, long double& out) {
    if (ParseFloatComma(text, out)) return true;
    std::string comma = text;
    const size_t dot = comma.find('.');
    if (dot == std::string::npos) return false;
    comma[dot] = ',';
    return ParseFloatComma(comma, out);
}

}  // namespace

Variant Variant::MakeNull() {
    Variant v;
    v.kind_ = VarKind::Null;
    return v;
}

Variant Variant::FromStr(std::string text) {
    Variant v;
    v.kind_ = VarKind::String;
    v.str_ = std::move(text);
    return v;
}

Variant Variant::FromInt(int64_t value, VarKind kind) {
    if (IsUnsignedIntKind(kind)) return FromUInt(uint64_t(value), kind);
    if (!IsSignedIntKind(kind)) kind = VarKind::I8;
    Variant v;
    v.kind_ = kind;
    v.i_ = NarrowSigned(value, kind);
    return v;
}

Variant Variant::FromUInt(uint64_t value, VarKind kind) {
    if (IsSignedIntKind(kind)) return FromInt(int64_t(value), kind);
    if (!IsUnsignedIntKind(kind)) kind = VarKind::UI8;
    Variant v;
    v.kind_ = kind;
    v.i_ = int64_t(NarrowUnsigned(value, kind));
    return v;
}

Variant Variant::FromBool(bool value) {
    Variant v;
    v.kind_ = VarKind::Bool;
    v.i_ = value ? 1 : 0;
    return v;
}

Variant Variant::FromDouble(double value, VarKind kind) {
    if (kind == VarKind::Date) return FromDate(value);
    Variant v;
    v.kind_ = kind == VarKind::R4 ? VarKind::R4 : VarKind::R8;
    v.d_ = kind == VarKind::R4 ? double(float(value)) : value;
    return v;
}

Variant Variant::FromCurrency(int64_t scaled) {
    Variant v;
    v.kind_ = VarKind::Currency;
    v.i_ = scaled;
    return v;
}

Variant Variant::FromDate(double oleDate) {
    Variant v;
    v.kind_ = VarKind::Date;
    v.d_ = oleDate;
    return v;
}

Variant Variant::FromObject(AutoRef object) {
    Variant v;
    v.kind_ = VarKind::Dispatch;
    v.obj_ = std::move(object);
    return v;
}

Variant Variant::FromError(int32_t scode) {
    Variant v;
    v.kind_ = VarKind::Error;
    v.scode_ = scode;
    return v;
}

bool Variant::IsIntegerKind() const { return IsSignedIntKind(kind_) || IsUnsignedIntKind(kind_); }

bool Variant::IsFloatKind() const {
    return kind_ == VarKind::R4 || kind_ == VarKind::R8 || kind_ == VarKind::Currency;
}

bool Variant::IsNumericKind() const { return IsIntegerKind() || IsFloatKind() || kind_ == VarKind::Bool; }

std::string Variant::ToText() const {
    if (IsSignedIntKind(kind_)) return std::to_string(i_);
    if (IsUnsignedIntKind(kind_)) return std::to_string(uint64_t(i_));
    switch (kind_) {
        case VarKind::R4:
        case VarKind::R8: return FloatText(d_);
        case VarKind::Currency: return FloatText(static_cast<long double>(i_) / kCurrencyScale);
        case VarKind::Date: return DateTimeText(d_);
        case VarKind::String: return str_;
        case VarKind::Bool: return i_ != 0 ? "True" : "False";
        default: return "";  // Empty, Null, Error, Dispatch: no text form
    }
}

int64_t Variant::ToInt() const {
    if (IsIntegerKind() || kind_ == VarKind::Bool) return i_;
    switch (kind_) {
        case VarKind::R4:
        case VarKind::R8:
        case VarKind::Date: return RoundToInt(d_);
        case VarKind::Currency: return CurrencyToInt(i_);
        case VarKind::String: {
            int64_t whole = 0;
            if (ParseIntText(str_, whole)) return whole;
            long double number = 0;
            return ParseNumberText(str_, number) ? RoundToInt(number) : 0;
        }
        default: return 0;
    }
}

double Variant::ToDouble() const {
    if (IsSignedIntKind(kind_) || kind_ == VarKind::Bool) return double(i_);
    if (IsUnsignedIntKind(kind_)) return double(uint64_t(i_));
    switch (kind_) {
        case VarKind::R4:
        case VarKind::R8:
        case VarKind::Date: return d_;
        case VarKind::Currency: return double(static_cast<long double>(i_) / kCurrencyScale);
        case VarKind::String: {
            long double number = 0;
            return ParseNumberText(str_, number) ? double(number) : 0;
        }
        default: return 0;
    }
}

bool Variant::ToBool() const {
    if (IsIntegerKind() || kind_ == VarKind::Bool || kind_ == VarKind::Currency) return i_ != 0;
    switch (kind_) {
        case VarKind::R4:
        case VarKind::R8:
        case VarKind::Date: return d_ != 0 && !std::isnan(d_);
        case VarKind::String: return !str_.empty();
        default: return false;
    }
}

bool Variant::operator==(const Variant& other) const {
    if (kind_ != other.kind_) return false;
    if (IsIntegerKind() || kind_ == VarKind::Bool || kind_ == VarKind::Currency) return i_ == other.i_;
    switch (kind_) {
        case VarKind::R4:
        case VarKind::R8:
        case VarKind::Date: return d_ == other.d_;
        case VarKind::String: return str_ == other.str_;
        case VarKind::Dispatch: return obj_ == other.obj_;
        case VarKind::Error: return scode_ == other.scode_;
        default: return true;  // Empty, Null
    }
}
