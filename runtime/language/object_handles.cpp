#include "runtime/language/object_handles.h"

#include <map>

#include "runtime/language/words.h"

namespace tarsk {
namespace {

std::map<const tbObject*, int32_t> handleOfObject;
std::map<int32_t, tbObject*> objectOfHandle;
int32_t lastHandle = 0;

}  // namespace

void forgetHandle(const tbObject* object) {
    auto found = handleOfObject.find(object);
    if (found == handleOfObject.end()) return;
    objectOfHandle.erase(found->second);
    handleOfObject.erase(found);
}

void handlesReset() {
    handleOfObject.clear();
    objectOfHandle.clear();
    lastHandle = 0;
}

}  // namespace tarsk

using namespace tarsk;

extern "C" {

int32_t __tbObjToHandle(tbObject* object) {
    if (!object || !object->fields) return 0;
    auto [entry, added] = handleOfObject.try_emplace(object, 0);
    if (added) {
        entry->second = ++lastHandle;
        objectOfHandle.emplace(lastHandle, object);
    }
    return entry->second;
}

tbObject* __tbObjFromHandle(int32_t handle, tbObjType* type) {
    auto found = objectOfHandle.find(handle);
    if (found == objectOfHandle.end() || found->second->type != toWord(type)) return nullptr;
    return found->second;
}
}
