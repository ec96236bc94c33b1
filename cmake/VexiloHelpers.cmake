# vexilo_add_library(<target> [LIBS ...])
# A static library made of every .cpp/.h/.ui in the calling folder (new files are picked up
# at the next build without editing this list). src/ is the include root of every library, so
# that an include names the layer it crosses: #include "core/CCHelper.h".
function(vexilo_add_library target)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB _srcs CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.ui)
  if(_srcs)
    add_library(${target} STATIC ${_srcs})
    target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${target} PUBLIC ${ARG_LIBS})
    target_compile_options(${target} PRIVATE -Wall -Wextra)
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${target} INTERFACE ${ARG_LIBS})
  endif()
endfunction()

# vexilo_forbid_widgets(<target>): fails the configuration when the target links Qt's widget
# module, directly or through another library (core and the IP card link must stay widget-free).
function(vexilo_forbid_widgets target)
  set(_seen)
  set(_todo ${target})
  while(_todo)
    list(POP_FRONT _todo _t)
    if(_t IN_LIST _seen OR NOT TARGET ${_t})
      continue()
    endif()
    list(APPEND _seen ${_t})
    if(_t STREQUAL "Qt5::Widgets" OR _t STREQUAL "Qt5::Svg")
      message(FATAL_ERROR "${target} must not link a widget module, but reaches ${_t}")
    endif()
    get_target_property(_type ${_t} TYPE)
    if(_type STREQUAL "INTERFACE_LIBRARY")
      get_target_property(_deps ${_t} INTERFACE_LINK_LIBRARIES)
    else()
      get_target_property(_deps ${_t} LINK_LIBRARIES)
      get_target_property(_ideps ${_t} INTERFACE_LINK_LIBRARIES)
      if(_ideps)
        list(APPEND _deps ${_ideps})
      endif()
    endif()
    if(_deps)
      list(APPEND _todo ${_deps})
    endif()
  endwhile()
endfunction()
# Environment every test and benchmark runs with: headless, loopback only.
set(VEXILO_TEST_ENV
    "QT_QPA_PLATFORM=offscreen"
    "VEXILO_LOOPBACK_ONLY=1"
    "VEXILO_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
    "VEXILO_BIN_DIR=${VEXILO_BIN_DIR}")

# vexilo_add_qtest(<name> SOURCES ... LIBS ... [TIMEOUT s] [LABELS ...] [XVFB])
# XVFB: the test runs on an X server of its own (xvfb-run) instead of offscreen, for what only a
# real window system has: stacking of windows and pointer input at a screen position.
function(vexilo_add_qtest name)
  cmake_parse_arguments(ARG "XVFB" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(${name} PRIVATE Qt5::Test ${ARG_LIBS})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/common)
  set(_env ${VEXILO_TEST_ENV})
  if(ARG_XVFB)
    add_test(NAME ${name} COMMAND xvfb-run -a -s "-screen 0 1600x1000x24" $<TARGET_FILE:${name}>)
    list(REMOVE_ITEM _env "QT_QPA_PLATFORM=offscreen")
    # No OpenGL: nothing here draws with it, and the GL driver would be loaded and unloaded
    # behind the leak checker's back.
    list(APPEND _env "QT_QPA_PLATFORM=xcb" "QT_XCB_GL_INTEGRATION=none")
  else()
    add_test(NAME ${name} COMMAND ${name})
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${_env}" TIMEOUT ${ARG_TIMEOUT})
  # The first folder below tests/ decides whether the sanitised build runs the suite.
  file(RELATIVE_PATH _rel ${CMAKE_SOURCE_DIR}/tests ${CMAKE_CURRENT_SOURCE_DIR})
  string(REGEX REPLACE "/.*" "" _area "${_rel}")
  if(_area IN_LIST VEXILO_SANITIZED_TEST_DIRS)
    list(APPEND ARG_LABELS sanitize)
  endif()
  if(ARG_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}")
  endif()
endfunction()

# vexilo_glob_qtests(LIBS ...): one test per tst_*.cpp in the calling folder.
function(vexilo_glob_qtests)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB _tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tst_*.cpp)
  foreach(_t ${_tests})
    get_filename_component(_name ${_t} NAME_WE)
    vexilo_add_qtest(${_name} SOURCES ${_t} LIBS ${ARG_LIBS})
  endforeach()
endfunction()
