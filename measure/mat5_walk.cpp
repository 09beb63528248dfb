#include "measure/mat5_walk.h"

#include <algorithm>
#include <vector>
#include <zlib.h>

namespace {

constexpr int64_t HEADER_BYTES = 128;

// Data types (the tag's first field) and array classes (in the flags).
enum : uint32_t {
    MI_INT8 = 1,
    MI_UINT8 = 2,
    MI_INT16 = 3,
    MI_UINT16 = 4,
    MI_INT32 = 5,
    MI_UINT32 = 6,
    MI_SINGLE = 7,
    MI_DOUBLE = 9,
    MI_INT64 = 12,
    MI_UINT64 = 13,
    MI_MATRIX = 14,
    MI_COMPRESSED = 15,
    MI_UTF8 = 16,
    MI_UTF16 = 17,
    MI_UTF32 = 18,
};
enum : uint32_t { MX_CELL = 1, MX_STRUCT = 2, MX_OBJECT = 3, MX_CHAR = 4, MX_SPARSE = 5 };
constexpr uint32_t MX_DOUBLE = 6, MX_UINT64 = 15, COMPLEX_FLAG = 0x800;

// Bytes one element of a numeric data type takes; 0 for others.
uint64_t typeBytes(uint32_t type) {
    switch (type) {
    case MI_INT8:
    case MI_UINT8:
    case MI_UTF8:
        return 1;
    case MI_INT16:
    case MI_UINT16:
    case MI_UTF16:
        return 2;
    case MI_INT32:
    case MI_UINT32:
    case MI_SINGLE:
    case MI_UTF32:
        return 4;
    case MI_DOUBLE:
    case MI_INT64:
    case MI_UINT64:
        return 8;
    default:
        return 0;
    }
}

// Where the bytes of the elements come from: the file itself, or a
// compressed element inflated as it is read.
class Source {
  public:
    virtual ~Source() = default;
    virtual bool read(unsigned char* out, uint64_t n) = 0;
    // Skips what is left of a variable; a compressed one may end up to
    // a tag's length early (libmatio counts its matrix's tag in its length).
    virtual bool skipTail(uint64_t n) { return skip(n); }
    virtual bool skip(uint64_t n) {
        unsigned char scratch[4096];
        while (n > 0) {
            const uint64_t piece = std::min<uint64_t>(n, sizeof scratch);
            if (!read(scratch, piece)) return false;
            n -= piece;
        }
        return true;
    }
};

class FileSource : public Source {
  public:
    FileSource(const FileHandle& file, int64_t at) : file_(file), at_(at) {}
    bool read(unsigned char* out, uint64_t n) override {
        const bool whole = file_.readAt(out, size_t(n), at_) == n;
        at_ += int64_t(n);
        return whole;
    }
    // Skipping plain bytes needs no reading: sizes were checked against the file.
    bool skip(uint64_t n) override {
        at_ += int64_t(n);
        return true;
    }

  private:
    const FileHandle& file_;
    int64_t at_;
};

class InflateSource : public Source {
  public:
    InflateSource(const FileHandle& file, int64_t at, int64_t bytes)
        : file_(file), at_(at), end_(at + bytes), input_(1 << 16) {
        stream_.zalloc = Z_NULL;
        stream_.zfree = Z_NULL;
        stream_.opaque = Z_NULL;
        stream_.avail_in = 0;
        ok_ = initialised_ = inflateInit(&stream_) == Z_OK;
    }
    ~InflateSource() override {
        if (initialised_) inflateEnd(&stream_);
    }
    bool read(unsigned char* out, uint64_t n) override {
        while (ok_ && n > 0) {
            if (stream_.avail_in == 0 && !refill()) return false;
            stream_.next_out = out;
            stream_.avail_out = uInt(std::min<uint64_t>(n, 1u << 30));
            const int status = inflate(&stream_, Z_NO_FLUSH);
            const uint64_t got = uint64_t(stream_.next_out - out);
            out += got;
            n -= got;
            if (status == Z_STREAM_END) ended_ = true;
            if ((status != Z_OK && status != Z_STREAM_END) || (ended_ && n > 0) ||
                (got == 0 && status == Z_OK && stream_.avail_in > 0 && n > 0))
                ok_ = false;
        }
        return ok_ && n == 0;
    }
    bool skipTail(uint64_t n) override {
        if (n > 8) return skip(n);
        unsigned char scratch[8];
        const bool ok = ok_;
        for (uint64_t i = 0; i < n; ++i)
            if (!read(scratch, 1)) {
                // Ended cleanly where the stream ends.
                ok_ = ok && ended_;
                return ok_;
            }
        return true;
    }
    // The stream holds nothing after what was read.
    bool atEnd() {
        unsigned char extra;
        if (!ended_ && read(&extra, 1)) return false;
        return ended_;
    }

