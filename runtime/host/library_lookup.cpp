#include "runtime/host/library_lookup.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstdlib>

#include "runtime/host/system_paths.h"

namespace tarsk {
namespace {

std::string lowered(std::string text) {
    for (char& c : text) c = char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return text;
}

void addOnce(std::vector<std::string>& list, std::string item) {
    if (std::find(list.begin(), list.end(), item) == list.end()) list.push_back(std::move(item));
}

}  // namespace

std::vector<std::string> libraryCandidates(const std::string& name) {
    std::string path = name;
    std::replace(path.begin(), path.end(), '\\', '/');
    size_t slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    std::string file = path.substr(folder.size());
    std::string stem = file;
    if (stem.size() > 4 && lowered(stem.substr(stem.size() - 4)) == ".dll") stem.resize(stem.size() - 4);

    std::vector<std::string> forms;
    addOnce(forms, stem + ".so");
    addOnce(forms, "lib" + stem + ".so");
    addOnce(forms, lowered(stem) + ".so");
    addOnce(forms, "lib" + lowered(stem) + ".so");

    std::vector<std::string> candidates;
    if (!folder.empty()) {
        addOnce(candidates, path);
        for (const std::string& form : forms) addOnce(candidates, folder + form);
        return candidates;
    }
    std::string beside = executableFolder();
    addOnce(candidates, beside + file);
    for (const std::string& form : forms) addOnce(candidates, beside + form);
    for (const std::string& form : forms) addOnce(candidates, form);
    if (const char* tarskpath = std::getenv("tarskpath"); tarskpath && *tarskpath) {
        std::string userlibs = std::string(tarskpath) + "/userlibs/";
        addOnce(candidates, userlibs + file);
        for (const std::string& form : forms) addOnce(candidates, userlibs + form);
    }
    return candidates;
}

void* openLibrary(const std::string& name) {
    for (const std::string& candidate : libraryCandidates(name)) {
        if (void* handle = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL)) return handle;
    }
    return nullptr;
}

}  // namespace tarsk
