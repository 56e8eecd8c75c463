// The file-stream commands and the set of open files.
#include <set>

#include "runtime/host/arena.h"
#include "runtime/host/runtime_error.h"
#include "runtime/io/file_stream.h"
#include "runtime/io/filesystem_commands.h"
#include "runtime/io/path_resolution.h"
#include "runtime/language/strings.h"

using tarsk::FileMode;
using tarsk::FileStream;

namespace {

std::set<FileStream*>& openFiles() {
    static std::set<FileStream*> files;
    return files;
}

int32_t openFile(tbString* name, FileMode mode) {
    tarsk::StringArg file(name);
    FileStream* stream = FileStream::open(tarsk::resolvePath(file.view()), mode);
    if (!stream) return 0;
    openFiles().insert(stream);
    return tarsk::handleOf(stream);
}

FileStream* openFileStream(int32_t handle) {
    auto* stream = tarsk::fromHandle<FileStream>(handle);
    if (!handle || openFiles().count(stream) == 0) tarsk::runtimeError("File does not exist");
    return stream;
}

}  // namespace

extern "C" {

int32_t _fopenfile(tbString* name) { return openFile(name, FileMode::kReadWrite); }
int32_t _freadfile(tbString* name) { return openFile(name, FileMode::kRead); }
int32_t _fwritefile(tbString* name) { return openFile(name, FileMode::kWrite); }

void _fclosefile(int32_t file) {
    FileStream* stream = openFileStream(file);
    openFiles().erase(stream);
    stream->destroy();
}

int32_t _ffilepos(int32_t file) { return openFileStream(file)->position(); }
int32_t _fseekfile(int32_t file, int32_t offset) { return openFileStream(file)->seek(offset); }

}  // extern "C"

namespace tarsk {

void fileCommandsLink(Registrar add) {
    add("%OpenFile$filename", reinterpret_cast<const void*>(_fopenfile));
    add("%ReadFile$filename", reinterpret_cast<const void*>(_freadfile));
    add("%WriteFile$filename", reinterpret_cast<const void*>(_fwritefile));
    add("CloseFile%file_stream", reinterpret_cast<const void*>(_fclosefile));
    add("%FilePos%file_stream", reinterpret_cast<const void*>(_ffilepos));
    add("%SeekFile%file_stream%pos", reinterpret_cast<const void*>(_fseekfile));
}

void closeAllFiles() {
    auto& files = openFiles();
    while (!files.empty()) {
        FileStream* stream = *files.begin();
        files.erase(files.begin());
        stream->destroy();
    }
}

}  // namespace tarsk
