// The execution loop: activations, the instruction dispatch, the error
// handlers that put each instruction's context in front of a failure, and
// Run, which adds the failing statement's code.
#include <algorithm>
#include <ctime>
#include <vector>

#include "compiler/OpCodes.h"
#include "vm/Machine.h"
#include "vm/RuntimeState.h"
#include "vm/TraceLog.h"
#include "vm/VirtualMachine.h"
#include "vm/VmErrors.h"

namespace {

int nesting = 0;                           // activations now on the C++ stack
std::vector<const CFuncVar*> runningFunctions;  // innermost last

class NestingGuard {
public:
    NestingGuard() {
        if (nesting >= kMaxNesting)
            throw ScriptError("nesting too deep: more than " + std::to_string(kMaxNesting) +
                              " nested evaluations or script calls");
        ++nesting;
    }
    ~NestingGuard() { --nesting; }
    NestingGuard(const NestingGuard&) = delete;
    NestingGuard& operator=(const NestingGuard&) = delete;
};

class RunningMark {
public:
    explicit RunningMark(const CFuncVar& f) { runningFunctions.push_back(&f); }
    ~RunningMark() { runningFunctions.pop_back(); }
    RunningMark(const RunningMark&) = delete;
    RunningMark& operator=(const RunningMark&) = delete;
};

bool IsOperatorCode(uint16_t code) { return code >= opAssign && code <= opNotIdentical; }

void CountStep() {
    if (++StepsTaken > StepLimit)
        throw ScriptError("step limit of " + std::to_string(StepLimit) + " instructions reached");
    if (StepSecondsLimit > 0 && (StepsTaken & 1023) == 0 && ProcessSeconds() - StepClockStart > StepSecondsLimit)
        throw ScriptError("time limit of " + std::to_string(int(StepSecondsLimit)) + " seconds reached");
}

}  // namespace

double ProcessSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

Machine::Machine(CFuncVar& function)
    : func_(function),
      code_(function.Code().data()),
      count_(function.InstructionCount()),
      locals_(function.Locals()) {}

Machine::~Machine() {
    for (VAR_* prototype : literals_)
        if (prototype) prototype->Destroy();
}

VAR_* Machine::Execute(bool sub) {
    NestingGuard nested;
    TraceLog.Line("runs in");
    ++TraceLog.Depth;
    Frame f;
    f.Sub = sub;
    f.Selector = sub ? kSelR1 : kSelResZ;
    Stop = false;
    f.Result = NewNull();
    try {
        while (Index < count_) {
            if (StepLimit != 0) CountStep();
            DumpRegisters(f);
            Step(f);
            ++Index;
            if (Stop) {
                Finish(f);
                break;
            }
        }
    } catch (const std::exception& error) {
        std::string text = error.what();
        try {
            TraceLog.Line("ERROR!!! " + text);
        } catch (const std::exception&) {
            // The log failing too: the first failure is the one to report.
        }
        const uint16_t code = Index >= 0 && Index < count_ ? code_[Index].opcode : uint16_t(opHalt);
        text = NestedErrorText(EipText(Index, code, OperandAt(Index)), text);
        try {
            EndActivation(f);
        } catch (const std::exception&) {
            // The first failure is the one to report.
        }
        f.Result->Release();
        throw ScriptError(text);
    }
    EndActivation(f);
    return f.Result;
}

// Each instruction runs inside its own handler, which names the failing
// instruction in front of the failure's text.
void Machine::Step(Frame& f) {
    const int32_t at = Index;
    const Instruction& ins = code_[at];
    try {
        Dispatch(f, ins);
    } catch (const std::exception& error) {
        throw ScriptError(NestedErrorText(EipText(at, ins.opcode, func_.PoolText(ins.operand)), error.what()));
    }
}

void Machine::Dispatch(Frame& f, const Instruction& ins) {
    const uint16_t code = ins.opcode;
    if (IsOperatorCode(code)) {
        Operator(f, code);
        return;
    }
    switch (code) {
    case opLiteral: LoadLiteral(f, func_.PoolText(ins.operand)); break;
    case opString: Mov(f, NewStr(func_.PoolText(ins.operand)), true); break;
    case opVariable: LoadVariable(f, func_.PoolText(ins.operand)); break;
    case opMember: LoadMember(f, func_.PoolText(ins.operand)); break;
    case opParen: OpenParen(f); break;
    case opIndex: OpenIndex(f); break;
    case opRange: OpenRange(f); break;
    case opComma:
    case opDotDot:
    case opDotDotDot:
    case opPair:
    case opClose:
    case opBlockEnd:
    case opThen:
        if (f.Sub) Stop = true;  // they end a sub-expression
        break;
    case opIf: If(f); break;
    case opElse: Else(f); break;
    case opQuestion: Question(f); break;
    case opColon: Index = SkipForward(Index, ExpressionStops(f, kStopEnd | kStopClose)); break;
    case opGoto: Goto(f, func_.PoolText(ins.operand)); break;
    case opFirst:
    case opLast:
    case opNext:
    case opPrior: CursorMove(f, code); break;
    case opEnd: EndStatement(f); break;
    case opHalt:
        EndStatement(f);
        Stop = true;
        break;
    default: break;  // opBegin and codes that carry no action
    }
}

void Machine::Finish(Frame& f) {
    if (f.Sub) {
        ServeFlags(f);
        if (f.Selector == kSelR2 && f.R2) {
            ApplyPending(f);
            f.Selector = kSelR1;
        }
        if (f.R1) f.Result->AssignFrom(f.R1);
        Stop = false;
    } else if (VAR_* current = f.Current()) {
        f.Result->AssignFrom(current);
    }
}

void Machine::EndActivation(Frame& f) {
    struct DepthBack {
        ~DepthBack() { --TraceLog.Depth; }
    } depthBack;
    if (TraceLog.Enabled()) {
        std::string text;
        try {
            text = f.Result->GetStr();
        } catch (const std::exception&) {
            text = "ERROR";
        }
        TraceLog.Line("~=result@= : " + text);
    }
    Guarded(kNewCleanError, [&] { f.ReleaseAll(); });
}

bool IsRunning(const CFuncVar& function) {
    return std::find(runningFunctions.begin(), runningFunctions.end(), &function) != runningFunctions.end();
}

VAR_* Run(CFuncVar& function, GrafVarArray* startTable) {
    GrafVarArray* locals = function.Locals();
    if (startTable) locals->AppendCopies(*startTable);
    Machine machine(function);
    machine.Index = 0;
    GrafVarArray* previous = ActiveLocals;
    ActiveLocals = locals;
    VAR_* result = nullptr;
    try {
        RunningMark running(function);
        result = machine.Execute(false);
    } catch (const std::exception& error) {
        // ActiveLocals stays on the failed function: the error log shows them.
        const std::string text = NestedErrorText(function.ErrorContext(machine.Index), error.what());
        TraceLog.Flush();
        throw ScriptError(text);
    }
    ActiveLocals = previous;
    locals->Clear();
    if (runningFunctions.empty()) TraceLog.Flush();
    return result;
}
