#include "measure/fenced_read.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <new>
#include <poll.h>
#include <string>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <vector>

#include "measure/hdf5_objects.h"
#include "measure/row_scatter.h"
#include "measure/sample_stream.h"

namespace {

thread_local ReadCancelCheck t_cancel = nullptr;
const char* const CANCELLED = "the read was cancelled";

// What the child hands back, in memory both processes map.
struct Outcome {
    int32_t done = 0;
    int32_t ok = 0;
    int64_t sampleBytes = 0;
    SampleLayout layout = SampleLayout::PairRows;
    int64_t columnRows = 0;
    // The samples came as a stream of pieces, not in shared memory.
    int32_t streamed = 0;
    ReadReport report;
    char error[1024] = {};
    // Set by the child's block source when the samples cannot have memory.
    char memoryNote[256] = {};
    // What the child was allowed beyond its samples and margin.
    int64_t allowance = 0;
    CHeader header;
};

// The child's state: it is single-threaded, so plain globals serve.
int g_samplesFd = -1;
Outcome* g_outcome = nullptr;

// The memory the parent could still take when the read began (the child
// inherits its limits but raises its own address-space limit for the library).
int64_t g_parentAvailable = INT64_MAX;

// Field `field` of /proc/PID/statm (0 the size, 1 the resident pages) in
// bytes; `pid` 0 for this process, and 0 bytes when unknown.
int64_t statmBytes(pid_t pid, int field) {
    const std::string path = pid ? "/proc/" + std::to_string(pid) + "/statm" : "/proc/self/statm";
    std::FILE* f = std::fopen(path.c_str(), "r");
    long pages[2] = {0, 0};
    if (f && std::fscanf(f, "%ld %ld", &pages[0], &pages[1]) != 2) pages[0] = pages[1] = 0;
    if (f) std::fclose(f);
    return int64_t(pages[field]) * sysconf(_SC_PAGESIZE);
}

// The child's memory: what it has now, plus `bytes` more.
void limitMemory(int64_t bytes) {
#if !defined(__SANITIZE_ADDRESS__)
    // (The address sanitizer reserves terabytes it never uses; its own
    // allocator refuses what cannot be had.)
    rlimit limit{};
    getrlimit(RLIMIT_AS, &limit);
    limit.rlim_cur = rlim_t(statmBytes(0, 0) + bytes);
    setrlimit(RLIMIT_AS, &limit);
#else
    (void)bytes;
#endif
}

void raiseMemoryLimit(int64_t bytes) {
#if !defined(__SANITIZE_ADDRESS__)
    rlimit limit{};
    if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
        limit.rlim_cur += rlim_t(bytes);
        setrlimit(RLIMIT_AS, &limit);
    }
#else
    (void)bytes;
#endif
}

// The samples in shared memory, refused beyond what the machine has.
void* sharedBlock(int64_t bytes) {
    const int64_t available = g_parentAvailable;
    if (bytes > available) {
        std::snprintf(g_outcome->memoryNote, sizeof g_outcome->memoryNote,
                      "the samples need %ld MB and the machine has %ld MB available",
                      long(bytes >> 20), long(available >> 20));
        return nullptr;
    }
    if (ftruncate(g_samplesFd, bytes) != 0) return nullptr;
    raiseMemoryLimit(bytes);
    void* block = mmap(nullptr, size_t(bytes), PROT_READ | PROT_WRITE, MAP_SHARED, g_samplesFd, 0);
    return block == MAP_FAILED ? nullptr : block;
}

// A piece of samples the child offers its parent, or the size they take.
struct Message {
    int64_t kind;
    int64_t first;
    int64_t count;
    uint64_t address;
};
constexpr int64_t BEGIN = 1, PUT = 2, PUT_ROWS = 3;
// The most values a piece of interleaved rows may hold (the receiver's
// buffer for spreading them).
constexpr int64_t MAX_ROWS_PIECE = int64_t(1) << 20;

int g_toParent = -1, g_fromParent = -1;
int64_t g_streamedBytes = 0;

