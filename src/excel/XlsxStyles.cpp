#include "excel/XlsxStyles.h"

#include <charconv>
#include <cstdio>
#include <string_view>
#include <stdexcept>

#include <pugixml.hpp>

#include "excel/XlsxText.h"
#include "excel/XlsxXml.h"

namespace xl {
namespace {

constexpr size_t kMaxFormatRecords = 65536;

// The default theme's colours, for files that name theme colours; only
// their nearest palette entry matters.
constexpr uint32_t kThemeColors[] = {0xFFFFFF, 0x000000, 0xEEECE1, 0x1F497D, 0x4F81BD, 0xC0504D,
                                     0x9BBB59, 0x8064A2, 0x4BACC6, 0xF79646, 0x0000FF, 0x800080};

template <class T> size_t IndexOf(std::vector<T>& list, const T& item) {
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i] == item) return i;
    list.push_back(item);
    return list.size() - 1;
}

// <color rgb="FFRRGGBB"/>: opaque alpha, then the palette entry's colour.
void AppendColor(pugi::xml_node parent, const char* element, int colorIndex) {
    if (!IsPaletteIndex(colorIndex)) return;  // automatic: no element
    char rgb[9];
    std::snprintf(rgb, sizeof rgb, "FF%06X", unsigned(PaletteRgb(colorIndex)));
    parent.append_child(element).append_attribute("rgb") = rgb;
}

// <font>: children in the schema's order b, i, strike, u, sz, color, name.
void AppendFont(pugi::xml_node fonts, const FontFormat& font) {
    pugi::xml_node node = fonts.append_child("font");
    if (font.bold) node.append_child("b");
    if (font.italic) node.append_child("i");
    if (font.strike) node.append_child("strike");
    if (font.underline != kUnderlineNone)
        node.append_child("u").append_attribute("val") = UnderlineName(font.underline).c_str();
    node.append_child("sz").append_attribute("val") = NumberText(font.size).c_str();
    AppendColor(node, "color", font.colorIndex);
    node.append_child("name").append_attribute("val") = ToPartText(font.name).c_str();
}

// <fill><patternFill patternType="solid"><fgColor rgb/></patternFill></fill>;
// a cell without fill uses fill 0 (patternType none).
void AppendFill(pugi::xml_node fills, int colorIndex) {
    pugi::xml_node pattern = fills.append_child("fill").append_child("patternFill");
    if (!IsPaletteIndex(colorIndex)) {
        pattern.append_attribute("patternType") = "none";
        return;
    }
    pattern.append_attribute("patternType") = "solid";
    AppendColor(pattern, "fgColor", colorIndex);
    pattern.append_child("bgColor").append_attribute("indexed") = 64;  // system background
}

void AppendBorderLine(pugi::xml_node border, const char* element, const BorderLine& line) {
    pugi::xml_node node = border.append_child(element);
    const std::string style = BorderStyleName(line.lineStyle, line.weight);
    if (style.empty()) return;
    node.append_attribute("style") = style.c_str();
    AppendColor(node, "color", line.colorIndex);
}

// <border diagonalUp diagonalDown>: left, right, top, bottom, diagonal. The
// format has one diagonal line for both directions; when both are drawn
// the downward one's style wins.
void AppendBorder(pugi::xml_node borders, const std::array<BorderLine, EdgeCount>& lines) {
    pugi::xml_node node = borders.append_child("border");
    const BorderLine& down = lines[EdgeDiagonalDown];
    const BorderLine& up = lines[EdgeDiagonalUp];
    if (up.lineStyle != kLineNone) node.append_attribute("diagonalUp") = 1;
    if (down.lineStyle != kLineNone) node.append_attribute("diagonalDown") = 1;
    AppendBorderLine(node, "left", lines[EdgeLeft]);
    AppendBorderLine(node, "right", lines[EdgeRight]);
    AppendBorderLine(node, "top", lines[EdgeTop]);
    AppendBorderLine(node, "bottom", lines[EdgeBottom]);
    AppendBorderLine(node, "diagonal", down.lineStyle != kLineNone ? down : up);
}

int ColorIndexOf(pugi::xml_node color, int automatic, bool themeTextIsAutomatic) {
    if (!color || color.attribute("auto").as_bool()) return automatic;
    if (pugi::xml_attribute rgb = color.attribute("rgb")) {
        // "AARRGGBB" (or "RRGGBB"): the alpha byte is not part of the colour.
        const std::string_view text = rgb.value();
        if (text.size() < 6) return automatic;
        unsigned value = 0;
        const auto digits = text.substr(text.size() - 6);
        const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
        if (result.ec != std::errc() || result.ptr != digits.data() + digits.size()) return automatic;
        return PaletteIndexOfRgb(value);
    }
    if (pugi::xml_attribute indexed = color.attribute("indexed")) {
        const int n = indexed.as_int(-1);
        if (n >= 0 && n <= 7) return n + 1;  // the first eight repeat palette 1..8
        if (n >= 8 && n <= 63) return n - 7;
        return automatic;  // 64, 65: system colours
    }
    if (pugi::xml_attribute theme = color.attribute("theme")) {
        const int n = theme.as_int(-1);
        if (n == 1 && themeTextIsAutomatic) return automatic;
        if (n >= 0 && n < int(std::size(kThemeColors))) return PaletteIndexOfRgb(kThemeColors[n]);
    }
    return automatic;
}

