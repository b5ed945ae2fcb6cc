// The tree text file ("#File of Dir"): Save and Load.
//
// Layout, Windows-1251 text, every line ending with CR LF (bytes 13 10):
//   1  "#File of Dir"
//   2  "#  version:1.1"
//   3  "#  Type Save: 0 (Save to text)"
//   4  "#  Size Date: " + the number of node slots in the tree, in decimal
//   5  "#  Name Tree: " + the root's name
//   6  (empty)
//   7  "AUTO " + the name counter, in decimal
//   8  "> " + the root's name
//   9… one line per node slot, depth first, each directory's children right
//      after it: "|" × (depth − 1), a kind mark ('+' directory, '-' leaf,
//      '#' empty slot), one space, the node's text ("Null" for an empty slot).
//      Depth 1 is a child of the root. Node data are not stored.
#include <algorithm>
#include <string>

#include "tree/sTree.h"
#include "values/ScriptError.h"
#include "values/codepage.h"
#include "values/unitUtils.h"

namespace {

constexpr const char* kLineEnd = "\r\n";

void AppendLine(std::string& out, std::string_view text) {
    out += text;
    out += kLineEnd;
}

void AppendNodeLine(std::string& out, size_t depth, const TreeClass* node) {
    out.append(depth - 1, '|');
    if (!node) {
        out += "# Null";
    } else {
        out += node->AsDir() ? "+ " : "- ";
        out += node->GetText();
    }
    out += kLineEnd;
}

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// Splits file bytes, fed piece by piece, into lines ending with CR LF, LF
// or CR. Only the unfinished last line is kept between pieces.
class LineSplitter {
public:
    template <class OnLine>
    void Feed(std::string_view piece, OnLine&& onLine) {
        pending_.append(piece);
        size_t start = 0;
        for (;;) {
            const size_t end = pending_.find_first_of("\r\n", start);
            if (end == std::string::npos) break;
            // A CR at the end of the piece may be the first half of CR LF.
            if (pending_[end] == '\r' && end + 1 == pending_.size()) break;
            const bool crLf = pending_[end] == '\r' && pending_[end + 1] == '\n';
            ++number_;
            onLine(std::string_view(pending_).substr(start, end - start));
            start = end + (crLf ? 2 : 1);
        }
        pending_.erase(0, start);
    }
    // The last line, when the file does not end with a line end.
    template <class OnLine>
    void Finish(OnLine&& onLine) {
        if (pending_.empty()) return;
        if (pending_.back() == '\r') pending_.pop_back();
        ++number_;
        onLine(std::string_view(pending_));
        pending_.clear();
    }
    size_t Number() const { return number_; }

private:
    std::string pending_;
    size_t number_ = 0;
};

// A line's key and value: split at the first space, both trimmed; a line
// without a space, or that begins with '#', is all key.
void SplitLine(std::string_view line, std::string_view& key, std::string_view& value) {
    const size_t space = line.find(' ');
    if (space == std::string_view::npos || (!line.empty() && line.front() == '#')) {
        key = Trimmed(line);
        value = {};
    } else {
        key = Trimmed(line.substr(0, space));
        value = Trimmed(line.substr(space + 1));
    }
}

// Where the loader stands: the current directory and its path, a text of
// ">"-separated child numbers (one per level below the root).
struct LoadPosition {
    TreeDir* dir;
    std::string path;
    std::vector<size_t> segmentStarts;

    // Levels as the format counts them: -1 for the empty path.
    int64_t Level() const { return segmentStarts.empty() ? -1 : int64_t(segmentStarts.size()); }

    void Reset(TreeDir* root) {
        dir = root;
        path.clear();
        segmentStarts.clear();
    }
    // One level down, into the current directory's last child. False when
    // that child is not a directory: the line is deeper than the file's
    // structure allows.
    bool Descend() {
        const uint32_t count = dir->ChildCount();
        TreeClass* last = count ? dir->Items.back().get() : nullptr;
        TreeDir* next = last ? last->AsDir() : nullptr;
        if (!next) return false;
        segmentStarts.push_back(path.size());
        path += '>';
        path += std::to_string(count);
        dir = next;
        return true;
    }
    void Ascend() {
        path.resize(segmentStarts.back());
        segmentStarts.pop_back();
        dir = dir->Parent;
    }
};

std::string LineError(const std::string& fileName, size_t line, const std::string& text) {
    return "Tree file \"" + fileName + "\", line " + std::to_string(line) + ": " + text;
}

}  // namespace

