// Object to text: "[" fields "]", "[ROOT]" for the object being converted, "...." past depth 8.
#include <bit>

#include "runtime/language/objects.h"
#include "runtime/language/strings.h"
#include "runtime/language/text_conversions.h"
#include "runtime/language/words.h"

namespace tarsk {
namespace {

constexpr int kMaxDepth = 8;

const tbObject* root = nullptr;
int depth = 0;

// Restores the root and depth of the enclosing conversion, whatever way this one ends.
class Nesting {
public:
    explicit Nesting(const tbObject* object) : savedRoot_(root) {
        ++depth;
        if (!root) root = object;
    }
    ~Nesting() {
        --depth;
        root = savedRoot_;
    }
    Nesting(const Nesting&) = delete;
    Nesting& operator=(const Nesting&) = delete;

private:
    const tbObject* savedRoot_;
};

std::string objectText(const tbObject* object);

std::string fieldText(uint32_t typeWord, uint32_t value) {
    switch (tagOf(typeWord)) {
        case kIntTag: return intToText(int32_t(value));
        case kFloatTag: return floatToText(std::bit_cast<float>(value));
        case kStringTag: return "\"" + std::string(stringText(fromWord<tbString>(value))) + "\"";
        case kObjectTag: return objectText(fromWord<tbObject>(value));
        default: return "???";
    }
}

std::string objectText(const tbObject* object) {
    if (!object || !object->fields) return "[NULL]";
    if (root == object) return "[ROOT]";
    if (depth >= kMaxDepth) return "....";
    Nesting nesting(object);
    const auto* type = fromWord<tbObjType>(object->type);
    const auto* types = reinterpret_cast<const uint32_t*>(type + 1);
    const auto* fields = fromWord<uint32_t>(object->fields);
    std::string text = "[";
    for (uint32_t i = 0; i < type->fieldCount; ++i) {
        if (i) text += ",";
        text += fieldText(types[i], fields[i]);
    }
    return text + "]";
}

}  // namespace

}  // namespace tarsk

extern "C" tbString* __tbObjToStr(tbObject* object) { return tarsk::stringNew(tarsk::objectText(object)); }
