// Tree files and tables: the input is written into the scratch directory
// and read by the engine as a user's file would be.
#include <cstring>
#include <exception>
#include <memory>
#include <string_view>

#include "FuzzEntries.h"
#include "FuzzSupport.h"
#include "dbf/DBF_File.h"
#include "tree/sTree.h"
#include "values/unitUtils.h"

namespace {

std::string_view Bytes(const uint8_t* data, size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Every field of the current record, memo fields included; a field that
// does not convert is an ordinary outcome.
void ReadAllFields(TDBF_Data& table) {
    for (size_t i = 0; i < table.FieldCount(); ++i) {
        try {
            (void)table.GetField(Variant::FromInt(int64_t(i)));
        } catch (const std::exception&) {
        }
    }
}

void ReadTable() {
    TDBF_Data table;
    if (!table.Open("t", "r")) return;
    for (table.First(true); !table.Eof(); table.Next(true)) ReadAllFields(table);
    table.Close();
}

}  // namespace

int RunTreeInput(const uint8_t* data, size_t size) {
    PrepareFuzzProcess();
    try {
        WriteWholeFile("in.tree", Bytes(data, size));
        std::shared_ptr<TTree> tree = TTree::Create("fuzz");
        tree->Load("in.tree");
        (void)tree->TotalCount();
        tree->Save("out.tree");
        tree->Close();
    } catch (const std::exception&) {
        // The loader refused the file.
    }
    ClearScratchDirectory();
    return 0;
}

int RunTableInput(const uint8_t* data, size_t size) {
    PrepareFuzzProcess();
    // Bytes 0..3: length n of the data file (little-endian); then n bytes of
    // the data file, then the memo file (absent when nothing is left).
    uint32_t dataLength = 0;
    if (size >= 4) std::memcpy(&dataLength, data, 4);
    const size_t body = size >= 4 ? size - 4 : 0;
    const size_t n = dataLength < body ? dataLength : body;
    try {
        WriteWholeFile("t.dbf", Bytes(data + 4, n));
        if (body > n) WriteWholeFile("t.dbt", Bytes(data + 4 + n, body - n));
        ReadTable();
    } catch (const std::exception&) {
        // The engine refused the table.
    }
    ClearScratchDirectory();
    return 0;
}
