#include "compiler/ImageFile.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "compiler/CFuncVar.h"
#include "values/ScriptError.h"
#include "values/unitUtils.h"

namespace {

constexpr char kMagic[] = {'s', 'B', 'D'};
constexpr uint8_t kVersion = 2;
constexpr size_t kHeaderSize = 16;
constexpr size_t kTrailerSize = 4;
constexpr size_t kMaxPoolText = 255;
constexpr size_t kMaxPoolEntries = 65536;
constexpr int32_t kMaxLabelPosition = 0xFFFFFF;

// ---- writing ----

void PutBytes(std::string& out, uint64_t value, int width) {
    for (int i = 0; i < width; ++i) out += char((value >> (8 * i)) & 0xFF);
}

// The pool as written: the function's pool plus the label names it lacks.
std::vector<std::string> PoolWithLabelNames(const CFuncVar& func,
                                            std::unordered_map<std::string, size_t>& firstIndex) {
    std::vector<std::string> pool = func.Pool();
    for (size_t i = 0; i < pool.size(); ++i) firstIndex.try_emplace(pool[i], i);
    for (const LabelRec& label : func.Labels()) {
        if (firstIndex.try_emplace(label.name, pool.size()).second) pool.push_back(label.name);
    }
    return pool;
}

void CheckFitsFormat(const CFuncVar& func, const std::vector<std::string>& pool) {
    for (const std::string& text : pool)
        if (text.size() > kMaxPoolText)
            throw ScriptError("cannot save: an operand text is longer than 255 bytes: \"" +
                              text.substr(0, 40) + "...\"");
    if (pool.size() > kMaxPoolEntries)
        throw ScriptError("cannot save: more than 65536 operand texts and label names");
    for (const LabelRec& label : func.Labels())
        if (label.position < 0 || label.position > kMaxLabelPosition)
            throw ScriptError("cannot save: label \"" + label.name + "\" lies beyond 24-bit positions");
}

// ---- reading ----

// Bounded reads over the image bytes; running out is an error.
class ImageReader {
public:
    explicit ImageReader(std::string_view bytes) : bytes_(bytes) {}

    uint64_t Number(int width, const char* what) {
        Need(size_t(width), what);
        uint64_t value = 0;
        for (int i = 0; i < width; ++i) value |= uint64_t(uint8_t(bytes_[offset_ + size_t(i)])) << (8 * i);
        offset_ += size_t(width);
        return value;
    }
    std::string Text(size_t length, const char* what) {
        Need(length, what);
        std::string text(bytes_.substr(offset_, length));
        offset_ += length;
        return text;
    }
    size_t Remaining() const { return bytes_.size() - offset_; }

private:
    void Need(size_t count, const char* what) const {
        if (Remaining() < count)
            throw ScriptError(std::string("image file ends early: ") + what + " at byte " +
                              std::to_string(offset_));
    }

