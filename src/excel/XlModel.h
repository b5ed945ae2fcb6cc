// The in-memory workbook model behind the automation server: books, sheets,
// cells and the formats they share. Texts are Windows-1251, as everywhere in
// the program; the file readers and writers convert at the file boundary.
// Format codes are the application's own constants (xlLeft, xlThin, ...).
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "excel/XlAddress.h"
#include "excel/XlPalette.h"

namespace xl {

// Border and line constants.
constexpr int kLineNone = -4142;   // xlLineStyleNone
constexpr int kContinuous = 1;     // xlContinuous
constexpr int kDash = -4115;
constexpr int kDashDot = 4;
constexpr int kDashDotDot = 5;
constexpr int kDot = -4118;
constexpr int kDouble = -4119;
constexpr int kSlantDashDot = 13;
constexpr int kHairline = 1;
constexpr int kThin = 2;
constexpr int kMedium = -4138;
constexpr int kThick = 4;
// Alignment constants.
constexpr int kAlignGeneral = 1;
constexpr int kAlignLeft = -4131;
constexpr int kAlignCenter = -4108;
constexpr int kAlignRight = -4152;
constexpr int kAlignFill = 5;
constexpr int kAlignJustify = -4130;
constexpr int kAlignCenterAcross = 7;
constexpr int kAlignDistributed = -4117;
constexpr int kAlignTop = -4160;
constexpr int kAlignBottom = -4107;
// Underline constants.
constexpr int kUnderlineNone = -4142;
constexpr int kUnderlineSingle = 2;
constexpr int kUnderlineDouble = -4119;
constexpr int kUnderlineSingleAccounting = 4;
constexpr int kUnderlineDoubleAccounting = 5;
// Number formats: built-in ids of the file format.
constexpr int kFormatGeneral = 0;
constexpr int kFormatDate = 14;
constexpr int kFormatDateTime = 22;
constexpr int kFirstCustomFormat = 164;

// The borders a single cell holds; inside borders of a range are the edges
// of its cells.
enum BorderEdge { EdgeLeft, EdgeRight, EdgeTop, EdgeBottom, EdgeDiagonalDown, EdgeDiagonalUp, EdgeCount };

struct BorderLine {
    int lineStyle = kLineNone;
    int weight = kThin;
    int colorIndex = kColorAutomatic;
    bool operator==(const BorderLine&) const = default;
};

struct FontFormat {
    bool bold = false;
    bool italic = false;
    bool strike = false;
    std::string name = "Calibri";
    double size = 11;
    int colorIndex = kColorAutomatic;
    int underline = kUnderlineNone;
    bool operator==(const FontFormat&) const = default;
};

struct CellFormat {
    FontFormat font;
    int fillColorIndex = kColorNone;
    std::array<BorderLine, EdgeCount> borders{};
    int hAlign = kAlignGeneral;
    int vAlign = kAlignBottom;
    int numberFormat = kFormatGeneral;  // built-in id, or a book's custom id
    bool operator==(const CellFormat&) const = default;
};

bool IsValidHorizontalAlignment(int code);
bool IsValidVerticalAlignment(int code);
bool IsValidLineStyle(int code);
bool IsValidWeight(int code);
bool IsValidUnderline(int code);

struct CellValue {
    enum class Kind : uint8_t { Empty, Number, Text, Bool };
    Kind kind = Kind::Empty;
    double number = 0;
    bool flag = false;
    std::string text;

    static CellValue Number(double value) { CellValue v; v.kind = Kind::Number; v.number = value; return v; }
    static CellValue Text(std::string value) { CellValue v; v.kind = Kind::Text; v.text = std::move(value); return v; }
    static CellValue Bool(bool value) { CellValue v; v.kind = Kind::Bool; v.flag = value; return v; }
    bool IsEmpty() const { return kind == Kind::Empty; }
    bool operator==(const CellValue&) const = default;
};

struct Cell {
    CellValue value;
    uint32_t style = 0;  // index into the book's StyleTable; 0 = default format
};

// The distinct formats of one book; cells refer to them by index so that a
// formatted range costs one number a cell.
class StyleTable {
public:
    StyleTable();
    uint32_t Intern(const CellFormat& format);
    const CellFormat& Get(uint32_t id) const;
    size_t Size() const { return styles_.size(); }

private:
    std::vector<CellFormat> styles_;
    std::unordered_multimap<size_t, uint32_t> byHash_;
};

class SheetModel {
public:
    explicit SheetModel(std::string sheetName) : name(std::move(sheetName)) {}

    const Cell* Find(int row, int col) const;
    Cell* Find(int row, int col);
    Cell& Touch(int row, int col);
    // Drops the cell when it holds neither a value nor a format.
    void Prune(int row, int col);
    // Cells in row-major order.
    const std::map<uint64_t, Cell>& Cells() const { return cells_; }
    // Cells of a rectangle that exist, in row-major order.
    template <class Fn> void ForEachIn(const RangeRect& rect, Fn fn);
    // Highest row and highest column holding a value, a format or a merge.
    CellPos LastUsedCell() const;

    static uint64_t Key(int row, int col) { return (uint64_t(uint32_t(row)) << 16) | uint32_t(col); }
    static int RowOf(uint64_t key) { return int(key >> 16); }
    static int ColOf(uint64_t key) { return int(key & 0xFFFF); }

    std::string name;
    RangeRect selection = RangeRect::Cell(1, 1);
    std::vector<RangeRect> merges;
    bool deleted = false;

private:
    std::map<uint64_t, Cell> cells_;
};

template <class Fn> void SheetModel::ForEachIn(const RangeRect& rect, Fn fn) {
    for (int row = rect.top; row <= rect.bottom; ++row) {
        auto it = cells_.lower_bound(Key(row, rect.left));
        const auto end = cells_.upper_bound(Key(row, rect.right));
        while (it != end) {
            auto next = std::next(it);
            fn(RowOf(it->first), ColOf(it->first), it->second);
            it = next;
        }
        // Jump over empty rows instead of walking a million of them.
        auto after = cells_.lower_bound(Key(row + 1, 0));
        if (after == cells_.end()) break;
        if (RowOf(after->first) > row + 1) row = RowOf(after->first) - 1;
    }
}

class BookModel {
public:
    // A new book with one sheet.
    static std::shared_ptr<BookModel> CreateNew(std::string bookName);

    int SheetIndex(const SheetModel* sheet) const;  // 0-based, -1 when absent
    std::shared_ptr<SheetModel> FindSheet(const std::string& sheetName) const;  // any letter case
    std::string FreeSheetName() const;  // "SheetN", N = count + 1 or the next free
    std::shared_ptr<SheetModel> ActiveSheet() const;
    bool IsDateFormat(int formatId) const;
    // The code of a number format: custom codes, else the built-in text.
    std::string FormatCode(int formatId) const;
    int CustomFormatId(const std::string& code);  // registers the code once

    std::string name;      // "Book1", or the file name part once saved
    std::string fullPath;  // empty until opened from or saved to a file
    std::vector<std::shared_ptr<SheetModel>> sheets;
    int activeSheet = 0;
    StyleTable styles;
    std::map<int, std::string> customFormats;
    bool dirty = false;
    bool closed = false;
    bool readOnly = false;
};

// A cell with a date number format reads as a date; the built-in date ids
// and custom codes with day, month or year parts outside quotes.
bool IsDateFormatCode(const std::string& code);
bool IsBuiltinDateFormat(int formatId);

}  // namespace xl
