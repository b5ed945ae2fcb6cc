// Creates automation objects by program identifier. "Excel.Application"
// gives a new in-process spreadsheet application backed by .xlsx files;
// any other identifier raises AutomationError.
#pragma once

#include <string>

#include "values/Variant.h"

AutoRef CreateAutomationObject(const std::string& progId);
