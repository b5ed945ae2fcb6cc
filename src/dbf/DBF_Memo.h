// The memo file of a table (".dbt"): 512-byte blocks, block 0 the header.
//
// Header (block 0): bytes 0..3 the number of the last block in use (u32,
// 0 in a new file); the rest of the block is zero.
// Text layout: a memo is its text followed by one 0x1A byte, stored
// contiguously from its first block on.
// Binary layout: a memo is a chain of blocks; bytes 0..507 of each block
// hold text, bytes 508..511 the number of the next block (u32, 0 in the
// last one). The last block holds the rest of the text, one 0x1A byte
// (when there is room) and zeros up to byte 508.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "values/unitUtils.h"

class TDBF_Memo {
public:
    static constexpr int64_t kBlockSize = 512;
    static constexpr int64_t kChainData = 508;

    // Opens an existing memo file; false when it cannot be opened.
    bool Open(const std::string& path, int mode, bool binary);
    // Writes a new empty memo file (512 zero bytes) at the path; throws
    // TDBFError when it cannot be written.
    static void CreateEmpty(const std::string& path);
    void Close() {
        file_.Close();
        KeepInMemory(false);
    }
    bool IsOpen() const { return file_.IsOpen(); }
    int64_t Size() { return file_.GetSize(); }

    // The text of the memo starting at `block` (the bytes before its 0x1A).
    // A block past the last one in use gives ""; block 0 (or a file whose
    // header says 0) reads the block after the last. Reading stops at the
    // end of the file, and a chain that loops or leaves the file stops there.
    std::string Read(uint32_t block);
    // Stores the text and returns the block where it starts now: in place
    // when it fits there, otherwise after the last block in use.
    uint32_t Write(uint32_t block, std::string_view text);
    // With the table's record cache on, memo reads come from memory too: the
    // header's last-block number is kept and blocks are read a window at a
    // time. Like the record cache this does not see other processes' writes;
    // this engine's own writes go to the file and drop what was kept.
    void KeepInMemory(bool on);

private:
    uint32_t ReadLastBlock();
    void WriteLastBlock(uint32_t last);
    // Reads up to one block at a block number; returns the bytes read.
    int64_t ReadBlock(uint64_t block, uint8_t* bytes);
    void WriteAt(int64_t offset, const void* bytes, int64_t count);
    uint32_t BlocksInUseAt(uint32_t target);
    uint32_t WriteText(uint32_t target, uint32_t& last, std::string_view text);
    uint32_t WriteChain(uint32_t target, uint32_t& last, std::string_view text);
    [[noreturn]] void Fail(const char* what);

    void Forget();

    TFile file_;
    bool binary_ = false;
    bool keep_ = false;
    bool lastKnown_ = false;
    uint32_t lastBlock_ = 0;
    std::vector<uint8_t> window_;  // the file's bytes from block windowFirst_ on
    uint64_t windowFirst_ = 0;
    int64_t windowBytes_ = 0;      // bytes of window_ that the file had
};