// All of `size` bytes through `transfer` (read or write), going on after
// an interruption or a short count.
template <typename Transfer> bool whole(int fd, char* p, size_t size, Transfer transfer) {
    while (size > 0) {
        const ssize_t n = transfer(fd, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n, size -= size_t(n);
    }
    return true;
}

bool writeAll(int fd, const void* data, size_t size) {
    return whole(fd, static_cast<char*>(const_cast<void*>(data)), size,
                 [](int f, char* p, size_t n) { return write(f, p, n); });
}

bool readAll(int fd, void* data, size_t size) {
    return whole(fd, static_cast<char*>(data), size,
                 [](int f, char* p, size_t n) { return read(f, p, n); });
}

// Pieces offered whose answers have not come yet.
int g_answersDue = 0;

// The parent's yes or no to the oldest piece it has not answered yet.
bool parentAnswer() {
    char answer = 0;
    return readAll(g_fromParent, &answer, 1) && answer == 1;
}

bool streamBegin(int64_t rows, int channels) {
    g_streamedBytes = samplesBytes(rows, channels, SAMPLE_FORMAT_REAL);
    const Message message{BEGIN, rows, channels, 0};
    return writeAll(g_toParent, &message, sizeof message) && parentAnswer();
}

// The parent copies pieces out of this process's memory while the reader
// converts the next ones into its other buffers: this returns once every
// piece but the last STREAM_PIECES - 1 was taken, so that neither process
// waits for the other's wake-up on every piece.
bool streamPut(int64_t firstRow, const float* piece, int64_t rows, bool interleaved) {
    for (; g_answersDue >= STREAM_PIECES - 1; --g_answersDue)
        if (!parentAnswer()) return false;
    const Message message{interleaved ? PUT_ROWS : PUT, firstRow, rows,
                          uint64_t(reinterpret_cast<uintptr_t>(piece))};
    if (!writeAll(g_toParent, &message, sizeof message)) return false;
    ++g_answersDue;
    return true;
}

// The last piece taken: the reader's buffers may go.
bool streamFinish() {
    for (; g_answersDue > 0; --g_answersDue)
        if (!parentAnswer()) return false;
    return true;
}

const SampleStream g_childStream{streamBegin, streamPut, streamFinish};

[[noreturn]] void runChild(const FencedReader& read, Outcome* out, int samplesFd, int toParent,
                           int fromParent, pid_t parent, const FenceLimits& limits) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(1);
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
#if !defined(__SANITIZE_ADDRESS__)
    // A crash ends the child quietly; the parent tells it in one line
    // (Python's fault handler would print its traceback from here).
    for (int crash : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT})
        std::signal(crash, SIG_DFL);
#endif
    // The parent held the lock across fork() so that no other thread was in
    // the library; this process has only the thread that forked.
    hdf5::libraryLock().unlock();
    g_samplesFd = samplesFd;
    g_outcome = out;
    g_toParent = toParent;
    g_fromParent = fromParent;
    setSampleBlockSource(sharedBlock);
    if (fromParent >= 0) setSampleStream(&g_childStream);
    limitMemory(limits.memoryMargin);
    bool ok = false;
    std::string why;
    CMeasure m;
    try {
        ok = read(m, &why, &out->report);
    } catch (const std::bad_alloc&) {
        why = "the library ran out of the memory a file of this size may take";
    }
    // A reader that ended without finishing its stream hands nothing over.
    if (g_answersDue > 0 && ok) {
        ok = false;
        why = "the samples could not be handed over";
    }
    if (!ok && out->memoryNote[0]) why = out->memoryNote;
    out->header = m;
    out->ok = ok;
    out->streamed = ok && !m.hasSamples() && g_streamedBytes > 0;
    out->sampleBytes = !ok ? 0 : m.hasSamples() ? m.sampleBytes() : g_streamedBytes;
    out->layout = m.layout();
    out->columnRows = m.columnRows();
    std::snprintf(out->error, sizeof out->error, "%s", why.c_str());
    out->done = 1;
    // The parent goes on at this end of the pipe, not after the kernel has
    // taken this process's memory apart.
    close(toParent);
    _exit(0);
}

