// String members: case, trimming, reclassification, file-name parts, file
// existence and splitting.
#include <filesystem>
#include <system_error>

#include "values/StringType.h"
#include "values/TypeHelpers.h"
#include "values/codepage.h"
#include "values/unitUtils.h"

namespace {

bool IsDirSeparator(char c) { return c == '\\' || c == '/'; }
bool IsPathDelimiter(char c) { return IsDirSeparator(c) || c == ':'; }

// 0-based index of the last directory separator or drive colon; npos when none.
size_t LastDelimiter(const std::string& path) {
    for (size_t i = path.size(); i-- > 0;)
        if (IsPathDelimiter(path[i])) return i;
    return std::string::npos;
}

std::string TrimBlanks(const std::string& text) {
    size_t first = 0;
    size_t last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= 32) ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= 32) --last;
    return text.substr(first, last - first);
}

bool PathExists(const std::string& name) {
    if (name.empty()) return false;
    std::error_code error;
    return std::filesystem::exists(NativePath(name), error);
}

// "Split"(separator): the pieces of the owner's text as a new array.
VAR_* SplitMethod(void* object, GrafVarArray* args) {
    auto* type = static_cast<Type_*>(object);
    const std::string text = type->Cur->GetStr();
    VAR_* result = NewArray();
    GrafVarArray* table = TableOf(result);
    for (std::string& piece : SplitText(text, ArgText(args, 0)))
        table->AddCell(std::to_string(table->Count), NewStr(std::move(piece)));
    return result;
}

const char* const kMemberNames[] = {"Upper", "Lower", "Trim", "Value", "Low", "High", "ExCol",
                                    "ExtractFileExt", "ExtractFilePath", "ExtractFileDrive",
                                    "ExtractFileName", "ExtractFileDir", "Exists", "Split"};

}  // namespace

std::string FileExtPart(const std::string& path) {
    const size_t delimiter = LastDelimiter(path);
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || (delimiter != std::string::npos && dot < delimiter)) return "";
    return path.substr(dot);
}

std::string FilePathPart(const std::string& path) {
    const size_t delimiter = LastDelimiter(path);
    return delimiter == std::string::npos ? "" : path.substr(0, delimiter + 1);
}

std::string FileNamePart(const std::string& path) {
    const size_t delimiter = LastDelimiter(path);
    return delimiter == std::string::npos ? path : path.substr(delimiter + 1);
}

// A root ("C:\", "\" or "/") keeps its separator, and so does a separator
// that follows another delimiter.
std::string FileDirPart(const std::string& path) {
    size_t end = LastDelimiter(path);
    if (end == std::string::npos) return "";
    if (end > 0 && IsDirSeparator(path[end]) && !IsPathDelimiter(path[end - 1])) return path.substr(0, end);
    return path.substr(0, end + 1);
}

// "X:" for a drive letter, "\\server\share" (either separator) for a
// network path, else empty.
std::string FileDrivePart(const std::string& path) {
    if (path.size() >= 2 && path[1] == ':') return path.substr(0, 2);
    if (path.size() < 2 || !IsDirSeparator(path[0]) || !IsDirSeparator(path[1])) return "";
    size_t separators = 0;
    size_t i = 2;
    for (; i < path.size(); ++i) {
        if (IsDirSeparator(path[i]) && ++separators == 2) break;
    }
    return path.substr(0, i);
}

void String_::Create() {
    Type_::Create();
    Methods.AddMethod("Split", SplitMethod, this);
}

VAR_* String_::TextMember(const std::string& name) {
    const std::string& text = Text();
    if (name == "Upper") return NewStr(Upper1251(text));
    if (name == "Lower") return NewStr(Lower1251(text));
    if (name == "Trim") return NewStr(TrimBlanks(text));
    if (name == "Low") return NewInt(1);
    if (name == "High") return NewInt(int64_t(text.size()));
    if (name == "ExCol") return NewInt(ColumnNumber(text));
    if (name == "ExtractFileExt") return NewStr(FileExtPart(text));
    if (name == "ExtractFilePath") return NewStr(FilePathPart(text));
    if (name == "ExtractFileDrive") return NewStr(FileDrivePart(text));
    if (name == "ExtractFileName") return NewStr(FileNamePart(text));
    if (name == "ExtractFileDir") return NewStr(FileDirPart(text));
    if (name == "Exists") return NewBool(PathExists(text));
    return nullptr;
}

VAR_* String_::Method(const std::string& name, VAR_* arg, bool write) {
    if (!write) {
        if (name == "Value") {
            VAR_* copy = Cur->Copy();
            copy->ParseLiteral("", false);  // an empty text: the cell's own string
            return copy;
        }
        if (VAR_* member = TextMember(name)) return member;
    }
    return DefaultMethod(name, arg, write);
}

bool String_::HasMethod(const std::string& name) {
    for (const char* member : kMemberNames)
        if (name == member) return true;
    return DefaultHasMethod(name);
}
