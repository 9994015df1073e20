# pelmora_compile_form(SOURCE OUTPUT SYMBOL): compiles a form source into a C++ file that
# defines `std::span<const std::uint8_t> SYMBOL()`. The compiler runs on the build machine: in a
# cross build it is built once more for the host, as a project of its own.
if(CMAKE_CROSSCOMPILING)
  include(ExternalProject)
  set(PELMORA_HOST_TOOLS_DIR ${CMAKE_BINARY_DIR}/host-tools)
  set(PELMORA_FORM_COMMAND ${PELMORA_HOST_TOOLS_DIR}/tools/form/pelmora-form)
  if(NOT TARGET pelmora_host_form_tool)
    ExternalProject_Add(pelmora_host_form_tool
      SOURCE_DIR ${CMAKE_SOURCE_DIR}
      BINARY_DIR ${PELMORA_HOST_TOOLS_DIR}
      # The native presets already hold this code to warnings-as-errors; here it is only a
      # build step, and GCC 12 at -O3 reports false -Wrestrict findings in std::string.
      CMAKE_ARGS -DPELMORA_NATIVE_BACKEND=none -DPELMORA_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo
                 -DPELMORA_WERROR=OFF
      BUILD_COMMAND ${CMAKE_COMMAND} --build ${PELMORA_HOST_TOOLS_DIR} --target pelmora-form
      INSTALL_COMMAND ""
      BUILD_ALWAYS ON
      BUILD_BYPRODUCTS ${PELMORA_FORM_COMMAND})
  endif()
  set(PELMORA_FORM_DEPENDS pelmora_host_form_tool)
else()
  set(PELMORA_FORM_COMMAND pelmora-form)
  set(PELMORA_FORM_DEPENDS pelmora-form)
endif()

function(pelmora_compile_form source output symbol)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${PELMORA_FORM_COMMAND} compile ${source} --cpp ${output} --symbol ${symbol}
    DEPENDS ${source} ${PELMORA_FORM_DEPENDS}
    COMMENT "Compiling the window description ${source}"
    VERBATIM)
endfunction()
