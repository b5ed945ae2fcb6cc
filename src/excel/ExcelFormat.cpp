// TExcelFormat: the formatting of one range through late-bound calls. Every
// call lets automation errors through; an unset range or border sends
// nothing and reads give the defaults.
#include <vector>

#include "excel/ExcelTool.h"

namespace {

const AutoRef& ObjectOf(const Variant& target) {
    if (target.Kind() != VarKind::Dispatch || !target.Object())
        throw AutomationError("the automation target is not an object");
    return target.Object();
}

Variant Get(const Variant& target, const char* member, std::vector<Variant> args = {}) {
    return ObjectOf(target)->Invoke(member, InvokeKind::Get, args);
}

void Put(const Variant& target, const char* member, Variant value) {
    std::vector<Variant> args{std::move(value)};
    ObjectOf(target)->Invoke(member, InvokeKind::Put, args);
}

void CallMember(const Variant& target, const char* member) {
    std::vector<Variant> none;
    ObjectOf(target)->Invoke(member, InvokeKind::Call, none);
}

Variant Int4(int value) { return Variant::FromInt(value, VarKind::I4); }

constexpr int kAutomaticColor = -4105;

}  // namespace

TExcelFormat::TExcelFormat(TExcelTools& tools, Variant range)
    : Tools(tools), Range(std::move(range)), Border(TExcelTools::Unset()) {}

void TExcelFormat::ClearBorder() { Border = TExcelTools::Unset(); }

void TExcelFormat::SelectBorder(int side) {
    ClearBorder();
    if (!TExcelTools::IsSelected(Range)) Range = Get(Tools.App, "Selection");
    const int index = excelcodes::BordersIndexOfSide(side);
    if (index != 0) Border = Get(Range, "Borders", {Int4(index)});
}

Variant TExcelFormat::FontPart() { return Get(Range, "Font"); }

Variant TExcelFormat::GetValue() {
    return TExcelTools::IsSelected(Range) ? Get(Range, "Value") : Int4(0);
}

void TExcelFormat::SetValue(const Variant& value) {
    if (TExcelTools::IsSelected(Range)) Put(Range, "Value", value);
}

bool TExcelFormat::GetFontFlag(const char* member) {
    return TExcelTools::IsSelected(Range) && Get(FontPart(), member).ToBool();
}

void TExcelFormat::SetFontFlag(const char* member, bool flag) {
    if (TExcelTools::IsSelected(Range)) Put(FontPart(), member, Variant::FromBool(flag));
}

bool TExcelFormat::GetBold() { return GetFontFlag("Bold"); }
void TExcelFormat::SetBold(bool flag) { SetFontFlag("Bold", flag); }
bool TExcelFormat::GetItalic() { return GetFontFlag("Italic"); }
void TExcelFormat::SetItalic(bool flag) { SetFontFlag("Italic", flag); }
bool TExcelFormat::GetStrike() { return GetFontFlag("Strikethrough"); }
void TExcelFormat::SetStrike(bool flag) { SetFontFlag("Strikethrough", flag); }

std::string TExcelFormat::GetFontName() {
    return TExcelTools::IsSelected(Range) ? Get(FontPart(), "Name").ToText() : std::string();
}

void TExcelFormat::SetFontName(const std::string& name) {
    if (TExcelTools::IsSelected(Range)) Put(FontPart(), "Name", Variant::FromStr(name));
}

int TExcelFormat::GetFontSize() {
    return TExcelTools::IsSelected(Range) ? int(Get(FontPart(), "Size").ToInt()) : 0;
}

void TExcelFormat::SetFontSize(int size) {
    if (TExcelTools::IsSelected(Range)) Put(FontPart(), "Size", Int4(size));
}

int TExcelFormat::GetFontColor() {
    return TExcelTools::IsSelected(Range) ? int(Get(FontPart(), "ColorIndex").ToInt()) : kAutomaticColor;
}

void TExcelFormat::SetFontColor(int index) {
    if (TExcelTools::IsSelected(Range)) Put(FontPart(), "ColorIndex", Int4(index));
}

int TExcelFormat::GetBgColor() {
    return TExcelTools::IsSelected(Range) ? int(Get(Get(Range, "Interior"), "ColorIndex").ToInt())
                                          : kAutomaticColor;
}

void TExcelFormat::SetBgColor(int index) {
    if (TExcelTools::IsSelected(Range)) Put(Get(Range, "Interior"), "ColorIndex", Int4(index));
}

int TExcelFormat::GetBorderColor() {
    return TExcelTools::IsSelected(Border) ? int(Get(Border, "ColorIndex").ToInt()) : kAutomaticColor;
}

void TExcelFormat::SetBorderColor(int index) {
    if (TExcelTools::IsSelected(Border)) Put(Border, "ColorIndex", Int4(index));
}

int TExcelFormat::GetAlign() {
    if (!TExcelTools::IsSelected(Range)) return 2;
    return excelcodes::AlignCode(int(Get(Range, "HorizontalAlignment").ToInt()));
}

void TExcelFormat::SetAlign(int code) {
    int value = 0;
    if (TExcelTools::IsSelected(Range) && excelcodes::AlignValue(code, value))
        Put(Range, "HorizontalAlignment", Int4(value));
}

int TExcelFormat::GetVAlign() {
    if (!TExcelTools::IsSelected(Range)) return 2;
    return excelcodes::VAlignCode(int(Get(Range, "VerticalAlignment").ToInt()));
}

void TExcelFormat::SetVAlign(int code) {
    int value = 0;
    if (TExcelTools::IsSelected(Range) && excelcodes::VAlignValue(code, value))
        Put(Range, "VerticalAlignment", Int4(value));
}

int TExcelFormat::GetLineStyle() {
    if (!TExcelTools::IsSelected(Border)) return 0;
    return excelcodes::LineStyleCode(int(Get(Border, "LineStyle").ToInt()));
}

void TExcelFormat::SetLineStyle(int code) {
    int value = 0;
    if (TExcelTools::IsSelected(Border) && excelcodes::LineStyleValue(code, value))
        Put(Border, "LineStyle", Int4(value));
}

int TExcelFormat::GetWeight() {
    if (!TExcelTools::IsSelected(Border)) return 0;
    return excelcodes::WeightCode(int(Get(Border, "Weight").ToInt()));
}

void TExcelFormat::SetWeight(int code) {
    int value = 0;
    if (TExcelTools::IsSelected(Border) && excelcodes::WeightValue(code, value))
        Put(Border, "Weight", Int4(value));
}

int TExcelFormat::GetUnderline() {
    if (!TExcelTools::IsSelected(Range)) return 0;
    return excelcodes::UnderlineCode(int(Get(FontPart(), "Underline").ToInt()));
}

void TExcelFormat::SetUnderline(int code) {
    int value = 0;
    if (TExcelTools::IsSelected(Range) && excelcodes::UnderlineValue(code, value))
        Put(FontPart(), "Underline", Int4(value));
}

void TExcelFormat::SetMerge(bool flag) {
    Put(Tools.App, "DisplayAlerts", Variant::FromBool(false));
    if (TExcelTools::IsSelected(Range)) CallMember(Range, flag ? "Merge" : "UnMerge");
    Put(Tools.App, "DisplayAlerts", Variant::FromBool(true));
}