  private:
    bool refill() {
        const int64_t piece = std::min<int64_t>(end_ - at_, int64_t(input_.size()));
        if (piece <= 0 || file_.readAt(input_.data(), size_t(piece), at_) != size_t(piece)) {
            ok_ = false;
            return false;
        }
        at_ += piece;
        stream_.next_in = input_.data();
        stream_.avail_in = uInt(piece);
        return true;
    }

    const FileHandle& file_;
    int64_t at_, end_;
    std::vector<unsigned char> input_;
    z_stream stream_{};
    bool initialised_ = false;
    bool ok_ = false;
    bool ended_ = false;
};

struct Tag {
    uint32_t type = 0;
    uint64_t bytes = 0;
    // The tag and its data with padding: what it takes of its parent.
    uint64_t span = 0;
};

class Walker {
  public:
    explicit Walker(bool bigEndian) : big_(bigEndian) {}

    // The content of a matrix of `bytes`, `depth` levels down.
    bool matrix(Source& in, uint64_t bytes, int depth);
    bool fail(const std::string& why) {
        if (error.empty()) error = why;
        return false;
    }
    uint32_t word(const unsigned char* p) const {
        const uint32_t v = loadUint32(p);
        return big_ ? (v >> 24) | (v >> 8 & 0xFF00) | (v << 8 & 0xFF0000) | (v << 24) : v;
    }
    bool tag(Source& in, uint64_t& left, Tag& t, unsigned char small[4]);
    // Reads (at most `keep` bytes of) an element's data and skips its padding.
    bool data(Source& in, const Tag& t, std::vector<unsigned char>* kept, uint64_t keep);

    std::string error;
    std::string variable;

  private:
    bool children(Source& in, uint64_t& left, uint64_t count, int depth);
    bool numeric(Source& in, uint64_t& left, uint64_t elements, bool complex);

