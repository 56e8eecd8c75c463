# Flags shared by every target of the project.
add_compile_options(-Wall -Wextra -Wno-unused-parameter)
# Executables are linked without PIE; code that is not position-independent by its
# target's choice (shared libraries and what they link are) is compiled as such.
add_link_options($<$<STREQUAL:$<TARGET_PROPERTY:TYPE>,EXECUTABLE>:-no-pie>)
add_compile_options($<$<AND:$<COMPILE_LANGUAGE:C,CXX>,$<NOT:$<BOOL:$<TARGET_PROPERTY:POSITION_INDEPENDENT_CODE>>>>:-fno-pie>)

if(TARSK_SANITIZE)
  set(TARSK_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=undefined
      -fno-omit-frame-pointer)
  add_compile_options(${TARSK_SANITIZER_FLAGS})
  add_link_options(${TARSK_SANITIZER_FLAGS})
endif()

find_package(PkgConfig REQUIRED)
