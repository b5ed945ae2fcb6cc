#include "dbf/DBF_Log.h"

#include "dbf/DBF_Error.h"
#include "values/oledate.h"

namespace {

std::string EventLine(uint32_t recNo, std::string_view event) {
    return LogTimeText() + " " + std::to_string(recNo) + "|||" + std::string(event) + "\r\n";
}

}  // namespace

std::string LogTimeText() {
    const double now = OleNow();
    return DateText(now) + " " + TimeText(now);
}

bool TLog::Open(const std::string& path) {
    pending_.clear();
    if (!file_.Open(path, TFile::kWrite)) return false;
    if (file_.Seek64(0, 2) < 0) {
        file_.Close();
        return false;
    }
    return true;
}

void TLog::Close() {
    file_.Close();
    pending_.clear();
}

void TLog::WriteRaw(std::string_view bytes) {
    if (!file_.IsOpen()) return;
    if (file_.Seek64(0, 2) < 0 || file_.Write(bytes.data(), int64_t(bytes.size())) != int64_t(bytes.size()))
        throw TDBFError("Cannot write log file \"" + file_.FilePath + "\"");
}

void TLog::AddPending(uint32_t recNo, std::string_view event) {
    if (file_.IsOpen()) pending_ += EventLine(recNo, event);
}

void TLog::FlushPending(uint32_t recNo) {
    if (pending_.empty()) return;
    std::string lines = std::move(pending_);
    pending_.clear();
    lines += EventLine(recNo, "Write Data");
    WriteRaw(lines);
}

void TLog::WriteEvent(uint32_t recNo, std::string_view event) { WriteRaw(EventLine(recNo, event)); }

void TLog::WriteMessage(std::string_view message) { WriteRaw(LogTimeText() + std::string(message) + "\r\n"); }

void AppendLogLine(const std::string& path, std::string_view message, bool create) {
    TFile file;
    const bool opened = TFile::Exists(path) ? file.Open(path, TFile::kWrite) : (create && file.Recreate(path));
    if (!opened) {
        if (TFile::Exists(path) || create) throw TDBFError("Cannot write log file \"" + path + "\"");
        return;
    }
    const std::string line = LogTimeText() + std::string(message) + "\r\n";
    if (file.Seek64(0, 2) < 0 || file.Write(line.data(), int64_t(line.size())) != int64_t(line.size()))
        throw TDBFError("Cannot write log file \"" + path + "\"");
}
