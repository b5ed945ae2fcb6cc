// Control flow (if/else, "?" and ":", goto, skipping), the operator
// protocol of a statement, and the statement end that writes the target.
//
// Skipping moves forward over code without running it: "(", "[" and ":["
// open a level and ")" / "]" closes one, and the skip stops in front of
// the first instruction of the stop set found at level 0 (or in front of
// a closing bracket that leaves the level it started on), so that the
// loop's increment lands on it. A skip never runs past the final opHalt.
#include <charconv>

#include "compiler/OpCodes.h"
#include "vm/Machine.h"
#include "vm/VmErrors.h"

namespace {

bool Opens(uint16_t code) { return code == opParen || code == opIndex || code == opRange; }

uint32_t StopBit(uint16_t code) {
    switch (code) {
    case opEnd: return kStopEnd;
    case opClose: return kStopClose;
    case opColon: return kStopColon;
    case opElse: return kStopElse;
    case opThen: return kStopThen;
    case opComma:
    case opDotDot:
    case opDotDotDot:
    case opPair:
    case opBlockEnd: return kStopSeparators;
    default: return 0;
    }
}

bool IsAssignment(uint16_t code) { return code >= opAssign && code <= opConcatAssign; }

}  // namespace

int32_t Machine::SkipForward(int32_t start, uint32_t stopSet) const {
    int depth = 0;
    const int32_t last = count_ - 1;
    for (int32_t i = start; i < last; ++i) {
        const uint16_t code = code_[i].opcode;
        if (Opens(code)) ++depth;
        else if (code == opClose && --depth < 0) return i > start ? i - 1 : start;
        const int32_t next = i + 1;
        if (next >= last) return i;  // stop at the final opHalt
        if (depth == 0 && (StopBit(code_[next].opcode) & stopSet)) return i;
    }
    return start > last - 1 ? start : last - 1;
}

int32_t Machine::BlockEnd(int32_t beginIndex) const {
    const std::string& text = OperandAt(beginIndex);
    int32_t end = -1;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), end);
    if (ec != std::errc() || ptr != text.data() + text.size() || end <= beginIndex || end >= count_)
        throw ScriptError("block start without a valid end index: \"" + text + "\"");
    return end;
}

void Machine::If(Frame& f) {
    ++Index;
    VAR_* condition = Execute(true);
    DumpRegisters(f);
    bool truth = false;
    try {
        truth = condition->GetBool();
    } catch (...) {
        condition->Release();
        throw;
    }
    condition->Release();
    if (truth) {
        if (CodeAt(Index) == opBegin) ++Index;
    } else {
        if (CodeAt(Index) == opBegin) {
            Index = BlockEnd(Index) + 1;
        } else {
            if (CodeAt(Index) == opThen) ++Index;  // a condition that ended before its "then"
            Index = SkipForward(Index, kStopEnd | kStopElse) + 1;
        }
        // The else branch of a false condition runs.
        if (CodeAt(Index) == opElse) ++Index;
    }
    --Index;
}

// From a then-branch that ran: the whole else branch is skipped, be it a
// block, one statement up to its ";" (which then ends the pending
// statement), or an elsif with its condition and both its branches.
void Machine::Else(Frame& f) {
    const uint16_t next = CodeAt(Index + 1);
    Index = SkipElseBranchAt(Index);
    if (next != opBegin && next != opIf && f.Sub) Stop = true;  // as ")" does
}

int32_t Machine::SkipElseBranchAt(int32_t elseIndex) const {
    const int32_t next = elseIndex + 1;
    if (CodeAt(next) == opBegin) return BlockEnd(next);
    if (CodeAt(next) == opIf) return SkipIfStatement(next);
    return SkipForward(elseIndex, kStopEnd | kStopClose);
}

int32_t Machine::SkipIfStatement(int32_t ifIndex) const {
    const int32_t then = SkipForward(ifIndex, kStopThen | kStopEnd) + 1;
    return SkipBranchAndElse(then + 1);
}

