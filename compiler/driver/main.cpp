// tarsk: the tool that turns programs into module images and runs them.
#include <cstdio>
#include <cstring>

#include "compiler/driver/driver_commands.h"

namespace {

struct Subcommand {
    const char* name;
    int (*run)(const tarsk::Arguments&);
    const char* usage;
};

const Subcommand kSubcommands[] = {
    {"compile", tarsk::compileCommand, "compile [--debug] PROGRAM.tb -o IMAGE.tbm  compile a program to a module image"},
    {"image", tarsk::imageCommand, "image OBJECT.o -o IMAGE.tbm      convert a compiled object to a module image"},
    {"build", tarsk::buildSourceOrImage, "build IMAGE.tbm|PROGRAM.tb -o PROGRAM  write a standalone executable"},
    {"run", tarsk::runSourceOrImage, "run [--debug] IMAGE.tbm|PROGRAM.tb [ARGS...]  run a module image or a program"},
    {"commands", tarsk::commandsCommand, "commands [--c-header]            list every registered command"},
};

int usage() {
    std::fputs("usage: tarsk COMMAND ...\n", stderr);
    for (const Subcommand& s : kSubcommands) std::fprintf(stderr, "  tarsk %s\n", s.usage);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    for (const Subcommand& s : kSubcommands)
        if (std::strcmp(argv[1], s.name) == 0) return s.run(tarsk::Arguments(argv + 2, argv + argc));
    return usage();
}
