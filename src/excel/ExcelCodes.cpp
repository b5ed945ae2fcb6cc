// The code tables of TExcelFormat: the program's small codes and the
// application constants they send and decode.
#include "excel/ExcelTool.h"

#include <array>

namespace excelcodes {
namespace {

// A code table: entry i is the constant code i sends.
template <size_t N> bool Send(const std::array<int, N>& table, int code, int& value) {
    if (code < 0 || size_t(code) >= N) return false;
    value = table[size_t(code)];
    return true;
}

template <size_t N> int Decode(const std::array<int, N>& table, int value, int fallback) {
    for (size_t i = 0; i < N; ++i)
        if (table[i] == value) return int(i);
    return fallback;
}

constexpr std::array<int, 8> kBordersIndex = {5, 6, 9, 7, 10, 8, 12, 11};
constexpr std::array<int, 3> kAlign = {-4131, -4152, -4108};      // left, right, centre
constexpr std::array<int, 3> kVAlign = {-4160, -4107, -4108};     // top, bottom, centre
constexpr std::array<int, 8> kLineStyle = {-4142, 1, -4115, 4, 5, -4118, -4119, 13};
constexpr std::array<int, 4> kWeight = {1, -4138, 4, 2};          // hairline, medium, thick, thin
constexpr std::array<int, 5> kUnderline = {-4142, -4119, 5, 2, 4};

}  // namespace

int BordersIndexOfSide(int side) {
    int index = 0;
    return Send(kBordersIndex, side, index) ? index : 0;
}

bool AlignValue(int code, int& value) { return Send(kAlign, code, value); }
// Anything but left and right reads as centred.
int AlignCode(int value) { return Decode(kAlign, value, 2); }
bool VAlignValue(int code, int& value) { return Send(kVAlign, code, value); }
int VAlignCode(int value) { return Decode(kVAlign, value, 2); }
bool LineStyleValue(int code, int& value) { return Send(kLineStyle, code, value); }
int LineStyleCode(int value) { return Decode(kLineStyle, value, 0); }
bool WeightValue(int code, int& value) { return Send(kWeight, code, value); }
int WeightCode(int value) { return Decode(kWeight, value, 0); }
bool UnderlineValue(int code, int& value) { return Send(kUnderline, code, value); }
int UnderlineCode(int value) { return Decode(kUnderline, value, 0); }

}  // namespace excelcodes
