// Legacy .xls workbooks (BIFF in a compound document), read through
// libfreexl: sheet names and cell values only, no formats. Such a book is
// read-only; it can be saved under another name as .xlsx.
#include "excel/XlsxFile.h"

#include <stdexcept>

#include "values/codepage.h"
#include "values/oledate.h"

#ifdef SCRIPTRUN_HAVE_FREEXL
#include <freexl.h>
#endif

namespace xl {

#ifdef SCRIPTRUN_HAVE_FREEXL
namespace {

constexpr size_t kMaxLegacyCells = 4'000'000;
constexpr int kFormatTime = 21;  // built-in "h:mm:ss"

class FreexlHandle {
public:
    explicit FreexlHandle(const std::string& path) {
        const int status = freexl_open(path.c_str(), &handle_);
        if (status != FREEXL_OK) {
            if (handle_) freexl_close(handle_);
            handle_ = nullptr;
            throw std::runtime_error("not a readable .xls workbook (libfreexl error " + std::to_string(status) + ")");
        }
    }
    ~FreexlHandle() {
        if (handle_) freexl_close(handle_);
    }
    FreexlHandle(const FreexlHandle&) = delete;
    FreexlHandle& operator=(const FreexlHandle&) = delete;
    const void* get() const { return handle_; }

private:
    const void* handle_ = nullptr;
};

void Check(int status, const char* what) {
    if (status != FREEXL_OK) throw std::runtime_error(std::string("the .xls workbook is damaged (") + what + ")");
}

// Dates and times arrive as "YYYY-MM-DD", "YYYY-MM-DD HH:MM:SS" or "HH:MM:SS".
void StoreDate(BookModel& book, Cell& cell, const char* text, int formatId) {
    const auto date = ParseDateTimeText(text ? text : "");
    if (!date) {
        cell.value = CellValue::Text(text ? Utf8ToCp1251(text) : std::string());
        return;
    }
    CellFormat format;
    format.numberFormat = formatId;
    cell.value = CellValue::Number(*date);
    cell.style = book.styles.Intern(format);
}

void ReadCell(BookModel& book, SheetModel& sheet, const FreeXL_CellValue& value, int row, int col) {
    Cell cell;
    switch (value.type) {
    case FREEXL_CELL_INT: cell.value = CellValue::Number(value.value.int_value); break;
    case FREEXL_CELL_DOUBLE: cell.value = CellValue::Number(value.value.double_value); break;
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
        cell.value = CellValue::Text(Utf8ToCp1251(value.value.text_value ? value.value.text_value : ""));
        break;
    case FREEXL_CELL_DATE: StoreDate(book, cell, value.value.text_value, kFormatDate); break;
    case FREEXL_CELL_DATETIME: StoreDate(book, cell, value.value.text_value, kFormatDateTime); break;
    case FREEXL_CELL_TIME: StoreDate(book, cell, value.value.text_value, kFormatTime); break;
    default: return;
    }
    sheet.Touch(row, col) = std::move(cell);
}

}  // namespace

std::shared_ptr<BookModel> ReadXlsFile(const std::string& path) {
    const FreexlHandle xls(path);
    unsigned int sheetCount = 0;
    Check(freexl_get_info(xls.get(), FREEXL_BIFF_SHEET_COUNT, &sheetCount), "sheet count");
    auto book = std::make_shared<BookModel>();
    book->readOnly = true;
    size_t cells = 0;
    for (unsigned short index = 0; index < sheetCount && index < 1000; ++index) {
        const char* utf8Name = nullptr;
        Check(freexl_get_worksheet_name(xls.get(), index, &utf8Name), "sheet name");
        std::string name = utf8Name ? Utf8ToCp1251(utf8Name) : std::string();
        if (name.empty() || book->FindSheet(name)) name = book->FreeSheetName();
        auto sheet = std::make_shared<SheetModel>(name);
        Check(freexl_select_active_worksheet(xls.get(), index), "sheet selection");
        unsigned int rows = 0;
        unsigned short cols = 0;
        Check(freexl_worksheet_dimensions(xls.get(), &rows, &cols), "sheet size");
        if (rows > unsigned(kMaxRows) || cols > kMaxColumns) throw std::runtime_error("the .xls sheet is too large");
        for (unsigned int row = 0; row < rows; ++row) {
            for (unsigned short col = 0; col < cols; ++col) {
                if (++cells > kMaxLegacyCells) throw std::runtime_error("the .xls workbook has too many cells");
                FreeXL_CellValue value;
                Check(freexl_get_cell_value(xls.get(), row, col, &value), "cell");
                ReadCell(*book, *sheet, value, int(row) + 1, int(col) + 1);
            }
        }
        book->sheets.push_back(std::move(sheet));
    }
    if (book->sheets.empty()) throw std::runtime_error("the .xls workbook has no sheets");
    return book;
}

#else

std::shared_ptr<BookModel> ReadXlsFile(const std::string&) {
    throw std::runtime_error("legacy .xls workbooks cannot be opened here (built without libfreexl); save them as .xlsx");
}

#endif

}  // namespace xl
