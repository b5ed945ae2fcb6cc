// Writes a book as an .xlsx package (OOXML, SpreadsheetML):
//   [Content_Types].xml        content type of every part
//   _rels/.rels                the package's main part: xl/workbook.xml
//   xl/workbook.xml            sheet names and order, the active sheet
//   xl/_rels/workbook.xml.rels where the sheets, styles and strings live
//   xl/styles.xml              formats (see XlsxStyles)
//   xl/sharedStrings.xml       every text cell's text, once
//   xl/worksheets/sheetN.xml   cells, selection and merged ranges
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <unordered_map>

#include "excel/XlZip.h"
#include "excel/XlsxFile.h"
#include "excel/XlsxStyles.h"
#include "excel/XlsxText.h"
#include "excel/XlsxXml.h"

namespace xl {
namespace {

constexpr const char* kOfficeRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
constexpr const char* kSheetType = "application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml";

std::string SheetPartName(size_t i) { return "worksheets/sheet" + std::to_string(i + 1) + ".xml"; }

// Texts are stored once; cells name them by their position in the list.
class SharedStrings {
public:
    size_t IndexOf(const std::string& text) {
        const auto [it, added] = index_.emplace(text, texts_.size());
        if (added) texts_.push_back(&it->first);
        ++uses_;
        return it->second;
    }

    // <sst count="uses" uniqueCount="n"><si><t xml:space="preserve">text</t></si>...</sst>
    std::string Part() const {
        pugi::xml_document doc;
        pugi::xml_node sst = StartPart(doc, "sst");
        sst.append_attribute("count") = unsigned(uses_);
        sst.append_attribute("uniqueCount") = unsigned(texts_.size());
        for (const std::string* text : texts_) {
            pugi::xml_node t = sst.append_child("si").append_child("t");
            t.append_attribute("xml:space") = "preserve";
            t.text().set(ToPartText(*text).c_str());
        }
        return PartText(doc);
    }

private:
    std::unordered_map<std::string, size_t> index_;
    std::vector<const std::string*> texts_;
    size_t uses_ = 0;
};

std::string ContentTypesPart(const BookModel& book) {
    pugi::xml_document doc;
    pugi::xml_node types = StartPart(doc, "Types", "http://schemas.openxmlformats.org/package/2006/content-types");
    auto add = [&](const char* element, const char* key, const std::string& name, const char* type) {
        pugi::xml_node node = types.append_child(element);
        node.append_attribute(key) = name.c_str();
        node.append_attribute("ContentType") = type;
    };
    add("Default", "Extension", "rels", "application/vnd.openxmlformats-package.relationships+xml");
    add("Default", "Extension", "xml", "application/xml");
    add("Override", "PartName", "/xl/workbook.xml",
        "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml");
    for (size_t i = 0; i < book.sheets.size(); ++i) add("Override", "PartName", "/xl/" + SheetPartName(i), kSheetType);
    add("Override", "PartName", "/xl/styles.xml",
        "application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml");
    add("Override", "PartName", "/xl/sharedStrings.xml",
        "application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml");
    return PartText(doc);
}

void AddRelationship(pugi::xml_node rels, const std::string& id, const std::string& type, const std::string& target) {
    pugi::xml_node rel = rels.append_child("Relationship");
    rel.append_attribute("Id") = id.c_str();
    rel.append_attribute("Type") = (kOfficeRel + type).c_str();
    rel.append_attribute("Target") = target.c_str();
}

std::string PackageRelsPart() {
    pugi::xml_document doc;
    pugi::xml_node rels = StartPart(doc, "Relationships", kPackageRelationshipNamespace);
    AddRelationship(rels, "rId1", "officeDocument", "xl/workbook.xml");
    return PartText(doc);
}

// Sheets are rId1..rIdN; styles and shared strings follow.
std::string WorkbookRelsPart(const BookModel& book) {
    pugi::xml_document doc;
    pugi::xml_node rels = StartPart(doc, "Relationships", kPackageRelationshipNamespace);
    const size_t count = book.sheets.size();
    for (size_t i = 0; i < count; ++i) AddRelationship(rels, "rId" + std::to_string(i + 1), "worksheet", SheetPartName(i));
    AddRelationship(rels, "rId" + std::to_string(count + 1), "styles", "styles.xml");
    AddRelationship(rels, "rId" + std::to_string(count + 2), "sharedStrings", "sharedStrings.xml");
    return PartText(doc);
}

// <workbook><bookViews><workbookView activeTab/></bookViews>
// <sheets><sheet name sheetId r:id/>...</sheets></workbook>
std::string WorkbookPart(const BookModel& book) {
    pugi::xml_document doc;
    pugi::xml_node workbook = StartPart(doc, "workbook");
    workbook.append_attribute("xmlns:r") = kRelationshipNamespace;
    workbook.append_child("bookViews").append_child("workbookView").append_attribute("activeTab") =
        book.activeSheet;
    pugi::xml_node sheets = workbook.append_child("sheets");
    for (size_t i = 0; i < book.sheets.size(); ++i) {
        pugi::xml_node sheet = sheets.append_child("sheet");
        sheet.append_attribute("name") = ToPartText(book.sheets[i]->name).c_str();
        sheet.append_attribute("sheetId") = unsigned(i + 1);
        sheet.append_attribute("r:id") = ("rId" + std::to_string(i + 1)).c_str();
    }
    return PartText(doc);
}

// <c r="B5" s="style" t="type"><v>value</v></c>: t="s" a shared string's
// index, t="b" 0 or 1, no t a number; a formatted empty cell has no <v>.
void AppendCell(pugi::xml_node row, int rowNumber, int col, const Cell& cell, SharedStrings& strings) {
    pugi::xml_node c = row.append_child("c");
    c.append_attribute("r") = CellAddress(rowNumber, col).c_str();
    if (cell.style != 0) c.append_attribute("s") = cell.style;
    switch (cell.value.kind) {
    case CellValue::Kind::Empty:
        return;
    case CellValue::Kind::Number:
        c.append_child("v").text().set(NumberText(cell.value.number).c_str());
        return;
    case CellValue::Kind::Text:
        c.append_attribute("t") = "s";
        c.append_child("v").text().set(unsigned(strings.IndexOf(cell.value.text)));
        return;
    case CellValue::Kind::Bool:
        c.append_attribute("t") = "b";
        c.append_child("v").text().set(cell.value.flag ? "1" : "0");
        return;
    }
}

// <worksheet><dimension ref/><sheetViews><sheetView tabSelected workbookViewId>
// <selection activeCell sqref/></sheetView></sheetViews><sheetData><row r>
// cells</row></sheetData><mergeCells count><mergeCell ref/></mergeCells>
std::string SheetPart(const SheetModel& sheet, bool active, SharedStrings& strings) {
    pugi::xml_document doc;
    pugi::xml_node worksheet = StartPart(doc, "worksheet");
    worksheet.append_attribute("xmlns:r") = kRelationshipNamespace;
    const CellPos last = sheet.LastUsedCell();
    worksheet.append_child("dimension").append_attribute("ref") = RangeAddress({1, 1, last.row, last.col}).c_str();
    pugi::xml_node view = worksheet.append_child("sheetViews").append_child("sheetView");
    if (active) view.append_attribute("tabSelected") = 1;
    view.append_attribute("workbookViewId") = 0;
    pugi::xml_node selection = view.append_child("selection");
    selection.append_attribute("activeCell") = CellAddress(sheet.selection.top, sheet.selection.left).c_str();
    selection.append_attribute("sqref") = RangeAddress(sheet.selection).c_str();
    worksheet.append_child("sheetFormatPr").append_attribute("defaultRowHeight") = 15;
    pugi::xml_node data = worksheet.append_child("sheetData");
    pugi::xml_node row;
    int rowNumber = 0;
    for (const auto& [key, cell] : sheet.Cells()) {
        if (SheetModel::RowOf(key) != rowNumber) {
            rowNumber = SheetModel::RowOf(key);
            row = data.append_child("row");
            row.append_attribute("r") = rowNumber;
        }
        AppendCell(row, rowNumber, SheetModel::ColOf(key), cell, strings);
    }
    if (!sheet.merges.empty()) {
        pugi::xml_node merges = worksheet.append_child("mergeCells");
        merges.append_attribute("count") = unsigned(sheet.merges.size());
        for (const RangeRect& merge : sheet.merges)
            merges.append_child("mergeCell").append_attribute("ref") = RangeAddress(merge).c_str();
    }
    return PartText(doc);
}

void WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) throw std::runtime_error(std::strerror(errno));
        done += size_t(wrote);
    }
}

}  // namespace

