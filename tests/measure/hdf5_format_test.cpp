#include "measure/hdf5_format.h"

#include <gtest/gtest.h>
#include <hdf5.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "measure/file_io.h"
#include "measure/measure_file.h"
#include "support/temp_dir.h"

namespace {

// Files as other programs lay them out, built with the HDF5 C library.
class H5File {
  public:
    explicit H5File(const std::string& path)
        : id_(H5Fcreate(path.c_str(), H5F_ACC_TRUNC, H5P_DEFAULT, H5P_DEFAULT)) {}
    ~H5File() {
        for (hid_t d : datasets_)
            H5Dclose(d);
        H5Fclose(id_);
    }
    hid_t id() const { return id_; }

    hid_t dataset(const char* name, hid_t type, std::vector<hsize_t> dims, const void* data) {
        hid_t lcpl = H5Pcreate(H5P_LINK_CREATE);
        H5Pset_create_intermediate_group(lcpl, 1);
        hid_t space = H5Screate_simple(int(dims.size()), dims.data(), nullptr);
        hid_t d = H5Dcreate2(id_, name, type, space, lcpl, H5P_DEFAULT, H5P_DEFAULT);
        if (data) H5Dwrite(d, type, H5S_ALL, H5S_ALL, H5P_DEFAULT, data);
        H5Sclose(space);
        H5Pclose(lcpl);
        datasets_.push_back(d);
        return d;
    }
    hid_t samples(const std::vector<float>& values, hsize_t channels) {
        return dataset("samples", H5T_NATIVE_FLOAT, {values.size() / channels, channels},
                       values.data());
    }

  private:
    hid_t id_;
    std::vector<hid_t> datasets_;
};

hid_t attributeSpace(size_t count, bool scalar) {
    const hsize_t n = count;
    return scalar ? H5Screate(H5S_SCALAR) : H5Screate_simple(1, &n, nullptr);
}

void putAttribute(hid_t object, const char* name, hid_t type, hid_t space, const void* data) {
    hid_t a = H5Acreate2(object, name, type, space, H5P_DEFAULT, H5P_DEFAULT);
    H5Awrite(a, type, data);
    H5Aclose(a);
    H5Sclose(space);
}

// Variable-length UTF-8, as h5py writes a str or a list of them.
void putTexts(hid_t object, const char* name, std::vector<const char*> texts, bool scalar = false) {
    hid_t type = H5Tcopy(H5T_C_S1);
    H5Tset_size(type, H5T_VARIABLE);
    H5Tset_cset(type, H5T_CSET_UTF8);
    putAttribute(object, name, type, attributeSpace(texts.size(), scalar), texts.data());
    H5Tclose(type);
}

// Fixed-length, blank-padded, as MATLAB and Fortran programs write them.
void putFixedTexts(hid_t object, const char* name, const std::vector<std::string>& texts,
                   size_t width) {
    std::string bytes;
    for (const std::string& t : texts)
        bytes += t + std::string(width - t.size(), ' ');
    hid_t type = H5Tcopy(H5T_C_S1);
    H5Tset_size(type, width);
    H5Tset_strpad(type, H5T_STR_SPACEPAD);
    putAttribute(object, name, type, attributeSpace(texts.size(), false), bytes.data());
    H5Tclose(type);
}

void putNumbers(hid_t object, const char* name, std::vector<double> values, bool scalar = false) {
    putAttribute(object, name, H5T_NATIVE_DOUBLE, attributeSpace(values.size(), scalar),
                 values.data());
}

struct Read {
    bool ok;
    std::string why;
    ReadReport report;
};

Read readFile(CMeasure& m, const std::string& path, const ReadOptions& options = {}) {
    Read r{};
    r.ok = readHdf5(m, path.c_str(), &r.why, options, &r.report);
    return r;
}

// Reading dataset `name` of `path` is refused for `expected`, leaving no samples.
void expectRefused(const std::string& path, const std::string& name, const std::string& expected) {
    CMeasure m;
    ReadOptions options;
    options.dataset = name;
    Read r = readFile(m, path, options);
    EXPECT_FALSE(r.ok) << name;
    EXPECT_EQ(r.why, expected) << name;
    EXPECT_FALSE(m.hasSamples()) << name;
}

void fillMeasure(CMeasure& m, int channels, int rows) {
    m.channelCount = channels;
    m.sampleCount = rows;
    m.sampleRate = 50.00000112;
    m.allocateSamples();
    describePlainChannels(m);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < channels; ++c)
            m.setSample(c, r, Sample{float(r) * 0.25f - float(c) * 1e-3f + 1.0f / 3.0f, 0.0f});
}

} // namespace

