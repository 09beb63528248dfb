#include "analysis/worker_thread.h"

namespace {
size_t g_stackBytes = WORKER_STACK_BYTES;
}

void setWorkerStackBytes(size_t bytes) {
    g_stackBytes = bytes;
}
size_t workerStackBytes() {
    return g_stackBytes;
}

WorkerThread::~WorkerThread() {
    join();
}

bool WorkerThread::start(WorkerBody body, WorkerParams* params) {
    if (joinable_ || !body || !params) return false;
    body_ = body;
    params_ = params;
    ended_.store(false, std::memory_order_relaxed);
    pthread_attr_t attr;
    if (pthread_attr_init(&attr) != 0) return false;
    bool ok = pthread_attr_setstacksize(&attr, g_stackBytes) == 0 &&
              pthread_create(&thread_, &attr, &WorkerThread::run, this) == 0;
    pthread_attr_destroy(&attr);
    joinable_ = ok;
    return ok;
}

void WorkerThread::join() {
    if (!joinable_) return;
    pthread_join(thread_, nullptr);
    joinable_ = false;
}

void* WorkerThread::run(void* self) {
    auto* t = static_cast<WorkerThread*>(self);
    t->body_(*t->params_);
    t->ended_.store(true, std::memory_order_release);
    return nullptr;
}
