// Command modules whose commands are not built yet: they register nothing and their
// create and destroy steps have nothing to do. Each moves to its own folder when built.
#include "runtime/host/registry.h"

namespace tarsk {

#define TARSK_PENDING_MODULE(name)  \
    void name##_link(Registrar) {}  \
    bool name##_create() { return true; } \
    void name##_destroy() {}
TARSK_PENDING_MODULE(audio)
TARSK_PENDING_MODULE(multiplay)
#undef TARSK_PENDING_MODULE

}  // namespace tarsk