TEST(Hdf5Format, WrittenMeasurementReadsBackWithEveryDescription) {
    TempDir dir;
    const std::string path = dir.file("m.h5");
    CMeasure m;
    fillMeasure(m, 3, 20000);
    copyField(m.name, sizeof m.name,
              "Pr\xF3"
              "ba \xB3\xF3"
              "d\xBC");
    m.date = packDosDate(2026, 3, 14, 9, 26, 52);
    setChannelInfo(m.channels[0], 0.5, -2.25, "m", "gauge 1");
    setChannelInfo(m.channels[2], 2.0, 1.0, "cm/s", "vel\xEA");
    std::string why;
    ASSERT_TRUE(writeHdf5(m, path.c_str(), &why)) << why;

    CMeasure back;
    Read r = readFile(back, path);
    ASSERT_TRUE(r.ok) << r.why;
    EXPECT_STREQ(back.name, m.name);
    EXPECT_EQ(back.date, m.date);
    EXPECT_EQ(back.sampleRate, m.sampleRate);
    ASSERT_EQ(back.channelCount, 3);
    ASSERT_EQ(back.sampleCount, 20000);
    for (int c = 0; c < 3; ++c) {
        EXPECT_STREQ(back.channels[c].name, m.channels[c].name);
        EXPECT_STREQ(back.channels[c].unit, m.channels[c].unit);
        EXPECT_EQ(back.channels[c].coefficient, m.channels[c].coefficient);
        EXPECT_EQ(back.channels[c].constant, m.channels[c].constant);
    }
    EXPECT_EQ(std::memcmp(back.blockBytes(), m.blockBytes(), size_t(back.sampleBytes())), 0);

    CMeasure header;
    std::string headerWhy;
    ASSERT_TRUE(readHdf5Header(header, path.c_str(), &headerWhy)) << headerWhy;
    EXPECT_EQ(header.sampleCount, 20000);
    EXPECT_FALSE(header.hasSamples());
}

TEST(Hdf5Format, RefusedWriteLeavesTheOldFile) {
    TempDir dir;
    const std::string path = dir.file("m.h5");
    writeString(path, "old");
    CMeasure m;
    fillMeasure(m, 1, 10);
    m.sampleRate = 0;
    std::string why;
    EXPECT_FALSE(writeHdf5(m, path.c_str(), &why));
    EXPECT_EQ(why, "an HDF5 file needs a sample rate above 0");
    const std::vector<unsigned char> bytes = readBytes(path);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "old");
}

TEST(Hdf5Format, TakesTextsOfEveryStorageAndDefaultsWhatIsAbsent) {
    TempDir dir;
    const std::string path = dir.file("m.h5");
    {
        H5File f(path);
        hid_t d = f.samples({1, 2, 3, 4, 5, 6}, 2);
        putFixedTexts(d, "channel_names", {"left", "right"}, 12);
        putTexts(d, "units", {"m", "mm"});
        putTexts(f.id(), "name", {"run 7"}, true);
        putTexts(f.id(), "date", {"2025-11-02 13:05:00"}, true);
        putNumbers(f.id(), "sample_rate", {20.0}, true);
    }
    CMeasure m;
    Read r = readFile(m, path);
    ASSERT_TRUE(r.ok) << r.why;
    EXPECT_STREQ(m.name, "run 7");
    EXPECT_EQ(m.date, packDosDate(2025, 11, 2, 13, 5, 0));
    EXPECT_EQ(m.sampleRate, 20.0);
    EXPECT_STREQ(m.channels[0].name, "left");
    EXPECT_STREQ(m.channels[1].name, "right");
    EXPECT_STREQ(m.channels[1].unit, "mm");
    EXPECT_EQ(m.channels[1].coefficient, 1.0);
    EXPECT_EQ(m.channels[1].constant, 0.0);
    EXPECT_EQ(m.value(1, 2), 6.0f);
}

