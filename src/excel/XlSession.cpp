#include "excel/XlSession.h"

#include <algorithm>
#include <filesystem>

#include "excel/XlDispatch.h"
#include "excel/XlsxFile.h"
#include "values/codepage.h"
#include "values/unitUtils.h"

namespace xl {

std::string AbsoluteFilePath(const std::string& fileName) {
    const std::string native = NativePath(fileName);
    if (native.empty()) throw AutomationError("the file name is empty");
    std::error_code error;
    const auto absolute = std::filesystem::absolute(native, error);
    if (error) return native;
    return absolute.lexically_normal().string();
}

std::string FileNamePart(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void XlSession::CheckRunning() const {
    if (quit) throw AutomationError("the spreadsheet application has quit");
}

std::shared_ptr<BookModel> XlSession::AddBook() {
    auto book = BookModel::CreateNew("Book" + std::to_string(nextBookNumber_++));
    books.push_back(book);
    active_ = book;
    return book;
}

std::shared_ptr<BookModel> XlSession::OpenBook(const std::string& fileName) {
    const std::string path = AbsoluteFilePath(fileName);
    for (const auto& book : books) {
        if (book->fullPath == path) {
            active_ = book;
            return book;
        }
    }
    std::shared_ptr<BookModel> book;
    try {
        book = ReadWorkbookFile(path);
    } catch (const std::exception& error) {
        throw AutomationError("cannot open \"" + fileName + "\": " + error.what());
    }
    book->fullPath = path;
    book->name = FileNamePart(path);
    books.push_back(book);
    active_ = book;
    return book;
}

void XlSession::SaveBook(BookModel& book) {
    if (book.fullPath.empty())
        throw AutomationError("\"" + book.name + "\" has never been saved; save it under a file name first");
    if (book.readOnly)
        throw AutomationError("\"" + book.name + "\" is read-only; save it under another name");
    try {
        WriteXlsxFile(book, book.fullPath);
    } catch (const std::exception& error) {
        throw AutomationError("cannot save \"" + book.fullPath + "\": " + error.what());
    }
    book.dirty = false;
}

void XlSession::SaveBookAs(BookModel& book, const std::string& fileName) {
    const std::string path = AbsoluteFilePath(fileName);
    for (const auto& other : books)
        if (other.get() != &book && other->fullPath == path)
            throw AutomationError("cannot save over \"" + other->name + "\" while it is open");
    try {
        WriteXlsxFile(book, path);
    } catch (const std::exception& error) {
        throw AutomationError("cannot save \"" + fileName + "\": " + error.what());
    }
    book.fullPath = path;
    book.name = FileNamePart(path);
    book.readOnly = false;
    book.dirty = false;
}

void XlSession::CloseBook(const std::shared_ptr<BookModel>& book) {
    // Unsaved changes are discarded: there is nobody to ask.
    book->closed = true;
    books.erase(std::remove(books.begin(), books.end(), book), books.end());
    if (active_ == book) active_ = books.empty() ? nullptr : books.back();
}

void XlSession::CloseAll() {
    while (!books.empty()) CloseBook(books.back());
}

void XlSession::Quit() {
    CloseAll();
    clipboard.Clear();
    quit = true;
}

std::shared_ptr<BookModel> XlSession::FindBook(const Variant& key) const {
    if (key.Kind() == VarKind::String) {
        const std::string& name = key.StrValue();
        for (const auto& book : books)
            if (SameText1251(book->name, name)) return book;
        // The name without its extension also finds a saved book.
        for (const auto& book : books) {
            const size_t dot = book->name.find_last_of('.');
            if (dot != std::string::npos && SameText1251(book->name.substr(0, dot), name)) return book;
        }
        throw AutomationError("Workbooks: no open workbook \"" + name + "\"");
    }
    int64_t position = 0;
    if (!ToIntStrict(key, position)) throw AutomationError("Workbooks: a workbook is chosen by position or name");
    if (position < 1 || position > int64_t(books.size()))
        throw AutomationError("Workbooks: no workbook at position " + std::to_string(position));
    return books[size_t(position - 1)];
}

std::shared_ptr<BookModel> XlSession::ActiveBook() const {
    if (!active_) throw AutomationError("no workbook is open");
    return active_;
}

void XlSession::Activate(const std::shared_ptr<BookModel>& book) { active_ = book; }

void XlSession::ActivateSheet(const std::shared_ptr<BookModel>& book, const std::shared_ptr<SheetModel>& sheet) {
    active_ = book;
    const int index = book->SheetIndex(sheet.get());
    if (index >= 0) book->activeSheet = index;
}

}  // namespace xl
