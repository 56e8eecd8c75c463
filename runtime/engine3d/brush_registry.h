// The brush handles given to programs (CreateBrush, LoadBrush, GetEntityBrush,
// GetSurfaceBrush). The registry is kept in every mode and handles are always checked
// against it, so a freed handle is never touched.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>

#include "runtime/engine3d/brush.h"

namespace tarsk {

// The handle record; its low-arena address is the handle.
struct BrushHandle {
    static void* operator new(std::size_t size);
    static void operator delete(void* record, std::size_t size);
    explicit BrushHandle(Brush brush) : brush(std::move(brush)) {}

    Brush brush;
};

// A new registered handle holding brush.
BrushHandle* registerBrush(const Brush& brush);
// The registered brush of a handle, else "Brush does not exist".
BrushHandle* checkedBrush(int32_t handle);
// Removes and frees a registered brush; nothing for 0 or an unregistered handle.
void freeBrush(int32_t handle);
// ClearWorld and closing the world: frees every registered brush.
void freeAllBrushes();
std::size_t registeredBrushCount();

}  // namespace tarsk
