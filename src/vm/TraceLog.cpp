#include "vm/TraceLog.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "values/ScriptError.h"

TraceLogFile TraceLog;

namespace {

// A log file rotates past 250,000 bytes, so the buffer holds about one
// file: one write per file.
constexpr size_t kFlushAt = 1 << 18;

bool TraceWanted() {
    const char* setting = std::getenv("SCRIPTRUN_TRACE");
    return !(setting && std::strcmp(setting, "off") == 0);
}

// The counter in decimal, three digits with leading zeros (it is 8-bit).
std::string RotationName(uint8_t counter) {
    const char digits[] = {char('0' + counter / 100), char('0' + counter / 10 % 10), char('0' + counter % 10), '\0'};
    return std::string("resultTestRunVar") + digits + ".log";
}

}  // namespace

void TraceLogFile::Open() {
    Close();
    Depth = 0;
    RotationCounter = 0;
    if (!TraceWanted()) return;
    file_ = std::fopen("resultTestRunVar.log", "wb");
    Unbuffer();
    written_ = 0;
}

void TraceLogFile::Close() {
    if (!file_) return;
    Flush();
    std::fclose(file_);
    file_ = nullptr;
}

void TraceLogFile::Require(bool ok) {
    if (!ok) throw ScriptError(std::string("trace log write failed: ") + std::strerror(errno));
}

void TraceLogFile::Appended(size_t bytes) {
    written_ += int64_t(bytes);
    if (buffer_.size() >= kFlushAt) Flush();
}

// Our buffer is the only one: each flush is one write call.
void TraceLogFile::Unbuffer() {
    if (file_) std::setvbuf(file_, nullptr, _IONBF, 0);
}

void TraceLogFile::Line(std::string_view text) {
    if (!file_) return;
    const size_t start = buffer_.size();
    buffer_.append(size_t(Depth) * 3, ' ');
    buffer_ += text;
    buffer_ += '\n';
    Appended(buffer_.size() - start);
}

void TraceLogFile::Flush() {
    if (!file_ || buffer_.empty()) return;
    const size_t size = buffer_.size();
    const size_t n = std::fwrite(buffer_.data(), 1, size, file_);
    buffer_.clear();
    Require(n == size && std::fflush(file_) == 0);
}

void TraceLogFile::RotateIfDue() {
    if (!file_ || written_ <= kRotateAbove) return;
    Flush();
    std::fclose(file_);
    ++RotationCounter;
    file_ = std::fopen(RotationName(RotationCounter).c_str(), "wb");
    written_ = 0;
    Require(file_ != nullptr);
    Unbuffer();
}