    bool big_;
    uint64_t matrices_ = 0;
};

// Reads a tag, the small form (data in the tag's second word) as well.
bool Walker::tag(Source& in, uint64_t& left, Tag& t, unsigned char small[4]) {
    unsigned char head[8];
    if (left < 8 || !in.read(head, 8)) return fail("the file is cut short in " + variable);
    const uint32_t first = word(head);
    if (first >> 16 != 0) {
        t.type = first & 0xFFFF;
        t.bytes = first >> 16;
        t.span = 8;
        if (t.bytes > 4) return fail("the file is damaged in " + variable);
        std::copy(head + 4, head + 8, small);
    } else {
        t.type = first;
        t.bytes = word(head + 4);
        t.span = 8 + (t.bytes + 7) / 8 * 8;
        if (t.span > left) t.span = 8 + t.bytes; // the last element may go unpadded
    }
    if (t.span > left)
        return fail(variable + " claims " + std::to_string(t.bytes) +
                    " bytes where its matrix holds " + std::to_string(left - 8));
    left -= t.span;
    return true;
}

bool Walker::data(Source& in, const Tag& t, std::vector<unsigned char>* kept, uint64_t keep) {
    if (t.span == 8) return true; // small: already read with the tag
    const uint64_t n = std::min(t.bytes, keep);
    if (kept) {
        kept->resize(size_t(n));
        if (!in.read(kept->data(), n)) return fail("the file is cut short in " + variable);
    }
    if (!in.skip(t.span - 8 - (kept ? n : 0))) return fail("the file is cut short in " + variable);
    return true;
}

bool Walker::children(Source& in, uint64_t& left, uint64_t count, int depth) {
    if (depth >= MAT5_MAX_DEPTH)
        return fail(variable + " nests cells or structs more than " +
                    std::to_string(MAT5_MAX_DEPTH) + " deep");
    // Each child takes a tag of 8 bytes at least.
    if (count > left / 8) return fail(variable + " claims more cells or fields than it holds");
    for (uint64_t i = 0; i < count; ++i) {
        Tag t;
        unsigned char small[4];
        if (!tag(in, left, t, small)) return false;
        if (t.type != MI_MATRIX) return fail("the file is damaged in " + variable);
        const uint64_t padding = t.span - 8 - t.bytes;
        if (!matrix(in, t.bytes, depth + 1) || !in.skip(padding))
            return fail("the file is cut short in " + variable);
    }
    return true;
}

// The real (and imaginary) data of `elements` numbers: as many as claimed.
bool Walker::numeric(Source& in, uint64_t& left, uint64_t elements, bool complex) {
    for (int part = 0; part < (complex ? 2 : 1); ++part) {
        Tag t;
        unsigned char small[4];
        if (!tag(in, left, t, small)) return false;
        const uint64_t size = typeBytes(t.type);
        if (size == 0 || t.bytes % size != 0)
            return fail(variable + " holds numbers of an unknown type");
        if (t.bytes / size < elements)
            return fail(variable + " claims " + std::to_string(elements) + " elements and stores " +
                        std::to_string(t.bytes / size));
        if (!data(in, t, nullptr, 0)) return false;
    }
    return true;
}

bool Walker::matrix(Source& in, uint64_t bytes, int depth) {
    if (++matrices_ > MAT5_MAX_MATRICES)
        return fail("the file holds more than " + std::to_string(MAT5_MAX_MATRICES) +
                    " cells and fields");
    if (bytes == 0) return true; // an empty cell
    uint64_t left = bytes;
    Tag t;
    unsigned char small[4];
    std::vector<unsigned char> content;
    // Flags: the class in the low byte, complex in bit 11.
    if (!tag(in, left, t, small) || !data(in, t, &content, 8)) return false;
    if (t.bytes != 8 || content.size() != 8) return fail("the file is damaged in " + variable);
    const uint32_t flags = word(content.data()), cls = flags & 0xFF;
    // Dimensions: 32-bit, at least two.
    if (!tag(in, left, t, small)) return false;
    if (t.type != MI_INT32 || t.bytes < 8 || t.bytes % 4 != 0 || t.bytes > 4 * 64)
        return fail("the file is damaged in " + variable + " (its dimensions)");
    if (!data(in, t, &content, t.bytes)) return false;
    uint64_t elements = 1;
    for (size_t i = 0; i + 4 <= content.size(); i += 4) {
        const uint64_t d = word(content.data() + i);
        if (d >> 31) return fail("the file is damaged in " + variable + " (its dimensions)");
        elements = d != 0 && elements > (uint64_t(1) << 62) / d ? uint64_t(1) << 62 : elements * d;
    }
    // Name.
    if (!tag(in, left, t, small)) return false;
    if (t.bytes > MAT5_MAX_NAME)
        return fail(variable + " has a name of " + std::to_string(t.bytes) + " bytes; at most " +
                    std::to_string(MAT5_MAX_NAME) + " are read");
    if (!data(in, t, depth == 0 ? &content : nullptr, t.bytes)) return false;
    if (depth == 0 && t.span == 8) content.assign(small, small + t.bytes);
    if (depth == 0) variable = "variable '" + std::string(content.begin(), content.end()) + "'";
    bool ok = true;
    if (cls == MX_CELL) {
        ok = children(in, left, elements, depth);
    } else if (cls == MX_STRUCT || cls == MX_OBJECT) {
        if (cls == MX_OBJECT && (!tag(in, left, t, small) || !data(in, t, nullptr, 0)))
            return false;
        if (!tag(in, left, t, small) || !data(in, t, &content, 4)) return false;
        const uint64_t length = t.span == 8           ? word(small)
                                : content.size() == 4 ? word(content.data())
                                                      : 0;
        if (!tag(in, left, t, small)) return false;
        if (length == 0 || length > MAT5_MAX_NAME || t.bytes % length != 0)
            return fail("the file is damaged in " + variable + " (its field names)");
        if (!data(in, t, nullptr, 0)) return false;
        const uint64_t fields = t.bytes / length;
        ok = children(
            in, left,
            fields != 0 && elements > UINT64_MAX / fields ? UINT64_MAX : elements * fields, depth);
    } else if (cls == MX_CHAR || (cls >= MX_DOUBLE && cls <= MX_UINT64)) {
        // Text is 1, 2 or 4 bytes a character; UTF-8 at least one.
        ok = numeric(in, left, elements, (flags & COMPLEX_FLAG) != 0 && cls != MX_CHAR);
    }
    const bool tail = depth == 0 ? in.skipTail(left) : in.skip(left);
    return ok && tail ? true : fail("the file is cut short in " + variable);
}

} // namespace

bool walkMat5(const FileHandle& file, int64_t size, bool bigEndian, std::string* error) {
    Walker walker(bigEndian);
    int64_t position = HEADER_BYTES;
    int count = 0;
    bool ok = true;
    while (ok && size - position >= 8) {
        unsigned char head[8];
        ++count;
        walker.variable = "variable " + std::to_string(count);
        if (file.readAt(head, 8, position) != 8) {
            ok = walker.fail("cannot read the file");
            break;
        }
        const uint32_t type = walker.word(head);
        const int64_t bytes = walker.word(head + 4);
        if (type != MI_MATRIX && type != MI_COMPRESSED) {
            ok = walker.fail("the file is damaged at byte " + std::to_string(position));
        } else if (bytes > size - position - 8) {
            ok = walker.fail("the file is cut short in its variable " + std::to_string(count));
        } else if (type == MI_MATRIX) {
            FileSource in(file, position + 8);
            ok = walker.matrix(in, uint64_t(bytes), 0);
        } else {
            InflateSource in(file, position + 8, bytes);
            uint64_t left = UINT64_MAX;
            Tag t;
            unsigned char small[4];
            ok =
                walker.tag(in, left, t, small) &&
                (t.type == MI_MATRIX || walker.fail("the file is damaged in " + walker.variable)) &&
                walker.matrix(in, t.bytes, 0) &&
                (in.atEnd() ||
                 walker.fail(walker.variable + " is cut short or damaged: its compressed data "
                                               "do not hold exactly its matrix"));
        }
        position += 8 + bytes;
    }
    if (error) *error = ok ? std::string() : walker.error;
    return ok;
}
