// The execution loop's internals: one activation's register set (Frame)
// and the machine that walks a function's code. The instruction handlers
// are split over several files by concern; all of them work on the shared
// instruction index and stop flag of one run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "compiler/CFuncVar.h"
#include "values/scriptvar.h"
#include "vm/TraceLog.h"

// Where the next loaded value goes.
enum RegisterSelector : uint8_t { kSelResZ = 0, kSelR1 = 1, kSelR2 = 2, kSelPar = 3 };
// What the statement's first operand designates.
enum TargetKind : uint8_t { kTargetVariable = 0, kTargetMember = 1, kTargetElement = 2 };

// The register set of one activation, fields in dump order. Registers hold
// either a table's own cell or a temporary; a cell may sit in two
// registers at once (ResA and ResZ after a member access), so releasing
// one register never destroys a cell another register still holds.
struct Frame {
    VAR_* ResA = nullptr;  // container of an assignment target
    VAR_* ResZ = nullptr;  // the statement's first operand
    VAR_* R1 = nullptr;    // left operand / running result
    VAR_* R2 = nullptr;    // right operand of the pending operator
    VAR_* R3 = nullptr;    // index or lower bound of an element target
    VAR_* R4 = nullptr;    // upper bound of a range target
    bool StrZ = false, Str1 = false, Str2 = false;  // literal still needs Unescape
    std::string ResP;                                 // member name of a member target
    std::vector<VAR_*> Par;                           // arguments being collected
    uint16_t StatementOp = 0;
    uint16_t PendingOp = 0;
    uint16_t Separator = 0;
    uint8_t Selector = kSelResZ;
    bool StatementStart = true;
    uint8_t Target = kTargetVariable;
    // ResA held a temporary when it became the container (a member read may
    // since have cleared its Temp flag: a method value keeps its owner).
    bool ResAOwned = false;

    bool Sub = false;         // a sub-evaluation (starts in R1)
    VAR_* Result = nullptr;   // the activation's result cell
    // Temporaries whose stored cells may still be in use (a temporary
    // array indexed, a temporary object's member read): released at the
    // statement's end rather than when they leave their register.
    std::vector<VAR_*> KeepAlive;

    bool Holds(const VAR_* cell) const {
        return cell == ResA || cell == ResZ || cell == R1 || cell == R2 || cell == R3 || cell == R4;
    }
    VAR_*& Current();
    // Releases the register's cell unless another register holds it.
    void Drop(VAR_*& reg);
    // Drops ResA (parked in KeepAlive when it was a temporary: the target
    // read out of it may still be in use) and makes `cell` the container.
    void SetContainer(VAR_* cell);
    void DropContainer();
    // Takes the register's value as a temporary the caller owns: the cell
    // itself when it is a temporary no other register holds, else a copy.
    VAR_* TakeOwned(VAR_*& reg);
    // Empties every register, Par and KeepAlive; resets the operators, the
    // selector and the target (the statement-start flag is left alone).
    void ReleaseAll();
};

// Bits of a stop set for SkipForward.
constexpr uint32_t kStopEnd = 1u << 0;
constexpr uint32_t kStopClose = 1u << 1;
constexpr uint32_t kStopColon = 1u << 2;
constexpr uint32_t kStopElse = 1u << 3;
constexpr uint32_t kStopThen = 1u << 4;
// What else ends a sub-expression: ",", "..", "...", ":>" and "}".
constexpr uint32_t kStopSeparators = 1u << 5;

class Machine {
public:
    explicit Machine(CFuncVar& function);
    ~Machine();
    Machine(const Machine&) = delete;
    Machine& operator=(const Machine&) = delete;

    // One activation of the execution loop (a sub-evaluation when `sub`).
    VAR_* Execute(bool sub);

    int32_t Index = 0;  // shared by every activation of this run
    bool Stop = false;

    CFuncVar& Function() { return func_; }

private:
    void Step(Frame& f);
    void Dispatch(Frame& f, const Instruction& ins);
    void Finish(Frame& f);
    void EndActivation(Frame& f);

    // Loading (LoadInstructions.cpp).
    void Mov(Frame& f, VAR_* value, bool isString = false);
    // `sourceWasTemp`: the current register's cell was a temporary before
    // the value was read out of it.
    void MovDerived(Frame& f, VAR_* value, bool sourceWasTemp);
    void ServeFlags(Frame& f);
    void LoadLiteral(Frame& f, const std::string& text);
    void LoadVariable(Frame& f, const std::string& name);
    void LoadMember(Frame& f, const std::string& name);

    // Brackets (BracketInstructions.cpp).
    void OpenParen(Frame& f);
    void OpenIndex(Frame& f);
    void BuildArray(Frame& f, bool& ran);
    void OpenRange(Frame& f);
    bool MoreElements() const;

    // Control flow and statements (FlowInstructions.cpp).
    void If(Frame& f);
    void Else(Frame& f);
    void Question(Frame& f);
    void Goto(Frame& f, const std::string& label);
    void CursorMove(Frame& f, uint16_t code);
    void EndStatement(Frame& f);
    void WriteMemberTarget(Frame& f);
    void WriteElementTarget(Frame& f);
    void StatementValue(Frame& f);
    void Operator(Frame& f, uint16_t code);
    void ApplyPending(Frame& f);
    int32_t SkipForward(int32_t start, uint32_t stopSet) const;
    // The stop set of a skip within an expression (a false "&&", a true
    // "||", the parts of "?" and ":"): the statement's end or the closing
    // bracket, and in a sub-expression also whatever ends that.
    uint32_t ExpressionStops(const Frame& f, uint32_t stopSet) const {
        return f.Sub ? stopSet | kStopThen | kStopSeparators : stopSet;
    }
    int32_t SkipElseBranchAt(int32_t elseIndex) const;
    int32_t SkipIfStatement(int32_t ifIndex) const;
    int32_t SkipBranchAndElse(int32_t first) const;
    int32_t BlockEnd(int32_t beginIndex) const;

    // The trace (RegisterDump.cpp).
    void DumpRegisters(const Frame& f) const {
        if (TraceLog.Enabled()) WriteRegisterDump(f);
    }
    void WriteRegisterDump(const Frame& f) const;

    // Per-run caches, indexed by instruction: what a name refers to among
    // the tables that do not change during a run (Consts and System), the
    // target of a goto, and the value of a literal (loaded as a copy).
    enum class NameKind : uint8_t { Unknown, Constant, SystemEntry, Other };
    NameKind KindOfName(int32_t at, const std::string& name);
    VAR_* LiteralAt(int32_t at, const std::string& text);
    std::vector<NameKind> nameKinds_;
    std::vector<int32_t> gotoTargets_;
    std::vector<VAR_*> literals_;
    // Where a variable instruction found its entry in the locals or in
    // Globals (entries are only ever appended while a run lasts).
    struct EntryCache {
        GrafNode* node = nullptr;
        int32_t index = -1;
    };
    std::vector<EntryCache> entries_;
    VAR_* CachedEntry(GrafVarArray* table, int32_t at, const std::string& name, bool create);

    uint16_t CodeAt(int32_t i) const { return i >= 0 && i < count_ ? code_[i].opcode : uint16_t(opHalt); }
    const std::string& OperandAt(int32_t i) const { return func_.OperandText(i); }

    CFuncVar& func_;
    const Instruction* code_;
    int32_t count_;
    GrafVarArray* locals_;
};

// An operator applied to two cells (either may be nil, which acts
// as a Null value). The operands are not released; the result is a new
// temporary or one of the operands. Failures become "Math operation Error".
VAR_* Operate(VAR_* a, VAR_* b, uint16_t code);
