#include "dbf/DBF_Memo.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>
#include <vector>

#include "dbf/DBF_Bytes.h"
#include "dbf/DBF_Error.h"
#include "dbf/DBF_ReadAt.h"

namespace {
constexpr char kEndOfText = 0x1A;
constexpr uint64_t kMaxBlock = 0xFFFFFFFFull;
constexpr int64_t kWindowBlocks = 32;  // 16 KB a read while kept in memory
}  // namespace

bool TDBF_Memo::Open(const std::string& path, int mode, bool binary) {
    binary_ = binary;
    KeepInMemory(false);
    return file_.Open(path, mode);
}

void TDBF_Memo::KeepInMemory(bool on) {
    if (!on) {
        Forget();
        window_.clear();
        window_.shrink_to_fit();
    }
    keep_ = on;
}

void TDBF_Memo::Forget() {
    lastKnown_ = false;
    windowBytes_ = 0;
}

void TDBF_Memo::CreateEmpty(const std::string& path) {
    TFile file;
    if (!file.Recreate(path)) throw TDBFError("Cannot create memo file \"" + path + "\"");
    const uint8_t zeros[kBlockSize] = {};
    if (file.Write(zeros, kBlockSize) != kBlockSize) throw TDBFError("Cannot write memo file \"" + path + "\"");
}

void TDBF_Memo::Fail(const char* what) {
    throw TDBFError(std::string("Cannot ") + what + " memo file \"" + file_.FilePath + "\"");
}

// Bytes 0..3 of the header: the last block in use (u32).
uint32_t TDBF_Memo::ReadLastBlock() {
    if (keep_ && lastKnown_) return lastBlock_;
    uint8_t bytes[4] = {};
    if (ReadAt(file_, 0, bytes, 4) != 4) return 0;
    if (keep_) {
        lastBlock_ = LoadU32(bytes);
        lastKnown_ = true;
    }
    return LoadU32(bytes);
}

void TDBF_Memo::WriteLastBlock(uint32_t last) {
    uint8_t bytes[4];
    StoreU32(bytes, last);
    WriteAt(0, bytes, 4);
}

int64_t TDBF_Memo::ReadBlock(uint64_t block, uint8_t* bytes) {
    std::memset(bytes, 0, kBlockSize);
    if (!keep_) {
        const int64_t got = ReadAt(file_, int64_t(block * kBlockSize), bytes, kBlockSize);
        return got < 0 ? 0 : got;
    }
    const bool inWindow = windowBytes_ > 0 && block >= windowFirst_ &&
                          block < windowFirst_ + uint64_t(kWindowBlocks);
    if (!inWindow) {
        window_.resize(size_t(kWindowBlocks * kBlockSize));
        const int64_t got = ReadAt(file_, int64_t(block * kBlockSize), window_.data(), int64_t(window_.size()));
        windowFirst_ = block;
        windowBytes_ = got < 0 ? 0 : got;
    }
    // What a direct read would get: up to one block, fewer at the end of the file.
    const int64_t from = int64_t(block - windowFirst_) * kBlockSize;
    const int64_t got = std::clamp<int64_t>(windowBytes_ - from, 0, kBlockSize);
    if (got > 0) std::memcpy(bytes, window_.data() + from, size_t(got));
    return got;
}

void TDBF_Memo::WriteAt(int64_t offset, const void* bytes, int64_t count) {
    Forget();  // what was kept may be what this write changes
    if (file_.Seek64(offset, 0) != offset || file_.Write(bytes, count) != count) Fail("write");
}

std::string TDBF_Memo::Read(uint32_t block) {
    const uint32_t last = ReadLastBlock();
    if (last < block) return "";
    if (last == 0 || block == 0) block = last + 1;
    std::string text;
    uint8_t bytes[kBlockSize];
    if (!binary_) {
        // Contiguous text up to the first 0x1A, or the end of the file.
        for (uint64_t b = block;; ++b) {
            const int64_t got = ReadBlock(b, bytes);
            const void* end = std::memchr(bytes, kEndOfText, size_t(got));
            if (end) return text.append(reinterpret_cast<const char*>(bytes), size_t(static_cast<const uint8_t*>(end) - bytes));
            text.append(reinterpret_cast<const char*>(bytes), size_t(got));
            if (got < kBlockSize) return text;
        }
    }
    // Chained blocks; each block is visited at most once.
    std::unordered_set<uint32_t> visited;
    for (uint32_t b = block; b != 0 && visited.insert(b).second;) {
        const int64_t got = ReadBlock(b, bytes);
        const int64_t data = std::min(got, kChainData);
        const void* end = std::memchr(bytes, kEndOfText, size_t(data));
        if (end) return text.append(reinterpret_cast<const char*>(bytes), size_t(static_cast<const uint8_t*>(end) - bytes));
        text.append(reinterpret_cast<const char*>(bytes), size_t(data));
        if (got < kBlockSize) break;
        const uint32_t link = LoadU32(bytes + kChainData);
        b = link <= last ? link : 0;
    }
    return text;
}

