// Damaged and hostile workbook files: each gives a clear error, never a
// crash, a hang or unbounded memory; and a fuzz run over mutated packages.
#include <cstdlib>
#include <fstream>
#include <map>
#include <random>

#include "ExcelTestSupport.h"
#include "excel/XlZip.h"
#include "excel/XlsxFile.h"

namespace {

using Parts = std::map<std::string, std::string>;

const char* kMain = R"(xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main")";
const char* kRelNs = R"(xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships")";

std::string Package(const Parts& parts) {
    xl::ZipWriter zip;
    for (const auto& [name, data] : parts) zip.Add(name, data);
    return zip.Finish();
}

// The smallest package that names a workbook with one sheet and shared strings.
Parts MinimalParts(const std::string& sheetData, const std::string& sst = "") {
    const std::string rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
    Parts parts;
    parts["_rels/.rels"] =
        R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
        R"(<Relationship Id="rId1" Type=")" + rel + R"(officeDocument" Target="xl/workbook.xml"/></Relationships>)";
    parts["xl/workbook.xml"] = std::string("<workbook ") + kMain + " " + kRelNs +
                               R"(><sheets><sheet name="S" sheetId="1" r:id="rId1"/></sheets></workbook>)";
    parts["xl/_rels/workbook.xml.rels"] =
        R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
        R"(<Relationship Id="rId1" Type=")" + rel + R"(worksheet" Target="worksheets/sheet1.xml"/>)"
        R"(<Relationship Id="rId2" Type=")" + rel + R"(sharedStrings" Target="/xl/sharedStrings.xml"/>)"
        "</Relationships>";
    parts["xl/worksheets/sheet1.xml"] = std::string("<worksheet ") + kMain + "><sheetData>" + sheetData +
                                        "</sheetData></worksheet>";
    parts["xl/sharedStrings.xml"] = sst.empty() ? std::string("<sst ") + kMain + "/>" : sst;
    return parts;
}

std::string ErrorOf(const std::string& bytes) {
    try {
        xl::ReadXlsxBytes(bytes);
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "(no error)";
}

}  // namespace

TEST(XlsxMalformed, EachDamageGivesItsOwnClearText) {
    EXPECT_NE(ErrorOf("this is not a workbook").find("not a zip archive"), std::string::npos);
    EXPECT_NE(ErrorOf("").find("the file is empty"), std::string::npos);
    EXPECT_NE(ErrorOf(Package({{"readme.txt", "hello"}})).find("holds no workbook"), std::string::npos);

    Parts broken = MinimalParts("");
    broken["xl/workbook.xml"] = "<workbook><sheets><sheet name=";
    EXPECT_NE(ErrorOf(Package(broken)).find("\"xl/workbook.xml\" is not well-formed XML"), std::string::npos);

    Parts wrongRoot = MinimalParts("");
    wrongRoot["xl/worksheets/sheet1.xml"] = "<html/>";
    EXPECT_NE(ErrorOf(Package(wrongRoot)).find("has no <worksheet> element"), std::string::npos);

    Parts noSheets = MinimalParts("");
    noSheets["xl/workbook.xml"] = std::string("<workbook ") + kMain + "><sheets/></workbook>";
    EXPECT_NE(ErrorOf(Package(noSheets)).find("no sheets"), std::string::npos);

    Parts missingPart = MinimalParts("");
    missingPart.erase("xl/worksheets/sheet1.xml");
    EXPECT_NE(ErrorOf(Package(missingPart)).find("has no part"), std::string::npos);

    EXPECT_NE(ErrorOf(Package(MinimalParts(R"(<row r="1"><c r="XFE1"><v>1</v></c></row>)"))).find("XFE1"),
              std::string::npos);
    EXPECT_NE(ErrorOf(Package(MinimalParts(R"(<row r="1"><c r="A1"><v>abc</v></c></row>)"))).find("not a number"),
              std::string::npos);
    EXPECT_NE(ErrorOf(Package(MinimalParts(R"(<row r="0"><c><v>1</v></c></row>)"))).find("row number"),
              std::string::npos);
}

TEST(XlsxMalformed, SharedStringCountsAreNotTrusted) {
    // A count of four billion strings with one present: read as one string.
    const std::string hugeCount = std::string("<sst ") + kMain +
                                  R"( count="4294967295" uniqueCount="4294967295"><si><t>only</t></si></sst>)";
    const auto book = xl::ReadXlsxBytes(
        Package(MinimalParts(R"(<row r="1"><c r="A1" t="s"><v>0</v></c></row>)", hugeCount)));
    EXPECT_EQ(book->sheets[0]->Find(1, 1)->value.text, "only");
    // An index past the strings that exist is an error, not a read past the end.
    EXPECT_NE(ErrorOf(Package(MinimalParts(R"(<row r="1"><c r="A1" t="s"><v>4294967294</v></c></row>)", hugeCount)))
                  .find("shared string that does not exist"),
              std::string::npos);
    EXPECT_NE(ErrorOf(Package(MinimalParts(R"(<row r="1"><c r="A1" t="s"><v>-1</v></c></row>)")))
                  .find("shared string"),
              std::string::npos);
}