TEST(Hdf5Format, ReadsAnotherProgramsDatasetWithTimeAlongItsLongerSide) {
    TempDir dir;
    const std::string path = dir.file("m.h5");
    std::vector<int16_t> table(2 * 500);
    for (size_t i = 0; i < table.size(); ++i)
        table[i] = int16_t(i);
    std::vector<double> trace = {0.5, -1.5, 2.5};
    {
        H5File f(path);
        hid_t d = f.dataset("/run/gauges", H5T_NATIVE_INT16, {2, 500}, table.data());
        putNumbers(d, "fs", {100.0});
        f.dataset("trace", H5T_NATIVE_DOUBLE, {3}, trace.data());
    }
    CMeasure m;
    ReadOptions options;
    options.dataset = "/run/gauges";
    Read r = readFile(m, path, options);
    ASSERT_TRUE(r.ok) << r.why;
    ASSERT_EQ(m.channelCount, 2);
    ASSERT_EQ(m.sampleCount, 500);
    EXPECT_EQ(m.sampleRate, 100.0);
    EXPECT_EQ(m.value(0, 499), 499.0f);
    EXPECT_EQ(m.value(1, 0), 500.0f);
    EXPECT_STREQ(m.channels[1].name, "Channel 2");
    EXPECT_STREQ(m.channels[1].unit, "?");

    // No rate anywhere: the caller's, or a refusal that says so.
    CMeasure plain;
    options.dataset = "trace";
    r = readFile(plain, path, options);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.report.rateNeeded);
    options.rate = 8.0;
    CMeasure rated;
    r = readFile(rated, path, options);
    ASSERT_TRUE(r.ok) << r.why;
    EXPECT_EQ(rated.channelCount, 1);
    EXPECT_EQ(rated.value(0, 2), 2.5f);
    EXPECT_EQ(rated.sampleRate, 8.0);

    // Without /samples the refusal names the datasets there are.
    CMeasure none;
    r = readFile(none, path);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.report.datasetNeeded);
    EXPECT_EQ(r.why, "the file holds no /samples; name the dataset to read (/run/gauges, /trace)");
}

TEST(Hdf5Format, RefusesDatasetsAndAttributesItCannotTake) {
    TempDir dir;
    const std::string path = dir.file("m.h5");
    const std::vector<float> cube(8, 1.0f);
    {
        H5File f(path);
        hid_t d = f.samples({1, 2, 3, 4}, 2);
        putNumbers(f.id(), "sample_rate", {10.0}, true);
        putTexts(d, "channel_names", {"a", "b", "c"});
        hid_t coefficients = f.dataset("coef", H5T_NATIVE_FLOAT, {3}, cube.data());
        putTexts(coefficients, "coefficients", {"1"});
        f.dataset("cube", H5T_NATIVE_FLOAT, {2, 2, 2}, cube.data());
        f.dataset("empty", H5T_NATIVE_FLOAT, {0, 2}, nullptr);
        f.dataset("wide", H5T_NATIVE_FLOAT, {70, 65}, nullptr);
        hid_t text = H5Tcopy(H5T_C_S1);
        H5Tset_size(text, 4);
        f.dataset("words", text, {2}, "abcdefgh");
        H5Tclose(text);
        hid_t odd = f.dataset("odd", H5T_NATIVE_FLOAT, {3}, cube.data());
        putNumbers(odd, "sample_rate", {-5.0});
        hid_t named = f.dataset("named", H5T_NATIVE_FLOAT, {3}, cube.data());
        putNumbers(named, "channel_names", {1.0});
    }
    const std::pair<const char*, const char*> cases[] = {
        {"", "attribute channel_names of /samples holds 3 texts for 2 channels"},
        {"cube", "dataset /cube has 3 dimensions; a measurement is read from 1 or 2"},
        {"empty", "dataset /empty is empty"},
        {"wide", "dataset /wide holds 65 channels; at most 64 fit in a measurement"},
        {"words", "dataset /words holds text, not numbers"},
        {"odd", "attribute sample_rate of /odd is not one positive number"},
        {"named", "attribute channel_names of /named is not text"},
        {"coef", "attribute coefficients of /coef does not hold numbers"},
        {"/no/such", "the file holds no dataset /no/such"},
    };
    for (const auto& [name, expected] : cases)
        expectRefused(path, name, expected);
}

