// Whole-file writes replace the old file in one step and leave nothing
// behind; a file that cannot be written keeps its old bytes.
#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>
#include <string>

#include "values/unitUtils.h"

namespace {

int EntriesIn(const std::string& dir) {
    int n = 0;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d))
            if (e->d_name[0] != '.') ++n;
        closedir(d);
    }
    return n;
}

TEST(WholeFile, ReplacesContentWithoutLeftovers) {
    char pattern[] = "/tmp/wholefile.XXXXXX";
    const std::string dir = mkdtemp(pattern);
    const std::string file = dir + "/a.txt";
    WriteWholeFile(file, "first version, longer");
    WriteWholeFile(dir + "\\a.txt", "second");
    EXPECT_EQ(ReadWholeFile(file), "second");
    EXPECT_EQ(EntriesIn(dir), 1);
    EXPECT_THROW(WriteWholeFile(dir + "/missing/b.txt", "x"), std::runtime_error);
    EXPECT_EQ(EntriesIn(dir), 1);
    unlink(file.c_str());
    rmdir(dir.c_str());
}

TEST(WholeFile, ReadOnlyDirectoryStillRewritesAWritableFile) {
    if (geteuid() == 0) GTEST_SKIP() << "root ignores directory permissions";
    char pattern[] = "/tmp/wholefile.XXXXXX";
    const std::string dir = mkdtemp(pattern);
    const std::string file = dir + "/a.txt";
    WriteWholeFile(file, "old");
    chmod(dir.c_str(), 0555);
    WriteWholeFile(file, "new");
    EXPECT_EQ(ReadWholeFile(file), "new");
    chmod(dir.c_str(), 0755);
    unlink(file.c_str());
    rmdir(dir.c_str());
}

}  // namespace
