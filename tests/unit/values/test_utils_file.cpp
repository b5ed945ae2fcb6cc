#include "values/unitUtils.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <unistd.h>

namespace {

class FileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() / ("utils_file_" + std::to_string(getpid()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }

    std::filesystem::path dir_;
};

}  // namespace

TEST_F(FileTest, OpenMissingLeavesItClosed) {
    TFile file;
    EXPECT_FALSE(file.Open(PathOf("missing.dbf"), TFile::kRead));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.Handle, 0);
    EXPECT_EQ(file.FilePath, "");
    EXPECT_EQ(file.Read(nullptr, 1), -1);
    EXPECT_EQ(file.Seek64(0, 0), -1);
    file.Close();  // closing a closed file does nothing
    file.Close();
    EXPECT_FALSE(file.IsOpen());
}

TEST_F(FileTest, RecreateWriteSeekRead) {
    TFile file;
    const std::string path = PathOf("data.bin");
    ASSERT_TRUE(file.Recreate(path));
    EXPECT_EQ(file.FilePath, path);
    EXPECT_EQ(file.FileName, "data.bin");
    EXPECT_EQ(file.Write("hello world", 11), 11);
    EXPECT_EQ(file.GetSize(), 11);
    EXPECT_EQ(file.Seek(6, 0), 6);
    char buffer[16] = {};
    EXPECT_EQ(file.Read(buffer, 16), 5);  // short read at the end
    EXPECT_EQ(std::string(buffer, 5), "world");
    EXPECT_EQ(file.Seek(-5, 2), 6);
    EXPECT_EQ(file.Seek(-1, 1), 5);
    EXPECT_EQ(file.Seek64(0, 2), 11);
    EXPECT_EQ(file.Seek64(0, 3), -1);  // unknown origin
    EXPECT_EQ(file.Seek(-100, 0), -1);
    file.Close();
    EXPECT_EQ(file.FileName, "");
    EXPECT_EQ(file.FilePath, "");

    // Recreate empties an existing file.
    ASSERT_TRUE(file.Recreate(path));
    EXPECT_EQ(file.GetSize(), 0);
}

TEST_F(FileTest, ModesLimitAccess) {
    WriteWholeFile(PathOf("t.txt"), "abc");
    TFile file;
    ASSERT_TRUE(file.Open(PathOf("t.txt"), TFile::kRead));
    EXPECT_EQ(file.Write("x", 1), -1);
    ASSERT_TRUE(file.Open(PathOf("t.txt"), TFile::kWrite));
    char c;
    EXPECT_EQ(file.Read(&c, 1), -1);
    EXPECT_EQ(file.Write("X", 1), 1);
    ASSERT_TRUE(file.Open(PathOf("t.txt"), TFile::kReadWrite));
    EXPECT_EQ(file.Read(&c, 1), 1);
    EXPECT_EQ(c, 'X');
    EXPECT_FALSE(file.Open(PathOf("t.txt"), 7));
    EXPECT_FALSE(file.IsOpen());
}

TEST_F(FileTest, BackslashNamesAndClassOperations) {
    const std::string base = dir_.string() + "\\";
    WriteWholeFile(base + "a.dbf", "12345");
    EXPECT_TRUE(TFileHandle::Exists(PathOf("a.dbf")));
    EXPECT_TRUE(TFileHandle::Exists(base + "a.dbf"));
    EXPECT_EQ(TFileHandle::SizeOfFile(base + "a.dbf"), 5);
    EXPECT_EQ(TFileHandle::SizeOfFile(PathOf("*.dbf")), 5);
    EXPECT_EQ(TFileHandle::SizeOfFile(PathOf("none.*")), 0);
    EXPECT_EQ(TFileHandle::SizeOfFile(PathOf("missing")), 0);
    EXPECT_FALSE(TFileHandle::Exists(dir_.string()));  // a folder is not a file

    EXPECT_TRUE(TFileHandle::Rename(base + "a.dbf", base + "b.dbf"));
    EXPECT_FALSE(TFileHandle::Exists(PathOf("a.dbf")));
    EXPECT_EQ(ReadWholeFile(PathOf("b.dbf")), "12345");

    // Renaming onto an existing file would lose it: refused.
    WriteWholeFile(PathOf("c.dbf"), "keep");
    EXPECT_FALSE(TFileHandle::Rename(PathOf("b.dbf"), PathOf("c.dbf")));
    EXPECT_EQ(ReadWholeFile(PathOf("c.dbf")), "keep");
    EXPECT_TRUE(TFileHandle::Exists(PathOf("b.dbf")));

    EXPECT_TRUE(TFileHandle::Erase(base + "b.dbf"));
    EXPECT_FALSE(TFileHandle::Erase(base + "b.dbf"));

    std::unique_ptr<TFileHandle> object(NewFileObject());
    EXPECT_FALSE(object->IsOpen());
    EXPECT_TRUE(object->Open(PathOf("c.dbf"), TFile::kRead));
    EXPECT_EQ(object->GetSize(), 4);
}

TEST_F(FileTest, WholeFilesAndTheirErrors) {
    std::string bytes;
    for (int i = 0; i < 200000; ++i) bytes += char(i % 251);
    WriteWholeFile(PathOf("big.bin"), bytes);
    EXPECT_EQ(ReadWholeFile(PathOf("big.bin")), bytes);
    WriteWholeFile(PathOf("big.bin"), "");
    EXPECT_EQ(ReadWholeFile(PathOf("big.bin")), "");

    try {
        ReadWholeFile(PathOf("nope.txt"));
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        const std::string text = e.what();
        EXPECT_NE(text.find("nope.txt"), std::string::npos) << text;
        EXPECT_NE(text.find("No such file or directory"), std::string::npos) << text;
    }
    EXPECT_THROW(WriteWholeFile(PathOf("no/such/dir.txt"), "x"), std::runtime_error);
    EXPECT_THROW(ReadWholeFile(dir_.string()), std::runtime_error);
}

TEST_F(FileTest, PieceWriterReplacesTheFileOnlyAtCommit) {
    const std::string name = PathOf("pieces.txt");
    WriteWholeFile(name, "old");
    std::string expected;
    {
        WholeFileWriter writer(name);
        // Pieces on both sides of the writer's 1 MiB buffer.
        for (size_t size : {size_t(10), size_t(1) << 20, size_t(3), size_t(700000), size_t(700000)}) {
            const std::string piece(size, char('a' + size % 26));
            writer.Append(piece);
            expected += piece;
        }
        EXPECT_EQ(ReadWholeFile(name), "old");  // still the old file meanwhile
    }  // abandoned without Commit
    EXPECT_EQ(ReadWholeFile(name), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 1) << "a temporary stayed behind";

    WholeFileWriter writer(name);
    writer.Append(expected);
    writer.Append("!");
    writer.Commit();
    EXPECT_EQ(ReadWholeFile(name), expected + "!");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 1);
}
