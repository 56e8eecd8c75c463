// Fuzzing the front end: mutated programs and declaration files must give a program
// or a CompileError, never a crash (run under the sanitizers). With --c-compiler every
// accepted program is also built, and the C compiler must accept what it is given.
//
//   compiler_fuzz [--seconds N] [--seed N] [--c-compiler] SEED_FILES...
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "compiler/codegen/c_generation.h"
#include "compiler/codegen/native_build.h"
#include "compiler/frontend/analyzer.h"
#include "compiler/frontend/library_declarations.h"
#include "compiler/frontend/parser.h"
#include "runtime/host/registry.h"

using namespace tarsk::compiler;

namespace {

const char* const kFragments[] = {
    "If ", "Then ", "Else ", "EndIf\n", "ElseIf ", "For ", " = ", " To ", " Step ", "Next\n", "While ", "Wend\n",
    "Repeat\n", "Until ", "Forever\n", "Select ", "Case ", "Default\n", "End Select\n", "Function ", "End Function\n",
    "Type ", "Field ", "End Type\n", "Global ", "Local ", "Const ", "Dim ", "Data ", "Read ", "Restore ", "New ",
    "Delete ", "Each ", "First ", "Last ", "After ", "Before ", "Insert ", "Null", "Handle(", "Object.", "Goto ",
    "Gosub ", "Return ", "Exit\n", "End\n", "Str(", "Int(", "Float(", "Abs(", "Sgn(", "Mod ", "Shl ", "Shr ",
    "Sar ", "And ", "Or ", "Xor ", "Not ", "(", ")", "[", "]", ",", ":", "\\", ".", "$", "#", "%", "\"", "+", "-",
    "*", "/", "^", "<", ">", "<=", ">=", "<>", "=", "\n", "0", "1", "-1", "2.5", "$FF", "%101", "2147483648",
    "a", "b$", "c#", "p.T", "x", "DebugLog ", "Left(", "Rnd(", "MilliSecs()", ".lbl\n", "Include \"x.tb\"\n"};

std::string mutate(std::string text, std::mt19937& random, const std::vector<std::string>& seeds) {
    int steps = 1 + int(random() % 8);
    for (int i = 0; i < steps; ++i) {
        size_t at = text.empty() ? 0 : random() % (text.size() + 1);
        switch (random() % 6) {
            case 0: text.insert(at, kFragments[random() % (sizeof kFragments / sizeof *kFragments)]); break;
            case 1:
                if (!text.empty()) text.erase(at, random() % 16);
                break;
            case 2:
                if (at < text.size()) text[at] = char(random() % 256);
                break;
            case 3: {
                const std::string& other = seeds[random() % seeds.size()];
                if (other.empty()) break;
                size_t from = random() % other.size();
                text.insert(at, other.substr(from, random() % 200));
                break;
            }
            case 4: {
                size_t length = text.empty() ? 0 : random() % std::min<size_t>(64, text.size());
                if (at + length <= text.size()) text.insert(at, text.substr(at, length));
                break;
            }
            default: text.insert(at, std::string(1 + random() % 40, "(+-[\"\n:"[random() % 7])); break;
        }
    }
    return text;
}

const CommandTable& commands() {
    static const CommandTable table = [] {
        CommandTable t;
        for (const tarsk::Registration& r : tarsk::allRegistrations()) t.add(r.signature);
        return t;
    }();
    return table;
}

// Runs the front end and C generation; true when the program was accepted.
bool compileText(const std::string& text, const std::string& declarations, std::vector<CUnit>& units) {
    SourceFiles files;
    int file = files.add("fuzz.tb", text);
    int decls = files.add("fuzz.decls", declarations);
    Program program;
    IncludeLoader loader = [&](const std::string&, const Location& at) -> int {
        throw CompileError(at, "cannot read the included file");
    };
    try {
        program.parsed = parseProgram(files, file, loader);
        parseLibraryDeclarations(files, decls, program);
        analyzeProgram(program, commands());
    } catch (const CompileError& error) {
        formatError(files, error);
        return false;
    }
    units = generateUnits(program, files, CodegenOptions{});
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    double seconds = 60;
    unsigned seed = 1;
    bool cCompiler = false;
    std::vector<std::string> seeds;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--seconds") && i + 1 < argc) {
            seconds = std::atof(argv[++i]);
        } else if (!std::strcmp(argv[i], "--seed") && i + 1 < argc) {
            seed = unsigned(std::atoi(argv[++i]));
        } else if (!std::strcmp(argv[i], "--c-compiler")) {
            cCompiler = true;
        } else {
            std::ifstream in(argv[i], std::ios::binary);
            std::ostringstream text;
            text << in.rdbuf();
            seeds.push_back(text.str());
        }
    }
    if (seeds.empty()) {
        std::fputs("usage: compiler_fuzz [--seconds N] [--seed N] [--c-compiler] SEED_FILES...\n", stderr);
        return 2;
    }
    std::mt19937 random(seed);
    const std::string declarations = ".lib \"x.so\"\nAdd%(a%, b%)\nName$(s$) : \"name\"\nPut(p*, f#)\n";
    auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    long runs = 0, accepted = 0, built = 0;
    while (std::chrono::steady_clock::now() < end) {
        std::string text = mutate(seeds[random() % seeds.size()], random, seeds);
        std::string decls = random() % 4 ? declarations : mutate(declarations, random, seeds);
        std::vector<CUnit> units;
        ++runs;
        if (!compileText(text, decls, units)) continue;
        ++accepted;
        if (!cCompiler) continue;
        NativeBuildResult result = buildImage(units, NativeBuildOptions{});
        if (!result.ok) {
            std::ofstream("fuzz-failure.tb", std::ios::binary) << text;
            std::fprintf(stderr, "the C build failed for an accepted program (kept in fuzz-failure.tb): %s\n", result.error.c_str());
            return 1;
        }
        ++built;
    }
    std::printf("%ld programs, %ld accepted, %ld built\n", runs, accepted, built);
    return 0;
}
