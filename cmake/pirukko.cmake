# pirukko_test(NAME SOURCES... LIBS... [PROPERTIES...]): one GoogleTest program, its cases
# registered with CTest when the tests run (not when they are built).
function(pirukko_test name)
  cmake_parse_arguments(T "MOUNTING" "" "SOURCES;LIBS;PROPERTIES" ${ARGN})
  # A test that mounts drives (tests/support/mounts.h) needs root, finds our
  # FUSE layer, and takes turns with the other tests that mount: a volume
  # watch sees every mount on the machine.
  if(T_MOUNTING)
    if(NOT PIRUKKO_TESTS_AS_ROOT)
      return()
    endif()
    list(APPEND T_PROPERTIES RESOURCE_LOCK mounts)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  if(T_MOUNTING)
    target_compile_definitions(${name} PRIVATE PIRUKKO_FAULT_FS="$<TARGET_FILE:fault_fs>")
    add_dependencies(${name} fault_fs)
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" ${T_PROPERTIES})
endfunction()

# pirukko_tests_in_folder(PREFIX LIBS... [MOUNTING STEMS...]): every *_test.cpp
# of the calling folder becomes its own test program PREFIX_<file>, so that
# one program's compile error never holds back the others; the files named
# after MOUNTING mount drives (see pirukko_test).
function(pirukko_tests_in_folder prefix)
  cmake_parse_arguments(F "" "" "MOUNTING" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  foreach(src ${tests})
    get_filename_component(stem ${src} NAME_WE)
    set(mounting)
    if(stem IN_LIST F_MOUNTING)
      set(mounting MOUNTING)
    endif()
    pirukko_test(${prefix}_${stem} SOURCES ${src} LIBS ${F_UNPARSED_ARGUMENTS} ${mounting})
  endforeach()
endfunction()

# pirukko_library(NAME GLOBS... DEPS...): a static library from the files
# that match GLOBS; a folder with no sources yet gives an interface library.
function(pirukko_library name)
  cmake_parse_arguments(L "" "" "GLOBS;DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${L_GLOBS})
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${L_DEPS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${L_DEPS})
  endif()
endfunction()

# The toolkit behind the editor control is the program's choice: a program
# (or, for all of its programs, a folder) names the implementation library in
# PIRUKKO_CONTROL_IMPLEMENTATION, and pirukko_platform_control brings it into
# that program's link after itself, so that the static link finds every
# symbol the control's libraries use. A library never sets it.
define_property(TARGET PROPERTY PIRUKKO_CONTROL_IMPLEMENTATION INHERITED
  BRIEF_DOCS "The library that implements the editor control's base for this program"
  FULL_DOCS "For example pirukko_platform_qt.")
define_property(DIRECTORY PROPERTY PIRUKKO_CONTROL_IMPLEMENTATION INHERITED
  BRIEF_DOCS "The control implementation of the programs of this folder"
  FULL_DOCS "See the target property of the same name.")
