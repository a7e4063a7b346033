# velbra_add_flavours(<base> SOURCES ... LIBS ...)
# Builds one source list twice: <base>_ieee and <base>_bcd; the decimal flavour
# gets the single compile definition VELBRA_BCD=1.
function(velbra_add_flavours base)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS_IEEE;LIBS_BCD;LIBS" ${ARGN})
  foreach(flavour ieee bcd)
    set(target ${base}_${flavour})
    add_library(${target} SHARED ${ARG_SOURCES})
    target_include_directories(${target} PUBLIC
      $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/include>
      $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
    target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR})
    if(flavour STREQUAL "bcd")
      target_compile_definitions(${target} PUBLIC VELBRA_BCD=1)
      target_link_libraries(${target} PUBLIC ${ARG_LIBS_BCD})
    else()
      target_link_libraries(${target} PUBLIC ${ARG_LIBS_IEEE})
    endif()
    target_link_libraries(${target} PUBLIC ${ARG_LIBS})
    set_target_properties(${target} PROPERTIES VERSION ${PROJECT_VERSION} SOVERSION 26)
    install(TARGETS ${target} LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
  endforeach()
endfunction()
