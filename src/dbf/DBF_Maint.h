// Whole-table operations on base names (paths without extension); each
// moves the three files of a table (".dbf", ".dbt", ".log") together and
// reports to the table's change log when it has one.
#pragma once

#include <cstdint>
#include <string>

#include "dbf/DBF_Fields.h"

// When set, creating a table also creates its log file.
extern bool LogNewTables;

// Writes a new empty table. Throws TDBFError for a field list the format
// cannot hold (lengths above 255, more than 255 fields, records longer
// than 65535 bytes) before any file is touched, and when writing fails.
void CreateTable(const std::string& base, TDBF_Fields fields, bool binary);
// Throws TDBFError when the format cannot hold the field list.
void CheckFieldList(const TDBF_Fields& fields, bool binary);
void RenameTable(const std::string& oldBase, const std::string& newBase);
void DeleteTable(const std::string& base);
void CopyRecords(const std::string& source, const std::string& destination);
void RestructureTable(const std::string& base, const TDBF_Fields& fields);
TDBF_Fields ReadFieldList(const std::string& base);
uint32_t PackRecords(const std::string& base);
int64_t PackMemos(const std::string& base);
