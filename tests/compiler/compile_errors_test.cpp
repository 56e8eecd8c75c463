// Programs the compiler must refuse, with the position and message of the error.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "compiler/frontend/program_loader.h"

namespace tarsk::compiler {
namespace {

struct ErrorCase {
    const char* source;
    const char* expected;  // "line:column: message"
};

class CompileErrors : public ::testing::TestWithParam<ErrorCase> {};

// Compiles `source` as prog.tb in a fresh folder; gives the error without the file name.
std::string compileError(const std::string& source) {
    namespace fs = std::filesystem;
    fs::path folder = fs::temp_directory_path() / ("tarsk-errors-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    fs::path file = folder / "prog.tb";
    std::ofstream(file) << source;
    std::ofstream(folder / "part.tb") << "Function twice(n)\n  Return n * 2\nEnd Function\nx = = 1\n";
    CommandTable commands;
    for (const char* signature : {"DebugLog$text", "%MilliSecs", "#Rnd#from#to=0", "$Left$string%count", "End"})
        commands.add(signature);
    SourceFiles files;
    try {
        loadProgram(files, file.string(), LoadOptions{{folder.string()}}, commands);
    } catch (const CompileError& error) {
        std::string text = formatError(files, error);
        std::string prefix = (folder / "").string();
        if (text.compare(0, prefix.size(), prefix) == 0) text.erase(0, prefix.size());
        return text;
    }
    return "no error";
}

TEST_P(CompileErrors, NamesPositionAndExpectation) {
    EXPECT_EQ(compileError(GetParam().source), GetParam().expected) << GetParam().source;
}

const ErrorCase kLexical[] = {
    {"a$ = \"open\n", "prog.tb:1:6: error: string is not closed: expected '\"' before the end of the line"},
    {"x = 5 @ 2\n", "prog.tb:1:7: error: unexpected character '@'"},
    {"x = 99999999999\n", "prog.tb:1:5: error: integer literal too large: 99999999999"},
    {"x = 12abc\n", "prog.tb:1:5: error: malformed number '12a'"},
    {"x = $123456789\n", "prog.tb:1:5: error: integer literal too large: $123456789"},
};
INSTANTIATE_TEST_SUITE_P(Lexical, CompileErrors, ::testing::ValuesIn(kLexical));

const ErrorCase kSyntax[] = {
    {"If x > 1\n  DebugLog \"a\"\n", "prog.tb:1:1: error: 'If' has no EndIf"},
    {"For i = 1 To\nNext\n", "prog.tb:1:13: error: expected an expression, found end of line"},
    {"For i = 1 10\nNext\n", "prog.tb:1:11: error: expected To, found number 10"},
    {"For i = 1 To 3\nNext j\n", "prog.tb:2:6: error: Next j does not match For i"},
    {"While 1\nDebugLog 1\n", "prog.tb:1:1: error: 'While' has no Wend"},
    {"x = (1 + 2\n", "prog.tb:1:11: error: expected ')', found end of line"},
    {"x = 1 +\n", "prog.tb:1:8: error: expected an expression, found end of line"},
    {"Function f(a, b\nEnd Function\n", "prog.tb:1:16: error: expected ',' or ')' in the parameter list, found end of line"},
    {"Function f()\nx = 1\n", "prog.tb:1:1: error: 'Function' has no End Function"},
    {"If 1 Then\nFunction f()\nEnd Function\nEndIf\n", "prog.tb:2:1: error: expected EndIf before 'Function'"},
    {"Type T\nField a\n", "prog.tb:1:1: error: Type T has no End Type"},
    {"Type T\nLocal a\nEnd Type\n", "prog.tb:2:1: error: expected Field or End Type, found 'Local'"},
    {"Local If = 3\n", "prog.tb:1:7: error: expected a name after Local, found keyword 'If'"},
    {"Select x\nDebugLog 1\nEnd Select\n", "prog.tb:2:1: error: expected Case, Default or End Select, found 'DebugLog'"},
    {"Select x\nDefault\nCase 1\nEnd Select\n", "prog.tb:3:6: error: Case after Default: Default must be the last branch"},
    {"Goto\n", "prog.tb:1:5: error: expected a label name after Goto, found end of line"},
    {"x = 1 2\n", "prog.tb:1:7: error: expected end of statement, found number 2"},
    {"Const A\n", "prog.tb:1:8: error: expected '=' and a value for the constant, found end of line"},
    {"Insert a b\n", "prog.tb:1:10: error: expected Before or After, found 'b'"},
    {"Dim a\n", "prog.tb:1:6: error: expected '(' and the highest indices after the array name, found end of line"},
    {"Include \"missing.tb\"\n", "prog.tb:1:1: error: cannot read the included file 'missing.tb'"},
    {"Include \"part.tb\"\n", "part.tb:4:5: error: expected an expression, found '='"},
    {"Repeat\nx = 1\n", "prog.tb:1:1: error: 'Repeat' has no Until or Forever"},
    {"Next\n", "prog.tb:1:1: error: expected a statement, found keyword 'Next'"},
};
INSTANTIATE_TEST_SUITE_P(Syntax, CompileErrors, ::testing::ValuesIn(kSyntax));

const ErrorCase kSemantic[] = {
    {"a$ = \"x\"\nb = a$ - 1.5 * \"y\" - Null\n", "prog.tb:2:22: error: expected a number for '-', found Null"},
    {"x = y(3)\n", "prog.tb:1:5: error: unknown function, array or command 'y'"},
    {"Frobnicate 1, 2\n", "prog.tb:1:1: error: unknown function, array or command 'Frobnicate'"},
    {"Frobnicate\n", "prog.tb:1:1: error: expected a statement, found 'Frobnicate': not a command or function (assign a variable with '=')"},
    {"DebugLog\n", "prog.tb:1:1: error: too few arguments for command DebugLog: expected 1, found 0"},
    {"DebugLog 1, 2\n", "prog.tb:1:13: error: too many arguments for command DebugLog: it takes 1"},
    {"x = Rnd()\n", "prog.tb:1:5: error: too few arguments for command Rnd: expected at least 1, found 0"},
    {"x = DebugLog(\"a\")\n", "prog.tb:1:5: error: 'DebugLog' gives no result, but the value assigned to 'x' needs an integer"},
    {"x = MilliSecs\n", "prog.tb:1:5: error: 'MilliSecs' is a function: call it with parentheses, as MilliSecs()"},
    {"a = 1\na$ = \"x\"\n", "prog.tb:2:1: error: 'a' is an integer, not a string"},
    {"Const C = 3\nC = 4\n", "prog.tb:2:1: error: cannot assign to constant 'C'"},
    {"Const C = MilliSecs()\n", "prog.tb:1:11: error: 'MilliSecs' is not a constant"},
    {"Type P\nField x\nEnd Type\np.P = New P\np\\y = 1\n", "prog.tb:5:3: error: type P has no field 'y'"},
    {"p.Q = Null\n", "prog.tb:1:3: error: unknown type 'Q'"},
    {"Type P\nField x\nEnd Type\nType R\nField y\nEnd Type\np.P = New R\n", "prog.tb:7:7: error: expected an object of type P for the value assigned to 'p', found an object of type R"},
    {"Type P\nField x\nEnd Type\np.P = New P\nDebugLog p\n", "prog.tb:5:10: error: expected a string for parameter text of DebugLog, found an object of type P (Str converts an object to text)"},
    {"Type P\nField x\nEnd Type\np.P = New P\nx = p + 1\n", "prog.tb:5:5: error: expected a number for '+', found an object of type P"},
    {"Type P\nField x\nEnd Type\np.P = New P\nIf p < Null Then End\n", "prog.tb:5:6: error: objects can only be compared with '=' and '<>'"},
    {"x = 5\nx\\f = 1\n", "prog.tb:2:1: error: expected an object before '\\f', found an integer"},
    {"Exit\n", "prog.tb:1:1: error: Exit outside of a loop"},
    {"Goto nowhere\n", "prog.tb:1:6: error: label .nowhere is not defined in the main program"},
    {".a\n.a\n", "prog.tb:2:1: error: label .a is defined twice"},
    {"Function f()\nGosub x\n.x\nEnd Function\n", "prog.tb:2:7: error: Gosub is only allowed in the main program"},
    {"Function f()\nGlobal g\nEnd Function\n", "prog.tb:2:1: error: Global is only allowed in the main program, not inside a function"},
    {"Function f()\nData 1\nEnd Function\n", "prog.tb:2:1: error: Data is only allowed in the main program, not inside a function"},
    {"Return 5\n", "prog.tb:1:8: error: Return in the main program returns from Gosub and takes no value"},
    {"Function f(a = 1, b)\nEnd Function\n", "prog.tb:1:19: error: parameter b needs a default value: it follows a parameter with one"},
    {"Function f(a = MilliSecs())\nEnd Function\n", "prog.tb:1:16: error: 'MilliSecs' is not a constant"},
    {"Function f()\nEnd Function\nFunction F()\nEnd Function\n", "prog.tb:3:10: error: function 'F' is declared twice"},
    {"Function f(a)\nEnd Function\nx = f(1, 2)\n", "prog.tb:3:10: error: too many arguments for function f: it takes 1"},
    {"Dim a(3)\nDim a(3, 4)\n", "prog.tb:2:5: error: array a has 1 dimensions, not 2"},
    {"Dim a(3)\nx = a(1, 2)\n", "prog.tb:2:5: error: array a has 1 dimensions, but 2 indices are given"},
    {"Dim a(3)\nx = a\n", "prog.tb:2:5: error: 'a' is an array: give its indices, as a(...)"},
    {"For s$ = 1 To 2\nNext\n", "prog.tb:1:5: error: the For variable must be an integer or a float, not a string"},
    {"n = 2\nFor i = 1 To 5 Step n\nNext\n", "prog.tb:2:21: error: expected a constant Step"},
    {"Type P\nField x\nEnd Type\nFor p.P = Each Q\nNext\n", "prog.tb:4:1: error: unknown type 'Q'"},
    {"Local v[3]\nv = 2\n", "prog.tb:2:1: error: cannot assign to the vector 'v' itself; assign its elements"},
    {"x = 1\nx[0] = 2\n", "prog.tb:2:1: error: 'x' is not a vector"},
    {"Local v[-1]\n", "prog.tb:1:9: error: the vector size must be between 0 and 16777216"},
    {"Type P\nField x\nField x\nEnd Type\n", "prog.tb:3:7: error: field 'x' is declared twice in type P"},
    {"Local a\nLocal a\n", "prog.tb:2:7: error: 'a' is already declared in the main program"},
    {"If \"text\" Then End\n", "prog.tb:1:4: error: expected a condition (a number or an object), found a string"},
    {"Data MilliSecs()\n", "prog.tb:1:6: error: 'MilliSecs' is not a constant"},
    {"Read x, Null\n", "prog.tb:1:9: error: expected a variable, array element or field to assign to"},
    {"Restore nowhere\n", "prog.tb:1:9: error: label .nowhere is not defined in the main program"},
    {"Type P\nField x\nEnd Type\nDelete 5\n", "prog.tb:4:8: error: expected an object after Delete, found an integer"},
    {"x = Str()\n", "prog.tb:1:5: error: Str takes exactly one argument"},
};
INSTANTIATE_TEST_SUITE_P(Semantic, CompileErrors, ::testing::ValuesIn(kSemantic));

}  // namespace
}  // namespace tarsk::compiler
