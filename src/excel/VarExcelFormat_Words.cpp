// The words the format members take and answer, and the small codes of
// the automation layer they stand for. The same short word may mean
// different things under different members: "--" is a dashed border line
// but single-accounting underline.
#include <cstdint>

#include "excel/VarExcelFormat.h"
#include "values/unitUtils.h"

namespace formatwords {

namespace {

constexpr int kAutomaticColor = -4105;

struct WordCode {
    const char* word;
    int code;
};

// The code of a word in a table, or `other` when it is not listed.
template <size_t N>
int CodeOf(const WordCode (&table)[N], const std::string& word, int other) {
    for (const WordCode& entry : table)
        if (word == entry.word) return entry.code;
    return other;
}

const WordCode kSides[] = {{"diagdown", 0}, {"diagup", 1}, {"bottom", 2},     {"left", 3},
                           {"right", 4},    {"top", 5},    {"horizontal", 6}, {"vertical", 7}};

const WordCode kLineStyles[] = {{"single", 1},     {"-", 1},   {"dash", 2},         {"--", 2},
                                {"dashdot", 3},    {"-.", 3},  {"dashdotdot", 4},   {"-..", 4},
                                {"dot", 5},        {".", 5},   {"double", 6},       {"=", 6},
                                {"slantdashdot", 7}, {"=-", 7}};

const WordCode kWeights[] = {{"hairline", 0}, {"medium", 1}, {"thick", 2}};
const WordCode kAligns[] = {{"left", 0}, {"<", 0}, {"right", 1}, {">", 1}};
const WordCode kVAligns[] = {{"top", 0}, {"^", 0}, {"bottom", 1}, {"v", 1}};
const WordCode kUnderlines[] = {{"double", 1}, {"=", 1},  {"doublea", 2}, {"==", 2},
                                {"single", 3}, {"-", 3},  {"singlea", 4}, {"--", 4}};

const WordCode kColors[] = {{"black", 1},   {"white", 2},      {"red", 3},        {"green", 4},
                            {"blue", 5},    {"yellow", 6},     {"purpure", 7},    {"aqua", 8},
                            {"darkred", 9}, {"darkgreen", 10}, {"darkblue", 11},  {"olive", 12},
                            {"darkpunk", 13}, {"teal", 14},    {"lightgray", 15}, {"gray", 16}};

const char* const kLineStyleNames[] = {"None", "Single", "Dash", "DashDot", "DashDotDot", "Dot", "Double",
                                       "SlantDashDot"};
const char* const kWeightNames[] = {"HairLine", "Medium", "Thick", "Thin"};
const char* const kUnderlineNames[] = {"None", "Double", "DoubleA", "Single", "SingleA"};

}  // namespace

int SideOf(const std::string& word) { return CodeOf(kSides, word, -1); }

int LineStyleOf(const std::string& word) { return CodeOf(kLineStyles, word, 0); }
std::string LineStyleName(int code) { return kLineStyleNames[code >= 1 && code <= 7 ? code : 0]; }

int WeightOf(const std::string& word) { return CodeOf(kWeights, word, 3); }
std::string WeightName(int code) { return kWeightNames[code >= 0 && code <= 3 ? code : 3]; }

int AlignOf(const std::string& word) { return CodeOf(kAligns, word, 2); }
std::string AlignName(int code) { return code == 0 ? "Left" : code == 1 ? "Right" : "Center"; }

int VAlignOf(const std::string& word) { return CodeOf(kVAligns, word, 2); }
std::string VAlignName(int code) { return code == 0 ? "Top" : code == 1 ? "Bottom" : "Center"; }

int UnderlineOf(const std::string& word) { return CodeOf(kUnderlines, word, 0); }
std::string UnderlineName(int code) { return kUnderlineNames[code >= 1 && code <= 4 ? code : 0]; }

// Unlisted words are decimal numbers; a text that is none counts as 0.
// Only the low 8 bits are looked at, so 257 names colour 1.
int ColorOf(const std::string& word) {
    const int listed = CodeOf(kColors, word, 0);
    if (listed) return listed;
    int64_t number = 0;
    if (!ParseIntText(word, number)) number = 0;
    const int low = int(uint64_t(number) & 0xFF);
    return low >= 1 && low <= 40 ? low : kAutomaticColor;
}

int64_t ColorReading(int index) { return int64_t(uint32_t(index)); }

}  // namespace formatwords