    std::string_view bytes_;
    size_t offset_ = 0;
};

[[noreturn]] void Damaged(const std::string& what) {
    throw ScriptError("image file is damaged: " + what);
}

struct ImageCounts {
    uint64_t instructions = 0;
    uint64_t labels = 0;
    uint64_t pool = 0;
};

// Every entry takes at least one byte (a label five), so counts that the
// file cannot hold are refused before anything is allocated for them.
void CheckCountsFit(const ImageCounts& counts, size_t fileSize) {
    if (counts.instructions > uint64_t(INT32_MAX) || counts.labels > uint64_t(INT32_MAX))
        Damaged("its header counts more instructions or labels than a function can hold");
    const uint64_t least = kHeaderSize + counts.pool + 5 * counts.labels + counts.instructions + kTrailerSize;
    if (least > fileSize)
        Damaged("its header counts " + std::to_string(counts.instructions) + " instructions, " +
                std::to_string(counts.labels) + " labels and " + std::to_string(counts.pool) +
                " pool entries, more than its " + std::to_string(fileSize) + " bytes can hold");
}

std::vector<std::string> ReadPool(ImageReader& in, uint64_t count) {
    std::vector<std::string> pool;
    pool.reserve(size_t(count));
    for (uint64_t i = 0; i < count; ++i) {
        const auto length = size_t(in.Number(1, "pool entry length"));
        pool.push_back(in.Text(length, "pool entry text"));
    }
    return pool;
}

std::vector<LabelRec> ReadLabels(ImageReader& in, const ImageCounts& counts,
                                 const std::vector<std::string>& pool) {
    std::vector<LabelRec> labels;
    labels.reserve(size_t(counts.labels));
    for (uint64_t i = 0; i < counts.labels; ++i) {
        const uint64_t entry = in.Number(2, "label name index");
        const uint64_t position = in.Number(3, "label position");
        if (entry >= pool.size())
            Damaged("label " + std::to_string(i) + " names pool entry " + std::to_string(entry) +
                    " of " + std::to_string(pool.size()));
        if (position >= counts.instructions)
            Damaged("label \"" + pool[size_t(entry)] + "\" marks instruction " + std::to_string(position) +
                    " of " + std::to_string(counts.instructions));
        labels.push_back(LabelRec{pool[size_t(entry)], int32_t(position)});
    }
    return labels;
}

std::vector<Instruction> ReadCode(ImageReader& in, uint64_t count, size_t poolSize) {
    std::vector<Instruction> code;
    code.reserve(size_t(count));
    for (uint64_t i = 0; i < count; ++i) {
        Instruction instruction;
        instruction.opcode = uint16_t(in.Number(1, "opcode"));
        if (HasOwnOperand(instruction.opcode)) {
            const uint64_t operand = in.Number(2, "operand");
            if (operand >= poolSize)
                Damaged("instruction " + std::to_string(i) + " names pool entry " + std::to_string(operand) +
                        " of " + std::to_string(poolSize));
            instruction.operand = uint16_t(operand);
        }
        code.push_back(instruction);
    }
    return code;
}

// A block start's operand is the decimal index of its end; the machine
// jumps there, so it must lie inside the code.
void CheckBlockLinks(const std::vector<Instruction>& code, const std::vector<std::string>& pool) {
    for (size_t i = 0; i < code.size(); ++i) {
        if (code[i].opcode != opBegin) continue;
        const std::string& link = pool[code[i].operand];
        uint64_t target = 0;
        bool valid = !link.empty() && link.size() <= 10;
        for (char c : link) {
            valid = valid && c >= '0' && c <= '9';
            if (valid) target = target * 10 + uint64_t(c - '0');
        }
        if (!valid || target >= code.size())
            Damaged("block start " + std::to_string(i) + " links to \"" + link.substr(0, 20) +
                    "\", outside its " + std::to_string(code.size()) + " instructions");
    }
}

}  // namespace

std::string EncodeImage(const CFuncVar& func) {
    std::unordered_map<std::string, size_t> firstIndex;
    const std::vector<std::string> pool = PoolWithLabelNames(func, firstIndex);
    CheckFitsFormat(func, pool);

    std::string out(kMagic, sizeof kMagic);
    out += char(kVersion);
    PutBytes(out, uint64_t(func.InstructionCount()), 4);
    PutBytes(out, uint64_t(func.LabelCount()), 4);
    PutBytes(out, pool.size(), 4);
    for (const std::string& text : pool) {
        PutBytes(out, text.size(), 1);
        out += text;
    }
    for (const LabelRec& label : func.Labels()) {
        PutBytes(out, firstIndex.at(label.name), 2);
        PutBytes(out, uint64_t(label.position), 3);
    }
    for (const Instruction& instruction : func.Code()) {
        PutBytes(out, instruction.opcode, 1);
        if (HasOwnOperand(instruction.opcode)) PutBytes(out, instruction.operand, 2);
    }
    PutBytes(out, out.size(), kTrailerSize);
    return out;
}

void SaveImage(const CFuncVar& func, const std::string& fileName) {
    WriteWholeFile(NativePath(fileName), EncodeImage(func));
}

std::unique_ptr<CFuncVar> DecodeImage(const std::string& name, std::string_view bytes) {
    auto func = std::make_unique<CFuncVar>(name);
    ImageReader in(bytes);
    const std::string magic = in.Text(3, "header");
    const auto version = uint8_t(in.Number(1, "header"));
    ImageCounts counts;
    counts.instructions = in.Number(4, "header");
    counts.labels = in.Number(4, "header");
    counts.pool = in.Number(4, "header");
    if (magic != std::string_view(kMagic, sizeof kMagic) || version != kVersion) return func;

    CheckCountsFit(counts, bytes.size());
    std::vector<std::string> pool = ReadPool(in, counts.pool);
    std::vector<LabelRec> labels = ReadLabels(in, counts, pool);
    std::vector<Instruction> code = ReadCode(in, counts.instructions, pool.size());
    const uint64_t trailer = in.Number(4, "trailer");
    if (bytes.size() != trailer + kTrailerSize) throw ScriptError("Size file not corected save");
    CheckBlockLinks(code, pool);
    func->SetImage(std::move(pool), std::move(labels), std::move(code));
    return func;
}

std::unique_ptr<CFuncVar> LoadImage(const std::string& name, const std::string& fileName) {
    return DecodeImage(name, ReadWholeFile(NativePath(fileName)));
}
