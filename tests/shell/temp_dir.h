// A scratch directory of its own for each test, under ONDARIX_TEST_TMP when
// CTest sets it, removed with everything in it when the test ends.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

class TempDir {
  public:
    TempDir() {
        const char* base = std::getenv("ONDARIX_TEST_TMP");
        std::string parent = (base && *base) ? base : "/tmp";
        std::error_code ec;
        std::filesystem::create_directories(parent, ec);
        std::string pattern = parent + "/shell-XXXXXX";
        if (::mkdtemp(&pattern[0])) dir = pattern;
    }
    ~TempDir() {
        std::error_code ec;
        if (!dir.empty()) std::filesystem::remove_all(dir, ec);
    }
    const std::string& path() const { return dir; }

  private:
    std::string dir;
};

inline std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeText(const std::string& path, const std::string& text) {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    std::ofstream(path, std::ios::binary) << text;
}

inline int countEntries(const std::string& dir) {
    int n = 0;
    std::error_code ec;
    for (auto it = std::filesystem::directory_iterator(dir, ec);
         !ec && it != std::filesystem::directory_iterator(); ++it)
        ++n;
    return n;
}
