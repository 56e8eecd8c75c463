; The test library of the compiler tests.
.lib "compiler_testlib.dll"
TestAdd%(a%, b%) : "tl_add"
TestScale#(value#, factor#) : "tl_scale"
TestGreet$(name$) : "tl_greet"
TestLowByte%(address*) : "tl_low_byte"
TestMissing%() : "tl_not_exported"