TEST(Hdf5Format, FileCutOrDamagedAnywhereIsRefusedInOneLine) {
    TempDir dir;
    const std::string whole = dir.file("whole.h5"), cut = dir.file("cut.h5");
    CMeasure m;
    fillMeasure(m, 4, 3000);
    ASSERT_TRUE(writeHdf5(m, whole.c_str()));
    const std::vector<unsigned char> bytes = readBytes(whole);
    for (size_t length = 0; length < bytes.size(); length += length < 4096 ? 13 : 997) {
        writeBytes(cut, std::vector<unsigned char>(bytes.begin(), bytes.begin() + long(length)));
        CMeasure back;
        Read r = readFile(back, cut);
        EXPECT_FALSE(r.ok) << length;
        EXPECT_FALSE(r.why.empty()) << length;
        EXPECT_EQ(r.why.find('\n'), std::string::npos) << length;
    }
    // Damaged metadata: refused in one line, or read when the damage is
    // where nothing looks.
    for (size_t at = 0; at < 2048; at += 5) {
        std::vector<unsigned char> damaged = bytes;
        damaged[at] ^= 0xFF;
        writeBytes(cut, damaged);
        CMeasure back;
        Read r = readFile(back, cut);
        if (r.ok) continue;
        EXPECT_FALSE(r.why.empty()) << at;
        EXPECT_EQ(r.why.find('\n'), std::string::npos) << at;
        EXPECT_EQ(back.sampleCount * back.channelCount == 0 || back.hasSamples(), true) << at;
    }
    // The one chunk's size in the chunk index (48000 bytes, no filter mask)
    // made smaller: the library would copy 48000 bytes out of the smaller
    // buffer it reads.
    const unsigned char key[] = {0x80, 0xBB, 0, 0, 0, 0, 0, 0};
    auto found = std::search(bytes.begin(), bytes.end(), key, key + sizeof key);
    ASSERT_NE(found, bytes.end());
    std::vector<unsigned char> damaged = bytes;
    damaged[size_t(found - bytes.begin()) + 1] = 0x44;
    writeBytes(cut, damaged);
    CMeasure shrunk;
    EXPECT_EQ(readFile(shrunk, cut).why,
              "dataset /samples is damaged: it stores fewer bytes than its samples take");
    CMeasure missing;
    EXPECT_FALSE(readFile(missing, dir.file("none.h5")).ok);
    writeString(cut, "time,a\n0,1\n");
    EXPECT_EQ(readFile(missing, cut).why, "not an HDF5 file");
}

TEST(Hdf5Format, ReadsAndWritesFromSeveralThreadsAtOnce) {
    TempDir dir;
    CMeasure m;
    fillMeasure(m, 2, 5000);
    const std::string source = dir.file("source.h5");
    ASSERT_TRUE(writeHdf5(m, source.c_str()));
    std::vector<int> failures(4, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            const std::string copy = dir.file("copy" + std::to_string(t) + ".h5");
            for (int i = 0; i < 15; ++i) {
                CMeasure back;
                failures[size_t(t)] +=
                    !readHdf5(back, source.c_str()) ||
                    std::memcmp(back.blockBytes(), m.blockBytes(), size_t(back.sampleBytes())) ||
                    !writeHdf5(back, copy.c_str());
            }
        });
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(failures, std::vector<int>(4, 0));
}

