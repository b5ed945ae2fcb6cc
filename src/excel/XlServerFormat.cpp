// Font, Interior and Border objects of the spreadsheet server: views of the
// formats of one range. Reads answer for the range's top-left cell (or the
// first cell a border touches); writes change every cell concerned.
#include <vector>

#include "excel/XlServer.h"

namespace xl {
namespace {

int ColorIndexValue(const MemberCall& call, bool isFill) {
    const int64_t index = call.IntValue();
    if (index == kColorAutomatic || index == kColorNone)
        // A fill has no automatic colour of its own: both mean no fill.
        return isFill ? kColorNone : kColorAutomatic;
    if (!IsPaletteIndex(int(index))) call.Fail(std::to_string(index) + " is not a colour index (1 to 56)");
    return int(index);
}

Variant Int4(int value) { return Variant::FromInt(value, VarKind::I4); }

class XlFont : public AutoObject {
public:
    explicit XlFont(RangeTarget target) : target_(std::move(target)) {}

    Variant Invoke(const std::string& member, InvokeKind kind, std::span<Variant> args) override {
        target_.CheckAlive();
        const MemberCall call{"Font", member, kind, args};
        call.ExpectParams(0, 0);
        const std::string name = LowerAscii(member);
        if (name == "bold") return Flag(call, &FontFormat::bold);
        if (name == "italic") return Flag(call, &FontFormat::italic);
        if (name == "strikethrough") return Flag(call, &FontFormat::strike);
        if (name == "name") return Name(call);
        if (name == "size") return Size(call);
        if (name == "colorindex") return ColorIndex(call);
        if (name == "underline") return Underline(call);
        call.Unknown();
    }

private:
    const FontFormat& Current() const { return FormatAt(target_, target_.rect.top, target_.rect.left).font; }

    void Change(const std::function<void(FontFormat&)>& change) {
        ChangeFormats(target_, target_.rect, [&](CellFormat& format) { change(format.font); });
    }

    Variant Flag(const MemberCall& call, bool FontFormat::*field) {
        if (!call.IsPut()) return Variant::FromBool(Current().*field);
        const bool flag = call.BoolValue();
        Change([&](FontFormat& font) { font.*field = flag; });
        return {};
    }

    Variant Name(const MemberCall& call) {
        if (!call.IsPut()) return Variant::FromStr(Current().name);
        const std::string name = call.TextValue();
        if (name.empty() || name.size() > 31) call.Fail("a font name has 1 to 31 characters");
        Change([&](FontFormat& font) { font.name = name; });
        return {};
    }

    Variant Size(const MemberCall& call) {
        if (!call.IsPut()) return Variant::FromDouble(Current().size);
        const double size = call.NumberValue();
        if (!(size >= 1 && size <= 409)) call.Fail("a font size is 1 to 409 points");
        Change([&](FontFormat& font) { font.size = size; });
        return {};
    }

    Variant ColorIndex(const MemberCall& call) {
        if (!call.IsPut()) return Int4(Current().colorIndex);
        const int index = ColorIndexValue(call, false);
        Change([&](FontFormat& font) { font.colorIndex = index; });
        return {};
    }

    Variant Underline(const MemberCall& call) {
        if (!call.IsPut()) return Int4(Current().underline);
        const int64_t code = call.IntValue();
        if (code < INT32_MIN || code > INT32_MAX || !IsValidUnderline(int(code)))
            call.Fail(std::to_string(code) + " is not an underline style");
        Change([&](FontFormat& font) { font.underline = int(code); });
        return {};
    }

    RangeTarget target_;
};

class XlInterior : public AutoObject {
public:
    explicit XlInterior(RangeTarget target) : target_(std::move(target)) {}

