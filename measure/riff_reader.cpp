#include "measure/riff_reader.h"

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace {

constexpr int64_t HEADER_BYTES = 8;
constexpr int64_t FORM_BYTES = 4;

// Where the sub-chunks of `parent` begin and end in the file.
void childRange(const RiffChunk* parent, int64_t fileSize, int64_t& begin, int64_t& end) {
    if (!parent) {
        begin = 0;
        end = fileSize;
        return;
    }
    begin = parent->dataOffset + (isListChunk(parent->id) ? FORM_BYTES : 0);
    end = parent->dataOffset + parent->available;
}

} // namespace

bool isListChunk(uint32_t id) {
    return id == riffId("RIFF") || id == riffId("LIST");
}

RiffReader::~RiffReader() {
    close();
}

bool RiffReader::open(const char* path, OpenError* error) {
    close();
    file_ = FileHandle::openRead(path, error);
    fileSize_ = file_.remaining();
    if (fileSize_ < 0) close();
    return file_.valid();
}

void RiffReader::close() {
    file_.close();
    fileSize_ = 0;
    position_ = 0;
}

int64_t RiffReader::readAt(int64_t offset, void* buffer, int64_t bytes) {
    auto* p = static_cast<unsigned char*>(buffer);
    int64_t done = 0;
    while (done < bytes) {
        ssize_t got = ::pread(file_.fd(), p + done, size_t(bytes - done), off_t(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        done += got;
    }
    return done;
}

bool RiffReader::descend(RiffChunk& chunk, const RiffChunk* parent, uint32_t id,
                         uint32_t formType) {
    if (!file_.valid()) return false;
    int64_t begin, end;
    childRange(parent, fileSize_, begin, end);
    int64_t at = std::max(position_, begin);
    while (at + HEADER_BYTES <= end) {
        unsigned char header[HEADER_BYTES];
        if (readAt(at, header, HEADER_BYTES) != HEADER_BYTES) return false;
        RiffChunk found;
        found.id = loadUint32(header);
        found.size = loadUint32(header + 4);
        found.dataOffset = at + HEADER_BYTES;
        found.available = std::min<int64_t>(found.size, end - found.dataOffset);
        bool matches = found.id == id;
        if (matches && isListChunk(id)) {
            unsigned char form[FORM_BYTES];
            matches = found.available >= FORM_BYTES &&
                      readAt(found.dataOffset, form, FORM_BYTES) == FORM_BYTES;
            if (matches) found.formType = loadUint32(form);
            matches = matches && (formType == 0 || found.formType == formType);
        }
        if (matches) {
            chunk = found;
            position_ = found.dataOffset + (isListChunk(id) ? FORM_BYTES : 0);
            return true;
        }
        // Chunks are word aligned: an odd size is followed by a pad byte.
        at = found.dataOffset + int64_t(found.size) + (found.size & 1);
    }
    return false;
}

void RiffReader::ascend(const RiffChunk& chunk) {
    position_ = chunk.dataOffset + int64_t(chunk.size) + (chunk.size & 1);
}

void RiffReader::rewind(const RiffChunk& parent) {
    int64_t end;
    childRange(&parent, fileSize_, position_, end);
}

int64_t RiffReader::read(const RiffChunk& chunk, int64_t offset, void* buffer, int64_t bytes) {
    if (!file_.valid() || offset < 0 || bytes <= 0 || offset >= chunk.available) return 0;
    return readAt(chunk.dataOffset + offset, buffer, std::min(bytes, chunk.available - offset));
}