// A file that points elsewhere (a secret beside it, as /etc/passwd would
// be) must not give that file's bytes as samples, by any of the three ways
// HDF5 has of pointing.
TEST(Hdf5Format, DataKeptInAnotherFileIsRefusedNamingIt) {
    TempDir dir;
    const std::string secret = dir.file("secret.bin"), other = dir.file("other.h5");
    writeString(secret, std::string(4096, 'S'));
    {
        H5File f(other);
        f.samples(std::vector<float>(64, 7.0f), 2);
    }
    const std::string path = dir.file("pointing.h5");
    {
        H5File f(path);
        putNumbers(f.id(), "sample_rate", {10.0}, true);
        // External storage: the dataset's bytes are the secret's.
        const hsize_t dims[2] = {256, 2};
        hid_t space = H5Screate_simple(2, dims, nullptr);
        hid_t dcpl = H5Pcreate(H5P_DATASET_CREATE);
        H5Pset_external(dcpl, secret.c_str(), 0, 4096);
        H5Dclose(
            H5Dcreate2(f.id(), "samples", H5T_NATIVE_FLOAT, space, H5P_DEFAULT, dcpl, H5P_DEFAULT));
        H5Pclose(dcpl);
        // A virtual dataset mapping the other file's samples.
        const hsize_t sourceDims[2] = {32, 2};
        hid_t source = H5Screate_simple(2, sourceDims, nullptr);
        hid_t virtualSpace = H5Screate_simple(2, sourceDims, nullptr);
        dcpl = H5Pcreate(H5P_DATASET_CREATE);
        H5Pset_virtual(dcpl, virtualSpace, other.c_str(), "/samples", source);
        H5Dclose(H5Dcreate2(f.id(), "mapped", H5T_NATIVE_FLOAT, virtualSpace, H5P_DEFAULT, dcpl,
                            H5P_DEFAULT));
        H5Pclose(dcpl);
        H5Sclose(source);
        H5Sclose(virtualSpace);
        H5Sclose(space);
        // External links, by absolute and by relative name, and a group
        // on the way that is one.
        H5Lcreate_external(other.c_str(), "/samples", f.id(), "linked", H5P_DEFAULT, H5P_DEFAULT);
        H5Lcreate_external("other.h5", "/samples", f.id(), "relative", H5P_DEFAULT, H5P_DEFAULT);
        H5Lcreate_external(other.c_str(), "/", f.id(), "group", H5P_DEFAULT, H5P_DEFAULT);
        H5Lcreate_soft("/linked", f.id(), "soft", H5P_DEFAULT, H5P_DEFAULT);
    }
    const std::string tail = "; a measurement is read only from the file named, never from another";
    const std::pair<const char*, std::string> cases[] = {
        {"", "dataset /samples is kept in external storage in " + secret + tail},
        {"mapped", "dataset /mapped is a virtual dataset of " + other + tail},
        {"linked", "dataset /linked is an external link to " + other + ":/samples" + tail},
        {"relative", "dataset /relative is an external link to other.h5:/samples" + tail},
        {"group/samples", "dataset /group/samples is an external link to " + other + ":/" + tail},
        {"soft", "dataset /soft is an external link to " + other + ":/samples" + tail},
    };
    for (const auto& [name, expected] : cases)
        expectRefused(path, name, expected);
}

TEST(Hdf5Format, AnEmptyOrBlankNameComesBackAsItWas) {
    TempDir dir;
    const std::string path = dir.file("names.h5");
    CMeasure m;
    fillMeasure(m, 3, 10);
    setChannelInfo(m.channels[0], 1.0, 0.0, "", "");
    setChannelInfo(m.channels[1], 1.0, 0.0, " m ", " gauge [2] ");
    std::string why;
    ASSERT_TRUE(writeHdf5(m, path.c_str(), &why)) << why;
    CMeasure back;
    Read r = readFile(back, path);
    ASSERT_TRUE(r.ok) << r.why;
    for (int c = 0; c < 3; ++c) {
        EXPECT_STREQ(back.channels[c].name, m.channels[c].name) << c;
        EXPECT_STREQ(back.channels[c].unit, m.channels[c].unit) << c;
    }
}

