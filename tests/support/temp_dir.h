// A scratch directory for one test, removed with everything in it afterwards.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

class TempDir {
  public:
    TempDir() {
        const char* base = std::getenv("ONDARIX_TEST_TMP");
        std::string root = base && *base ? base : "/tmp";
        std::error_code ec;
        std::filesystem::create_directories(root, ec);
        if (ec) root = "/tmp";
        std::string pattern = root + "/ondarix-XXXXXX";
        path_ = ::mkdtemp(&pattern[0]) ? pattern : "/tmp";
    }
    ~TempDir() {
        std::error_code ec;
        if (path_ != "/tmp") std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

// Writes `bytes` to `path`, replacing the file.
inline void writeBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return;
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

// Writes `text` to `path`, creating the directories above it.
inline void writeString(const std::string& path, const std::string& text) {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    writeBytes(path, std::vector<unsigned char>(text.begin(), text.end()));
}

inline std::vector<unsigned char> readBytes(const std::string& path) {
    std::vector<unsigned char> bytes;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return bytes;
    unsigned char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        bytes.insert(bytes.end(), buf, buf + n);
    std::fclose(f);
    return bytes;
}

inline std::string readString(const std::string& path) {
    std::vector<unsigned char> bytes = readBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

// The lines of `text`, without their ends.
inline std::vector<std::string> textLines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

// How many entries `dir` holds (a failed save must leave no temporary behind).
inline int countEntries(const std::string& dir) {
    int n = 0;
    std::error_code ec;
    for (auto it = std::filesystem::directory_iterator(dir, ec);
         !ec && it != std::filesystem::directory_iterator(); it.increment(ec))
        ++n;
    return n;
}

// Appends little-endian values to a byte vector, for building files in tests.
class ByteWriter {
  public:
    std::vector<unsigned char> bytes;
    template <typename T> ByteWriter& put(T value) {
        const auto* p = reinterpret_cast<const unsigned char*>(&value);
        bytes.insert(bytes.end(), p, p + sizeof(T));
        return *this;
    }
    ByteWriter& text(const std::string& s, size_t width) {
        for (size_t i = 0; i < width; ++i)
            bytes.push_back(i < s.size() ? (unsigned char)s[i] : 0);
        return *this;
    }
};