FontFormat ReadFont(pugi::xml_node node) {
    FontFormat font;
    auto flag = [&](const char* name) {
        pugi::xml_node child = node.child(name);
        return child && child.attribute("val").as_bool(true);
    };
    font.bold = flag("b");
    font.italic = flag("i");
    font.strike = flag("strike");
    if (pugi::xml_node u = node.child("u"))
        font.underline = UnderlineOfName(u.attribute("val") ? u.attribute("val").value() : "single");
    if (pugi::xml_node sz = node.child("sz")) {
        const auto size = ParseNumber(sz.attribute("val").value());
        if (size && *size >= 1 && *size <= 409) font.size = *size;
    }
    font.colorIndex = ColorIndexOf(node.child("color"), kColorAutomatic, true);
    if (pugi::xml_node name = node.child("name")) {
        const std::string text = FromPartText(name.attribute("val").value());
        if (!text.empty()) font.name = text.substr(0, 31);
    }
    return font;
}

int ReadFill(pugi::xml_node node) {
    pugi::xml_node pattern = node.child("patternFill");
    const std::string type = pattern.attribute("patternType").value();
    if (!pattern || type.empty() || type == "none") return kColorNone;
    const int index = ColorIndexOf(pattern.child("fgColor"), kColorNone, false);
    return index;
}

BorderLine ReadBorderLine(pugi::xml_node node) {
    BorderLine line;
    if (!node) return line;
    ParseBorderStyleName(node.attribute("style").value(), line.lineStyle, line.weight);
    if (line.lineStyle != kLineNone) line.colorIndex = ColorIndexOf(node.child("color"), kColorAutomatic, false);
    return line;
}

std::array<BorderLine, EdgeCount> ReadBorder(pugi::xml_node node) {
    std::array<BorderLine, EdgeCount> lines{};
    lines[EdgeLeft] = ReadBorderLine(node.child("left") ? node.child("left") : node.child("start"));
    lines[EdgeRight] = ReadBorderLine(node.child("right") ? node.child("right") : node.child("end"));
    lines[EdgeTop] = ReadBorderLine(node.child("top"));
    lines[EdgeBottom] = ReadBorderLine(node.child("bottom"));
    const BorderLine diagonal = ReadBorderLine(node.child("diagonal"));
    if (node.attribute("diagonalDown").as_bool()) lines[EdgeDiagonalDown] = diagonal;
    if (node.attribute("diagonalUp").as_bool()) lines[EdgeDiagonalUp] = diagonal;
    return lines;
}

template <class T, class Reader> std::vector<T> ReadList(pugi::xml_node list, const char* element, Reader read) {
    std::vector<T> items;
    for (pugi::xml_node node : list.children(element)) {
        if (items.size() >= kMaxFormatRecords) throw std::runtime_error("the styles part has too many records");
        items.push_back(read(node));
    }
    return items;
}

template <class T> const T& Pick(const std::vector<T>& list, pugi::xml_attribute id, const T& fallback) {
    const unsigned n = id.as_uint(0);
    return n < list.size() ? list[n] : fallback;
}

}  // namespace