// Lines are gathered a megabyte at a time and written out, so a deep tree
// (whose lines grow with the depth) never needs its whole file in memory.
void TTree::Save(const std::string& fileName) const {
    try {
        WholeFileWriter writer(fileName);
        WriteLines(writer);
        writer.Commit();
    } catch (const std::exception& e) {
        throw ScriptError(NestedErrorText("Tree save error", e.what()));
    }
}

void TTree::WriteLines(WholeFileWriter& writer) const {
    constexpr size_t kPiece = 1 << 20;
    std::string out;
    AppendLine(out, "#File of Dir");
    AppendLine(out, "#  version:1.1");
    AppendLine(out, "#  Type Save: 0 (Save to text)");
    AppendLine(out, "#  Size Date: " + std::to_string(TotalCount()));
    AppendLine(out, "#  Name Tree: " + Name);
    AppendLine(out, "");
    AppendLine(out, "AUTO " + std::to_string(AutoCounter));
    AppendLine(out, "> " + Name);
    // The walk keeps one position per level; the stack height is the depth.
    std::vector<const TreeDir*> dirs{this};
    BufferClass positions;
    positions.Push(0);
    while (!positions.Empty()) {
        const TreeDir* dir = dirs.back();
        int64_t& position = positions.Top();
        if (position >= int64_t(dir->ChildCount())) {
            dirs.pop_back();
            positions.Pop();
            if (!positions.Empty()) ++positions.Top();
            continue;
        }
        const TreeClass* entry = dir->Items[size_t(position)].get();
        AppendNodeLine(out, positions.Count(), entry);
        if (out.size() >= kPiece) {
            writer.Append(out);
            out.clear();
        }
        if (const TreeDir* inner = entry ? entry->AsDir() : nullptr) {
            dirs.push_back(inner);
            positions.Push(0);
        } else {
            ++position;
        }
    }
    writer.Append(out);
}

// The new children are built beside the root and replace the old ones only
// when the whole file has been read, so a bad file leaves the tree and the
// name counter as they were.
void TTree::Load(const std::string& fileName) {
    const int64_t counterBefore = AutoCounter;
    TTree loaded;
    bool named = false;
    LoadPosition at;
    at.Reset(&loaded);
    LineSplitter lines;
    auto onLine = [&](std::string_view line) {
        std::string_view key, value;
        SplitLine(line, key, value);
        if (key.empty() || key.front() == '#') return;
        if (SameText1251(key, "AUTO")) {
            int64_t counter = 0;
            if (!ParseIntText(value, counter))
                throw ScriptError(LineError(fileName, lines.Number(),
                                            "AUTO value \"" + std::string(value) + "\" is not an integer"));
            AutoCounter = counter;
            return;
        }
        if (key == ">") {
            loaded.SetName(value);
            named = true;
            return;
        }
        if (key.size() == 1) {
            at.Reset(&loaded);
        } else {
            const int64_t depth = int64_t(std::count(key.begin(), key.end(), '|')) + 1;
            if (depth - 1 > at.Level()) {
                if (!at.Descend())
                    throw ScriptError(LineError(fileName, lines.Number(),
                                                "the prefix \"" + std::string(key) +
                                                    "\" is deeper than the tree allows"));
            } else {
                while (depth - 1 < at.Level()) at.Ascend();
            }
        }
        TreeClass* node = loaded.AppendNode(*at.dir, value, key.find('+') != std::string_view::npos);
        node->AfterLoad(key, at.path, value);
    };
    // The file is read in pieces: memory grows with the tree, not the file.
    try {
        ReadFileInPieces(fileName, [&](std::string_view piece) { lines.Feed(piece, onLine); });
        lines.Finish(onLine);
    } catch (const ScriptError&) {
        AutoCounter = counterBefore;
        throw;
    } catch (const std::exception& e) {
        AutoCounter = counterBefore;
        throw ScriptError(NestedErrorText("Tree load error", e.what()));
    }
    Clear();
    for (const TreeRef& child : loaded.Items) child->Parent = this;
    Items = std::move(loaded.Items);
    loaded.Items.clear();
    LastNode = loaded.LastNode;
    if (named) Name = std::move(loaded.Name);
}
