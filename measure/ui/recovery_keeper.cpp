#include "measure/ui/recovery_keeper.h"

#include <cstring>
#include <filesystem>
#include <typeinfo>

#include "measure/measure_file.h"
#include "shell/ui/main_frame.h"
#include "view/ui/measure_wnd.h"

namespace {

// Measurement windows proper: result windows and generated drives are made
// again from their sources, and a copy could only bring them back as plain
// measurements.
bool keptWindow(const CMDIChildWnd* child) {
    return child && typeid(*child) == typeid(CMeasureWnd) &&
           static_cast<const CMeasureWnd*>(child)->measure;
}

// A copy of the measurement the worker can write while the window goes on;
// null when there is not the memory for it now.
std::unique_ptr<CMeasure> snapshot(const CMeasure& m) {
    auto copy = std::make_unique<CMeasure>();
    static_cast<CHeader&>(*copy) = m;
    if (!copy->copySamplesFrom(m)) return nullptr;
    return copy;
}

} // namespace

RecoveryKeeper::RecoveryKeeper(CMainFrame& frame, RecoveryStore store,
                               std::chrono::milliseconds period, Clock::duration spacing)
    : QObject(&frame), frame_(frame), store_(std::move(store)), spacing_(spacing) {
    setObjectName(QStringLiteral("recoveryKeeper"));
    connect(&timer_, &QTimer::timeout, this, [this] { keep(Clock::now()); });
    timer_.start(period);
}

RecoveryKeeper::~RecoveryKeeper() {
    finishWriting();
    for (const auto& [serial, kept] : kept_)
        if (kept.copied) store_.remove(serial);
}

RecoveryKeeper* RecoveryKeeper::of(const CMainFrame& frame) {
    return frame.findChild<RecoveryKeeper*>(QStringLiteral("recoveryKeeper"),
                                            Qt::FindDirectChildrenOnly);
}

const RecoveryKeeper::Kept* RecoveryKeeper::keptOf(const CMeasureWnd& window) const {
    for (const auto& [serial, kept] : kept_)
        if (kept.window == &window && kept.widget) return &kept;
    return nullptr;
}

int RecoveryKeeper::serialOf(CMeasureWnd& window) {
    for (const auto& [serial, kept] : kept_)
        if (kept.window == &window && kept.widget) return serial;
    const int serial = nextSerial_++;
    Kept& kept = kept_[serial];
    kept.window = &window;
    kept.widget = window.hwnd;
    // Closed, the window's changes are discarded (or saved): its copy goes.
    if (window.hwnd)
        connect(window.hwnd, &QObject::destroyed, this, [this, serial] { forget(serial); });
    return serial;
}

std::string RecoveryKeeper::copyOf(const CMeasureWnd& window) const {
    for (const auto& [serial, kept] : kept_)
        if (kept.window == &window && kept.widget && kept.copied) return store_.entryPath(serial);
    return std::string();
}

void RecoveryKeeper::keep(Clock::time_point now) {
    for (CMDIChildWnd* child : frame_.children())
        if (keptWindow(child)) keepWindow(*static_cast<CMeasureWnd*>(child), now);
}

void RecoveryKeeper::keepWindow(CMeasureWnd& window, Clock::time_point now) {
    const Kept* known = keptOf(window);
    if (!window.isModified()) {
        // Saved, or the erase taken back: the file holds what the window shows.
        if (known && known->copied) {
            int serial = serialOf(window);
            store_.remove(serial);
            kept_[serial].copied = false;
        }
        return;
    }
    if (known && known->copied && known->revision == window.revision()) return;
    if (known && known->tried && now - known->written < spacing_) return;
    if (worker_.joinable()) return; // the next look starts it
    startWriting(serialOf(window), window, now);
}

void RecoveryKeeper::startWriting(int serial, CMeasureWnd& window, Clock::time_point now) {
    // A copy that fails, even for want of memory, waits the spacing too.
    Kept& kept = kept_[serial];
    kept.tried = true;
    kept.written = now;
    std::unique_ptr<CMeasure> copy = snapshot(*window.measure);
    if (!copy) return;
    // Restored in a program started from another folder, the window still
    // saves to the file it came from.
    std::error_code failed;
    const std::string absolute =
        copy->path[0] ? std::filesystem::absolute(copy->path, failed).lexically_normal().string()
                      : std::string();
    if (!failed && !absolute.empty() && absolute.size() < sizeof copy->path)
        copyField(copy->path, sizeof copy->path, absolute.c_str());
    writingSerial_ = serial;
    writingRevision_ = window.revision();
    const FileType type = fileTypeFromPath(copy->path);
    worker_ = std::thread([this, serial, type, copy = std::move(copy)] {
        std::string why;
        written_ = store_.write(serial, *copy, type, &why);
        QMetaObject::invokeMethod(
            this, [this] { finishWriting(); }, Qt::QueuedConnection);
    });
}

void RecoveryKeeper::finishWriting() {
    if (!worker_.joinable()) return;
    worker_.join();
    const int serial = writingSerial_;
    writingSerial_ = 0;
    auto found = kept_.find(serial);
    // A closed window's object goes before its widget: look it up among the
    // frame's windows before asking it anything.
    const bool wanted = found != kept_.end() && found->second.widget &&
                        isOpen(found->second.window) && found->second.window->isModified();
    if (!wanted) {
        // Closed or saved while its copy was being written.
        if (written_) store_.remove(serial);
        if (found == kept_.end()) return;
        if (found->second.widget)
            found->second.copied = false;
        else
            kept_.erase(found);
        return;
    }
    // A copy that could not be written is tried again after the spacing.
    if (!written_) return;
    found->second.copied = true;
    found->second.revision = writingRevision_;
}

bool RecoveryKeeper::isOpen(const CMeasureWnd* window) const {
    for (CMDIChildWnd* child : frame_.children())
        if (child == window) return true;
    return false;
}

void RecoveryKeeper::forget(int serial) {
    auto found = kept_.find(serial);
    if (found == kept_.end()) return;
    // A copy under way is removed when it is done.
    if (serial != writingSerial_ && found->second.copied) store_.remove(serial);
    if (serial != writingSerial_)
        kept_.erase(found);
    else
        found->second.copied = false;
}

void RecoveryKeeper::adopt(CMeasureWnd& window, const RecoveryEntry& entry) {
    const int serial = serialOf(window);
    if (!store_.adopt(entry, serial)) return;
    Kept& kept = kept_[serial];
    kept.copied = true;
    kept.revision = window.revision();
    kept.tried = true;
    kept.written = Clock::now();
}