namespace {

// Bytes this process has read from files so far; -1 where the system
// does not say.
int64_t bytesReadSoFar() {
    std::FILE* f = std::fopen("/proc/self/io", "r");
    long long rchar = -1;
    if (f && std::fscanf(f, "rchar: %lld", &rchar) != 1) rchar = -1;
    if (f) std::fclose(f);
    return rchar;
}

} // namespace

// Compressed chunks larger than HDF5's default 1 MiB cache used to be read
// and inflated again for every block of rows: a 1 MB file of four 268 MB
// chunks never finished. Each chunk is read once now.
TEST(Hdf5Format, CompressedChunksLargerThanTheCacheAreReadOnce) {
    TempDir dir;
    const std::string path = dir.file("big-chunks.h5");
    const hsize_t rows = hsize_t(8) << 20, chunkRows = hsize_t(4) << 20;
    {
        std::vector<float> values(rows);
        for (size_t i = 0; i < values.size(); ++i)
            values[i] = float(i % 251) * 0.5f;
        H5File f(path);
        putNumbers(f.id(), "sample_rate", {1000.0}, true);
        hid_t dcpl = H5Pcreate(H5P_DATASET_CREATE);
        const hsize_t chunk[2] = {chunkRows, 1}, dims[2] = {rows, 1};
        H5Pset_chunk(dcpl, 2, chunk);
        H5Pset_deflate(dcpl, 1);
        hid_t space = H5Screate_simple(2, dims, nullptr);
        hid_t d =
            H5Dcreate2(f.id(), "samples", H5T_NATIVE_FLOAT, space, H5P_DEFAULT, dcpl, H5P_DEFAULT);
        H5Dwrite(d, H5T_NATIVE_FLOAT, H5S_ALL, H5S_ALL, H5P_DEFAULT, values.data());
        H5Dclose(d);
        H5Sclose(space);
        H5Pclose(dcpl);
    }
    const int64_t fileBytes = int64_t(readBytes(path).size());
    const int64_t before = bytesReadSoFar();
    if (before < 0) GTEST_SKIP() << "the system does not count the bytes a process reads";
    CMeasure m;
    Read r = readFile(m, path);
    const int64_t read = bytesReadSoFar() - before;
    ASSERT_TRUE(r.ok) << r.why;
    ASSERT_EQ(m.sampleCount, int32_t(rows));
    EXPECT_EQ(m.value(0, int32_t(rows) - 1), float((rows - 1) % 251) * 0.5f);
    EXPECT_LT(read, 2 * fileBytes) << "the file is " << fileBytes << " bytes";
}

// A few bytes of a file may declare a chunk of gigabytes that the library
// would take whole to read any row of 100, or dimensions far beyond what it
// stores (read as zeros: a flipped size made a 75 KB file 400 MB of them).
TEST(Hdf5Format, ChunksThatDoNotFitTheSamplesAreRefused) {
    TempDir dir;
    const std::string path = dir.file("huge-chunk.h5");
    {
        H5File f(path);
        putNumbers(f.id(), "sample_rate", {10.0}, true);
        const hsize_t dims[2] = {100, 1}, most[2] = {H5S_UNLIMITED, 1}, chunk[2] = {1 << 28, 1};
        hid_t space = H5Screate_simple(2, dims, most);
        hid_t dcpl = H5Pcreate(H5P_DATASET_CREATE);
        H5Pset_chunk(dcpl, 2, chunk);
        H5Dclose(
            H5Dcreate2(f.id(), "samples", H5T_NATIVE_FLOAT, space, H5P_DEFAULT, dcpl, H5P_DEFAULT));
        H5Pclose(dcpl);
        H5Sclose(space);
    }
    CMeasure m;
    EXPECT_EQ(readFile(m, path).why,
              "dataset /samples is damaged: its chunks are far larger than its samples");
    {
        H5File f(path);
        putNumbers(f.id(), "sample_rate", {10.0}, true);
        const hsize_t dims[2] = {hsize_t(8) << 20, 1}, chunk[2] = {100, 1}, part[2] = {100, 1};
        hid_t space = H5Screate_simple(2, dims, nullptr);
        hid_t dcpl = H5Pcreate(H5P_DATASET_CREATE);
        H5Pset_chunk(dcpl, 2, chunk);
        hid_t d =
            H5Dcreate2(f.id(), "samples", H5T_NATIVE_FLOAT, space, H5P_DEFAULT, dcpl, H5P_DEFAULT);
        // One chunk of 83887 written.
        const std::vector<float> values(100, 2.5f);
        const hsize_t start[2] = {0, 0};
        hid_t memory = H5Screate_simple(2, part, nullptr);
        H5Sselect_hyperslab(space, H5S_SELECT_SET, start, nullptr, part, nullptr);
        H5Dwrite(d, H5T_NATIVE_FLOAT, memory, space, H5P_DEFAULT, values.data());
        H5Sclose(memory);
        H5Dclose(d);
        H5Pclose(dcpl);
        H5Sclose(space);
    }
    EXPECT_EQ(readFile(m, path).why,
              "dataset /samples is damaged: it declares far more samples than it stores");
}

