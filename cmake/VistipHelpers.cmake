# Shared build helpers: warnings, sanitizers, and one-line test/bench/fuzz target definitions.
set(VISTIP_ALL_SUBDIRS runtime platform state tipstore tipwindow settings editing api ntpaths tools demo)

# Adds each listed folder below BASE that has a CMakeLists.txt.
macro(vistip_subdirs base)
  foreach(_d ${ARGN})
    if(EXISTS ${base}/${_d}/CMakeLists.txt)
      add_subdirectory(${base}/${_d})
    endif()
  endforeach()
endmacro()

set(VISTIP_WARNINGS -Wall -Wextra -Wpedantic -Wshadow=local -Wno-missing-field-initializers)
if(VISTIP_WERROR)
  list(APPEND VISTIP_WARNINGS -Werror)
endif()
add_compile_options("$<$<COMPILE_LANGUAGE:CXX>:${VISTIP_WARNINGS}>")
if(VISTIP_SANITIZE)
  add_compile_options(-fsanitize=${VISTIP_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${VISTIP_SANITIZE})
endif()

# vistip_test(NAME SOURCES a.cpp b.cpp LIBS x y): a GoogleTest binary registered with CTest.
function(vistip_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main Threads::Threads)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/include)
  # LABELS threads marks the tests that CI also runs under ThreadSanitizer.
  if(T_LABELS)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS ${T_LABELS})
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
  endif()
endfunction()

# vistip_bench(NAME SOURCES ... LIBS ...): a Google Benchmark binary; `make bench` runs them all.
if(NOT TARGET bench)
  add_custom_target(bench)
endif()
function(vistip_bench name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark benchmark::benchmark_main Threads::Threads)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/include)
  add_custom_target(${name}_run COMMAND ${name} --benchmark_min_time=0.2 VERBATIM)
  add_dependencies(bench ${name}_run)
endfunction()

# vistip_fuzz(NAME SOURCES ... LIBS ...): a libFuzzer target.
function(vistip_fuzz name)
  cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${F_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/include)
endfunction()

# vistip_library(NAME VERSION_SCRIPT file SOURCES ... PUBLIC_LIBS ... PRIVATE_LIBS ...): a
# versioned shared library installed and exported; the version script (or the visibility of its
# declarations) limits its exported symbols.
function(vistip_library name)
  cmake_parse_arguments(L "" "VERSION_SCRIPT" "SOURCES;PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
  add_library(${name} SHARED ${L_SOURCES})
  set_target_properties(${name} PROPERTIES VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR})
  target_include_directories(${name} PUBLIC
    $<BUILD_INTERFACE:${CMAKE_SOURCE_DIR}> $<BUILD_INTERFACE:${CMAKE_SOURCE_DIR}/include>
    $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
  target_link_libraries(${name} PUBLIC ${L_PUBLIC_LIBS} PRIVATE ${L_PRIVATE_LIBS})
  if(L_VERSION_SCRIPT)
    target_link_options(${name} PRIVATE "-Wl,--version-script=${L_VERSION_SCRIPT}")
    set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS ${L_VERSION_SCRIPT})
  endif()
  # Every symbol resolved at link time (clang's sanitizer runtimes leave theirs to the program).
  if(NOT (VISTIP_SANITIZE AND CMAKE_CXX_COMPILER_ID MATCHES "Clang"))
    target_link_options(${name} PRIVATE -Wl,--no-undefined)
  endif()
  # Installed, it finds the libraries it links beside itself, without LD_LIBRARY_PATH.
  set_target_properties(${name} PROPERTIES INSTALL_RPATH "$ORIGIN")
  install(TARGETS ${name} EXPORT VistipTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT lib NAMELINK_COMPONENT dev)
endfunction()
