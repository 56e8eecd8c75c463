// Index checks that a counted For loop can make once before it runs: when the loop
// variable itself indexes arrays or vectors, and nothing in the body can change the
// variable or re-dimension an array, checking the first and last value is enough.
#pragma once

#include <set>
#include <utility>

#include "compiler/frontend/program.h"

namespace tarsk::compiler {

struct LoopIndexing {
    std::set<std::pair<const ArrayInfo*, int>> arrayDimensions;  // dimensions indexed by the variable
    std::set<const Variable*> vectors;                            // vector variables indexed by it
    bool empty() const { return arrayDimensions.empty() && vectors.empty(); }
};

// Whether the body may change the loop variable: by assigning it, or, for a global, by
// calling a function of the program.
bool mayChangeVariable(const Block& body, const Variable* loopVariable);

// Whether a For-Each body may delete objects, run program functions, leave the loop
// other than by Exit, or assign the loop variable; otherwise the walk needs no
// reference counts, since no object can be released while it runs.
bool walkNeedsCounts(const Block& body, const Variable* loopVariable);

// Fills what `loopVariable` indexes in the body; false when the body may assign the
// variable, re-dimension, call a function of the program or jump.
bool hoistableIndexing(const Block& body, const Variable* loopVariable, LoopIndexing& indexing);

}  // namespace tarsk::compiler
