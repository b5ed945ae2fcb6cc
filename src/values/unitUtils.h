// Byte-string helpers and the file class shared by the value model, the
// compiler, the virtual machine and the table engine.
#pragma once

#include <charconv>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

using TextList = std::vector<std::string>;

TextList SplitText(std::string_view text, std::string_view separator);
std::string JoinTexts(const TextList& pieces, std::string_view separator);
void AppendText(TextList& list, std::string text);
int IndexOfText(const TextList& list, std::string_view text);  // 0-based, -1 when none
int LastCharPos(std::string_view text, char c);                // 1-based, 0 when none
int LastPos(std::string_view pattern, std::string_view text);  // 1-based, 0 when none
std::string RepeatText(std::string_view text, uint16_t count);
std::string ZeroPad(int width, int64_t value);
int64_t IntPower(int exponent, int64_t base);  // wrapping
std::string FormatFixed(int width, int decimals, long double x);
long double ParseFloatDot(std::string_view text);  // "." accepted as the decimal comma; 0 when invalid

// Decimal parses used by conversions: the whole text must be valid (no
// blanks). ParseIntText takes an optional sign and decimal digits and reads
// the full 64-bit range; callers that want 32 bits check the range.
bool ParseIntText(std::string_view text, int64_t& out);
bool ParseFloatComma(std::string_view text, long double& out);  // decimal comma

// Spreadsheet columns 1..702 <-> "A".."ZZ"; out of range gives "" / 0.
std::string ColumnLetters(int column);
int ColumnNumber(std::string_view letters);

// A script's file name as the file system wants it: "\" separates
// directories here too.
std::string NativePath(std::string_view name);
// When set, every path NativePath gives out passes through it first, so a
// test harness can keep arbitrary scripts inside a scratch directory.
using PathFilter = std::string (*)(std::string path);
inline PathFilter NativePathFilter = nullptr;

// Appends the decimal text of `value` (as std::to_string writes it).
inline void AppendDecimal(std::string& out, int64_t value) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, size_t(end - digits));
}

// Whole-file helpers; they throw std::runtime_error with the file system's
// error text (strerror) on failure.
std::string ReadWholeFile(const std::string& name);
// Reads the file in pieces of up to 64 KiB, each handed to `consume` in
// order, so a large file never has to fit in memory. Open and read
// failures throw std::runtime_error; what `consume` throws passes through.
void ReadFileInPieces(const std::string& name, const std::function<void(std::string_view)>& consume);
void WriteWholeFile(const std::string& name, std::string_view bytes);

// Writes a file piece by piece into a temporary beside it, which replaces
// the file only at Commit: a write that fails (or is abandoned, when the
// writer dies without Commit) leaves the old file as it was. Where no
// temporary may be made (a directory we may not write) the file itself is
// rewritten. Failures throw std::runtime_error as above.
class WholeFileWriter {
public:
    explicit WholeFileWriter(const std::string& name);
    WholeFileWriter(const WholeFileWriter&) = delete;
    WholeFileWriter& operator=(const WholeFileWriter&) = delete;
    ~WholeFileWriter();
    void Append(std::string_view bytes);
    void Commit();

private:
    static constexpr size_t kFlushSize = 1 << 20;
    void Flush();
    void WriteOut(std::string_view bytes);
    std::string name_, path_, temporary_;  // temporary_ empty: writing in place
    std::string buffer_;
    int fd_ = -1;
};

// Thin file handle over POSIX descriptors. Failures are reported through
// results (false, short counts, -1 positions); callers decide what to say.
class TFileHandle {
public:
    virtual ~TFileHandle() = default;
    virtual bool Open(const std::string& path, int mode) = 0;
    virtual bool IsOpen() const = 0;
    virtual bool Recreate(const std::string& path) = 0;
    virtual int64_t Read(void* buffer, int64_t count) = 0;
    virtual int64_t Write(const void* buffer, int64_t count) = 0;
    virtual int32_t Seek(int32_t offset, int origin) = 0;
    virtual int64_t Seek64(int64_t offset, int origin) = 0;
    virtual void Close() = 0;
    virtual int64_t GetSize() = 0;

    static bool Exists(const std::string& name);
    // Never replaces an existing file under the new name (false then).
    static bool Rename(const std::string& oldName, const std::string& newName);
    static bool Erase(const std::string& name);
    static int64_t SizeOfFile(const std::string& name);
};

class TFile : public TFileHandle {
public:
    // Open modes (the callers' access choice).
    static constexpr int kRead = 0;
    static constexpr int kWrite = 1;
    static constexpr int kReadWrite = 2;

    TFile() = default;
    TFile(const TFile&) = delete;
    TFile& operator=(const TFile&) = delete;
    ~TFile() override { Close(); }

    bool Open(const std::string& path, int mode) override;
    bool IsOpen() const override { return Handle > 0; }
    bool Recreate(const std::string& path) override;
    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int32_t Seek(int32_t offset, int origin) override;
    int64_t Seek64(int64_t offset, int origin) override;
    void Close() override;
    int64_t GetSize() override;

    std::string FileName;  // name part of the path
    std::string FilePath;  // path as given
    int Handle = 0;        // 0 or less: not open
};

TFileHandle* NewFileObject();
