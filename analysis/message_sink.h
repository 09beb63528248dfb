// Where a worker thread sends its messages: the result window on the desktop,
// a progress line in ondarix-batch, a recorder in the tests.
#pragma once

#include <cstdint>

// Command ids the worker posts to its window.
constexpr int CMD_CALC_DONE = 2101;
constexpr int CMD_CALC_PROGRESS = 2105;

class MessageSink {
  public:
    virtual ~MessageSink() = default;
    // Called on the worker thread; must return at once (queue the message,
    // never wait for the receiver). `run` names the run that posted it, so a
    // message from a run that has since been restarted can be recognised.
    virtual void post(int command, int32_t done, uint32_t run) = 0;
};
