// Our own automation value ("OLE variant"): the value type exchanged with
// table engines, data sources and the spreadsheet automation server.
// Kind numbers follow the automation VARTYPE codes, so that code which maps
// driver or file types to kinds reads like the platform's.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

class Variant;

// How a member of an automation object is reached.
enum class InvokeKind : uint8_t { Get, Put, Call };

// An automation object: members are found by name at run time (late
// binding). Arguments may be written back by the callee (by reference).
// Unknown members and bad arguments throw AutomationError.
class AutoObject {
public:
    virtual ~AutoObject() = default;
    virtual Variant Invoke(const std::string& member, InvokeKind kind, std::span<Variant> args) = 0;
};
using AutoRef = std::shared_ptr<AutoObject>;

enum class VarKind : uint8_t {
    Empty = 0,
    Null = 1,
    I2 = 2,
    I4 = 3,
    R4 = 4,
    R8 = 5,
    Currency = 6,  // 64-bit integer scaled by 10,000
    Date = 7,      // OLE date: days since 30.12.1899, fraction = time of day
    String = 8,    // byte string (Windows-1251)
    Dispatch = 9,  // automation object reference
    Error = 10,    // status code; DISP_E_PARAMNOTFOUND marks a missing argument
    Bool = 11,
    I1 = 16,
    UI1 = 17,
    UI2 = 18,
    UI4 = 19,
    I8 = 20,
    UI8 = 21,
};

class Variant {
public:
    static constexpr int32_t kParamNotFound = int32_t(0x80020004u);

    Variant() = default;  // Empty
    static Variant MakeNull();
    static Variant FromStr(std::string text);
    static Variant FromInt(int64_t value, VarKind kind = VarKind::I8);
    static Variant FromUInt(uint64_t value, VarKind kind = VarKind::UI8);
    static Variant FromBool(bool value);
    static Variant FromDouble(double value, VarKind kind = VarKind::R8);
    static Variant FromCurrency(int64_t scaled);
    static Variant FromDate(double oleDate);
    static Variant FromObject(AutoRef object);
    static Variant FromError(int32_t scode);
    static Variant Missing() { return FromError(kParamNotFound); }

    VarKind Kind() const { return kind_; }
    bool IsEmpty() const { return kind_ == VarKind::Empty; }
    bool IsNull() const { return kind_ == VarKind::Null; }
    bool IsMissing() const { return kind_ == VarKind::Error && scode_ == kParamNotFound; }
    bool IsIntegerKind() const;  // I1..I8, UI1..UI8
    bool IsFloatKind() const;    // R4, R8, Currency
    bool IsNumericKind() const;  // integer kinds, float kinds and Bool

    // Raw payloads; meaningful for the matching kind only.
    int64_t IntValue() const { return i_; }
    uint64_t UIntValue() const { return uint64_t(i_); }
    double DoubleValue() const { return d_; }
    bool BoolValue() const { return i_ != 0; }
    int64_t CurrencyValue() const { return i_; }
    double DateValue() const { return d_; }
    int32_t ErrorCode() const { return scode_; }
    const std::string& StrValue() const { return str_; }
    const AutoRef& Object() const { return obj_; }

    // Conversions as the platform's variant conversion would give them.
    // Text: integers in decimal; floats and currency as a Float's text
    // (decimal comma, 15 significant digits); booleans "True"/"False";
    // dates "DD.MM.YYYY", times "H:MM:SS", both joined by a blank when both
    // parts are non-zero; Null, Empty, Error and objects give the empty text.
    std::string ToText() const;
    int64_t ToInt() const;      // floats rounded half to even; text parsed; else 0
    double ToDouble() const;    // integers, floats, currency, dates, bools; text parsed; else 0
    bool ToBool() const;        // non-zero numbers, non-empty text

    bool operator==(const Variant& other) const;

private:
    VarKind kind_ = VarKind::Empty;
    int32_t scode_ = 0;
    int64_t i_ = 0;   // integer kinds, Bool (0 or 1), Currency
    double d_ = 0;    // R4, R8, Date
    std::string str_;
    AutoRef obj_;
};

// Raised by automation objects.
class AutomationError : public std::exception {
public:
    explicit AutomationError(std::string text) : text_(std::move(text)) {}
    const char* what() const noexcept override { return text_.c_str(); }
private:
    std::string text_;
};
