// The styles part of an .xlsx file (xl/styles.xml): number formats, fonts,
// fills, borders and the cell formats (xf records) that combine them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "excel/XlModel.h"

namespace xl {

// Cell format record i of the part is the book's style i, so cells keep
// their style number as their s attribute.
std::string StylesPart(const BookModel& book);

// Registers the part's custom number formats with the book and gives the
// book's style id for every cell format record, in order.
std::vector<uint32_t> ReadStylesPart(const std::string& xml, BookModel& book);

}  // namespace xl
