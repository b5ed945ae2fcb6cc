// The state of one in-process spreadsheet application: its open books, the
// active one, the clipboard and the application switches. Every automation
// object of the server shares one session.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "excel/XlModel.h"
#include "values/Variant.h"

namespace xl {

// The last cut or copied range: values and formats, row by row. Formats
// live in the clipboard's own table, so that closing the source book does
// not lose them.
struct Clipboard {
    struct Entry {
        CellValue value;
        uint32_t style = 0;
    };
    int rows = 0, cols = 0;
    std::vector<Entry> entries;
    StyleTable styles;
    std::weak_ptr<BookModel> sourceBook;
    std::weak_ptr<SheetModel> sourceSheet;
    RangeRect source;
    bool cut = false;

    bool IsEmpty() const { return rows == 0; }
    void Clear() { *this = Clipboard{}; }
};

class XlSession {
public:
    // Every call after Quit fails: the application object is gone.
    void CheckRunning() const;

    std::shared_ptr<BookModel> AddBook();
    std::shared_ptr<BookModel> OpenBook(const std::string& fileName);
    void SaveBook(BookModel& book);
    void SaveBookAs(BookModel& book, const std::string& fileName);
    void CloseBook(const std::shared_ptr<BookModel>& book);
    void CloseAll();
    void Quit();

    // A number selects by position (1-based), a text by name.
    std::shared_ptr<BookModel> FindBook(const Variant& key) const;
    std::shared_ptr<BookModel> ActiveBook() const;  // fails when none is open
    void Activate(const std::shared_ptr<BookModel>& book);
    void ActivateSheet(const std::shared_ptr<BookModel>& book, const std::shared_ptr<SheetModel>& sheet);

    std::vector<std::shared_ptr<BookModel>> books;
    Clipboard clipboard;
    bool displayAlerts = true;
    bool visible = false;
    bool quit = false;

private:
    std::shared_ptr<BookModel> active_;
    int nextBookNumber_ = 1;
};

// The file system form of a script's file name, made absolute.
std::string AbsoluteFilePath(const std::string& fileName);
// The name part of a path ("a.xlsx" of "/tmp/a.xlsx").
std::string FileNamePart(const std::string& path);

}  // namespace xl
