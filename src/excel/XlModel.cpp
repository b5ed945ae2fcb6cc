#include "excel/XlModel.h"

#include <algorithm>

#include "values/codepage.h"

namespace xl {

bool IsValidHorizontalAlignment(int code) {
    switch (code) {
    case kAlignGeneral: case kAlignLeft: case kAlignCenter: case kAlignRight:
    case kAlignFill: case kAlignJustify: case kAlignCenterAcross: case kAlignDistributed:
        return true;
    default:
        return false;
    }
}

bool IsValidVerticalAlignment(int code) {
    return code == kAlignTop || code == kAlignCenter || code == kAlignBottom ||
           code == kAlignJustify || code == kAlignDistributed;
}

bool IsValidLineStyle(int code) {
    switch (code) {
    case kLineNone: case kContinuous: case kDash: case kDashDot: case kDashDotDot:
    case kDot: case kDouble: case kSlantDashDot:
        return true;
    default:
        return false;
    }
}

bool IsValidWeight(int code) {
    return code == kHairline || code == kThin || code == kMedium || code == kThick;
}

bool IsValidUnderline(int code) {
    return code == kUnderlineNone || code == kUnderlineSingle || code == kUnderlineDouble ||
           code == kUnderlineSingleAccounting || code == kUnderlineDoubleAccounting;
}

namespace {

size_t HashOf(const CellFormat& format) {
    size_t hash = std::hash<std::string>()(format.font.name);
    auto mix = [&hash](int64_t value) { hash = hash * 1000003u ^ std::hash<int64_t>()(value); };
    mix(format.font.bold | format.font.italic << 1 | format.font.strike << 2);
    mix(int64_t(format.font.size * 100));
    mix(format.font.colorIndex);
    mix(format.font.underline);
    mix(format.fillColorIndex);
    for (const auto& line : format.borders) mix(line.lineStyle * 65536 + line.weight * 256 + line.colorIndex);
    mix(format.hAlign);
    mix(format.vAlign);
    mix(format.numberFormat);
    return hash;
}

}  // namespace

StyleTable::StyleTable() : styles_{CellFormat{}} { byHash_.emplace(HashOf(styles_[0]), 0); }

uint32_t StyleTable::Intern(const CellFormat& format) {
    const size_t hash = HashOf(format);
    const auto [first, last] = byHash_.equal_range(hash);
    for (auto it = first; it != last; ++it)
        if (styles_[it->second] == format) return it->second;
    styles_.push_back(format);
    const auto id = uint32_t(styles_.size() - 1);
    byHash_.emplace(hash, id);
    return id;
}

const CellFormat& StyleTable::Get(uint32_t id) const {
    return id < styles_.size() ? styles_[id] : styles_[0];
}

const Cell* SheetModel::Find(int row, int col) const {
    const auto it = cells_.find(Key(row, col));
    return it == cells_.end() ? nullptr : &it->second;
}

Cell* SheetModel::Find(int row, int col) {
    const auto it = cells_.find(Key(row, col));
    return it == cells_.end() ? nullptr : &it->second;
}

Cell& SheetModel::Touch(int row, int col) { return cells_[Key(row, col)]; }

void SheetModel::Prune(int row, int col) {
    const auto it = cells_.find(Key(row, col));
    if (it != cells_.end() && it->second.value.IsEmpty() && it->second.style == 0)
        cells_.erase(it);
}

CellPos SheetModel::LastUsedCell() const {
    CellPos last{1, 1};
    for (const auto& [key, cell] : cells_) {
        last.row = std::max(last.row, RowOf(key));
        last.col = std::max(last.col, ColOf(key));
    }
    for (const auto& merge : merges) {
        last.row = std::max(last.row, merge.bottom);
        last.col = std::max(last.col, merge.right);
    }
    return last;
}

std::shared_ptr<BookModel> BookModel::CreateNew(std::string bookName) {
    auto book = std::make_shared<BookModel>();
    book->name = std::move(bookName);
    book->sheets.push_back(std::make_shared<SheetModel>("Sheet1"));
    return book;
}

int BookModel::SheetIndex(const SheetModel* sheet) const {
    for (size_t i = 0; i < sheets.size(); ++i)
        if (sheets[i].get() == sheet) return int(i);
    return -1;
}

std::shared_ptr<SheetModel> BookModel::FindSheet(const std::string& sheetName) const {
    for (const auto& sheet : sheets)
        if (SameText1251(sheet->name, sheetName)) return sheet;
    return nullptr;
}

std::string BookModel::FreeSheetName() const {
    for (size_t n = sheets.size() + 1;; ++n) {
        std::string candidate = "Sheet" + std::to_string(n);
        if (!FindSheet(candidate)) return candidate;
    }
}

std::shared_ptr<SheetModel> BookModel::ActiveSheet() const {
    if (sheets.empty()) return nullptr;
    return sheets[size_t(std::clamp(activeSheet, 0, int(sheets.size()) - 1))];
}

bool BookModel::IsDateFormat(int formatId) const {
    const auto it = customFormats.find(formatId);
    if (it != customFormats.end()) return IsDateFormatCode(it->second);
    return IsBuiltinDateFormat(formatId);
}

std::string BookModel::FormatCode(int formatId) const {
    const auto it = customFormats.find(formatId);
    if (it != customFormats.end()) return it->second;
    switch (formatId) {
    case kFormatDate: return "dd.mm.yyyy";
    case kFormatDateTime: return "dd.mm.yyyy h:mm";
    default: return "General";
    }
}

int BookModel::CustomFormatId(const std::string& code) {
    int next = kFirstCustomFormat;
    for (const auto& [id, existing] : customFormats) {
        if (existing == code) return id;
        next = std::max(next, id + 1);
    }
    customFormats[next] = code;
    return next;
}

bool IsBuiltinDateFormat(int formatId) {
    return (formatId >= 14 && formatId <= 22) || (formatId >= 45 && formatId <= 47) ||
           (formatId >= 27 && formatId <= 36) || (formatId >= 50 && formatId <= 58);
}

bool IsDateFormatCode(const std::string& code) {
    bool quoted = false;
    bool escaped = false;
    int bracket = 0;
    for (char c : code) {
        if (escaped) { escaped = false; continue; }
        if (c == '\\') { escaped = true; continue; }
        if (c == '"') { quoted = !quoted; continue; }
        if (quoted) continue;
        if (c == '[') { ++bracket; continue; }
        if (c == ']') { bracket = std::max(0, bracket - 1); continue; }
        if (bracket > 0) continue;
        const char lower = char(c | 0x20);
        if (lower == 'd' || lower == 'm' || lower == 'y' || lower == 'h' || lower == 's')
            return true;
    }
    return false;
}

}  // namespace xl
