#include "excel/XlAddress.h"

#include <algorithm>

namespace xl {

RangeRect RangeRect::Spanning(const RangeRect& a, const RangeRect& b) {
    return {std::min(a.top, b.top), std::min(a.left, b.left),
            std::max(a.bottom, b.bottom), std::max(a.right, b.right)};
}

bool RangeRect::Intersects(const RangeRect& other) const {
    return top <= other.bottom && other.top <= bottom &&
           left <= other.right && other.left <= right;
}

std::string ColumnName(int col) {
    if (col < 1 || col > kMaxColumns) return {};
    std::string letters;
    while (col > 0) {
        const int digit = (col - 1) % 26;
        letters.insert(letters.begin(), char('A' + digit));
        col = (col - 1) / 26;
    }
    return letters;
}

std::string CellAddress(int row, int col) {
    return ColumnName(col) + std::to_string(row);
}

std::string RangeAddress(const RangeRect& rect) {
    if (rect.IsSingleCell()) return CellAddress(rect.top, rect.left);
    return CellAddress(rect.top, rect.left) + ":" + CellAddress(rect.bottom, rect.right);
}

std::optional<CellPos> ParseCellAddress(std::string_view text) {
    size_t i = 0;
    if (i < text.size() && text[i] == '$') ++i;
    int col = 0;
    size_t letters = 0;
    for (; i < text.size() && letters < 4; ++i, ++letters) {
        char c = text[i];
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
        if (c < 'A' || c > 'Z') break;
        col = col * 26 + (c - 'A' + 1);
    }
    if (letters == 0 || col > kMaxColumns) return std::nullopt;
    if (i < text.size() && text[i] == '$') ++i;
    int row = 0;
    size_t digits = 0;
    for (; i < text.size() && digits < 8; ++i, ++digits) {
        const char c = text[i];
        if (c < '0' || c > '9') break;
        row = row * 10 + (c - '0');
    }
    if (digits == 0 || i != text.size() || row < 1 || row > kMaxRows) return std::nullopt;
    return CellPos{row, col};
}

std::optional<RangeRect> ParseRangeAddress(std::string_view text) {
    const size_t colon = text.find(':');
    if (colon == std::string_view::npos) {
        const auto cell = ParseCellAddress(text);
        if (!cell) return std::nullopt;
        return RangeRect::Cell(cell->row, cell->col);
    }
    const auto first = ParseCellAddress(text.substr(0, colon));
    const auto last = ParseCellAddress(text.substr(colon + 1));
    if (!first || !last) return std::nullopt;
    return RangeRect::Spanning(RangeRect::Cell(first->row, first->col),
                               RangeRect::Cell(last->row, last->col));
}

}  // namespace xl
