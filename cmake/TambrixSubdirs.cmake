# tambrix_add_subdirs(): adds every direct subfolder of the current folder that
# holds a CMakeLists.txt, so that each part of the tests and benchmarks owns its own.
function(tambrix_add_subdirs)
  file(GLOB children LIST_DIRECTORIES true RELATIVE "${CMAKE_CURRENT_SOURCE_DIR}" "${CMAKE_CURRENT_SOURCE_DIR}/*")
  list(SORT children)
  foreach(child IN LISTS children)
    if(IS_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}/${child}"
       AND EXISTS "${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt")
      if(TAMBRIX_LIBRARY_ONLY AND EXISTS "${CMAKE_CURRENT_SOURCE_DIR}/${child}/.needs-juce")
        continue()
      endif()
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()
