// Reads an .xlsx package (OOXML, SpreadsheetML) into a book. The package
// is found through its relationships: _rels/.rels names the workbook part,
// the workbook's own .rels file names its sheets, styles and shared
// strings. Only what the model holds is read; formulas keep their cached
// values, charts, comments and drawings are left out.
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>

#include "excel/XlZip.h"
#include "excel/XlsxFile.h"
#include "excel/XlsxStyles.h"
#include "excel/XlsxText.h"
#include "excel/XlsxXml.h"
#include "values/oledate.h"

namespace xl {
namespace {

constexpr size_t kMaxCells = 4'000'000;
constexpr size_t kMaxSheets = 1000;
constexpr size_t kMaxMerges = 100'000;

using Relationships = std::map<std::string, std::pair<std::string, std::string>>;  // id -> (type, part)

std::string DirectoryOf(const std::string& part) {
    const size_t slash = part.find_last_of('/');
    return slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
}

// A relationship's target as a part name: absolute ("/xl/...") or relative
// to the source part's folder, with "." and ".." resolved.
std::string ResolveTarget(const std::string& baseDir, const std::string& target) {
    const std::string joined = !target.empty() && target[0] == '/' ? target.substr(1) : baseDir + target;
    std::vector<std::string> segments;
    size_t start = 0;
    while (start <= joined.size()) {
        size_t end = joined.find('/', start);
        if (end == std::string::npos) end = joined.size();
        const std::string segment = joined.substr(start, end - start);
        if (segment == "..") {
            if (!segments.empty()) segments.pop_back();
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
        start = end + 1;
    }
    std::string name;
    for (const auto& segment : segments) name += (name.empty() ? "" : "/") + segment;
    return name;
}

// <Relationships><Relationship Id Type Target [TargetMode="External"]/>...
Relationships ReadRelationships(const ZipReader& zip, const std::string& sourcePart) {
    const std::string dir = DirectoryOf(sourcePart);
    const std::string relsName = dir + "_rels/" + sourcePart.substr(dir.size()) + ".rels";
    Relationships rels;
    if (!zip.Has(relsName)) return rels;
    pugi::xml_document doc;
    pugi::xml_node root = ParsePart(doc, zip.Read(relsName, kMaxPartBytes), "Relationships", relsName);
    for (pugi::xml_node rel : root.children("Relationship")) {
        if (std::string_view(rel.attribute("TargetMode").value()) == "External") continue;
        rels[rel.attribute("Id").value()] = {rel.attribute("Type").value(),
                                             ResolveTarget(dir, rel.attribute("Target").value())};
    }
    return rels;
}

bool TypeIs(const std::string& type, std::string_view kind) {
    return type.size() > kind.size() && type.compare(type.size() - kind.size(), kind.size(), kind) == 0 &&
           type[type.size() - kind.size() - 1] == '/';
}

std::string FindByType(const Relationships& rels, std::string_view kind) {
    for (const auto& [id, rel] : rels)
        if (TypeIs(rel.first, kind)) return rel.second;
    return {};
}

std::string MainPartName(const ZipReader& zip) {
    std::string name = FindByType(ReadRelationships(zip, ""), "officeDocument");
    if (name.empty()) name = "xl/workbook.xml";
    if (!zip.Has(name)) throw std::runtime_error("the archive holds no workbook");
    return name;
}

// The text of a string item: <t> directly, or the <t> of each rich-text
// run <r>; phonetic hints <rPh> are not part of it.
std::string ItemText(pugi::xml_node item) {
    std::string text;
    for (pugi::xml_node child : item.children()) {
        if (std::string_view(child.name()) == "t") text += child.text().get();
        else if (std::string_view(child.name()) == "r") text += child.child("t").text().get();
    }
    return FromPartText(text);
}

// <sst><si>item</si>...</sst>; the count attributes are not trusted.
std::vector<std::string> ReadSharedStrings(const ZipReader& zip, const std::string& part) {
    std::vector<std::string> strings;
    if (part.empty() || !zip.Has(part)) return strings;
    pugi::xml_document doc;
    pugi::xml_node sst = ParsePart(doc, zip.Read(part, kMaxPartBytes), "sst", part);
    for (pugi::xml_node si : sst.children("si")) strings.push_back(ItemText(si));
    return strings;
}

// The attribute that holds a relationship id, whatever the namespace
// prefix ("r:id" in most files).
const char* RelationshipIdOf(pugi::xml_node sheet) {
    for (pugi::xml_attribute attribute : sheet.attributes()) {
        const std::string_view name = attribute.name();
        if (name.size() > 3 && name.substr(name.size() - 3) == ":id") return attribute.value();
    }
    return "";
}

class SheetReader {
public:
    SheetReader(BookModel& book, SheetModel& sheet, const std::vector<uint32_t>& styleIds,
                const std::vector<std::string>& strings, size_t& cellCount)
        : book_(book), sheet_(sheet), styleIds_(styleIds), strings_(strings), cellCount_(cellCount) {}

    void Read(const std::string& xml, const std::string& part) {
        pugi::xml_document doc;
        pugi::xml_node worksheet = ParsePart(doc, xml, "worksheet", part);
        int rowNumber = 0;
        for (pugi::xml_node row : worksheet.child("sheetData").children("row")) {
            rowNumber = row.attribute("r") ? row.attribute("r").as_int(0) : rowNumber + 1;
            if (rowNumber < 1 || rowNumber > kMaxRows) Fail("a row number is outside the sheet");
            int col = 0;
            for (pugi::xml_node c : row.children("c")) ReadCell(c, rowNumber, col);
        }
        ReadMerges(worksheet.child("mergeCells"));
        ReadSelection(worksheet.child("sheetViews").child("sheetView").child("selection"));
    }

private:
    [[noreturn]] void Fail(const std::string& why) const {
        throw std::runtime_error("sheet \"" + sheet_.name + "\": " + why);
    }

    // <c r="B5" s="style" t="type"><v>value</v> or <is>inline text</is></c>
    void ReadCell(pugi::xml_node c, int& rowNumber, int& col) {
        if (pugi::xml_attribute ref = c.attribute("r")) {
            const auto pos = ParseCellAddress(ref.value());
            if (!pos) Fail("\"" + std::string(ref.value()) + "\" is not a cell address");
            rowNumber = pos->row;
            col = pos->col;
        } else if (++col > kMaxColumns) {
            Fail("a row has more cells than the sheet has columns");
        }
        const unsigned style = c.attribute("s").as_uint(0);
        Cell cell;
        cell.style = style < styleIds_.size() ? styleIds_[style] : 0;
        cell.value = ValueOf(c, CellAddress(rowNumber, col), cell);
        if (cell.value.IsEmpty() && cell.style == 0) return;
        if (++cellCount_ > kMaxCells) Fail("the workbook has more than " + std::to_string(kMaxCells) + " cells");
        sheet_.Touch(rowNumber, col) = std::move(cell);
    }

    CellValue ValueOf(pugi::xml_node c, const std::string& address, Cell& cell) {
        const std::string_view type = c.attribute("t").value();
        const char* text = c.child("v").text().get();
        if (type == "inlineStr") return CellValue::Text(ItemText(c.child("is")));
        if (type == "s") {
            const auto index = ParseInteger(text);
            if (!index || *index < 0 || size_t(*index) >= strings_.size())
                Fail("cell " + address + " refers to a shared string that does not exist");
            return CellValue::Text(strings_[size_t(*index)]);
        }
        if (type == "str" || type == "e") return CellValue::Text(FromPartText(text));  // formula text, error value
        if (type == "b") return CellValue::Bool(std::string_view(text) == "1" || std::string_view(text) == "true");
        if (type == "d") return DateValue(text, cell);
        if (*text == '\0') return CellValue{};
        const auto number = ParseNumber(text);
        if (!number) Fail("cell " + address + " holds \"" + std::string(text).substr(0, 40) + "\", not a number");
        return CellValue::Number(*number);
    }

    // t="d": an ISO 8601 date and time, kept as a date number.
    CellValue DateValue(std::string text, Cell& cell) {
        for (char& ch : text)
            if (ch == 'T') ch = ' ';
        const size_t cut = text.find_first_of(".Z+", 10);
        if (cut != std::string::npos) text.resize(cut);
        const auto date = ParseDateTimeText(text);
        if (!date) return CellValue::Text(FromPartText(text));
        CellFormat format = book_.styles.Get(cell.style);
        if (!book_.IsDateFormat(format.numberFormat)) {
            format.numberFormat = *date == double(int64_t(*date)) ? kFormatDate : kFormatDateTime;
            cell.style = book_.styles.Intern(format);
        }
        return CellValue::Number(*date);
    }

    // <mergeCells><mergeCell ref="A1:B2"/>...; unreadable entries are skipped.
    void ReadMerges(pugi::xml_node merges) {
        for (pugi::xml_node merge : merges.children("mergeCell")) {
            const auto rect = ParseRangeAddress(merge.attribute("ref").value());
            if (!rect || rect->IsSingleCell()) continue;
            if (sheet_.merges.size() >= kMaxMerges) Fail("too many merged ranges");
            sheet_.merges.push_back(*rect);
        }
    }

    // <selection activeCell sqref="B2:C3 E5"/>: the first range is kept.
    void ReadSelection(pugi::xml_node selection) {
        std::string sqref = selection.attribute("sqref").value();
        sqref = sqref.substr(0, sqref.find(' '));
        if (const auto rect = ParseRangeAddress(sqref)) sheet_.selection = *rect;
    }

    BookModel& book_;
    SheetModel& sheet_;
    const std::vector<uint32_t>& styleIds_;
    const std::vector<std::string>& strings_;
    size_t& cellCount_;
};

}  // namespace

std::shared_ptr<BookModel> ReadXlsxBytes(const std::string& bytes) {
    if (bytes.empty()) throw std::runtime_error("the file is empty");
    const ZipReader zip(bytes);
    const std::string mainPart = MainPartName(zip);
    const Relationships rels = ReadRelationships(zip, mainPart);
    auto book = std::make_shared<BookModel>();
    std::vector<uint32_t> styleIds;
    const std::string stylesPart = FindByType(rels, "styles");
    if (!stylesPart.empty() && zip.Has(stylesPart))
        styleIds = ReadStylesPart(zip.Read(stylesPart, kMaxPartBytes), *book);
    const auto strings = ReadSharedStrings(zip, FindByType(rels, "sharedStrings"));

    // <workbook><bookViews><workbookView activeTab/></bookViews>
    // <sheets><sheet name sheetId r:id/>...</sheets></workbook>
    pugi::xml_document doc;
    pugi::xml_node workbook = ParsePart(doc, zip.Read(mainPart, kMaxPartBytes), "workbook", mainPart);
    size_t cellCount = 0;
    for (pugi::xml_node entry : workbook.child("sheets").children("sheet")) {
        const auto rel = rels.find(RelationshipIdOf(entry));
        if (rel == rels.end() || !TypeIs(rel->second.first, "worksheet")) continue;  // chart sheets and the like
        if (book->sheets.size() >= kMaxSheets) throw std::runtime_error("the workbook has too many sheets");
        std::string name = FromPartText(entry.attribute("name").value());
        if (name.empty() || book->FindSheet(name)) name = book->FreeSheetName();
        auto sheet = std::make_shared<SheetModel>(name);
        if (!zip.Has(rel->second.second)) throw std::runtime_error("the sheet \"" + name + "\" has no part");
        SheetReader(*book, *sheet, styleIds, strings, cellCount).Read(zip.Read(rel->second.second, kMaxPartBytes),
                                                                      rel->second.second);
        book->sheets.push_back(std::move(sheet));
    }
    if (book->sheets.empty()) throw std::runtime_error("the workbook has no sheets");
    const int active = workbook.child("bookViews").child("workbookView").attribute("activeTab").as_int(0);
    book->activeSheet = active >= 0 && active < int(book->sheets.size()) ? active : 0;
    return book;
}

std::shared_ptr<BookModel> ReadWorkbookFile(const std::string& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (error) throw std::runtime_error(error.message());
    if (size > kMaxWorkbookFileBytes) throw std::runtime_error("the file is larger than a workbook may be");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("the file cannot be read");
    std::string bytes(size_t(size), '\0');
    in.read(bytes.data(), std::streamsize(size));
    bytes.resize(size_t(in.gcount()));
    // Compound documents are legacy .xls workbooks.
    if (bytes.compare(0, 4, "\xD0\xCF\x11\xE0") == 0) return ReadXlsFile(path);
    return ReadXlsxBytes(bytes);
}

}  // namespace xl
