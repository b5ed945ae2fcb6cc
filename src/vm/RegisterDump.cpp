// The register dump written to the trace log before every instruction:
//   -------------------
//   Local: {<dump of the locals>}
//   Global: {<dump of Globals>}
//   -> registres
//   ResA: <text> ;@del: TRUE|FALSE     (or "ResA:  nil"; likewise ResZ, R1..R4)
//   Par:
//     0: <text> ;@del: TRUE|FALSE      (one line per collected argument)
//   resP: <member name>
//   String Flags: <ResZ><R1><R2>       ("1" or "0" each)
//   Operator Flags: <statement op hex> <pending op hex>
//   Register Flag: <selector>
//   (empty line)
//   -> eip: <index>; com: <opcode hex>; textCom: [[ <listing> ]]; str: <operand>
// Every line starts with the current indentation. The text is built
// straight in the log's buffer.
#include "compiler/OpCodes.h"
#include "vm/Machine.h"
#include "vm/TraceLog.h"
#include "values/unitUtils.h"

namespace {

void AppendHex2(std::string& out, unsigned value) {
    static const char digits[] = "0123456789ABCDEF";
    char buffer[8];
    int n = 0;
    do {
        buffer[n++] = digits[value & 15];
        value >>= 4;
    } while (value);
    if (n < 2) buffer[n++] = '0';
    while (n) out += buffer[--n];
}

void AppendLine(std::string& out, const std::string& indent, std::string_view text) {
    out += indent;
    out += text;
    out += '\n';
}

void AppendCellText(std::string& out, VAR_* cell) {
    if (!cell) {
        out += " nil";
        return;
    }
    const size_t before = out.size();
    try {
        cell->AppendStr(out);
    } catch (const std::exception&) {
        out.resize(before);
        out += "ERROR";
    }
    out += cell->Temp ? " ;@del: TRUE" : " ;@del: FALSE";
}

void AppendRegister(std::string& out, const std::string& indent, const char* name, VAR_* cell) {
    out += indent;
    out += name;
    AppendCellText(out, cell);
    out += '\n';
}

}  // namespace

void Machine::WriteRegisterDump(const Frame& f) const {
    TraceLog.RotateIfDue();
    std::string& out = TraceLog.Buffer();  // written in place, no copy
    const size_t start = out.size();
    // A dump cut short by an error leaves nothing half-written behind.
    struct CutUnlessDone {
        std::string& out;
        size_t start;
        bool done = false;
        ~CutUnlessDone() {
            if (!done) out.resize(start);
        }
    } cut{out, start};
    const std::string indent = TraceLog.Indent();
    AppendLine(out, indent, "-------------------");
    out += indent;
    out += "Local: {";
    locals_->DumpTo(out);
    out += "}\n";
    out += indent;
    out += "Global: {";
    Globals->DumpTo(out);
    out += "}\n";
    AppendLine(out, indent, "-> registres");
    AppendRegister(out, indent, "ResA: ", f.ResA);
    AppendRegister(out, indent, "ResZ: ", f.ResZ);
    AppendRegister(out, indent, "R1: ", f.R1);
    AppendRegister(out, indent, "R2: ", f.R2);
    AppendRegister(out, indent, "R3: ", f.R3);
    AppendRegister(out, indent, "R4: ", f.R4);
    AppendLine(out, indent, "Par: ");
    for (size_t i = 0; i < f.Par.size(); ++i) {
        out += indent;
        out += "  ";
        AppendDecimal(out, int64_t(i));
        out += ": ";
        AppendCellText(out, f.Par[i]);
        out += '\n';
    }
    out += indent;
    out += "resP: ";
    out += f.ResP;
    out += '\n';
    out += indent;
    out += "String Flags: ";
    out += f.StrZ ? '1' : '0';
    out += f.Str1 ? '1' : '0';
    out += f.Str2 ? '1' : '0';
    out += '\n';
    out += indent;
    out += "Operator Flags: ";
    AppendHex2(out, f.StatementOp);
    out += ' ';
    AppendHex2(out, f.PendingOp);
    out += '\n';
    out += indent;
    out += "Register Flag: ";
    out += std::to_string(unsigned(f.Selector));
    out += '\n';
    AppendLine(out, indent, "");
    out += indent;
    out += "-> eip: ";
    AppendDecimal(out, Index);
    out += "; com: ";
    const uint16_t code = Index >= 0 && Index < count_ ? code_[Index].opcode : 0;
    AppendHex2(out, code);
    out += "; textCom: [[ ";
    const std::string& operand = OperandAt(Index);
    if (Index >= 0 && Index < count_) out += ListingText(code, operand);
    out += " ]]; str: ";
    out += operand;
    out += '\n';
    cut.done = true;
    TraceLog.Appended(out.size() - start);
}
