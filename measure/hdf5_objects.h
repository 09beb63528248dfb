// Small helpers around the HDF5 C library: the lock every use of it holds,
// identifiers that close themselves, and attributes read and written as
// texts or numbers whatever way another program stored them.
#pragma once

#include <hdf5.h>

#include <mutex>
#include <string>
#include <vector>

namespace hdf5 {

// The process-wide lock every use of the library holds.
std::mutex& libraryLock();

// The serial HDF5 library is not thread-safe, and the Python module reads
// files from worker threads: every sequence of HDF5 calls runs inside one
// Session, which holds the process-wide lock. The library's printing of its
// error stack to stderr is turned off for the process (h5py turns it off
// too): failures are told by the caller in one line, and after some damaged
// files the library would also print a page of its state at exit.
class Session {
  public:
    Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

  private:
    std::lock_guard<std::mutex> lock_;
};

// An identifier, closed by its own close function when it goes.
class Handle {
  public:
    using Close = herr_t (*)(hid_t);
    Handle(hid_t id, Close close) : id_(id), close_(close) {}
    ~Handle() {
        if (id_ >= 0) close_(id_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    Handle(Handle&& other) noexcept : id_(other.id_), close_(other.close_) { other.id_ = -1; }

    hid_t get() const { return id_; }
    // Closes the identifier held and holds `id` instead.
    void reset(hid_t id = -1) {
        if (id_ >= 0) close_(id_);
        id_ = id;
    }
    bool valid() const { return id_ >= 0; }

  private:
    hid_t id_;
    Close close_;
};

// A measurement comes from the file the user named and nothing else. The
// access properties every object is opened with: an external link is not
// followed (`*target`, where set, gets "FILE:/OBJECT" of the first one met).
// Valid while `target` lives.
Handle closedAccess(hid_t propertyClass, std::string* target);
// What another file the dataset's data would come from, or empty: its
// external storage ("kept in external storage in FILE") or the files a virtual
// dataset maps ("a virtual dataset of FILE, ...").
std::string foreignStorage(hid_t dataset);
// "an external link to FILE:/OBJECT": the link `name` (an absolute path of
// the file) when it or a group on its way is one; empty otherwise.
std::string externalLinkOnPath(hid_t file, const std::string& name);

enum class AttributeRead { Absent, Read, WrongType };

// The strings of attribute `name` of `object`, one per element: variable or
// fixed length (NUL- or blank-padded), a scalar or an array. WrongType for
// an attribute that holds no text or cannot be read.
AttributeRead readTexts(hid_t object, const char* name, std::vector<std::string>& texts);
// The numbers of attribute `name` (any integer or float type) as doubles.
AttributeRead readNumbers(hid_t object, const char* name, std::vector<double>& values);

// Writes variable-length UTF-8 strings (as h5py writes a str), one scalar
// when `scalar`, otherwise an array.
bool writeTexts(hid_t object, const char* name, const std::vector<std::string>& texts, bool scalar);
// Writes 64-bit floats, one scalar when `scalar`, otherwise an array.
bool writeNumbers(hid_t object, const char* name, const std::vector<double>& values, bool scalar);

} // namespace hdf5
