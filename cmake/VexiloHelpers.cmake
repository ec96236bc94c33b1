# vexilo_add_library(<target> [LIBS ...])
# A static library made of every .cpp/.h/.ui in the calling folder (new files are picked up
# at the next build without editing this list).
function(vexilo_add_library target)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB _srcs CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.ui)
  if(_srcs)
    add_library(${target} STATIC ${_srcs})
    target_include_directories(${target} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${target} PUBLIC ${ARG_LIBS})
    target_compile_options(${target} PRIVATE -Wall -Wextra)
  else()
    add_library(${target} INTERFACE)
    target_link_libraries(${target} INTERFACE ${ARG_LIBS})
  endif()
endfunction()

# Environment every test and benchmark runs with: headless, loopback only.
set(VEXILO_TEST_ENV
    "QT_QPA_PLATFORM=offscreen"
    "VEXILO_LOOPBACK_ONLY=1"
    "VEXILO_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
    "VEXILO_BIN_DIR=${VEXILO_BIN_DIR}")

# vexilo_add_qtest(<name> SOURCES ... LIBS ... [TIMEOUT s] [LABELS ...])
function(vexilo_add_qtest name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(${name} PRIVATE Qt5::Test ${ARG_LIBS})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/common)
  add_test(NAME ${name} COMMAND ${name})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${VEXILO_TEST_ENV}" TIMEOUT ${ARG_TIMEOUT})
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