// Answered: the child gave its answer and closed its pipe; its exit is left.
enum class Ending { Exited, Answered, TimedOut, Cancelled, OverMemory, Misbehaved };

// What the child may hold resident: the pages it shares with this process
// since fork(), its samples and the margin. Watched here as well as by its
// own limit, which the address sanitizer's builds go without.
struct MemoryWatch {
    int64_t baseline;
    int64_t margin;
    int samplesFd;
    const Outcome* outcome;
    bool exceeded(pid_t child) const {
        struct stat samples {};
        const int64_t held = fstat(samplesFd, &samples) == 0 ? int64_t(samples.st_size) : 0;
        return statmBytes(child, 1) > baseline + held + margin + outcome->allowance;
    }
};

// Takes the child's stream of samples into `m`: memory for them once, then
// each piece copied out of the child's memory. Anything else the child
// sends, or a piece outside what it asked for, is refused.
class StreamReceiver {
  public:
    StreamReceiver(CMeasure& m, pid_t child, int answerFd, Outcome& out)
        : m_(m), child_(child), answerFd_(answerFd), out_(out) {}

    bool take(const Message& message) {
        bool yes = false;
        if (message.kind == BEGIN && rows_ < 0 && message.first > 0 && message.first <= INT32_MAX &&
            message.count >= 1 && message.count <= MAX_CHANNELS) {
            std::string refusal;
            yes =
                m_.allocateSamples(message.first, int(message.count), SAMPLE_FORMAT_REAL, &refusal);
            if (!yes) std::snprintf(out_.memoryNote, sizeof out_.memoryNote, "%s", refusal.c_str());
            rows_ = yes ? message.first : 0;
            channels_ = int(message.count);
        } else if ((message.kind == PUT || message.kind == PUT_ROWS) && copyFailed_) {
            // After a piece that could not be copied (the child gone, or its
            // piece not where it said) the ones it had already sent are
            // refused as well.
        } else if ((message.kind == PUT || message.kind == PUT_ROWS) && rows_ > 0 &&
                   message.first == received_ && message.count > 0 &&
                   message.count <= rows_ - message.first) {
            yes = message.kind == PUT ? copyColumns(message) : copyRows(message);
            if (yes) received_ += message.count;
            copyFailed_ = !yes;
        } else {
            return false;
        }
        // Sent without SIGPIPE: a child that crashed with pieces still to be
        // answered must not take this process with it. One that is gone
        // cannot take the answer; its end is told by its pipe closing.
        const char answer = yes ? 1 : 0;
        send(answerFd_, &answer, 1, MSG_NOSIGNAL);
        return true;
    }
    // Every row the child announced arrived.
    bool complete() const { return rows_ > 0 && received_ == rows_; }

  private:
    // A piece holding its rows channel after channel: each run goes to its
    // channel's column.
    bool copyColumns(const Message& message) {
        const size_t run = size_t(message.count) * sizeof(float);
        iovec here[MAX_CHANNELS];
        for (int c = 0; c < channels_; ++c)
            here[c] = iovec{m_.column(c) + message.first, run};
        return copyFromChild(here, unsigned(channels_), message.address, run * channels_);
    }
    // A piece of interleaved rows: copied whole, then spread into the
    // columns here, while the child reads its next piece.
    bool copyRows(const Message& message) {
        const int64_t values = message.count * channels_;
        if (values > MAX_ROWS_PIECE) return false;
        rowsPiece_.resize(size_t(values));
        iovec here{rowsPiece_.data(), size_t(values) * sizeof(float)};
        if (!copyFromChild(&here, 1, message.address, here.iov_len)) return false;
        scatterRows(rowsPiece_.data(), message.count, channels_, m_.column(0) + message.first,
                    m_.columnRows());
        return true;
    }
    bool copyFromChild(const iovec* here, unsigned pieces, uint64_t address, size_t bytes) {
        iovec there{reinterpret_cast<void*>(uintptr_t(address)), bytes};
        return process_vm_readv(child_, here, pieces, &there, 1, 0) == ssize_t(bytes);
    }