int32_t Machine::SkipBranchAndElse(int32_t first) const {
    if (first >= count_ - 1) return count_ - 2 >= 0 ? count_ - 2 : 0;
    if (CodeAt(first) == opBegin) {
        const int32_t end = BlockEnd(first);
        return CodeAt(end + 1) == opElse ? SkipElseBranchAt(end + 1) : end;
    }
    const int32_t found = SkipForward(first, kStopEnd | kStopElse) + 1;
    if (CodeAt(found) == opElse) return SkipElseBranchAt(found);
    return found - 1;  // land on the ";"
}

void Machine::Question(Frame& f) {
    VAR_* tested = f.Current();
    const bool truth = tested && tested->GetBool();
    if (!truth) {
        const int32_t before = SkipForward(Index, ExpressionStops(f, kStopEnd | kStopClose | kStopColon));
        // Step onto a ":" (the else value follows it); a ";" or ")" must
        // still run, so the index stays in front of it.
        Index = CodeAt(before + 1) == opColon ? before + 1 : before;
    }
    Mov(f, NewNull());
}

void Machine::Goto(Frame& f, const std::string& label) {
    if (gotoTargets_.empty()) gotoTargets_.assign(size_t(count_), -2);
    int32_t& position = gotoTargets_[size_t(Index)];
    if (position == -2) position = func_.FindLabel(label);
    if (position < 0) throw ScriptError(InstructionMessage(opGoto, label));
    Index = position - 1;
    Guarded(kNewCleanError, [&] { f.ReleaseAll(); });
}

void Machine::CursorMove(Frame& f, uint16_t code) {
    if (f.Sub || f.Selector != kSelResZ || !f.ResZ) return;
    switch (code) {
    case opFirst: f.ResZ->First(); break;
    case opLast: f.ResZ->Last(); break;
    case opNext: f.ResZ->Next(); break;
    default: f.ResZ->Prev(); break;
    }
}

void Machine::ApplyPending(Frame& f) {
    VAR_* result = Operate(f.R1, f.R2, f.PendingOp);
    VAR_* left = f.R1;
    VAR_* right = f.R2;
    f.R1 = result;
    f.R2 = nullptr;
    f.Str1 = f.Str2 = false;
    if (left && left != result && !f.Holds(left)) left->Release();
    if (right && right != result && right != left && !f.Holds(right)) right->Release();
}

// The statement protocol: the first operator after the statement's first
// operand is the statement operator; later ones combine R1 and R2 strictly
// from left to right (no precedence).
void Machine::Operator(Frame& f, uint16_t code) {
    ServeFlags(f);
    f.StatementStart = false;
    if (f.Selector == kSelResZ) {
        f.StatementOp = code;
        f.Selector = kSelR1;
        return;
    }
    if (f.Selector == kSelR2) {
        ApplyPending(f);
        f.Selector = kSelR1;
    }
    if (code == opAnd || code == opOr) {
        const bool left = f.R1 && f.R1->GetBool();
        if (left == (code == opAnd)) {
            f.Selector = kSelR2;
            f.PendingOp = code;
        } else {
            Index = SkipForward(Index, ExpressionStops(f, kStopEnd | kStopClose));  // R1 is the result
        }
        return;
    }
    f.Selector = kSelR2;
    f.PendingOp = code;
}

void Machine::EndStatement(Frame& f) {
    if (f.Sub) {
        Stop = true;
        return;
    }
    ServeFlags(f);
    if (f.Selector == kSelR2) ApplyPending(f);
    f.Selector = kSelResZ;
    if (f.Target == kTargetMember) {
        WriteMemberTarget(f);
    } else if (f.Target == kTargetElement && f.ResA) {
        WriteElementTarget(f);
    }
    StatementValue(f);
    Guarded(kNewCleanError, [&] { f.ReleaseAll(); });
    f.StatementStart = false;
    Stop = false;
}

