#include "excel/XlZip.h"

#include <zip.h>

#include <memory>
#include <stdexcept>

namespace xl {
namespace {

struct SourceCloser {
    void operator()(zip_source_t* source) const { zip_source_free(source); }
};
using SourcePtr = std::unique_ptr<zip_source_t, SourceCloser>;

}  // namespace

ZipReader::ZipReader(const std::string& bytes) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    if (!source) {
        zip_error_fini(&error);
        throw std::runtime_error("cannot read the archive");
    }
    archive_ = zip_open_from_source(source, ZIP_RDONLY, &error);
    if (!archive_) {
        zip_source_free(source);
        const std::string why = zip_error_strerror(&error);
        zip_error_fini(&error);
        throw std::runtime_error("not a zip archive (" + why + ")");
    }
    zip_error_fini(&error);
}

ZipReader::~ZipReader() {
    if (archive_) zip_discard(archive_);
}

bool ZipReader::Has(const std::string& name) const {
    return zip_name_locate(archive_, name.c_str(), ZIP_FL_NOCASE) >= 0;
}

std::string ZipReader::Read(const std::string& name, size_t maxBytes) const {
    const zip_int64_t index = zip_name_locate(archive_, name.c_str(), ZIP_FL_NOCASE);
    if (index < 0) throw std::runtime_error("the archive has no part \"" + name + "\"");
    zip_file_t* file = zip_fopen_index(archive_, zip_uint64_t(index), 0);
    if (!file) throw std::runtime_error("cannot open the part \"" + name + "\": " + zip_strerror(archive_));
    // The sizes in the archive's headers may lie: read in chunks and stop
    // at the limit instead of trusting them.
    std::string data;
    char chunk[65536];
    for (;;) {
        const zip_int64_t got = zip_fread(file, chunk, sizeof chunk);
        if (got < 0) {
            const std::string why = zip_file_strerror(file);
            zip_fclose(file);
            throw std::runtime_error("the part \"" + name + "\" is damaged: " + why);
        }
        if (got == 0) break;
        if (data.size() + size_t(got) > maxBytes) {
            zip_fclose(file);
            throw std::runtime_error("the part \"" + name + "\" is larger than " + std::to_string(maxBytes) + " bytes");
        }
        data.append(chunk, size_t(got));
    }
    zip_fclose(file);
    return data;
}

void ZipWriter::Add(std::string name, std::string data) { entries_.emplace_back(std::move(name), std::move(data)); }

std::string ZipWriter::Finish() const {
    zip_error_t error;
    zip_error_init(&error);
    SourcePtr target(zip_source_buffer_create(nullptr, 0, 0, &error));
    if (!target) throw std::runtime_error("cannot create an archive in memory");
    zip_source_keep(target.get());  // the archive's close would free it otherwise
    zip_t* archive = zip_open_from_source(target.get(), ZIP_TRUNCATE, &error);
    if (!archive) {
        zip_source_free(target.get());
        throw std::runtime_error("cannot create an archive: " + std::string(zip_error_strerror(&error)));
    }
    zip_error_fini(&error);
    for (const auto& [name, data] : entries_) {
        zip_source_t* part = zip_source_buffer(archive, data.data(), data.size(), 0);
        if (!part || zip_file_add(archive, name.c_str(), part, ZIP_FL_ENC_UTF_8) < 0) {
            if (part) zip_source_free(part);
            const std::string why = zip_strerror(archive);
            zip_discard(archive);
            throw std::runtime_error("cannot add \"" + name + "\" to the archive: " + why);
        }
    }
    if (zip_close(archive) < 0) {
        const std::string why = zip_strerror(archive);
        zip_discard(archive);
        throw std::runtime_error("cannot finish the archive: " + why);
    }
    // Read the finished archive back out of the memory source.
    std::string bytes;
    if (zip_source_open(target.get()) < 0) throw std::runtime_error("cannot read the finished archive");
    zip_source_seek(target.get(), 0, SEEK_END);
    const zip_int64_t size = zip_source_tell(target.get());
    zip_source_seek(target.get(), 0, SEEK_SET);
    if (size > 0) {
        bytes.resize(size_t(size));
        if (zip_source_read(target.get(), bytes.data(), zip_uint64_t(size)) != size) {
            zip_source_close(target.get());
            throw std::runtime_error("cannot read the finished archive");
        }
    }
    zip_source_close(target.get());
    return bytes;
}

}  // namespace xl