    CMeasure& m_;
    pid_t child_;
    int answerFd_;
    Outcome& out_;
    int64_t rows_ = -1;
    int channels_ = 0;
    int64_t received_ = 0;
    std::vector<float> rowsPiece_;
    bool copyFailed_ = false;
};

void waitFor(pid_t child, int& status) {
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
}

// A child that has answered and only has its exit left: waited for on a
// thread of its own, so that no zombie stays behind.
void reapLater(pid_t child) {
    int status = 0;
    if (waitpid(child, &status, WNOHANG) == child) return;
    try {
        std::thread([child] {
            int ended = 0;
            waitFor(child, ended);
        }).detach();
    } catch (const std::system_error&) {
        waitFor(child, status);
    }
}

// The child's outcome, copied out of the memory it shares while its exit is
// still to come: a child the library let run code of a file's choosing could
// change the shared one after it was checked. Only a child whose samples are
// all in this process's own memory is left to end on its own; one whose
// samples are in the shared file is waited for first, so that it cannot cut
// that file under the mapping made of it.
std::unique_ptr<Outcome> settle(pid_t child, Ending& ending, int& status, const Outcome& shared) {
    auto out = std::make_unique<Outcome>(shared);
    if (ending != Ending::Answered) return out;
    ending = Ending::Exited;
    status = 0;
    if (out->ok && out->streamed) {
        reapLater(child);
    } else {
        waitFor(child, status);
        *out = shared;
    }
    return out;
}

// Waits for the child's end, told by its end of the pipe closing, taking
// what it streams on the way.
Ending awaitChild(pid_t child, int pipeEnd, double seconds, const MemoryWatch& memory,
                  StreamReceiver* receiver, const Outcome& outcome, int& status) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    auto nextLook = Clock::now();
    Ending ending = Ending::Exited;
    for (;;) {
        pollfd p{pipeEnd, POLLIN, 0};
        const int ready = poll(&p, 1, 50);
        if (ready < 0 && errno != EINTR) break;
        if (ready > 0) {
            Message message{};
            if (!readAll(pipeEnd, &message, sizeof message)) break; // the child ended
            if (!receiver || !receiver->take(message)) {
                ending = Ending::Misbehaved;
                break;
            }
        }
        // Asked at most 20 times a second, however fast pieces come.
        if (Clock::now() < nextLook) continue;
        nextLook = Clock::now() + std::chrono::milliseconds(50);
        if (t_cancel && t_cancel()) {
            ending = Ending::Cancelled;
            break;
        }
        if (memory.exceeded(child)) {
            ending = Ending::OverMemory;
            break;
        }
        if (Clock::now() > deadline) {
            ending = Ending::TimedOut;
            break;
        }
    }
    if (ending != Ending::Exited) kill(child, SIGKILL);
    // Its answer is in: the caller decides whether to wait for its exit.
    if (ending == Ending::Exited && outcome.done) return Ending::Answered;
    waitFor(child, status);
    return ending;
}

// The child's texts are ended within their fields whatever it wrote there.
void terminateTexts(CHeader& h) {
    h.name[sizeof h.name - 1] = h.path[sizeof h.path - 1] = '\0';
    for (ChannelInfo& c : h.channels)
        c.name[sizeof c.name - 1] = c.unit[sizeof c.unit - 1] = '\0';
    for (SignalParameters& p : h.signalParameters)
        for (SignalComponent& c : p.components)
            c.name[sizeof c.name - 1] = '\0';
}

// The files' matrices the child listed: no more than the list holds, texts
// ended within their fields, shapes a file can have (the desktop shows them
// and may name one back to read).
void boundCandidates(ReadReport& r) {
    const int32_t count = std::clamp(r.candidateCount, 0, MAX_SAMPLES_CANDIDATES);
    int32_t kept = 0;
    for (int32_t i = 0; i < count; ++i) {
        SamplesCandidate c = r.candidates[i];
        c.name[sizeof c.name - 1] = c.type[sizeof c.type - 1] = '\0';
        if (c.name[0] && (c.rank == 1 || c.rank == 2) && c.dims[0] >= 0 && c.dims[1] >= 0)
            r.candidates[kept++] = c;
    }
    r.candidateCount = kept;
    std::fill(r.candidates + kept, r.candidates + MAX_SAMPLES_CANDIDATES, SamplesCandidate{});
}

