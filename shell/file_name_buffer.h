// The one file name the open and save dialogs share, so that a save proposes
// the name last opened or saved.
#pragma once

#include <string>

constexpr int FILE_NAME_CAPACITY = 512;

class FileNameBuffer {
  public:
    const char* get() const { return name_; }
    // Keeps at most FILE_NAME_CAPACITY - 1 bytes.
    void set(const std::string& name);
    // Cuts a trailing ".INT", ".TXT", ".WAV" or ".M11" (any letter case) from
    // a name of at least 5 characters, before a save dialog proposes it.
    void cutMeasureExtension();

  private:
    char name_[FILE_NAME_CAPACITY] = {};
};

// The process-wide buffer of the frame's file commands.
FileNameBuffer& sharedFileName();
