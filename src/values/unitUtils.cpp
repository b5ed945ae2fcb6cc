// Byte-string helpers: splitting, searching, padding, fixed-point
// formatting and the strict decimal parses used by value conversions.
#include "values/unitUtils.h"

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <stdio.h>  // renameat2
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace {

// Widths and decimal counts come from scripts' format texts; beyond this
// they would only make the helpers allocate without bound.
constexpr int kMaxPadWidth = 65535;

// Digits of the fraction computed in 64-bit arithmetic: 10^(d + 2) must
// stay below 2^63. Further wanted decimals are zeros (a long double holds
// no more significant digits than that anyway).
constexpr int kMaxExactDecimals = 16;

int ClampWidth(int width) { return std::clamp(width, 0, kMaxPadWidth); }

void PadLeft(std::string& text, int width, char filler) {
    const size_t wanted = size_t(ClampWidth(width));
    if (text.size() < wanted) text.insert(0, wanted - text.size(), filler);
}

// The decimal text of trunc(x), which may lie outside the 64-bit range.
std::string IntegerPartText(long double x) {
    const long double whole = std::trunc(x);
    std::string text;
    if (std::fabs(whole) < 9.2e18L) {
        text = std::to_string(static_cast<long long>(whole));
    } else {
        char buffer[6000];
        std::snprintf(buffer, sizeof buffer, "%.0Lf", whole);
        text = buffer;
    }
    if (whole == 0 && x < 0) text = "-0";
    return text;
}

// Adds one to the digit at `pos` and carries toward the left: a "9"
// becomes "0" and carries on, "." is skipped, a blank becomes "1", a "-"
// becomes "1" with the sign moved in front, and a carry out of the first
// character puts "1" in front.
void CarryInto(std::string& text, size_t pos) {
    for (size_t i = pos + 1; i-- > 0;) {
        char& c = text[i];
        if (c == '.') continue;
        if (c == '9') {
            c = '0';
            continue;
        }
        if (c == ' ') {
            c = '1';
        } else if (c == '-') {
            c = '1';
            text.insert(i, 1, '-');
        } else {
            ++c;
        }
        return;
    }
    text.insert(0, 1, '1');
}

// The d + 1 fraction digits (wanted ones and the rounding digit) of x.
std::string FractionDigits(long double x, int decimals) {
    const long double fraction = x - std::trunc(x);
    const long double scaled = std::rint(fraction * static_cast<long double>(IntPower(decimals + 2, 10)));
    const int64_t digits = static_cast<int64_t>(std::fabs(scaled)) / 10;
    std::string text = std::to_string(digits);
    // A fraction that rounds to a whole one: all nines make the carry
    // step raise the integer part and leave zeros behind.
    if (text.size() > size_t(decimals + 1)) return std::string(size_t(decimals + 1), '9');
    PadLeft(text, decimals + 1, '0');
    return text;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Counts the decimal digits starting at `pos`.
size_t DigitRun(std::string_view text, size_t pos) {
    size_t n = 0;
    while (pos + n < text.size() && IsDigit(text[pos + n])) ++n;
    return n;
}

// Mantissa digits with at most one decimal comma (at least one digit),
// then optionally "E" or "e", an optional sign and at least one digit.
bool IsCommaFloatSyntax(std::string_view text) {
    size_t pos = 0;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
    size_t digits = DigitRun(text, pos);
    pos += digits;
    if (pos < text.size() && text[pos] == ',') {
        ++pos;
        const size_t more = DigitRun(text, pos);
        digits += more;
        pos += more;
    }
    if (digits == 0) return false;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        ++pos;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
        const size_t exponent = DigitRun(text, pos);
        if (exponent == 0) return false;
        pos += exponent;
    }
    return pos == text.size();
}

}  // namespace

TextList SplitText(std::string_view text, std::string_view separator) {
    TextList pieces;
    if (separator.empty()) {
        pieces.emplace_back(text);
        return pieces;
    }
    size_t start = 0;
    for (size_t found; (found = text.find(separator, start)) != std::string_view::npos;) {
        pieces.emplace_back(text.substr(start, found - start));
        start = found + separator.size();
    }
    pieces.emplace_back(text.substr(start));
    return pieces;
}

std::string JoinTexts(const TextList& pieces, std::string_view separator) {
    std::string text;
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0) text += separator;
        text += pieces[i];
    }
    return text;
}

void AppendText(TextList& list, std::string text) { list.push_back(std::move(text)); }

int IndexOfText(const TextList& list, std::string_view text) {
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i] == text) return int(i);
    return -1;
}