std::string StylesPart(const BookModel& book) {
    pugi::xml_document doc;
    pugi::xml_node sheet = StartPart(doc, "styleSheet");
    if (!book.customFormats.empty()) {
        pugi::xml_node numFmts = sheet.append_child("numFmts");
        numFmts.append_attribute("count") = unsigned(book.customFormats.size());
        for (const auto& [id, code] : book.customFormats) {
            pugi::xml_node numFmt = numFmts.append_child("numFmt");
            numFmt.append_attribute("numFmtId") = id;
            numFmt.append_attribute("formatCode") = ToPartText(code).c_str();
        }
    }
    std::vector<FontFormat> fonts{FontFormat{}};
    std::vector<int> fills{kColorNone, kColorNone};  // 0 none; 1 the gray125 pattern the format reserves
    std::vector<std::array<BorderLine, EdgeCount>> borders{{}};
    struct Xf { size_t font, fill, border; const CellFormat* format; };
    std::vector<Xf> xfs;
    for (size_t id = 0; id < book.styles.Size(); ++id) {
        const CellFormat& format = book.styles.Get(uint32_t(id));
        const size_t fill = IsPaletteIndex(format.fillColorIndex) ? IndexOf(fills, format.fillColorIndex) : 0;
        xfs.push_back({IndexOf(fonts, format.font), fill, IndexOf(borders, format.borders), &format});
    }
    pugi::xml_node fontList = sheet.append_child("fonts");
    fontList.append_attribute("count") = unsigned(fonts.size());
    for (const auto& font : fonts) AppendFont(fontList, font);
    pugi::xml_node fillList = sheet.append_child("fills");
    fillList.append_attribute("count") = unsigned(fills.size());
    AppendFill(fillList, kColorNone);
    fillList.append_child("fill").append_child("patternFill").append_attribute("patternType") = "gray125";
    for (size_t i = 2; i < fills.size(); ++i) AppendFill(fillList, fills[i]);
    pugi::xml_node borderList = sheet.append_child("borders");
    borderList.append_attribute("count") = unsigned(borders.size());
    for (const auto& border : borders) AppendBorder(borderList, border);
    // One cell style, "Normal", that every cell format refers to (xfId 0).
    pugi::xml_node styleXfs = sheet.append_child("cellStyleXfs");
    styleXfs.append_attribute("count") = 1;
    pugi::xml_node normal = styleXfs.append_child("xf");
    for (const char* name : {"numFmtId", "fontId", "fillId", "borderId"}) normal.append_attribute(name) = 0;
    pugi::xml_node cellXfs = sheet.append_child("cellXfs");
    cellXfs.append_attribute("count") = unsigned(xfs.size());
    for (const Xf& xf : xfs) {
        pugi::xml_node node = cellXfs.append_child("xf");
        node.append_attribute("numFmtId") = xf.format->numberFormat;
        node.append_attribute("fontId") = unsigned(xf.font);
        node.append_attribute("fillId") = unsigned(xf.fill);
        node.append_attribute("borderId") = unsigned(xf.border);
        node.append_attribute("xfId") = 0;
        if (xf.format->numberFormat != kFormatGeneral) node.append_attribute("applyNumberFormat") = 1;
        if (xf.font) node.append_attribute("applyFont") = 1;
        if (xf.fill) node.append_attribute("applyFill") = 1;
        if (xf.border) node.append_attribute("applyBorder") = 1;
        const bool aligned = xf.format->hAlign != kAlignGeneral || xf.format->vAlign != kAlignBottom;
        if (!aligned) continue;
        node.append_attribute("applyAlignment") = 1;
        pugi::xml_node alignment = node.append_child("alignment");
        if (xf.format->hAlign != kAlignGeneral)
            alignment.append_attribute("horizontal") = HorizontalName(xf.format->hAlign).c_str();
        if (xf.format->vAlign != kAlignBottom)
            alignment.append_attribute("vertical") = VerticalName(xf.format->vAlign).c_str();
    }
    pugi::xml_node cellStyles = sheet.append_child("cellStyles");
    cellStyles.append_attribute("count") = 1;
    pugi::xml_node normalStyle = cellStyles.append_child("cellStyle");
    normalStyle.append_attribute("name") = "Normal";
    normalStyle.append_attribute("xfId") = 0;
    normalStyle.append_attribute("builtinId") = 0;
    return PartText(doc);
}

std::vector<uint32_t> ReadStylesPart(const std::string& xml, BookModel& book) {
    pugi::xml_document doc;
    pugi::xml_node sheet = ParsePart(doc, xml, "styleSheet", "xl/styles.xml");
    for (pugi::xml_node numFmt : sheet.child("numFmts").children("numFmt")) {
        const int id = numFmt.attribute("numFmtId").as_int(-1);
        if (id < 0 || id > 100000) continue;
        if (book.customFormats.size() >= kMaxFormatRecords) throw std::runtime_error("too many number formats");
        book.customFormats[id] = FromPartText(numFmt.attribute("formatCode").value());
    }
    const auto fonts = ReadList<FontFormat>(sheet.child("fonts"), "font", ReadFont);
    const auto fills = ReadList<int>(sheet.child("fills"), "fill", ReadFill);
    const auto borders = ReadList<std::array<BorderLine, EdgeCount>>(sheet.child("borders"), "border", ReadBorder);
    const FontFormat defaultFont;
    const int noFill = kColorNone;
    const std::array<BorderLine, EdgeCount> noBorder{};
    std::vector<uint32_t> styleIds;
    for (pugi::xml_node xf : sheet.child("cellXfs").children("xf")) {
        if (styleIds.size() >= kMaxFormatRecords) throw std::runtime_error("the styles part has too many cell formats");
        CellFormat format;
        const int numFmt = xf.attribute("numFmtId").as_int(0);
        format.numberFormat = numFmt >= 0 && numFmt <= 100000 ? numFmt : 0;
        format.font = Pick(fonts, xf.attribute("fontId"), defaultFont);
        format.fillColorIndex = Pick(fills, xf.attribute("fillId"), noFill);
        format.borders = Pick(borders, xf.attribute("borderId"), noBorder);
        if (pugi::xml_node alignment = xf.child("alignment")) {
            if (pugi::xml_attribute h = alignment.attribute("horizontal")) format.hAlign = HorizontalOfName(h.value());
            if (pugi::xml_attribute v = alignment.attribute("vertical")) format.vAlign = VerticalOfName(v.value());
        }
        styleIds.push_back(book.styles.Intern(format));
    }
    return styleIds;
}

}  // namespace xl