// a.b = v, a.b += v: written through the container. Only assignments
// write; a statement such as a.b + 1; leaves the member alone.
void Machine::WriteMemberTarget(Frame& f) {
    if (f.R1 && f.ResA && IsAssignment(f.StatementOp)) {
        VAR_* value = nullptr;
        if (f.StatementOp > opAssign) {
            value = Operate(f.ResZ, f.R1, f.StatementOp);
            if (value == f.ResZ || value == f.R1) value = value->Copy();
            // The right operand is spent (the result may have taken it over).
            f.Drop(f.R1);
        } else {
            value = f.TakeOwned(f.R1);
        }
        TempRef owned(value);
        // The member's old cell may be replaced (and destroyed) by the write.
        VAR_* old = f.ResZ;
        f.ResZ = nullptr;
        if (old && old->Temp && !f.Holds(old) && old != value) old->Release();
        f.ResZ = Guarded(kSetPropertyError, [&] { return f.ResA->Method(f.ResP, value, true); });
        if (f.ResZ == value) owned.release();
    }
    f.StatementOp = 0;
    f.DropContainer();
}

// a[i] = v, s:[x..y] = v: only assignments write the element back;
// compound ones combine with the element's value first.
void Machine::WriteElementTarget(Frame& f) {
    if (IsAssignment(f.StatementOp)) {
        VAR_* value = nullptr;
        if (f.StatementOp > opAssign) {
            value = Operate(f.ResZ, f.R1, f.StatementOp);
            // The combined value may be the element itself, which the write
            // replaces: hand over an independent copy.
            if (!value->Temp || value == f.R1 || value == f.ResZ) {
                VAR_* copy = value->Copy();
                if (value->Temp && value != f.R1 && value != f.ResZ) value->Release();
                value = copy;
            }
        } else {
            value = f.TakeOwned(f.R1);
        }
        TempRef owned(value);
        f.Drop(f.R1);
        VAR_* old = f.ResZ;
        f.ResZ = nullptr;
        if (old && old->Temp && !f.Holds(old)) old->Release();
        Guarded(kActMovError, [&] {
            if (f.R4) {
                if (f.Separator == opDotDotDot) f.ResA->ExclusiveEnd = true;
                f.ResA->SetRange(f.R3, f.R4, value);
                f.ResZ = f.ResA->GetRange(f.R3, f.R4);
            } else if (f.R3) {
                f.ResA->SetIndex(f.R3, value);
                f.ResZ = f.ResA->GetIndex(f.R3);
            }
        });
        if (f.ResZ == value) owned.release();
        f.Drop(f.R3);
        f.Drop(f.R4);
    }
    f.StatementOp = 0;
}

// The statement's value becomes the activation's result: the assigned
// variable's new value, or the first statement's own value.
void Machine::StatementValue(Frame& f) {
    Guarded(kResultError, [&] {
        VAR_* value = nullptr;
        if (f.Target != kTargetElement && IsAssignment(f.StatementOp)) {
            if (!f.ResZ) f.ResZ = NewNull();
            VAR_* combined = Operate(f.ResZ, f.R1, f.StatementOp);
            // The right operand is spent (the result may have taken it over).
            if (f.R1 == combined) f.R1 = nullptr;
            f.Drop(f.R1);
            if (combined != f.ResZ) {
                f.ResZ->AssignFrom(combined);
                if (!f.Holds(combined)) combined->Release();
            }
            value = f.ResZ;
        } else if (f.StatementStart && f.ResZ) {
            value = f.ResZ;
        }
        f.StatementOp = 0;
        if (!value) return;
        // The result takes a copy of the value. A cell the frame does not
        // own is copied straight into it; a temporary goes through a copy
        // of its own, as assigning would take over its payload.
        if (!value->Temp) {
            f.Result->AssignFrom(value);
            return;
        }
        VAR_* copy = value->Copy();
        f.Result->AssignFrom(copy);
        copy->Release();
    });
}