int LastCharPos(std::string_view text, char c) {
    const size_t found = text.rfind(c);
    return found == std::string_view::npos ? 0 : int(found + 1);
}

// An empty pattern has no meaningful last position: it counts as absent.
int LastPos(std::string_view pattern, std::string_view text) {
    if (pattern.empty() || pattern.size() > text.size()) return 0;
    const size_t found = text.rfind(pattern);
    return found == std::string_view::npos ? 0 : int(found + 1);
}

std::string RepeatText(std::string_view text, uint16_t count) {
    std::string result;
    result.reserve(text.size() * count);
    for (uint16_t i = 0; i < count; ++i) result += text;
    return result;
}

std::string ZeroPad(int width, int64_t value) {
    std::string text = std::to_string(value);
    PadLeft(text, width, '0');
    return text;
}

// Squaring gives the same wrapped product as repeated multiplication
// (multiplication modulo 2^64 is associative) without a loop of
// `exponent` steps.
int64_t IntPower(int exponent, int64_t base) {
    uint64_t result = 1;
    uint64_t factor = uint64_t(base);
    for (int e = std::max(exponent, 0); e > 0; e >>= 1) {
        if (e & 1) result *= factor;
        factor *= factor;
    }
    return int64_t(result);
}

std::string FormatFixed(int width, int decimals, long double x) {
    if (!std::isfinite(x)) {
        std::string text = std::isnan(x) ? "NAN" : (x < 0 ? "-INF" : "INF");
        PadLeft(text, width, ' ');
        return text;
    }
    std::string text = IntegerPartText(x);
    PadLeft(text, width, ' ');
    decimals = std::clamp(decimals, 0, kMaxPadWidth);
    if (decimals == 0) return text;

    const int exact = std::min(decimals, kMaxExactDecimals);
    text += '.';
    text += FractionDigits(x, exact);
    if (text.back() >= '5') CarryInto(text, text.size() - 2);
    text.pop_back();
    text.append(size_t(decimals - exact), '0');
    return text;
}

bool ParseIntText(std::string_view text, int64_t& out) {
    size_t pos = 0;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) pos = 1;
    if (pos == text.size() || DigitRun(text, pos) != text.size() - pos) return false;
    // from_chars takes "-" but not "+"; a leading "+" is simply skipped.
    const char* first = text.data() + (text[0] == '+' ? 1 : 0);
    int64_t value = 0;
    const auto [end, error] = std::from_chars(first, text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return false;
    out = value;
    return true;
}

bool ParseFloatComma(std::string_view text, long double& out) {
    if (!IsCommaFloatSyntax(text)) return false;
    std::string dotted(text[0] == '+' ? text.substr(1) : text);
    std::replace(dotted.begin(), dotted.end(), ',', '.');
    long double value = 0;
    const auto [end, error] = std::from_chars(dotted.data(), dotted.data() + dotted.size(), value);
    if (error != std::errc() || end != dotted.data() + dotted.size()) return false;
    out = value;
    return true;
}

long double ParseFloatDot(std::string_view text) {
    std::string comma(text);
    const size_t dot = comma.find('.');
    if (dot != std::string::npos) comma[dot] = ',';
    long double value = 0;
    return ParseFloatComma(comma, value) ? value : 0;
}

namespace {
constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";

int LetterPosition(char c) {
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    const size_t found = kAlphabet.find(c);
    return found == std::string_view::npos ? 0 : int(found + 1);
}
}  // namespace

std::string ColumnLetters(int column) {
    if (column < 1 || column > 702) return "";
    const int k = column - 1;
    std::string letters(1, kAlphabet[size_t(k % 26)]);
    if (k > 25) letters.insert(0, 1, kAlphabet[size_t(k / 26 - 1)]);
    return letters;
}

// Only the first two characters count; a non-letter second character adds
// nothing ("A1" is 26), as the column arithmetic has always done.
int ColumnNumber(std::string_view letters) {
    if (letters.empty()) return 0;
    const int first = LetterPosition(letters[0]);
    if (first == 0) return 0;
    if (letters.size() == 1) return first;
    return first * 26 + LetterPosition(letters[1]);
}

std::string NativePath(std::string_view name) {
    std::string path(name);
    std::replace(path.begin(), path.end(), '\\', '/');
    if (NativePathFilter) return NativePathFilter(std::move(path));
    return path;
}

// ---------------------------------------------------------------------------
// Whole files and the file class, over POSIX descriptors.

