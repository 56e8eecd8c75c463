#include "compiler/frontend/program.h"

namespace tarsk::compiler {

std::string describe(const Type& type) {
    switch (type.base) {
        case BaseType::Void: return "nothing";
        case BaseType::Int: return "an integer";
        case BaseType::Float: return "a float";
        case BaseType::String: return "a string";
        case BaseType::Object: return "an object of type " + (type.record ? type.record->shown : std::string("?"));
        case BaseType::Null: return "Null";
    }
    return "?";
}

}  // namespace tarsk::compiler
