# Folders are filled in by different people at different times: a folder without its
# CMakeLists.txt yet is skipped with a note instead of breaking the configure step.
function(pelmora_optional_subdirectory folder)
  if(EXISTS ${CMAKE_SOURCE_DIR}/${folder}/CMakeLists.txt)
    add_subdirectory(${folder})
  else()
    message(STATUS "Pelmora: ${folder} has no CMakeLists.txt yet; not built")
  endif()
endfunction()