namespace {

std::runtime_error FileError(const char* action, const std::string& name, int error) {
    return std::runtime_error(std::string("Cannot ") + action + " file \"" + name + "\": " + std::strerror(error));
}

// Descriptor 0 is a valid descriptor, but the file class reads a handle of
// 0 as "not open"; when standard input is closed, open() may return it, so
// such a descriptor is moved elsewhere.
int AvoidZero(int fd) {
    if (fd != 0) return fd;
    const int moved = fcntl(fd, F_DUPFD_CLOEXEC, 1);
    close(fd);
    return moved;
}

int OpenRetrying(const std::string& path, int flags, mode_t mode = 0) {
    int fd;
    do fd = open(path.c_str(), flags | O_CLOEXEC, mode);
    while (fd < 0 && errno == EINTR);
    return fd < 0 ? fd : AvoidZero(fd);
}

// Reads until `count` bytes, end of file or an error; -1 only when an
// error came before any byte.
int64_t ReadFully(int fd, char* buffer, int64_t count) {
    int64_t done = 0;
    while (done < count) {
        const ssize_t n = read(fd, buffer + done, size_t(count - done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return done > 0 ? done : -1;
        if (n == 0) break;
        done += n;
    }
    return done;
}

int64_t WriteFully(int fd, const char* buffer, int64_t count) {
    int64_t done = 0;
    while (done < count) {
        const ssize_t n = write(fd, buffer + done, size_t(count - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return done > 0 ? done : -1;
        done += n;
    }
    return done;
}

std::string NamePart(const std::string& path) {
    const size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

bool IsValidOrigin(int origin) { return origin == SEEK_SET || origin == SEEK_CUR || origin == SEEK_END; }

int64_t RegularSize(const struct stat& info) { return S_ISDIR(info.st_mode) ? 0 : int64_t(info.st_size); }

// The size of the first directory entry whose name matches a pattern with
// "*" or "?" (the way a directory search finds a file); 0 when none does.
int64_t SizeOfFirstMatch(const std::string& pattern) {
    const size_t cut = pattern.rfind('/');
    const std::string folder = cut == std::string::npos ? "." : (cut == 0 ? "/" : pattern.substr(0, cut));
    const std::string mask = cut == std::string::npos ? pattern : pattern.substr(cut + 1);
    DIR* dir = opendir(folder.c_str());
    if (!dir) return 0;
    int64_t size = 0;
    while (const dirent* entry = readdir(dir)) {
        if (fnmatch(mask.c_str(), entry->d_name, FNM_PERIOD) != 0) continue;
        struct stat info;
        if (stat((folder + "/" + entry->d_name).c_str(), &info) == 0) size = RegularSize(info);
        break;
    }
    closedir(dir);
    return size;
}

}  // namespace

void ReadFileInPieces(const std::string& name, const std::function<void(std::string_view)>& consume) {
    const int fd = OpenRetrying(NativePath(name), O_RDONLY);
    if (fd < 0) throw FileError("open", name, errno);
    struct Closer {
        int fd;
        ~Closer() { close(fd); }
    } closer{fd};
    std::vector<char> chunk(65536);
    for (;;) {
        const int64_t n = ReadFully(fd, chunk.data(), int64_t(chunk.size()));
        if (n < 0) throw FileError("read", name, errno);
        if (n > 0) consume(std::string_view(chunk.data(), size_t(n)));
        if (n < int64_t(chunk.size())) return;
    }
}

std::string ReadWholeFile(const std::string& name) {
    std::string bytes;
    ReadFileInPieces(name, [&](std::string_view piece) { bytes.append(piece); });
    return bytes;
}

// The bytes go to a temporary file beside the target, which then replaces
// the target in one rename: a failed write never leaves the old file cut
// short. Only where no temporary may be made (a directory we may not
// write) is the file rewritten in place.
WholeFileWriter::WholeFileWriter(const std::string& name) : name_(name), path_(NativePath(name)) {
    temporary_ = path_ + ".~" + std::to_string(getpid());
    fd_ = OpenRetrying(temporary_, O_WRONLY | O_CREAT | O_EXCL, 0666);
    if (fd_ >= 0) return;
    const int error = errno;
    temporary_.clear();
    if (error != EACCES && error != EPERM && error != EROFS) throw FileError("create", name_, error);
    fd_ = OpenRetrying(path_, O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd_ < 0) throw FileError("create", name_, errno);
}

WholeFileWriter::~WholeFileWriter() {
    if (fd_ < 0) return;
    close(fd_);
    if (!temporary_.empty()) unlink(temporary_.c_str());
}

void WholeFileWriter::Append(std::string_view bytes) {
    if (buffer_.size() + bytes.size() < kFlushSize) {
        buffer_.append(bytes);
        return;
    }
    Flush();
    if (bytes.size() >= kFlushSize) WriteOut(bytes);  // large pieces skip the buffer
    else buffer_.append(bytes);
}

void WholeFileWriter::Flush() {
    WriteOut(buffer_);
    buffer_.clear();
}

void WholeFileWriter::WriteOut(std::string_view bytes) {
    errno = 0;
    const int64_t written = WriteFully(fd_, bytes.data(), int64_t(bytes.size()));
    if (written != int64_t(bytes.size())) throw FileError("write", name_, errno != 0 ? errno : ENOSPC);
}

void WholeFileWriter::Commit() {
    Flush();
    // close() reports delayed write errors (full disks on network file
    // systems), so its result counts as much as write()'s.
    const int fd = fd_;
    fd_ = -1;
    if (close(fd) != 0) {
        const int error = errno;
        if (!temporary_.empty()) unlink(temporary_.c_str());
        throw FileError("write", name_, error);
    }
    if (temporary_.empty() || rename(temporary_.c_str(), path_.c_str()) == 0) return;
    const int error = errno;
    unlink(temporary_.c_str());
    throw FileError("write", name_, error);
}

void WriteWholeFile(const std::string& name, std::string_view bytes) {
    WholeFileWriter writer(name);
    writer.Append(bytes);
    writer.Commit();
}

bool TFileHandle::Exists(const std::string& name) {
    struct stat info;
    return stat(NativePath(name).c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

// Renaming never replaces an existing file: the file under the new name
// would be lost silently. Callers that mean to replace erase it first.
bool TFileHandle::Rename(const std::string& oldName, const std::string& newName) {
    const std::string from = NativePath(oldName);
    const std::string to = NativePath(newName);
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // File systems without the no-replace flag: check, then rename.
    struct stat info;
    if (lstat(to.c_str(), &info) == 0) return false;
    return rename(from.c_str(), to.c_str()) == 0;
}

bool TFileHandle::Erase(const std::string& name) { return unlink(NativePath(name).c_str()) == 0; }

int64_t TFileHandle::SizeOfFile(const std::string& name) {
    const std::string path = NativePath(name);
    struct stat info;
    if (stat(path.c_str(), &info) == 0) return RegularSize(info);
    if (path.find_first_of("*?") != std::string::npos) return SizeOfFirstMatch(path);
    return 0;
}

bool TFile::Open(const std::string& path, int mode) {
    Close();
    int flags;
    switch (mode) {
        case kRead: flags = O_RDONLY; break;
        case kWrite: flags = O_WRONLY; break;
        case kReadWrite: flags = O_RDWR; break;
        default: return false;
    }
    const int fd = OpenRetrying(NativePath(path), flags);
    if (fd < 0) return false;
    Handle = fd;
    FilePath = path;
    FileName = NamePart(path);
    return true;
}

bool TFile::Recreate(const std::string& path) {
    Close();
    const int fd = OpenRetrying(NativePath(path), O_RDWR | O_CREAT | O_TRUNC, 0666);
    if (fd < 0) return false;
    Handle = fd;
    FilePath = path;
    FileName = NamePart(path);
    return true;
}

int64_t TFile::Read(void* buffer, int64_t count) {
    if (!IsOpen() || count < 0) return -1;
    return ReadFully(Handle, static_cast<char*>(buffer), count);
}

int64_t TFile::Write(const void* buffer, int64_t count) {
    if (!IsOpen() || count < 0) return -1;
    return WriteFully(Handle, static_cast<const char*>(buffer), count);
}

// A position that does not fit the 32-bit result is reported as -1 rather
// than cut to a wrong position.
int32_t TFile::Seek(int32_t offset, int origin) {
    const int64_t position = Seek64(offset, origin);
    return position > std::numeric_limits<int32_t>::max() ? -1 : int32_t(position);
}

int64_t TFile::Seek64(int64_t offset, int origin) {
    if (!IsOpen() || !IsValidOrigin(origin)) return -1;
    return int64_t(lseek(Handle, off_t(offset), origin));
}

void TFile::Close() {
    if (IsOpen()) close(Handle);
    Handle = 0;
    FileName.clear();
    FilePath.clear();
}

// An open file is measured through its descriptor, which still holds when
// the file was renamed meanwhile.
int64_t TFile::GetSize() {
    struct stat info;
    if (IsOpen() && fstat(Handle, &info) == 0) return RegularSize(info);
    return SizeOfFile(FilePath);
}

TFileHandle* NewFileObject() { return new TFile(); }
