#include "runtime/engine3d/brush_registry.h"

#include <set>

#include "runtime/host/arena.h"
#include "runtime/host/runtime_error.h"

namespace tarsk {
namespace {

std::set<BrushHandle*>& registry() {
    static std::set<BrushHandle*> brushes;
    return brushes;
}

}  // namespace

void* BrushHandle::operator new(std::size_t size) {
    void* record = arenaAlloc(size);
    if (!record) throw std::bad_alloc();
    return record;
}

void BrushHandle::operator delete(void* record, std::size_t size) { arenaFree(record, size); }

BrushHandle* registerBrush(const Brush& brush) {
    auto* handle = new BrushHandle(brush);
    registry().insert(handle);
    return handle;
}

BrushHandle* checkedBrush(int32_t handle) {
    auto found = registry().find(fromHandle<BrushHandle>(handle));
    if (found == registry().end()) runtimeError("Brush does not exist");
    return *found;
}

void freeBrush(int32_t handle) {
    auto* brush = fromHandle<BrushHandle>(handle);
    if (registry().erase(brush)) delete brush;
}

void freeAllBrushes() {
    std::set<BrushHandle*> brushes;
    brushes.swap(registry());
    for (BrushHandle* brush : brushes) delete brush;
}

std::size_t registeredBrushCount() { return registry().size(); }

}  // namespace tarsk