    Variant Invoke(const std::string& member, InvokeKind kind, std::span<Variant> args) override {
        target_.CheckAlive();
        const MemberCall call{"Interior", member, kind, args};
        call.ExpectParams(0, 0);
        if (LowerAscii(member) != "colorindex") call.Unknown();
        if (!call.IsPut()) return Int4(FormatAt(target_, target_.rect.top, target_.rect.left).fillColorIndex);
        const int index = ColorIndexValue(call, true);
        ChangeFormats(target_, target_.rect, [&](CellFormat& format) { format.fillColorIndex = index; });
        return {};
    }

private:
    RangeTarget target_;
};

// The cells and the cell edge that one border index of a range stands for.
struct EdgePart {
    RangeRect cells;
    BorderEdge edge;
};

std::vector<EdgePart> EdgePartsOf(const RangeRect& r, int index) {
    switch (index) {
    case 5: return {{r, EdgeDiagonalDown}};
    case 6: return {{r, EdgeDiagonalUp}};
    case 7: return {{{r.top, r.left, r.bottom, r.left}, EdgeLeft}};
    case 8: return {{{r.top, r.left, r.top, r.right}, EdgeTop}};
    case 9: return {{{r.bottom, r.left, r.bottom, r.right}, EdgeBottom}};
    case 10: return {{{r.top, r.right, r.bottom, r.right}, EdgeRight}};
    case 11:  // inside vertical: the edges between the columns
        if (r.Cols() < 2) return {};
        return {{{r.top, r.left, r.bottom, r.right - 1}, EdgeRight}, {{r.top, r.left + 1, r.bottom, r.right}, EdgeLeft}};
    case 12:  // inside horizontal: the edges between the rows
        if (r.Rows() < 2) return {};
        return {{{r.top, r.left, r.bottom - 1, r.right}, EdgeBottom}, {{r.top + 1, r.left, r.bottom, r.right}, EdgeTop}};
    default: return {};
    }
}

class XlBorder : public AutoObject {
public:
    XlBorder(RangeTarget target, int index) : target_(std::move(target)), parts_(EdgePartsOf(target_.rect, index)) {}

    Variant Invoke(const std::string& member, InvokeKind kind, std::span<Variant> args) override {
        target_.CheckAlive();
        const MemberCall call{"Border", member, kind, args};
        call.ExpectParams(0, 0);
        const std::string name = LowerAscii(member);
        if (name == "linestyle") return LineStyle(call);
        if (name == "weight") return Weight(call);
        if (name == "colorindex") return ColorIndex(call);
        call.Unknown();
    }

private:
    BorderLine Current() const {
        if (parts_.empty()) return BorderLine{};
        const EdgePart& first = parts_.front();
        return FormatAt(target_, first.cells.top, first.cells.left).borders[first.edge];
    }

    void Change(const std::function<void(BorderLine&)>& change) {
        for (const EdgePart& part : parts_)
            ChangeFormats(target_, part.cells, [&](CellFormat& format) { change(format.borders[part.edge]); });
    }

    Variant LineStyle(const MemberCall& call) {
        if (!call.IsPut()) return Int4(Current().lineStyle);
        const int64_t code = call.IntValue();
        if (code < INT32_MIN || code > INT32_MAX || !IsValidLineStyle(int(code)))
            call.Fail(std::to_string(code) + " is not a line style");
        Change([&](BorderLine& line) { line.lineStyle = int(code); });
        return {};
    }

    Variant Weight(const MemberCall& call) {
        if (!call.IsPut()) return Int4(Current().weight);
        const int64_t code = call.IntValue();
        if (code < INT32_MIN || code > INT32_MAX || !IsValidWeight(int(code)))
            call.Fail(std::to_string(code) + " is not a border weight");
        Change([&](BorderLine& line) {
            line.weight = int(code);
            // A weight given to an absent border draws it.
            if (line.lineStyle == kLineNone) line.lineStyle = kContinuous;
        });
        return {};
    }

    Variant ColorIndex(const MemberCall& call) {
        if (!call.IsPut()) return Int4(Current().colorIndex);
        const int index = ColorIndexValue(call, false);
        Change([&](BorderLine& line) { line.colorIndex = index; });
        return {};
    }

    RangeTarget target_;
    std::vector<EdgePart> parts_;
};

}  // namespace

AutoRef MakeFont(const RangeTarget& target) { return std::make_shared<XlFont>(target); }
AutoRef MakeInterior(const RangeTarget& target) { return std::make_shared<XlInterior>(target); }
AutoRef MakeBorder(const RangeTarget& target, int index) { return std::make_shared<XlBorder>(target, index); }

}  // namespace xl