// The description the child gave fits the samples it handed over: nothing
// read later may go past them.
bool describesItsSamples(const CMeasure& m, int64_t bytes) {
    if (m.channelCount < 0 || m.channelCount > MAX_CHANNELS || m.sampleCount < 0) return false;
    for (const SignalParameters& p : m.signalParameters)
        if (p.componentCount < 0 || p.componentCount > MAX_COMPONENTS) return false;
    if (!m.hasSamples()) return true;
    if (m.channelCount < 1 || m.sampleBytes() > bytes) return false;
    if (m.layout() == SampleLayout::PairRows)
        return samplesBytes(m.sampleCount, m.channelCount, SAMPLE_FORMAT_COMPLEX) <= bytes;
    return m.columnRows() >= m.sampleCount &&
           m.columnRows() <= bytes / int64_t(sizeof(float)) / m.channelCount;
}

std::string endingText(Ending ending, int status, double seconds, int64_t margin,
                       const Outcome& out) {
    char text[256];
    if (ending == Ending::Cancelled) return CANCELLED;
    if (ending == Ending::Misbehaved)
        return "the process reading the file sent what it was not asked for; the file is damaged";
    if (ending == Ending::OverMemory)
        return "reading the file took more memory than its samples and a margin of " +
               std::to_string(margin >> 20) + " MB and was stopped; it is damaged";
    if (ending == Ending::TimedOut) {
        std::snprintf(text, sizeof text,
                      "reading the file took more than %.0f s and was stopped; it is damaged or "
                      "asks for more work than its size can justify",
                      seconds);
        return text;
    }
    if (WIFSIGNALED(status)) {
        std::snprintf(text, sizeof text,
                      "the file library stopped on this file (signal %d, %s); it is damaged",
                      WTERMSIG(status), strsignal(WTERMSIG(status)));
        return text;
    }
    if (!out.done) return "the file library stopped on this file without an answer; it is damaged";
    return std::string(out.error, strnlen(out.error, sizeof out.error));
}

// Gives `m` the child's samples: its shared memory, mapped here.
bool takeSamples(CMeasure& m, int fd, const Outcome& out) {
    const int64_t bytes = out.sampleBytes;
    if (out.layout != SampleLayout::PairRows && out.layout != SampleLayout::RealColumns)
        return false;
    if (bytes <= 0) return true;
    if (ftruncate(fd, bytes) != 0) return false; // nothing kept beyond the samples
    // Its size fixed for good: a process the child left behind with the file
    // open cannot cut it under the mapping (reading there would crash).
    if (fcntl(fd, F_ADD_SEALS, F_SEAL_SHRINK | F_SEAL_GROW | F_SEAL_SEAL) != 0) return false;
    void* block =
        mmap(nullptr, size_t(bytes), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_POPULATE, fd, 0);
    if (block == MAP_FAILED) return false;
    m.adoptMapping(block, bytes, bytes, out.layout, out.columnRows);
    return true;
}

// Whether this process may copy memory out of its children: not where a
// security module or a system call filter forbids it (the samples then come
// in shared memory).
bool streamingWorks() {
    static const bool works = [] {
        std::FILE* f = std::fopen("/proc/sys/kernel/yama/ptrace_scope", "r");
        int scope = 0;
        if (f && std::fscanf(f, "%d", &scope) != 1) scope = 0;
        if (f) std::fclose(f);
        int value = 1, copy = 0;
        iovec here{&copy, sizeof copy}, there{&value, sizeof value};
        return scope <= 1 && process_vm_readv(getpid(), &here, 1, &there, 1, 0) == sizeof copy &&
               copy == 1;
    }();
    return works;
}

double fileSize(const char* path) {
    struct stat s {};
    return stat(path, &s) == 0 ? double(s.st_size) : 0.0;
}

