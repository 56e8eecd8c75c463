#include "runtime/host/registry.h"

namespace tarsk {

#define TARSK_DECLARE_MODULE(name) \
    void name##_link(Registrar);   \
    bool name##_create();          \
    void name##_destroy();
TARSK_DECLARE_MODULE(basic)
TARSK_DECLARE_MODULE(math)
TARSK_DECLARE_MODULE(string)
TARSK_DECLARE_MODULE(stream)
TARSK_DECLARE_MODULE(sockets)
TARSK_DECLARE_MODULE(filesystem)
TARSK_DECLARE_MODULE(bank)
TARSK_DECLARE_MODULE(graphics)
TARSK_DECLARE_MODULE(input)
TARSK_DECLARE_MODULE(audio)
TARSK_DECLARE_MODULE(multiplay)
TARSK_DECLARE_MODULE(tarsk3d)
TARSK_DECLARE_MODULE(userlibs)
#undef TARSK_DECLARE_MODULE

const std::vector<CommandModule>& commandModules() {
#define TARSK_MODULE(name) {#name, name##_link, name##_create, name##_destroy}
    static const std::vector<CommandModule> modules = {
        TARSK_MODULE(basic),  TARSK_MODULE(math),     TARSK_MODULE(string),     TARSK_MODULE(stream),
        TARSK_MODULE(sockets), TARSK_MODULE(filesystem), TARSK_MODULE(bank),     TARSK_MODULE(graphics),
        TARSK_MODULE(input),  TARSK_MODULE(audio),    TARSK_MODULE(multiplay), TARSK_MODULE(tarsk3d),
        TARSK_MODULE(userlibs),
    };
#undef TARSK_MODULE
    return modules;
}

}  // namespace tarsk
