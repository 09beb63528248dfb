#include "measure/hdf5_objects.h"

#include <H5PLpublic.h>

#include <algorithm>
#include <cstring>

#include "measure/text_encoding.h"

namespace hdf5 {

std::mutex& libraryLock() {
    static std::mutex lock;
    return lock;
}

namespace {

// More elements than any measurement's channels; a larger attribute is not ours.
constexpr hssize_t MAX_ELEMENTS = 1 << 16;

// The attribute, its type and its element count; invalid when absent.
struct Attribute {
    Attribute(hid_t object, const char* name)
        : id(H5Aexists(object, name) > 0 ? H5Aopen(object, name, H5P_DEFAULT) : -1, H5Aclose),
          type(id.valid() ? H5Aget_type(id.get()) : -1, H5Tclose),
          space(id.valid() ? H5Aget_space(id.get()) : -1, H5Sclose) {
        count = space.valid() ? H5Sget_simple_extent_npoints(space.get()) : -1;
    }
    bool usable() const {
        return id.valid() && type.valid() && space.valid() && count >= 1 && count <= MAX_ELEMENTS;
    }
    Handle id, type, space;
    hssize_t count;
};

bool readVariableTexts(const Attribute& a, std::vector<std::string>& texts) {
    Handle memory(H5Tcopy(H5T_C_S1), H5Tclose);
    if (H5Tset_size(memory.get(), H5T_VARIABLE) < 0 ||
        H5Tset_cset(memory.get(), H5Tget_cset(a.type.get())) < 0)
        return false;
    std::vector<char*> pointers(size_t(a.count), nullptr);
    if (H5Aread(a.id.get(), memory.get(), pointers.data()) < 0) return false;
    for (char* p : pointers)
        texts.emplace_back(p ? p : "");
#if H5_VERSION_GE(1, 12, 0)
    H5Treclaim(memory.get(), a.space.get(), H5P_DEFAULT, pointers.data());
#else
    H5Dvlen_reclaim(memory.get(), a.space.get(), H5P_DEFAULT, pointers.data());
#endif
    return true;
}

bool readFixedTexts(const Attribute& a, std::vector<std::string>& texts) {
    const size_t size = H5Tget_size(a.type.get());
    if (size == 0 || size > 1 << 16) return false;
    std::vector<char> bytes(size * size_t(a.count));
    Handle memory(H5Tcopy(a.type.get()), H5Tclose);
    if (H5Aread(a.id.get(), memory.get(), bytes.data()) < 0) return false;
    const bool blankPadded = H5Tget_strpad(a.type.get()) == H5T_STR_SPACEPAD;
    for (hssize_t i = 0; i < a.count; ++i) {
        const char* text = bytes.data() + size_t(i) * size;
        size_t n = strnlen(text, size);
        while (blankPadded && n > 0 && text[n - 1] == ' ')
            --n;
        texts.emplace_back(text, n);
    }
    return true;
}

Handle space(size_t count, bool scalar) {
    const hsize_t n = count;
    return Handle(scalar ? H5Screate(H5S_SCALAR) : H5Screate_simple(1, &n, nullptr), H5Sclose);
}

} // namespace

// Filters a file names could load code from the plugin folders: none is
// ours to run, and the library's own gzip and shuffle need no plugin.
Session::Session() : lock_(libraryLock()) {
    H5Eset_auto2(H5E_DEFAULT, nullptr, nullptr);
    static const bool noPlugins = H5PLset_loading_state(0) >= 0;
    (void)noPlugins;
}

namespace {

// A file's or object's name in a message: a path's length, no more.
constexpr size_t PATH_TEXT = 256;

herr_t refuseTraversal(const char* parentFile, const char* parentObject, const char* targetFile,
                       const char* targetObject, unsigned*, hid_t, void* data) {
    (void)parentFile, (void)parentObject;
    auto* target = static_cast<std::string*>(data);
    if (target && target->empty())
        *target = "an external link to " + std::string(targetFile ? targetFile : "") + ":" +
                  (targetObject ? targetObject : "");
    return -1;
}

} // namespace

Handle closedAccess(hid_t propertyClass, std::string* target) {
    Handle access(H5Pcreate(propertyClass), H5Pclose);
    if (access.valid()) H5Pset_elink_cb(access.get(), refuseTraversal, target);
    return access;
}

std::string foreignStorage(hid_t dataset) {
    Handle creation(H5Dget_create_plist(dataset), H5Pclose);
    if (!creation.valid()) return std::string();
    const int external = H5Pget_external_count(creation.get());
    if (external > 0) {
        char name[256] = {};
        off_t offset = 0;
        hsize_t size = 0;
        H5Pget_external(creation.get(), 0, sizeof name, name, &offset, &size);
        return "kept in external storage in " +
               messageText(name, strnlen(name, sizeof name), PATH_TEXT);
    }
    if (H5Pget_layout(creation.get()) != H5D_VIRTUAL) return std::string();
    size_t count = 0;
    H5Pget_virtual_count(creation.get(), &count);
    std::string files;
    for (size_t i = 0; i < count && i < 3; ++i) {
        char name[256] = {};
        H5Pget_virtual_filename(creation.get(), i, name, sizeof name);
        files += (i ? ", " : "") + messageText(name, strnlen(name, sizeof name), PATH_TEXT);
    }
    return "a virtual dataset of " + (files.empty() ? std::string("other datasets") : files) +
           (count > 3 ? ", ..." : "");
}

std::string externalLinkOnPath(hid_t file, const std::string& name) {
    Handle access = closedAccess(H5P_LINK_ACCESS, nullptr);
    for (size_t end = name.find('/', 1);; end = name.find('/', end + 1)) {
        const std::string part = name.substr(0, end);
        H5L_info_t info;
        if (part.size() > 1 && H5Lexists(file, part.c_str(), access.get()) > 0 &&
            H5Lget_info(file, part.c_str(), &info, access.get()) >= 0 &&
            info.type == H5L_TYPE_EXTERNAL) {
            std::vector<char> value(std::min<size_t>(info.u.val_size, 1 << 16) + 1, '\0');
            const char *targetFile = nullptr, *targetObject = nullptr;
            unsigned flags = 0;
            if (H5Lget_val(file, part.c_str(), value.data(), value.size() - 1, access.get()) >= 0 &&
                H5Lunpack_elink_val(value.data(), value.size() - 1, &flags, &targetFile,
                                    &targetObject) >= 0 &&
                targetFile && targetObject)
                return "an external link to " +
                       messageText(targetFile, std::strlen(targetFile), PATH_TEXT) + ":" +
                       messageText(targetObject, std::strlen(targetObject), PATH_TEXT);
            return "an external link to another file";
        }
        if (end == std::string::npos) return std::string();
    }
}

AttributeRead readTexts(hid_t object, const char* name, std::vector<std::string>& texts) {
    texts.clear();
    Attribute a(object, name);
    if (!a.id.valid()) return AttributeRead::Absent;
    if (!a.usable() || H5Tget_class(a.type.get()) != H5T_STRING) return AttributeRead::WrongType;
    const bool ok = H5Tis_variable_str(a.type.get()) > 0 ? readVariableTexts(a, texts)
                                                         : readFixedTexts(a, texts);
    return ok ? AttributeRead::Read : AttributeRead::WrongType;
}

AttributeRead readNumbers(hid_t object, const char* name, std::vector<double>& values) {
    values.clear();
    Attribute a(object, name);
    if (!a.id.valid()) return AttributeRead::Absent;
    const H5T_class_t kind = a.usable() ? H5Tget_class(a.type.get()) : H5T_NO_CLASS;
    if (kind != H5T_INTEGER && kind != H5T_FLOAT) return AttributeRead::WrongType;
    values.resize(size_t(a.count));
    if (H5Aread(a.id.get(), H5T_NATIVE_DOUBLE, values.data()) < 0) {
        values.clear();
        return AttributeRead::WrongType;
    }
    return AttributeRead::Read;
}

bool writeTexts(hid_t object, const char* name, const std::vector<std::string>& texts,
                bool scalar) {
    Handle type(H5Tcopy(H5T_C_S1), H5Tclose);
    if (H5Tset_size(type.get(), H5T_VARIABLE) < 0 || H5Tset_cset(type.get(), H5T_CSET_UTF8) < 0)
        return false;
    Handle where = space(texts.size(), scalar);
    Handle attribute(H5Acreate2(object, name, type.get(), where.get(), H5P_DEFAULT, H5P_DEFAULT),
                     H5Aclose);
    std::vector<const char*> pointers;
    for (const std::string& text : texts)
        pointers.push_back(text.c_str());
    return attribute.valid() && H5Awrite(attribute.get(), type.get(), pointers.data()) >= 0;
}

bool writeNumbers(hid_t object, const char* name, const std::vector<double>& values, bool scalar) {
    Handle where = space(values.size(), scalar);
    Handle attribute(
        H5Acreate2(object, name, H5T_IEEE_F64LE, where.get(), H5P_DEFAULT, H5P_DEFAULT), H5Aclose);
    return attribute.valid() && H5Awrite(attribute.get(), H5T_NATIVE_DOUBLE, values.data()) >= 0;
}

} // namespace hdf5

// What the address sanitizer is told about the HDF5 library, in sanitizer
// builds only: the library is not built for it, and a damaged file makes it
// do what our own code must not. Here, since every program that reads HDF5
// links this file.
#if defined(__SANITIZE_ADDRESS__)

// HDF5 asks malloc for the sizes a damaged file claims. Without the
// sanitizer malloc says no and the library refuses the file; so it must
// under the sanitizer too.
extern "C" const char* __asan_default_options() {
    return "allocator_may_return_null=1";
}

// When opening a file with a damaged superblock fails, HDF5 1.10 keeps what
// it had read of it (and cannot close itself at exit): the library's leak.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libhdf5_serial.so\n";
}
// ...without a table of the suppressions used on stderr at exit.
extern "C" const char* __lsan_default_options() {
    return "print_suppressions=0";
}

#endif
