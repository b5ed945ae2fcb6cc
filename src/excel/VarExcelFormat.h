// VarExcelFormat: the look of one spreadsheet range as a script value
// (type name "Excel>Format"), the script face of a TExcelFormat. A script
// picks a border by calling the value with a side word ("left", "top",
// ...) and reads or assigns members with words ("double", "thick", "red").
//
// Copies of a format value share one handle. "Close" through any copy
// frees the format for all of them: the others then write nothing and
// read the defaults, as a format without a range does.
#pragma once

#include <memory>
#include <string>

#include "excel/ExcelTool.h"
#include "values/ObjectType.h"

struct FormatHandle {
    int32_t References = 1;
    std::unique_ptr<TExcelFormat> Format;  // nil when none was obtained or after Close
    bool Closed = false;                   // Close freed the format
};

class VarExcelFormat : public Object_ {
public:
    VarExcelFormat();

    std::string GetTypeName() override;
    void SetCallName() override;
    CellData NewData() override;
    void FreeData(CellData& data) override;
    void CopyData(const CellData& src, CellData& dst) override;
    bool IsNull() override;
    VAR_* CallArgs(GrafVarArray* args) override;
    VAR_* Method(const std::string& name, VAR_* arg, bool write) override;
    bool HasMethod(const std::string& name) override;

private:
    TExcelFormat* Target(const std::string& member);
    VAR_* ReadMember(const std::string& name, TExcelFormat& format);
    bool WriteMember(const std::string& name, VAR_* value, TExcelFormat& format);
};

extern VarExcelFormat* VarExcelFormatType;

// A new temporary format cell owning the format (none: no range).
VAR_* NewFormatCell(std::unique_ptr<TExcelFormat> format);
FormatHandle* FormatHandleOf(VAR_* cell);

// The words of the format members and their codes (words in lower case).
namespace formatwords {
int SideOf(const std::string& word);  // -1 for an unknown word
int LineStyleOf(const std::string& word);
std::string LineStyleName(int code);
int WeightOf(const std::string& word);
std::string WeightName(int code);
int AlignOf(const std::string& word);
std::string AlignName(int code);
int VAlignOf(const std::string& word);
std::string VAlignName(int code);
int UnderlineOf(const std::string& word);
std::string UnderlineName(int code);
// A colour word or number as a colour index; -4105 (automatic) when the
// number's low 8 bits are not 1 to 40.
int ColorOf(const std::string& word);
// An index as scripts read it: unsigned 32 bits.
int64_t ColorReading(int index);
}  // namespace formatwords
