// Value types of the language.
#pragma once

#include <string>

namespace tarsk::compiler {

struct RecordType;

enum class BaseType { Void, Int, Float, String, Object, Null };

struct Type {
    BaseType base = BaseType::Void;
    const RecordType* record = nullptr;  // for Object

    static Type integer() { return {BaseType::Int}; }
    static Type floating() { return {BaseType::Float}; }
    static Type string() { return {BaseType::String}; }
    static Type null() { return {BaseType::Null}; }
    static Type object(const RecordType* record) { return {BaseType::Object, record}; }

    bool isNumber() const { return base == BaseType::Int || base == BaseType::Float; }
    bool isObjectLike() const { return base == BaseType::Object || base == BaseType::Null; }
    bool operator==(const Type& other) const { return base == other.base && record == other.record; }
};

// "an integer", "a float", "a string", "an object of type Point", "Null"
std::string describe(const Type& type);

}  // namespace tarsk::compiler