std::string XlsxBytes(const BookModel& book) {
    SharedStrings strings;
    ZipWriter zip;
    zip.Add("[Content_Types].xml", ContentTypesPart(book));
    zip.Add("_rels/.rels", PackageRelsPart());
    zip.Add("xl/workbook.xml", WorkbookPart(book));
    zip.Add("xl/_rels/workbook.xml.rels", WorkbookRelsPart(book));
    for (size_t i = 0; i < book.sheets.size(); ++i)
        zip.Add("xl/" + SheetPartName(i), SheetPart(*book.sheets[i], int(i) == book.activeSheet, strings));
    zip.Add("xl/styles.xml", StylesPart(book));
    zip.Add("xl/sharedStrings.xml", strings.Part());
    return zip.Finish();
}

void WriteXlsxFile(const BookModel& book, const std::string& path) {
    const std::string bytes = XlsxBytes(book);
    const std::filesystem::path target(path);
    const std::filesystem::path dir = target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    std::string temp = (dir / ("." + target.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) throw std::runtime_error(std::strerror(errno));
    bool open = true;
    try {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
        WriteAll(fd, bytes);
        if (::fsync(fd) != 0) throw std::runtime_error(std::strerror(errno));
        open = false;
        if (::close(fd) != 0) throw std::runtime_error(std::strerror(errno));
    } catch (...) {
        if (open) ::close(fd);
        ::unlink(temp.c_str());
        throw;
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        const std::string why = std::strerror(errno);
        ::unlink(temp.c_str());
        throw std::runtime_error(why);
    }
}

}  // namespace xl
