// A compiled function: the contract between the compiler, the image file
// and the virtual machine.
//
// The code is a flat list of instructions close to the source: every
// operand and operator of an expression is one instruction, in source order,
// and the machine evaluates them left to right. Control flow uses blocks
// (opBegin carries the decimal index of its opBlockEnd), opIf/opThen/opElse
// and opGoto with a label name. Every operand is an index into the pool of
// operand texts; entry 0 is the one-character text "\x01" and is the operand
// of every instruction without an operand of its own.
//
// Guarantees of compiled code (images loaded from files are checked for the
// parts the machine must rely on):
//  - the last instruction is opHalt;
//  - every opBegin's operand is the decimal index of its opBlockEnd, blocks
//    nest properly and are all closed;
//  - every label marks an opEnd whose operand is pool entry 0;
//  - only codes 0..4, 64 and 69 have an operand other than pool entry 0.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "compiler/OpCodes.h"

class GrafVarArray;

// Hashing that lets the pool index be searched with a string_view.
struct PoolTextHash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};

struct Instruction {
    uint16_t operand = 0;  // index into the pool
    uint16_t opcode = 0;   // an OpCode; only 0..255 occur
};

struct LabelRec {
    std::string name;      // as written in the source, or a generated loop label
    int32_t position = 0;  // index of the instruction (an opEnd) it marks
};

// The text of pool entry 0: the operand of instructions without one.
inline constexpr std::string_view kNoOperand = "\x01";

class CFuncVar {
public:
    // An empty function: no code, no labels, an empty pool, empty locals.
    explicit CFuncVar(std::string name);
    // Compiles the script text. A failure raises ScriptError with
    // "compilings Error" + "\r\n<  " + the compiler's text.
    CFuncVar(std::string name, std::string_view scriptText);
    ~CFuncVar();
    CFuncVar(const CFuncVar&) = delete;
    CFuncVar& operator=(const CFuncVar&) = delete;

    const std::string& Name() const { return name_; }

    const std::vector<Instruction>& Code() const { return code_; }
    const std::vector<LabelRec>& Labels() const { return labels_; }
    const std::vector<std::string>& Pool() const { return pool_; }
    int32_t InstructionCount() const { return int32_t(code_.size()); }
    int32_t LabelCount() const { return int32_t(labels_.size()); }
    int32_t PoolCount() const { return int32_t(pool_.size()); }

    // The operand text of instruction `index`; empty when out of range.
    const std::string& OperandText(int32_t index) const;
    // The pool text at `entry`; empty when out of range.
    const std::string& PoolText(uint16_t entry) const;

    // The function's local variables, owned by it; created empty with it.
    GrafVarArray* Locals() const { return locals_.get(); }

    // First label named exactly `name`: its position, or -1.
    int32_t FindLabel(std::string_view name) const;
    // Name of the first label at `position`; empty when none.
    std::string LabelAt(int32_t position) const;

    // The code around instruction `index` for a runtime error message: the
    // number of the statement before it, a line break, then the statement
    // with that instruction marked between "#=>" and "<=#".
    std::string ErrorContext(int32_t index) const;

    // --- building ---

    // Back to the start of compilation: pool {"\x01"}, no code, no labels.
    void ResetImage();
    // Replaces the whole image (used by the image loader). The caller has
    // checked that every operand lies inside the pool.
    void SetImage(std::vector<std::string> pool, std::vector<LabelRec> labels,
                  std::vector<Instruction> code);

    // Interning: the index of an equal pool text, or the text appended.
    // Throws ScriptError when the 16-bit operand space is exhausted.
    uint16_t AddToPool(std::string_view text);
    void Emit(uint16_t opcode);                            // operand: pool entry 0
    void Emit(uint16_t opcode, std::string_view operand);  // operand interned
    void SetOperand(int32_t index, std::string_view operand);
    // A label at the current position, marking an opEnd emitted for it.
    void DefineLabel(std::string name);

    // Appends `other`'s instructions except its last one (its final opHalt),
    // re-interning every operand text in this pool. opBegin links are not
    // adjusted: only code without blocks is spliced.
    void AppendCode(const CFuncVar& other);

private:
    void RebuildPoolIndex();
    void IndexLabel(size_t label);


    std::string name_;
    std::vector<Instruction> code_;
    std::vector<LabelRec> labels_;
    std::vector<std::string> pool_;
    std::unordered_map<std::string, uint16_t, PoolTextHash, std::equal_to<>> poolIndex_;  // text -> first entry
    // First label of each name and at each position, so that goto and the
    // listing do not search the whole label table.
    std::unordered_map<std::string, int32_t, PoolTextHash, std::equal_to<>> labelByName_;
    std::unordered_map<int32_t, size_t> labelByPosition_;
    std::unique_ptr<GrafVarArray> locals_;
};