uint32_t TDBF_Memo::Write(uint32_t block, std::string_view text) {
    if (!file_.IsOpen()) return block;
    // A header claiming blocks past the end of the file would send new
    // memos far beyond it; the file's own extent bounds the blocks in use.
    const int64_t size = file_.GetSize();
    const uint64_t lastInFile = size > 0 ? uint64_t(size - 1) / kBlockSize : 0;
    uint32_t last = uint32_t(std::min<uint64_t>(ReadLastBlock(), lastInFile));
    uint32_t target = block;
    if (last == 0) target = 1;
    else if (block == 0 || block > last) target = last + 1;
    if (target == 0) Fail("extend");  // last was the largest block number
    const uint32_t start = binary_ ? WriteChain(target, last, text) : WriteText(target, last, text);
    WriteLastBlock(last);
    return start;
}

// How many blocks the memo at the target occupies now: blocks are counted
// until one holds 0x1A or begins with NUL; a block past the end of the file
// counts as such a block.
uint32_t TDBF_Memo::BlocksInUseAt(uint32_t target) {
    uint8_t bytes[kBlockSize];
    uint32_t count = 0;
    for (uint64_t b = target; b <= kMaxBlock; ++b) {
        ++count;
        const int64_t got = ReadBlock(b, bytes);
        if (got == 0 || bytes[0] == 0 || std::memchr(bytes, kEndOfText, size_t(got))) break;
    }
    return count;
}

uint32_t TDBF_Memo::WriteText(uint32_t target, uint32_t& last, std::string_view text) {
    const uint64_t blocksNow = BlocksInUseAt(target);
    std::string stored(text);
    stored += kEndOfText;
    const uint64_t length = stored.size();
    if (length < blocksNow * kBlockSize) {
        WriteAt(int64_t(uint64_t(target) * kBlockSize), stored.data(), int64_t(length));
        if (target > last) last = uint32_t(std::min<uint64_t>(target + length / kBlockSize, kMaxBlock));
        else if (target + blocksNow - 1 > last) last = uint32_t(target + blocksNow - 1);
        return target;
    }
    // It does not fit where it is: it goes after the last block in use; the
    // old blocks stay unused.
    const uint64_t start = uint64_t(last) + 1;
    const uint64_t newLast = uint64_t(last) + (length + kBlockSize - 1) / kBlockSize;
    if (newLast > kMaxBlock) Fail("extend");
    WriteAt(int64_t(start * kBlockSize), stored.data(), int64_t(length));
    last = uint32_t(newLast);
    return uint32_t(start);
}

uint32_t TDBF_Memo::WriteChain(uint32_t target, uint32_t& last, std::string_view text) {
    bool fresh = target > last;
    if (fresh) last = target;
    std::unordered_set<uint32_t> used;
    uint8_t bytes[kBlockSize];
    size_t done = 0;
    // A block taken from past the last one in use keeps no old link:
    // whatever bytes it holds belong to no memo.
    for (uint32_t b = target;;) {
        used.insert(b);
        ReadBlock(b, bytes);
        uint32_t link = fresh ? 0 : LoadU32(bytes + kChainData);
        const size_t rest = text.size() - done;
        if (rest > size_t(kChainData)) {
            std::memcpy(bytes, text.data() + done, size_t(kChainData));
            done += size_t(kChainData);
            // An old link is reused only while it stays inside the file's
            // blocks and does not lead back into this chain.
            fresh = link == 0 || link > last || used.count(link);
            if (fresh) {
                if (last == kMaxBlock) Fail("extend");
                link = ++last;
            }
            StoreU32(bytes + kChainData, link);
            WriteAt(int64_t(uint64_t(b) * kBlockSize), bytes, kBlockSize);
            b = link;
            continue;
        }
        std::memset(bytes, 0, kBlockSize);
        std::memcpy(bytes, text.data() + done, rest);
        if (rest < size_t(kChainData)) bytes[rest] = kEndOfText;
        WriteAt(int64_t(uint64_t(b) * kBlockSize), bytes, kBlockSize);
        return target;
    }
}