TEST(XlsxMalformed, OversizedPartsAreRefusedWhileReading) {
    const std::string bytes = Package({{"big.xml", std::string(100000, 'x')}});
    const xl::ZipReader zip(bytes);
    EXPECT_THROW(zip.Read("big.xml", 1000), std::runtime_error);
    EXPECT_EQ(zip.Read("BIG.XML", 100000).size(), 100000u);  // part names ignore case
}

TEST(XlsxReading, InlineTextRichRunsAndImpliedPositions) {
    const auto book = xl::ReadXlsxBytes(Package(MinimalParts(
        R"(<row><c t="inlineStr"><is><t>in</t></is></c><c t="inlineStr"><is><r><t>ri</t></r><r><t>ch</t></r>)"
        R"(<rPh><t>x</t></rPh></is></c><c t="b"><v>1</v></c></row>)"
        R"(<row><c t="str"><v>formula text</v></c><c t="e"><v>#N/A</v></c><c t="d"><v>2024-03-15T06:00:00Z</v></c></row>)")));
    const xl::SheetModel& sheet = *book->sheets[0];
    EXPECT_EQ(sheet.Find(1, 1)->value.text, "in");
    EXPECT_EQ(sheet.Find(1, 2)->value.text, "rich");
    EXPECT_TRUE(sheet.Find(1, 3)->value.flag);
    EXPECT_EQ(sheet.Find(2, 1)->value.text, "formula text");
    EXPECT_EQ(sheet.Find(2, 2)->value.text, "#N/A");
    const xl::Cell* date = sheet.Find(2, 3);
    EXPECT_DOUBLE_EQ(date->value.number, 45366.25);
    EXPECT_TRUE(book->IsDateFormat(book->styles.Get(date->style).numberFormat));
}

using DamagedFiles = exceltest::ToolsFixture;

TEST_F(DamagedFiles, FailToOpenAndLeaveTheApplicationWorking) {
    const auto dir = exceltest::ScratchDir("damaged");
    const auto write = [&](const std::string& name, const std::string& bytes) {
        std::ofstream(dir / name, std::ios::binary) << bytes;
        return (dir / name).string();
    };
    EXPECT_FALSE(tools.OpenWorkbook(write("text.xlsx", "plain text")));
    EXPECT_FALSE(tools.OpenWorkbook(write("legacy.xls", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8))));
    EXPECT_FALSE(tools.OpenWorkbook(dir.string()));  // a directory
    // The named kinds of damage reach the caller as automation errors.
    Parts broken = MinimalParts("");
    broken["xl/styles.xml"] = "<styleSheet><fonts><font><b";
    broken["xl/_rels/workbook.xml.rels"].insert(broken["xl/_rels/workbook.xml.rels"].size() - 16,
        R"(<Relationship Id="rId3" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/>)");
    const std::string hugeCount = std::string("<sst ") + kMain + R"( count="18446744073709551615" uniqueCount="99999999999"/>)";
    const std::pair<const char*, std::string> damaged[] = {
        {"not-a-zip.xlsx", "PK but not really"},
        {"no-workbook.xlsx", Package({{"docProps/app.xml", "<Properties/>"}})},
        {"broken-xml.xlsx", Package(broken)},
        {"huge-count.xlsx", Package(MinimalParts(R"(<row r="1"><c r="A1" t="s"><v>5</v></c></row>)", hugeCount))},
    };
    std::vector<Variant> none;
    const AutoRef workbooks = tools.App.Object()->Invoke("Workbooks", InvokeKind::Get, none).Object();
    for (const auto& [name, bytes] : damaged) {
        std::vector<Variant> args{Variant::FromStr(write(name, bytes))};
        try {
            workbooks->Invoke("Open", InvokeKind::Call, args);
            ADD_FAILURE() << name << " opened";
        } catch (const AutomationError& error) {
            EXPECT_NE(std::string(error.what()).find("cannot open"), std::string::npos) << error.what();
        }
        EXPECT_FALSE(tools.OpenWorkbook(args[0].StrValue())) << name;
    }
    EXPECT_FALSE(tools.OpenWorkbook(""));
    EXPECT_EQ(tools.WorkbookCount(), 0);
    EXPECT_TRUE(tools.AddWorkbook());
    std::filesystem::remove_all(dir);
}

