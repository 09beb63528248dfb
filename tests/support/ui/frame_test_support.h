// Helpers of the frame and window tests: a frame with its dialogs played by
// a script, small measurements, and event processing that also runs the
// deferred deletions of closed windows.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>

#include <functional>
#include <memory>
#include <string>

#include "dialog_script.h"
#include "measure/measure.h"
#include "recording_clipboard.h"
#include "shell/command_ids.h"
#include "shell/ui/frame_commands.h"
#include "shell/ui/main_frame.h"
#include "shell/window_classes.h"
#include "view/ui/measure_wnd.h"

inline void settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

// A measurement of `channels` x `samples` with sample j of channel c = c * 1000 + j.
inline CMeasure* makeMeasure(int channels, int samples, double rate = 10.0,
                             const char* path = "/data/run.INT") {
    auto* m = new CMeasure;
    m->channelCount = channels;
    m->sampleCount = samples;
    m->sampleRate = rate;
    m->sampleFormat = SAMPLE_FORMAT_REAL;
    copyField(m->path, sizeof m->path, path);
    copyField(m->name, sizeof m->name, "test");
    for (int c = 0; c < channels; ++c) {
        setChannelInfo(m->channels[c], 1, 0, "m", "gauge");
        resetParameters(m->signalParameters[c]);
    }
    m->allocateSamples();
    for (int j = 0; j < samples; ++j)
        for (int c = 0; c < channels; ++c)
            m->setSample(c, j, Sample{float(c * 1000 + j), 0.0f});
    return m;
}

// A wave component of `frequency` and `amplitude`, correlation time 1.
inline SignalComponent wave(const char* name, double frequency, double amplitude) {
    SignalComponent c{};
    copyField(c.name, sizeof c.name, name);
    c.frequency = frequency;
    c.amplitude = amplitude;
    c.k = 1.0;
    return c;
}

// A frame that tells the test each command it is asked to carry out.
class RecordingFrame : public CMainFrame {
  public:
    intptr_t frameCommand(int id, intptr_t param) override {
        if (onCommand) onCommand(id);
        return CMainFrame::frameCommand(id, param);
    }
    std::function<void(int id)> onCommand;
};

// A shown frame whose modal interactions a script plays.
class FrameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        registerWindowClasses();
        dialogScript::begin();
        frame = std::make_unique<RecordingFrame>();
        frame->resize(1000, 700);
        frame->show();
        settle();
    }
    void TearDown() override {
        frame.reset();
        settle();
        dialogScript::end();
    }

    // File -> Open of `path` as the open dialog's answer: the window it
    // opened, or null.
    CMeasureWnd* openFile(const std::string& path) {
        dialogScript::pushFile(QString::fromStdString(path), 1);
        frame->frameCommand(CMD_OPEN, 0);
        settle();
        return dynamic_cast<CMeasureWnd*>(frame->activeChild());
    }

    std::unique_ptr<RecordingFrame> frame;
};
