// Files written by the server, read by independent programs: openpyxl
// (python3-openpyxl) for values and styles, LibreOffice for a CSV export.
// Each test skips with a message when its peer is not installed.
#include <cstdio>
#include <fstream>
#include <set>

#include "ExcelTestSupport.h"
#include "values/codepage.h"

namespace {

constexpr const char* kPython = "/usr/bin/python3";

std::string RunCommand(const std::string& command) {
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return output;
    char buffer[4096];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, got);
    ::pclose(pipe);
    return output;
}

bool HasOpenpyxl() {
    return std::filesystem::exists(kPython) &&
           RunCommand(std::string(kPython) + " -c 'import openpyxl; print(1)' 2>/dev/null") == "1\n";
}

std::set<std::string> Lines(const std::string& text) {
    std::set<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        lines.insert(text.substr(start, end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return lines;
}

std::string Describe(const std::filesystem::path& file) {
    const std::string script = std::string(TEST_DATA_DIR) + "/excel/describe_workbook.py";
    return RunCommand("PYTHONIOENCODING=utf-8 " + std::string(kPython) + " '" + script + "' '" + file.string() +
                      "' 2>&1");
}

struct PeerFixture : exceltest::ToolsFixture {
    void SetUp() override {
        ToolsFixture::SetUp();
        dir = exceltest::ScratchDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
        file = dir / "peer.xlsx";
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    // Values and styles on sheet "Report", a second sheet left active.
    void WriteWorkbook() {
        const auto str = [](const std::string& s) { return Variant::FromStr(s); };
        ASSERT_TRUE(tools.AddWorkbook());
        tools.Select(str("Book1")).Select(str("Sheet1"));
        tools.Rename("Report");
        tools.Select(str("Book1")).Select(str("Report"));
        tools.SetRangeValue("A1", str("\xcf\xf0\xe8\xe2\xe5\xf2"));  // "Привет"
        tools.SetRangeValue("B1", Variant::FromDouble(2.5));
        tools.SetRangeValue("C1", Variant::FromBool(true));
        tools.SetRangeValue("D1", Variant::FromDate(45366.5));
        auto a1 = tools.FormatRange("A1");
        a1->SetBold(true);
        a1->SetItalic(true);
        a1->SetUnderline(3);
        a1->SetFontName("Arial");
        a1->SetFontSize(14);
        a1->SetFontColor(3);
        a1->SetBgColor(6);
        a1->SetAlign(1);
        a1->SetVAlign(2);
        auto box = tools.FormatRange("B3:C4");
        box->SelectBorder(2);  // bottom
        box->SetLineStyle(6);
        box->SelectBorder(3);  // left
        box->SetLineStyle(2);
        box->SetWeight(1);
        box->SetBorderColor(5);
        tools.FormatRange("E5", "F6")->SetMerge(true);
        tools.Select(str("Book1"));
        ASSERT_TRUE(tools.AddSheet("Other"));
        ASSERT_TRUE(tools.SaveWorkbookAs(file.string()));
    }

    std::filesystem::path dir, file;
};

}  // namespace

TEST_F(PeerFixture, OpenpyxlReadsValuesAndStyles) {
    if (!HasOpenpyxl()) GTEST_SKIP() << "python3-openpyxl is not installed under /usr/bin/python3";
    WriteWorkbook();
    const std::string output = Describe(file);
    const auto lines = Lines(output);
    const std::string expected[] = {
        "sheets Report|Other",
        "active Other",
        "cell Report!A1 text " + Cp1251ToUtf8("\xcf\xf0\xe8\xe2\xe5\xf2"),
        "cell Report!B1 number 2.5",
        "cell Report!C1 bool 1",
        "cell Report!D1 date 2024-03-15 12:00:00",
        "font Report!A1 b=1 i=1 strike=0 u=single name=Arial size=14.0 color=FF0000",
        "fill Report!A1 FFFF00",
        "align Report!A1 right center",
        "border Report!B4 bottom double none",
        "border Report!C4 bottom double none",
        "border Report!B3 left mediumDashed 0000FF",
        "border Report!B4 left mediumDashed 0000FF",
        "merged Report E5:F6",
    };
    for (const auto& line : expected) EXPECT_TRUE(lines.count(line)) << "missing: " << line << "\n" << output;
    EXPECT_FALSE(lines.count("border Report!C3 left mediumDashed 0000FF")) << output;
    EXPECT_FALSE(lines.count("border Report!B3 bottom double none")) << output;
}

TEST_F(PeerFixture, LibreOfficeExportsTheWrittenCells) {
    const char* soffice = nullptr;
    for (const char* candidate : {"/usr/bin/soffice", "/usr/bin/libreoffice", "/usr/lib/libreoffice/program/soffice"})
        if (std::filesystem::exists(candidate)) soffice = candidate;
    if (!soffice) GTEST_SKIP() << "LibreOffice (libreoffice-calc-nogui) is not installed; CSV export not checked";
    const auto str = [](const std::string& s) { return Variant::FromStr(s); };
    ASSERT_TRUE(tools.AddWorkbook());
    tools.SetRangeValue("A1", str("name"));
    tools.SetRangeValue("B1", Variant::FromInt(12));
    tools.SetRangeValue("A2", str("x,y"));
    tools.SetRangeValue("B2", Variant::FromDouble(0.5));
    ASSERT_TRUE(tools.SaveWorkbookAs(file.string()));
    RunCommand(std::string(soffice) + " -env:UserInstallation=file://" + dir.string() +
               "/profile --headless --convert-to csv --outdir '" + dir.string() + "' '" + file.string() +
               "' >/dev/null 2>&1");
    std::ifstream csv(dir / "peer.csv");
    const std::string text((std::istreambuf_iterator<char>(csv)), {});
    EXPECT_EQ(text, "name,12\n\"x,y\",0.5\n");
}
