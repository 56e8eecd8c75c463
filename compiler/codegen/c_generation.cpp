#include "compiler/codegen/c_generation.h"

#include "compiler/codegen/program_unit.h"

namespace tarsk::compiler {
namespace {

size_t statementCount(const Block& block) {
    size_t count = 0;
    for (const StmtPtr& s : block) {
        ++count;
        for (const Block& b : s->blocks) count += statementCount(b);
        count += statementCount(s->body);
    }
    return count;
}

}  // namespace

std::vector<CUnit> generateUnits(const Program& program, const SourceFiles& files, const CodegenOptions& options) {
    std::vector<CUnit> units;
    units.push_back({"program", programUnit(program, files, options)});
    // Functions of the same file stay together, in source order, so that an edit in one
    // file changes only that file's units.
    std::vector<std::vector<const Function*>> byFile(size_t(files.count()));
    for (const auto& f : program.functions) byFile[size_t(f->file)].push_back(f.get());
    for (int file = 0; file < files.count(); ++file) {
        const auto& functions = byFile[size_t(file)];
        size_t i = 0;
        int part = 0;
        while (i < functions.size()) {
            UnitEmitter unit(program, files, options);
            size_t statements = 0;
            do {
                statements += statementCount(*functions[i]->body) + 1;
                unit.emitFunction(*functions[i]);
                ++i;
            } while (i < functions.size() && statements + statementCount(*functions[i]->body) <= options.unitStatements);
            units.push_back({files[file].path + " #" + std::to_string(++part), unit.finish()});
        }
    }
    return units;
}

}  // namespace tarsk::compiler
