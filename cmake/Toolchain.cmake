# Flags shared by every target of the project.
add_compile_options(-Wall -Wextra -Wno-unused-parameter)
add_link_options(-no-pie)
add_compile_options($<$<COMPILE_LANGUAGE:C,CXX>:-fno-pie>)

if(TARSK_SANITIZE)
  set(TARSK_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=undefined
      -fno-omit-frame-pointer)
  add_compile_options(${TARSK_SANITIZER_FLAGS})
  add_link_options(${TARSK_SANITIZER_FLAGS})
endif()

find_package(PkgConfig REQUIRED)
