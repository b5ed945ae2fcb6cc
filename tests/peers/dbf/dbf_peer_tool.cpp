// Bridges the table engine and independent dBase readers and writers in
// the peer tests:
//   dbf_peer_tool write BASE   writes the sample table (text layout, every
//                              dBase III field type, memos, deleted records)
//   dbf_peer_tool dump BASE    prints every record of a table, one line
//                              each, texts in UTF-8:
//                              "*" or " ", then "|NAME=value" per field
#include <cmath>
#include <cstdio>
#include <iostream>
#include <string>

#include "dbf/DBF_Error.h"
#include "dbf/DBF_File.h"
#include "values/codepage.h"
#include "values/oledate.h"

namespace {

struct Row {
    const char* name;   // Windows-1251
    double amount;
    int count;
    double ratio;
    int year, month, day;  // 0: blank date
    const char* flag;
    const char* note;   // Windows-1251; "" = no memo
    bool deleted;
};

const Row kRows[] = {
    {"Ivan", 12.5, 3, 0.25, 2024, 1, 5, "T", "first note", false},
    {"\xcf\xe5\xf2\xf0", -0.5, -42, 1.5, 1999, 12, 31, "F", "\xef\xe0\xec\xff\xf2\xfc \xa8\xb8", true},
    {"blank", 0, 0, 0, 0, 0, 0, "F", "", false},
    {"long", 99999.99, 123456, -2.125, 2000, 2, 29, "T", nullptr, false},
    {"gone", 1, 1, 1, 2020, 6, 15, "T", "deleted memo", true},
};

std::string LongNote() {
    std::string text;
    for (int i = 0; i < 120; ++i) text += "line " + std::to_string(i) + "; ";
    return text;
}

int Write(const std::string& base) {
    TDBF_Data t;
    t.Fields.Add("NAME", 'C', 12, 0, false);
    t.Fields.Add("AMOUNT", 'N', 10, 2, false);
    t.Fields.Add("COUNT", 'N', 7, 0, false);
    t.Fields.Add("RATIO", 'F', 12, 3, false);
    t.Fields.Add("BORN", 'D', 0, 0, false);
    t.Fields.Add("FLAG", 'L', 0, 0, false);
    t.Fields.Add("NOTE", 'M', 0, 0, false);
    t.CreateTable(base, false);
    if (!t.Open(base, "rw", true, true, false)) return 2;
    for (const Row& row : kRows) {
        t.Append(true);
        t.SetField(Variant::FromStr("NAME"), Variant::FromStr(row.name));
        t.SetField(Variant::FromStr("AMOUNT"), Variant::FromDouble(row.amount));
        t.SetField(Variant::FromStr("COUNT"), Variant::FromInt(row.count));
        t.SetField(Variant::FromStr("RATIO"), Variant::FromDouble(row.ratio));
        if (row.year == 0) {
            t.SetFieldBlank(t.FieldIndex("BORN"));
        } else {
            DateParts parts;
            parts.year = row.year, parts.month = row.month, parts.day = row.day;
            t.SetField(Variant::FromStr("BORN"), Variant::FromDate(OleDateFromParts(parts)));
        }
        t.SetField(Variant::FromStr("FLAG"), Variant::FromStr(row.flag));
        t.SetField(Variant::FromStr("NOTE"), Variant::FromStr(row.note ? row.note : LongNote()));
        t.WriteCurrent(false, row.deleted);
    }
    t.Close();
    return 0;
}

std::string Trim(std::string text) {
    text.erase(0, text.find_first_not_of(' '));
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

std::string ValueText(TDBF_Data& t, size_t index) {
    const char type = t.Fields[index].Type;
    const Variant key = Variant::FromInt(int64_t(index));
    if (type == 'D' && t.FieldIsBlank(int(index))) return "";
    const Variant value = t.GetField(key);
    switch (value.Kind()) {
        case VarKind::Date: {
            const DateParts p = PartsFromOleDate(value.DateValue());
            char text[16];
            std::snprintf(text, sizeof text, "%04d-%02d-%02d", p.year, p.month, p.day);
            return text;
        }
        case VarKind::Bool: return value.BoolValue() ? "T" : "F";
        case VarKind::R8: {
            if (t.FieldIsBlank(int(index))) return "";
            char text[40];
            std::snprintf(text, sizeof text, "%.4f", value.DoubleValue());
            return text;
        }
        default: return Cp1251ToUtf8(Trim(value.ToText()));
    }
}

int Dump(const std::string& base) {
    TDBF_Data t;
    if (!t.Open(base, "r", true, true, false)) {
        std::cerr << "cannot open " << base << "\n";
        return 2;
    }
    for (t.First(true); !t.Eof(); t.Next(true)) {
        std::string line = t.IsDeleted() ? "*" : " ";
        for (size_t i = 0; i < t.FieldCount(); ++i) line += "|" + t.Fields[i].Name + "=" + ValueText(t, i);
        std::cout << line << "\n";
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: dbf_peer_tool write|dump BASE\n";
        return 2;
    }
    try {
        const std::string command = argv[1];
        if (command == "write") return Write(argv[2]);
        if (command == "dump") return Dump(argv[2]);
    } catch (const TDBFError& error) {
        std::cerr << error.what() << "\n";
        return 1;
    }
    std::cerr << "unknown command " << argv[1] << "\n";
    return 2;
}
