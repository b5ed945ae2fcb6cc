// Zip archives in memory over libzip: the container of .xlsx files.
// Failures throw std::runtime_error.
#pragma once

#include <string>
#include <utility>
#include <vector>

struct zip;

namespace xl {

class ZipReader {
public:
    // The archive's bytes must outlive the reader.
    explicit ZipReader(const std::string& bytes);
    ~ZipReader();
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;

    // Part names ignore letter case, as the package format wants.
    bool Has(const std::string& name) const;
    // The whole entry, at most maxBytes long (longer entries fail).
    std::string Read(const std::string& name, size_t maxBytes) const;

private:
    zip* archive_ = nullptr;
};

class ZipWriter {
public:
    void Add(std::string name, std::string data);
    // The archive's bytes, entries deflated in the order they were added.
    std::string Finish() const;

private:
    std::vector<std::pair<std::string, std::string>> entries_;
};

}  // namespace xl
