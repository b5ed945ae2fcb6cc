#include "compiler/CFuncVar.h"

#include <utility>

#include "compiler/Compiler.h"
#include "values/GrafArray.h"
#include "values/ScriptError.h"

namespace {

const std::string kEmptyText;

}  // namespace

CFuncVar::CFuncVar(std::string name)
    : name_(std::move(name)), locals_(std::make_unique<GrafVarArray>()) {}

CFuncVar::CFuncVar(std::string name, std::string_view scriptText) : CFuncVar(std::move(name)) {
    try {
        CompileScript(*this, scriptText);
    } catch (const std::exception& error) {
        throw ScriptError(NestedErrorText("compilings Error", error.what()));
    }
}

CFuncVar::~CFuncVar() = default;

const std::string& CFuncVar::OperandText(int32_t index) const {
    if (index < 0 || index >= InstructionCount()) return kEmptyText;
    return PoolText(code_[size_t(index)].operand);
}

const std::string& CFuncVar::PoolText(uint16_t entry) const {
    return entry < pool_.size() ? pool_[entry] : kEmptyText;
}

int32_t CFuncVar::FindLabel(std::string_view name) const {
    const auto found = labelByName_.find(name);
    return found == labelByName_.end() ? -1 : found->second;
}

std::string CFuncVar::LabelAt(int32_t position) const {
    const auto found = labelByPosition_.find(position);
    return found == labelByPosition_.end() ? std::string() : labels_[found->second].name;
}

void CFuncVar::IndexLabel(size_t label) {
    labelByName_.try_emplace(labels_[label].name, labels_[label].position);
    if (labels_[label].position >= 0) labelByPosition_.try_emplace(labels_[label].position, label);
}

void CFuncVar::ResetImage() {
    code_.clear();
    labels_.clear();
    labelByName_.clear();
    labelByPosition_.clear();
    pool_.clear();
    poolIndex_.clear();
    AddToPool(kNoOperand);
}

void CFuncVar::SetImage(std::vector<std::string> pool, std::vector<LabelRec> labels,
                        std::vector<Instruction> code) {
    pool_ = std::move(pool);
    labels_ = std::move(labels);
    code_ = std::move(code);
    RebuildPoolIndex();
    labelByName_.clear();
    labelByPosition_.clear();
    for (size_t i = 0; i < labels_.size(); ++i) IndexLabel(i);
}

void CFuncVar::RebuildPoolIndex() {
    poolIndex_.clear();
    // A loaded pool may hold equal texts; interning finds the first one.
    for (size_t i = 0; i < pool_.size() && i <= 0xFFFF; ++i)
        poolIndex_.try_emplace(pool_[i], uint16_t(i));
}

uint16_t CFuncVar::AddToPool(std::string_view text) {
    if (auto found = poolIndex_.find(text); found != poolIndex_.end()) return found->second;
    // Operands are 16 bits wide: entry 65535 is the last one addressable.
    if (pool_.size() > 0xFFFF)
        throw ScriptError("too many distinct operand texts in one function (at most 65536)");
    const auto entry = uint16_t(pool_.size());
    pool_.emplace_back(text);
    poolIndex_.emplace(pool_.back(), entry);
    return entry;
}

void CFuncVar::Emit(uint16_t opcode) {
    Emit(opcode, kNoOperand);
}

void CFuncVar::Emit(uint16_t opcode, std::string_view operand) {
    if (code_.size() >= size_t(INT32_MAX)) throw ScriptError("function too long");
    code_.push_back(Instruction{AddToPool(operand), opcode});
}

void CFuncVar::SetOperand(int32_t index, std::string_view operand) {
    code_.at(size_t(index)).operand = AddToPool(operand);
}

void CFuncVar::DefineLabel(std::string name) {
    labels_.push_back(LabelRec{std::move(name), InstructionCount()});
    IndexLabel(labels_.size() - 1);
    Emit(opEnd);
}

void CFuncVar::AppendCode(const CFuncVar& other) {
    const int32_t count = other.InstructionCount();
    for (int32_t i = 0; i + 1 < count; ++i)
        Emit(other.code_[size_t(i)].opcode, other.OperandText(i));
}
