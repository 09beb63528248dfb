// Reads damaged copies of a file the way a user would open them: every cut
// (or evenly spaced cuts) and random byte flips, each through readMeasure,
// so HDF5 and MATLAB files go to their child process. Counts what the reads
// ended in and the largest memory any process took. Run under the address
// sanitizer; a crash or a sanitizer report in our code ends this program.
//
//   fuzz-readers TYPE SEED CASES [RANDOM-SEED [KEEP-FOLDER]]
//
// With KEEP-FOLDER, each file that crashed, hung or exhausted its reading
// child is kept there as case-N.EXT.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

#include "measure/atomic_file.h"
#include "measure/measure_file.h"

namespace {

std::vector<char> load(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), {});
}

// Through the atomic write every output takes: a kept case is whole or absent.
void save(const std::string& path, const std::vector<char>& bytes) {
    std::string why;
    if (!replaceFile(path, std::string(bytes.begin(), bytes.end()), &why))
        std::fprintf(stderr, "fuzz-readers: cannot write %s: %s\n", path.c_str(), why.c_str());
}

// The kind of outcome: the reason with its numbers as '#' and cut before
// the first quote or path, so that "... in variable 3" and "... in
// variable 4" count together.
std::string kind(const std::string& why) {
    std::string k;
    for (char c : why.substr(0, std::min<size_t>(why.find_first_of("'/\""), 90))) {
        const bool digit = c >= '0' && c <= '9';
        if (!digit || k.empty() || k.back() != '#') k += digit ? '#' : c;
    }
    return k;
}

long peakKib(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: fuzz-readers TYPE SEED CASES [RANDOM-SEED [KEEP-FOLDER]]\n");
        return 2;
    }
    FileType type;
    if (!fileTypeFromName(argv[1], type)) {
        std::fprintf(stderr, "unknown type %s\n", argv[1]);
        return 2;
    }
    const std::vector<char> seed = load(argv[2]);
    const long cases = std::atol(argv[3]);
    std::mt19937_64 random(argc > 4 ? std::strtoull(argv[4], nullptr, 10) : 1);
    const std::string path = "/tmp/fuzz-readers-" + std::to_string(getpid()) + "." +
                             fileTypeRow(type).extensions.front();
    std::map<std::string, long> outcomes;
    for (long i = 0; i < cases && !seed.empty(); ++i) {
        std::vector<char> bytes = seed;
        if (i % 2 == 0) {
            // A cut, spread evenly over the file.
            bytes.resize(size_t((i / 2) * int64_t(seed.size()) / std::max(1L, cases / 2)));
        } else {
            // One to eight flipped bytes, in the first 4 KiB (the metadata) most often.
            const int flips = 1 + int(random() % 8);
            for (int f = 0; f < flips; ++f) {
                const size_t span =
                    random() % 4 ? std::min<size_t>(seed.size(), 4096) : seed.size();
                bytes[random() % span] ^= char(1 + random() % 255);
            }
        }
        save(path, bytes);
        alarm(120); // a read that hangs ends the run
        CMeasure m;
        std::string why;
        ReadOptions options;
        options.rate = 50;
        const bool ok = readMeasure(m, path, type, &why, nullptr, options);
        alarm(0);
        ++outcomes[ok ? std::string("read") : kind(why)];
        const bool stopped = why.rfind("the file library stopped", 0) == 0 ||
                             why.rfind("reading the file took", 0) == 0;
        if (stopped && argc > 5)
            save(std::string(argv[5]) + "/case-" + std::to_string(i) + "." +
                     fileTypeRow(type).extensions.front(),
                 bytes);
    }
    unlink(path.c_str());
    std::printf("%ld cases of %s (%zu bytes):\n", cases, argv[2], seed.size());
    for (const auto& [what, count] : outcomes)
        std::printf("%7ld  %s\n", count, what.c_str());
    std::printf("largest memory: this process %ld MiB, a reading child %ld MiB\n",
                peakKib(RUSAGE_SELF) / 1024, peakKib(RUSAGE_CHILDREN) / 1024);
    return 0;
}
