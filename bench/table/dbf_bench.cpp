// Table benchmark: writes a text-layout table with character, numeric,
// date, logical and memo fields, or reads every field of every record
// back through the engine. Timing is left to the caller (run.sh), so that
// this program and the peer readers are measured the same way.
//
//   dbf_bench create <base> <records>
//   dbf_bench read <base> [records per cache block]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "dbf/DBF_Fields.h"
#include "dbf/DBF_File.h"
#include "values/Variant.h"
#include "values/oledate.h"

namespace {

constexpr double kFirstDay = 45000;  // an OLE date in 2023

int Create(const std::string& base, long records) {
    TDBF_Data table;
    table.Fields.Add("NAME", 'C', 20, 0, false);
    table.Fields.Add("AMOUNT", 'N', 12, 2, false);
    table.Fields.Add("DAY", 'D', 8, 0, false);
    table.Fields.Add("PAID", 'L', 1, 0, false);
    table.Fields.Add("NOTE", 'M', 10, 0, false);
    table.CreateTable(base, false);
    if (!table.Open(base, "rw", true, true, false)) {
        std::fprintf(stderr, "cannot open %s.dbf\n", base.c_str());
        return 1;
    }
    for (long i = 0; i < records; ++i) {
        table.Append(true);
        table.SetField(Variant::FromStr("NAME"), Variant::FromStr("name " + std::to_string(i)));
        table.SetField(Variant::FromStr("AMOUNT"), Variant::FromDouble(double(i) * 1.25));
        table.SetField(Variant::FromStr("DAY"), Variant::FromDate(kFirstDay + double(i % 3650)));
        table.SetField(Variant::FromStr("PAID"), Variant::FromBool(i % 2 == 0));
        table.SetField(Variant::FromStr("NOTE"), Variant::FromStr("memo of record " + std::to_string(i)));
        table.WriteCurrent(false, false);
    }
    table.Close();
    return 0;
}

// Reads each field by its index, the way a script walking a table does,
// and folds the values into a checksum so that no read can be skipped.
// A cache block above 0 turns on the engine's record cache, which reads
// that many records at a time (scripts set it through the "Cashe" member).
int Read(const std::string& base, uint16_t cacheBlock) {
    TDBF_Data table;
    if (!table.Open(base, "r", true, true, false)) {
        std::fprintf(stderr, "cannot open %s.dbf\n", base.c_str());
        return 1;
    }
    table.CacheBlock = cacheBlock;
    const auto start = std::chrono::steady_clock::now();
    const int fields = int(table.FieldCount());
    unsigned long records = 0;
    double numbers = 0;
    size_t textBytes = 0;
    for (table.First(true); !table.Eof(); table.Next(true)) {
        for (int f = 0; f < fields; ++f) {
            const Variant value = table.GetField(Variant::FromInt(f));
            if (value.Kind() == VarKind::String) textBytes += value.ToText().size();
            else numbers += value.ToDouble();
        }
        ++records;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("records %lu text bytes %zu numbers %.2f seconds %.3f\n", records, textBytes, numbers, seconds);
    table.Close();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "create" && argc == 4) return Create(argv[2], std::strtol(argv[3], nullptr, 10));
    if (mode == "read" && (argc == 3 || argc == 4))
        return Read(argv[2], argc == 4 ? uint16_t(std::strtoul(argv[3], nullptr, 10)) : 0);
    std::fprintf(stderr, "usage: dbf_bench create <base> <records> | dbf_bench read <base> [cache block]\n");
    return 2;
}