struct Shared {
    Outcome* outcome = nullptr;
    int samplesFd = -1;
    int pipe[2] = {-1, -1};
    int answers[2] = {-1, -1};
    ~Shared() {
        if (outcome) {
            outcome->~Outcome();
            munmap(outcome, sizeof(Outcome));
        }
        for (int fd : {samplesFd, pipe[0], pipe[1], answers[0], answers[1]})
            if (fd >= 0) close(fd);
    }
    bool open() {
        void* memory = mmap(nullptr, sizeof(Outcome), PROT_READ | PROT_WRITE,
                            MAP_SHARED | MAP_ANONYMOUS, -1, 0);
        if (memory == MAP_FAILED) return false;
        outcome = new (memory) Outcome();
        samplesFd = memfd_create("ondarix-samples", MFD_CLOEXEC | MFD_ALLOW_SEALING);
        // The answers go over a socket, which can refuse a write to a child
        // that is gone without a signal.
        return samplesFd >= 0 && pipe2(pipe, O_CLOEXEC) == 0 &&
               socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, answers) == 0;
    }
};

} // namespace

bool readWasCancelled(const std::string& error) {
    return error == CANCELLED;
}

void allowReadingMemory(int64_t bytes) {
    if (!g_outcome || bytes <= 0) return;
    g_outcome->allowance += bytes;
    raiseMemoryLimit(bytes);
}

ReadCancelCheck setReadCancelCheck(ReadCancelCheck check) {
    ReadCancelCheck before = t_cancel;
    t_cancel = check;
    return before;
}

bool readFenced(CMeasure& m, const char* path, const FencedReader& read, std::string* error,
                ReadReport* report, const FenceLimits& limits) {
    Shared shared;
    std::string why;
    pid_t child = -1;
    int64_t baseline = 0;
    if (shared.open()) {
        const pid_t parent = getpid();
        baseline = statmBytes(0, 1);
        std::lock_guard<std::mutex> quiet(hdf5::libraryLock());
        const int answers = streamingWorks() ? shared.answers[0] : -1;
        g_parentAvailable = availableMemory();
        child = fork();
        if (child == 0)
            runChild(read, shared.outcome, shared.samplesFd, shared.pipe[1], answers, parent,
                     limits);
    }
    if (child < 0) {
        why = std::string("cannot start the process that reads the file: ") + std::strerror(errno);
    } else {
        for (int* end : {&shared.pipe[1], &shared.answers[0]}) {
            close(*end);
            *end = -1;
        }
        const double seconds = limits.baseSeconds + fileSize(path) / limits.bytesPerSecond;
        int status = 0;
        const MemoryWatch memory{baseline, limits.memoryMargin, shared.samplesFd, shared.outcome};
        StreamReceiver receiver(m, child, shared.answers[1], *shared.outcome);
        Ending ending =
            awaitChild(child, shared.pipe[0], seconds, memory, &receiver, *shared.outcome, status);
        const std::unique_ptr<Outcome> settled = settle(child, ending, status, *shared.outcome);
        const Outcome& out = *settled;
        const bool answered = ending == Ending::Exited && WIFEXITED(status) && out.done;
        if (answered) {
            static_cast<CHeader&>(m) = out.header;
            terminateTexts(m);
            if (report) {
                *report = out.report;
                boundCandidates(*report);
            }
        }
        if (answered && out.ok && out.streamed && !receiver.complete())
            why = "the process reading the file sent fewer samples than it read; the file is "
                  "damaged";
        else if (answered && out.ok && !out.streamed && !takeSamples(m, shared.samplesFd, out))
            why = "not enough memory for the samples";
        else if (!answered || !out.ok)
            why = endingText(ending, status, seconds, limits.memoryMargin, out);
        if (why.empty() && answered && !describesItsSamples(m, m.sampleBytes()))
            why = "the process reading the file described more samples than it read; the file "
                  "is damaged";
        if (!why.empty()) {
            m.releaseSamples();
            m.sampleCount = 0;
        }
    }
    if (error) *error = why;
    return why.empty();
}