// Without /samples, every dataset of numbers of 1 or 2 dimensions is listed
// with its shape and type, in the file's order, read through the child as
// the desktop reads; text and cubes are not offered.
TEST(Hdf5Format, DatasetsToChooseFromAreListedWithShapeAndType) {
    TempDir dir;
    const std::string path = dir.file("several.h5");
    std::vector<int16_t> gauges(4 * 1200, 3);
    std::vector<float> level(36, 0.5f), cube(8, 1.0f);
    {
        H5File f(path);
        putNumbers(f.dataset("/run/gauges", H5T_NATIVE_INT16, {4, 1200}, gauges.data()), "fs",
                   {100.0});
        f.dataset("level", H5T_NATIVE_FLOAT, {36}, level.data());
        f.dataset("cube", H5T_NATIVE_FLOAT, {2, 2, 2}, cube.data());
        hid_t text = H5Tcopy(H5T_C_S1);
        H5Tset_size(text, 4);
        f.dataset("note", text, {2}, "abcdefgh");
        H5Tclose(text);
    }
    CMeasure m;
    std::string why;
    ReadReport report;
    EXPECT_FALSE(readMeasure(m, path, FileType::Hdf5, &why, nullptr, {}, &report));
    EXPECT_TRUE(report.datasetNeeded) << why;
    ASSERT_EQ(report.candidateCount, 2) << why;
    EXPECT_EQ(samplesCandidateText(report.candidates[0]), "/level  36 single");
    EXPECT_EQ(samplesCandidateText(report.candidates[1]), "/run/gauges  4 \u00d7 1200 int16");
    EXPECT_EQ(largestSamplesCandidate(report), 1);

    ReadOptions options;
    options.dataset = report.candidates[1].name;
    ASSERT_TRUE(readMeasure(m, path, FileType::Hdf5, &why, nullptr, options, &report)) << why;
    EXPECT_EQ(m.channelCount, 4);
    EXPECT_EQ(m.sampleCount, 1200);
}

// A file of many datasets lists as many as the report holds; the refusal
// still names the first few.
TEST(Hdf5Format, ManyDatasetsFillTheListAndNoMore) {
    TempDir dir;
    const std::string path = dir.file("many.h5");
    std::vector<double> values(3, 1.0);
    {
        H5File f(path);
        for (int i = 0; i < MAX_SAMPLES_CANDIDATES + 8; ++i)
            f.dataset(("d" + std::to_string(100 + i)).c_str(), H5T_NATIVE_DOUBLE, {3},
                      values.data());
    }
    CMeasure m;
    Read r = readFile(m, path);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.report.candidateCount, MAX_SAMPLES_CANDIDATES);
    EXPECT_STREQ(r.report.candidates[MAX_SAMPLES_CANDIDATES - 1].name,
                 ("/d" + std::to_string(100 + MAX_SAMPLES_CANDIDATES - 1)).c_str());
    EXPECT_NE(r.why.find("/d104, ...)"), std::string::npos) << r.why;
}
