// VarExcelFormat: the payload shared by copies of a format cell, the
// border choice by side word and the format members.
#include "excel/VarExcelFormat.h"

#include "excel/ClassExcel.h"
#include "values/TypeHelpers.h"
#include "values/codepage.h"

VarExcelFormat* VarExcelFormatType = nullptr;

namespace {

enum class Member {
    None, Value, Bold, Italic, Strike, BgColor, FontName, FontSize, FontColor,
    LineStyle, BorderColor, Weight, Align, VAlign, Underline, Merge, Clear, Close
};

struct MemberName {
    const char* name;
    Member member;
};

// Each member under its full name and its short alias.
const MemberName kMembers[] = {
    {"Value", Member::Value},           {"Bold", Member::Bold},          {"B", Member::Bold},
    {"Italic", Member::Italic},         {"I", Member::Italic},           {"Strike", Member::Strike},
    {"S", Member::Strike},              {"BgColor", Member::BgColor},    {"BG", Member::BgColor},
    {"FontName", Member::FontName},     {"Familly", Member::FontName},   {"FontSize", Member::FontSize},
    {"Size", Member::FontSize},         {"FontColor", Member::FontColor}, {"Color", Member::FontColor},
    {"Clear", Member::Clear},           {"BorderStyle", Member::LineStyle}, {"Line", Member::LineStyle},
    {"BorderColor", Member::BorderColor}, {"LineColor", Member::BorderColor},
    {"BorderWeight", Member::Weight},   {"Weight", Member::Weight},      {"Align", Member::Align},
    {"VAlign", Member::VAlign},         {"UnderLine", Member::Underline}, {"U", Member::Underline},
    {"Close", Member::Close},           {"Merge", Member::Merge},
};

Member MemberOf(const std::string& name) {
    for (const MemberName& entry : kMembers)
        if (name == entry.name) return entry.member;
    return Member::None;
}

// "Merge" is written only; "Clear" and "Close" are read only.
bool Readable(Member m) { return m != Member::None && m != Member::Merge; }
bool Writable(Member m) { return m != Member::None && m != Member::Clear && m != Member::Close; }

void DropReference(FormatHandle* handle) {
    if (handle && --handle->References == 0) delete handle;
}

std::string WordOf(VAR_* value) { return value ? Lower1251(value->GetStr()) : std::string(); }

}  // namespace

FormatHandle* FormatHandleOf(VAR_* cell) {
    if (!cell || !VarExcelFormatType || cell->Type != VarExcelFormatType) return nullptr;
    return static_cast<FormatHandle*>(cell->Data.ptr);
}

VAR_* NewFormatCell(std::unique_ptr<TExcelFormat> format) {
    VAR_* cell = VAR_::Create(VarExcelFormatType, true);
    FormatHandleOf(cell)->Format = std::move(format);
    return cell;
}

VarExcelFormat::VarExcelFormat() { Kind = TypeKind::Object; }

std::string VarExcelFormat::GetTypeName() { return "Excel>Format"; }

void VarExcelFormat::SetCallName() {
    CallOwner = "Excel>Format";
    CallName = "";
}

// --- payload -------------------------------------------------------------

CellData VarExcelFormat::NewData() {
    CellData data;
    data.ptr = new FormatHandle;
    return data;
}

void VarExcelFormat::FreeData(CellData& data) {
    DropReference(static_cast<FormatHandle*>(data.ptr));
    data.ptr = nullptr;
}

// Copies share the format.
void VarExcelFormat::CopyData(const CellData& src, CellData& dst) {
    auto* shared = static_cast<FormatHandle*>(src.ptr);
    if (!shared || shared == dst.ptr) return;
    DropReference(static_cast<FormatHandle*>(dst.ptr));
    ++shared->References;
    dst.ptr = shared;
}

// A format value without a format to act on is Null, so that scripts can
// test what "Format" gave them.
bool VarExcelFormat::IsNull() {
    FormatHandle* handle = FormatHandleOf(Cur);
    return !handle || !handle->Format;
}

// --- border choice and members ---------------------------------------------

// The format of the current cell; nil when it was closed (through any
// copy). A format that never had a range is a script's mistake worth
// reporting.
TExcelFormat* VarExcelFormat::Target(const std::string& member) {
    FormatHandle* handle = FormatHandleOf(Cur);
    if (handle && handle->Format) return handle->Format.get();
    if (handle && handle->Closed) return nullptr;
    throw ScriptError("Excel>Format." + member + ": the format has no range (\"Format\" did not obtain one)");
}

