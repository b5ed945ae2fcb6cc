// Cell and range addresses of the automation server: A1 references such as
// "B5", "$B$5" or "A1:C3", with the sheet limits of the file format.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace xl {

constexpr int kMaxRows = 1048576;
constexpr int kMaxColumns = 16384;  // "XFD"

struct CellPos {
    int row = 1;
    int col = 1;
};

// A rectangle of cells, bounds included.
struct RangeRect {
    int top = 1, left = 1, bottom = 1, right = 1;

    static RangeRect Cell(int row, int col) { return {row, col, row, col}; }
    static RangeRect WholeSheet() { return {1, 1, kMaxRows, kMaxColumns}; }
    static RangeRect Spanning(const RangeRect& a, const RangeRect& b);

    int Rows() const { return bottom - top + 1; }
    int Cols() const { return right - left + 1; }
    int64_t CellCount() const { return int64_t(Rows()) * Cols(); }
    bool IsSingleCell() const { return top == bottom && left == right; }
    bool Contains(int row, int col) const {
        return row >= top && row <= bottom && col >= left && col <= right;
    }
    bool Intersects(const RangeRect& other) const;
    bool operator==(const RangeRect&) const = default;
};

// Column letters without the 702-column limit of the script helpers:
// 1 -> "A", 16384 -> "XFD"; empty outside 1..kMaxColumns.
std::string ColumnName(int col);
std::string CellAddress(int row, int col);  // "B5"
std::string RangeAddress(const RangeRect& rect);  // "B5" or "A1:C3"

// "B5", "$B$5", "b5"; nothing when malformed or outside the sheet.
std::optional<CellPos> ParseCellAddress(std::string_view text);
// A cell or "first:last" (corners in any order); nothing when malformed.
std::optional<RangeRect> ParseRangeAddress(std::string_view text);

}  // namespace xl
