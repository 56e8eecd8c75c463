# Module images built from C sources with the system C compiler, the way the
# compiler's generated C is built: freestanding, non-PIC, with unwind tables.
set(TARSK_MODULE_CFLAGS -O2 -fno-pic -mcmodel=small -ffreestanding -fasynchronous-unwind-tables
    -fno-stack-protector -fcf-protection=none -w)
set(TARSK_COMMANDS_HEADER ${CMAKE_BINARY_DIR}/include/tarsk_commands.h)

# tarsk_c_image(NAME SOURCE): builds ${CMAKE_CURRENT_BINARY_DIR}/NAME.tbm.
function(tarsk_c_image name source)
  set(object ${CMAKE_CURRENT_BINARY_DIR}/${name}.o)
  set(image ${CMAKE_CURRENT_BINARY_DIR}/${name}.tbm)
  get_filename_component(source ${source} ABSOLUTE)
  add_custom_command(OUTPUT ${image}
    COMMAND ${CMAKE_C_COMPILER} ${TARSK_MODULE_CFLAGS} -I${CMAKE_SOURCE_DIR}/runtime/include
            -I${CMAKE_BINARY_DIR}/include -c ${source} -o ${object}
    COMMAND tarsk image ${object} -o ${image}
    DEPENDS ${source} tarsk ${TARSK_COMMANDS_HEADER}
    COMMENT "Module image ${name}.tbm"
    VERBATIM)
  add_custom_target(${name}_image ALL DEPENDS ${image})
endfunction()