VAR_* VarExcelFormat::CallArgs(GrafVarArray* args) {
    VAR_* self = Cur;
    const int side = formatwords::SideOf(WordOf(ArgAt(args, 0)));
    TExcelFormat* format = Target("(side)");
    if (format && side >= 0) format->SelectBorder(side);
    return self;
}

// A closed format writes nothing and reads what a format without a range
// reads: the automation layer's defaults.
VAR_* VarExcelFormat::Method(const std::string& name, VAR_* arg, bool write) {
    const Member member = MemberOf(name);
    if (write ? !Writable(member) : !Readable(member)) return DefaultMethod(name, arg, write);
    if (member == Member::Close) {
        if (FormatHandle* handle = FormatHandleOf(Cur)) {
            handle->Format.reset();
            handle->Closed = true;
        }
        return NewNull();
    }
    TExcelFormat* format = Target(name);
    if (write) {
        if (format) WriteMember(name, arg, *format);
        return NewNull();
    }
    if (format) return ReadMember(name, *format);
    TExcelFormat standIn(ExcelTools(), TExcelTools::Unset());
    return ReadMember(name, standIn);
}

bool VarExcelFormat::HasMethod(const std::string& name) {
    return MemberOf(name) != Member::None || DefaultHasMethod(name);
}

VAR_* VarExcelFormat::ReadMember(const std::string& name, TExcelFormat& format) {
    using namespace formatwords;
    switch (MemberOf(name)) {
    case Member::Value: return NewFromVariant(format.GetValue());
    case Member::Bold: return NewBool(format.GetBold());
    case Member::Italic: return NewBool(format.GetItalic());
    case Member::Strike: return NewBool(format.GetStrike());
    case Member::BgColor: return NewInt(ColorReading(format.GetBgColor()));
    case Member::FontName: return NewStr(format.GetFontName());
    case Member::FontSize: return NewInt(format.GetFontSize());
    case Member::FontColor: return NewInt(ColorReading(format.GetFontColor()));
    case Member::LineStyle: return NewStr(LineStyleName(format.GetLineStyle()));
    case Member::BorderColor: return NewInt(ColorReading(format.GetBorderColor()));
    case Member::Weight: return NewStr(WeightName(format.GetWeight()));
    case Member::Align: return NewStr(AlignName(format.GetAlign()));
    case Member::VAlign: return NewStr(VAlignName(format.GetVAlign()));
    case Member::Underline: return NewStr(UnderlineName(format.GetUnderline()));
    case Member::Clear:
        format.ClearBorder();
        return Cur;
    default: return NewNull();
    }
}

bool VarExcelFormat::WriteMember(const std::string& name, VAR_* value, TExcelFormat& format) {
    using namespace formatwords;
    TempRef null(value ? nullptr : NewNull());
    if (!value) value = null.get();
    const std::string word = WordOf(value);
    switch (MemberOf(name)) {
    case Member::Value: format.SetValue(value->GetVariant()); break;
    case Member::Bold: format.SetBold(value->GetBool()); break;
    case Member::Italic: format.SetItalic(value->GetBool()); break;
    case Member::Strike: format.SetStrike(value->GetBool()); break;
    case Member::BgColor: format.SetBgColor(ColorOf(word)); break;
    case Member::FontName: format.SetFontName(value->GetStr()); break;
    case Member::FontSize: format.SetFontSize(Low32(value->GetInt())); break;
    case Member::FontColor: format.SetFontColor(ColorOf(word)); break;
    case Member::LineStyle: format.SetLineStyle(LineStyleOf(word)); break;
    case Member::BorderColor: format.SetBorderColor(ColorOf(word)); break;
    case Member::Weight: format.SetWeight(WeightOf(word)); break;
    case Member::Align: format.SetAlign(AlignOf(word)); break;
    case Member::VAlign: format.SetVAlign(VAlignOf(word)); break;
    case Member::Underline: format.SetUnderline(UnderlineOf(word)); break;
    case Member::Merge: format.SetMerge(value->GetBool()); break;
    default: return false;
    }
    return true;
}