TEST(XlsxFuzz, MutatedPackagesNeverCrash) {
    // A base package with every kind of part content the reader handles.
    auto book = xl::BookModel::CreateNew("base");
    xl::SheetModel& sheet = *book->sheets[0];
    sheet.Touch(1, 1).value = xl::CellValue::Text("text _x0001_ \xc0\xc1");
    sheet.Touch(1, 2).value = xl::CellValue::Number(3.25);
    sheet.Touch(2, 1).value = xl::CellValue::Bool(true);
    xl::CellFormat format;
    format.font.bold = true;
    format.font.colorIndex = 3;
    format.fillColorIndex = 6;
    format.borders[xl::EdgeLeft] = {xl::kDash, xl::kMedium, 5};
    format.hAlign = xl::kAlignRight;
    format.numberFormat = book->CustomFormatId("dd/mm/yyyy");
    sheet.Touch(2, 2) = {xl::CellValue::Number(45000), book->styles.Intern(format)};
    sheet.merges.push_back({3, 1, 4, 2});
    book->sheets.push_back(std::make_shared<xl::SheetModel>("Second"));
    const std::string base = xl::XlsxBytes(*book);
    const xl::ZipReader baseZip(base);
    Parts parts;
    for (const char* name : {"[Content_Types].xml", "_rels/.rels", "xl/workbook.xml", "xl/_rels/workbook.xml.rels",
                             "xl/worksheets/sheet1.xml", "xl/worksheets/sheet2.xml", "xl/styles.xml",
                             "xl/sharedStrings.xml"})
        parts[name] = baseZip.Read(name, 1 << 20);
    ASSERT_NO_THROW(xl::ReadXlsxBytes(base));

    // SCRIPTRUN_FUZZ_ROUNDS and SCRIPTRUN_FUZZ_SEED widen a local run.
    const char* roundsText = std::getenv("SCRIPTRUN_FUZZ_ROUNDS");
    const char* seedText = std::getenv("SCRIPTRUN_FUZZ_SEED");
    const int rounds = roundsText ? std::atoi(roundsText) : 1000;
    std::mt19937 random(seedText ? unsigned(std::atoll(seedText)) : 20240315u);
    const auto below = [&](size_t n) { return n == 0 ? 0 : size_t(random() % n); };
    const std::string noise = "<>/=\"&;_x0#abc \xff\x00";
    int readable = 0;
    const auto dir = exceltest::ScratchDir("fuzz");
    const std::string mutantPath = (dir / "mutant.xlsx").string();
    const std::string resavedPath = (dir / "resaved.xlsx").string();
    const AutoRef app = CreateAutomationObject("Excel.Application");
    std::vector<Variant> none;
    const AutoRef workbooks = app->Invoke("Workbooks", InvokeKind::Get, none).Object();
    for (int round = 0; round < rounds; ++round) {
        std::string bytes;
        if (round % 4 == 0) {
            bytes = base;  // damage the archive itself
            for (int flips = 1 + int(below(8)); flips > 0; --flips) bytes[below(bytes.size())] ^= char(1 + below(255));
        } else {
            Parts mutated = parts;  // damage one part's XML and pack it again
            auto it = std::next(mutated.begin(), long(below(mutated.size())));
            std::string& xml = it->second;
            switch (below(5)) {
            case 0: for (int n = 1 + int(below(6)); n > 0; --n) xml[below(xml.size())] = noise[below(noise.size())]; break;
            case 1: xml.erase(below(xml.size()), below(40)); break;
            case 2: { const size_t at = below(xml.size()); xml.insert(at, xml.substr(below(xml.size()), below(200))); break; }
            case 3: xml.resize(below(xml.size())); break;
            default: {
                // Numbers pushed to their limits where attributes and values hold them.
                static const char* kBig[] = {"4294967295", "-1", "99999999999999999999", "1e308", "XFD1048577", ""};
                const size_t quote = xml.find('"', below(xml.size()));
                if (quote != std::string::npos) xml.insert(quote + 1, kBig[below(6)]);
            }
            }
            bytes = Package(mutated);
        }
        // Each mutant goes through a file and the server's Workbooks.Open.
        std::ofstream(mutantPath, std::ios::binary | std::ios::trunc) << bytes;
        try {
            std::vector<Variant> openArgs{Variant::FromStr(mutantPath)};
            const Variant book = workbooks->Invoke("Open", InvokeKind::Call, openArgs);
            ++readable;
            // Whatever was read saves and opens again.
            std::vector<Variant> saveArgs{Variant::FromStr(resavedPath)};
            book.Object()->Invoke("SaveAs", InvokeKind::Call, saveArgs);
            std::vector<Variant> none;
            book.Object()->Invoke("Close", InvokeKind::Call, none);
            std::vector<Variant> reopenArgs{Variant::FromStr(resavedPath)};
            workbooks->Invoke("Open", InvokeKind::Call, reopenArgs).Object()->Invoke("Close", InvokeKind::Call, none);
        } catch (const AutomationError&) {
            // the expected outcome for most damage
        } catch (const std::exception& other) {
            ADD_FAILURE() << "round " << round << ": unexpected " << typeid(other).name() << ": " << other.what();
        }
    }
    std::filesystem::remove_all(dir);
    EXPECT_GT(readable, 0);  // some damage is harmless; the run must have read those
}
