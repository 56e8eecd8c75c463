#include "compiler/codegen/program_unit.h"

#include "compiler/codegen/c_text.h"

namespace tarsk::compiler {
namespace {

const char* fieldTag(const Type& t) {
    switch (t.base) {
        case BaseType::Int: return "__tbIntType";
        case BaseType::Float: return "__tbFltType";
        default: return "__tbStrType";
    }
}

int elementKind(const Type& t) {
    switch (t.base) {
        case BaseType::Int: return 1;
        case BaseType::Float: return 2;
        case BaseType::String: return 3;
        default: return 5;
    }
}

// Assembler text as a top-level asm statement.
std::string asmStatement(const std::string& text) {
    std::string out = "__asm__(\n";
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        out += "    " + cStringLiteral(text.substr(start, end - start) + "\n") + "\n";
        start = end + 1;
    }
    return out + "    \"\\t.text\\n\");\n";
}

std::string recordDescriptors(const Program& program, UnitEmitter& unit) {
    std::string out;
    for (const auto& r : program.records) {
        const std::string& n = r->cname;
        out += "\t.balign 4\n\t.globl " + n + "\n" + n + ":\n\t.long 5\n";
        out += "\t.long 0, " + n + "+4, " + n + "+4, 0, -1\n";
        out += "\t.long 0, " + n + "+24, " + n + "+24, 0, -1\n";
        out += "\t.long " + std::to_string(r->fields.size()) + "\n";
        for (const RecordField& f : r->fields) {
            std::string type = f.vectorCount ? unit.vectorType(f.vectorCount, f.type)
                             : f.type.base == BaseType::Object ? f.type.record->cname : fieldTag(f.type);
            out += "\t.long " + type + "\n";
        }
    }
    return out;
}

std::string dataEntries(const Program& program) {
    std::string entries = "\t.balign 4\n\t.globl tb_data\ntb_data:\n";
    std::string texts;
    int textCount = 0;
    for (const DataEntry& d : program.data) {
        switch (d.kind) {
            case DataEntry::Kind::Int: entries += "\t.long 1, " + std::to_string(d.intValue) + "\n"; break;
            case DataEntry::Kind::Float: entries += "\t.long 2, " + std::to_string(floatBits(d.floatValue)) + "\n"; break;
            case DataEntry::Kind::String: {
                std::string label = "tb_dtext" + std::to_string(textCount++);
                entries += "\t.long 4, " + label + "\n";
                texts += label + ":\n" + asmBytes(d.text);
                break;
            }
        }
    }
    entries += "\t.long 0, 0\n";
    return entries + (texts.empty() ? "" : "\t.section .rodata\n" + texts + "\t.section .data\n");
}

std::string bindingBlock(const Program& program) {
    std::string out = "tb_bindings:\n";
    for (const Library& library : program.libraries) {
        std::string functions;
        for (const LibFunction* f : library.functions)
            if (f->used) functions += asmBytes(f->exportName) + "\t.long " + f->slot + "\n";
        if (functions.empty()) continue;
        out += asmBytes(library.file) + functions + "\t.byte 0\n";
    }
    return out + "\t.byte 0\n";
}

}  // namespace

std::string programUnit(const Program& program, const SourceFiles& files, const CodegenOptions& options) {
    UnitEmitter unit(program, files, options);
    std::string c;
    for (const auto& v : program.globals)
        c += (v->vectorCount ? "uint32_t" : UnitEmitter::cType(v->type)) + " " + v->cname + " = 0;\n";
    for (const auto& a : program.arrays) {
        c += "uint32_t " + a->cname + "[" + std::to_string(3 + a->dims) + "] = {0, " + std::to_string(elementKind(a->element)) + ", " +
             std::to_string(a->dims) + "};\n";
        c += "uint64_t " + a->cname + "_v[" + std::to_string(2 * a->dims) + "];\n";
    }
    bool libraries = false;
    for (const auto& f : program.libFunctions)
        if (f->used) {
            c += "uint32_t " + f->slot + " = 0;\n";
            libraries = true;
        }
    std::string data = "\t.section .data\n" + recordDescriptors(program, unit) + dataEntries(program);
    if (libraries) data += bindingBlock(program);
    c += "extern uint32_t tb_data[];\n";
    if (libraries) c += "extern uint8_t tb_bindings[];\n";
    c += asmStatement(data);
    unit.addTopLevel(c);

    std::string startup;
    if (program.readsData) startup += "    __tbRestore(&tb_data[0]);\n";
    if (libraries) startup += "    __tbLoadLibs(tb_bindings);\n";
    for (const auto& v : program.globals)
        if (v->vectorCount)
            startup += "    " + v->cname + " = TB_REF(__tbVecAlloc(" + unit.vectorType(v->vectorCount, v->type) + "));\n";
    unit.setStartup(startup);
    unit.emitFunction(program.main);
    return unit.finish();
}

}  // namespace tarsk::compiler
