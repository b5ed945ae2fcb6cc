// Workbook files: .xlsx (OOXML) read and written by our own code over
// libzip and pugixml. Failures throw std::runtime_error with a text that
// says what was wrong with the file.
#pragma once

#include <memory>
#include <string>

#include "excel/XlModel.h"

namespace xl {

// Limits that keep malformed or hostile files from exhausting memory.
constexpr size_t kMaxWorkbookFileBytes = size_t(512) << 20;
constexpr size_t kMaxPartBytes = size_t(128) << 20;

// An .xlsx package, or a legacy .xls workbook (read-only, values only).
std::shared_ptr<BookModel> ReadWorkbookFile(const std::string& path);
std::shared_ptr<BookModel> ReadXlsFile(const std::string& path);
std::shared_ptr<BookModel> ReadXlsxBytes(const std::string& bytes);

std::string XlsxBytes(const BookModel& book);
// Writes through a temporary file in the same directory and renames it, so
// that a failed save leaves the previous file untouched.
void WriteXlsxFile(const BookModel& book, const std::string& path);

}  // namespace xl
