# Cross-built tree: the program, its Windows tests and tools, run under Wine by ctest.
add_compile_options(-Wall -Wextra)
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${CMAKE_SOURCE_DIR}/resources")
set(STATIC_RUNTIME -static -static-libgcc -static-libstdc++)

# The oldest Windows the program claims to run on (6.1 is Windows 7). The PE
# header states it, so older systems refuse the program instead of failing
# half-way, and the package test holds the imports to it.
set(MORVET_OLDEST_WINDOWS 6.1)
string(REPLACE "." ";" MORVET_OLDEST_WINDOWS_PARTS ${MORVET_OLDEST_WINDOWS})
list(GET MORVET_OLDEST_WINDOWS_PARTS 0 oldest_major)
list(GET MORVET_OLDEST_WINDOWS_PARTS 1 oldest_minor)
add_link_options(
  -Wl,--major-os-version,${oldest_major} -Wl,--minor-os-version,${oldest_minor}
  -Wl,--major-subsystem-version,${oldest_major} -Wl,--minor-subsystem-version,${oldest_minor})

# The same sources give the same program in any folder at any time: no link
# time in the header, no build folder in the binary.
add_compile_options(-ffile-prefix-map=${CMAKE_SOURCE_DIR}/=)
add_link_options(-Wl,--no-insert-timestamp)

set(MORVET_WINDOWS_SOURCES
  src/pet/desktop_pet.cpp
  src/pet/pet_system.cpp
  src/pet/behaviour.cpp
  src/pet/step.cpp
  src/assets/palette.cpp
  src/assets/frames.cpp
  src/render/surfaces.cpp
  src/render/compose.cpp
  src/render/desktop_changes.cpp
  src/render/merge.cpp
  src/render/shapes.cpp
  src/render/scaling.cpp
  src/menu/menu.cpp
  src/app/window_proc.cpp
  src/app/globals.cpp
)
add_library(morvet_lib STATIC ${MORVET_PORTABLE_SOURCES} ${MORVET_WINDOWS_SOURCES})
target_include_directories(morvet_lib PUBLIC src)
# uuid holds the power settings' GUIDs.
target_link_libraries(morvet_lib PUBLIC user32 gdi32 winmm advapi32 shell32 shlwapi wtsapi32 uuid)
target_link_options(morvet_lib PUBLIC ${STATIC_RUNTIME})

# The program's version, as its properties show it, comes from the file VERSION
# (the package's name reads the same file) through a generated header.
file(READ ${CMAKE_SOURCE_DIR}/VERSION MORVET_VERSION)
string(STRIP "${MORVET_VERSION}" MORVET_VERSION)
if(NOT MORVET_VERSION MATCHES "^([0-9]+)\\.([0-9]+)\\.([0-9]+)$"
   OR CMAKE_MATCH_1 GREATER 65535 OR CMAKE_MATCH_2 GREATER 65535 OR CMAKE_MATCH_3 GREATER 65535)
  message(FATAL_ERROR "VERSION holds '${MORVET_VERSION}': three numbers up to 65535, as 1.0.0")
endif()
set(MORVET_VERSION_NUMBERS "${CMAKE_MATCH_1},${CMAKE_MATCH_2},${CMAKE_MATCH_3},0")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/VERSION)
string(CONCAT MORVET_VERSION_HEADER
  "#define MORVET_VERSION_NUMBERS ${MORVET_VERSION_NUMBERS}\n"
  "#define MORVET_VERSION_TEXT \"${MORVET_VERSION}\"\n")
# Written only when it changes, so that a configure alone builds nothing again.
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/morvet_version.h
  CONTENT "${MORVET_VERSION_HEADER}")

set(MORVET_RESOURCES ${CMAKE_SOURCE_DIR}/resources/morvet.rc)
add_executable(morvet WIN32 src/app/main.cpp ${MORVET_RESOURCES})
target_link_libraries(morvet PRIVATE morvet_lib)
# What people download carries no symbols or debug information.
target_link_options(morvet PRIVATE $<$<CONFIG:Release>:-s>)

# The test tiers, the trace tool and the step benchmark are built where
# GoogleTest's sources are, or where BUILD_TESTING asks for them. A plain build
# on Windows has neither and makes the program alone.
if(DEFINED BUILD_TESTING)
  set(MORVET_TESTS ${BUILD_TESTING})
elseif(EXISTS ${GOOGLETEST_SOURCE}/CMakeLists.txt)
  set(MORVET_TESTS ON)
else()
  set(MORVET_TESTS OFF)
endif()

set(MORVET_RESOURCE_DIRECTORIES .)
if(MORVET_TESTS)
  if(NOT EXISTS ${GOOGLETEST_SOURCE}/CMakeLists.txt)
    message(FATAL_ERROR "BUILD_TESTING is on but GoogleTest's sources are not in "
      "${GOOGLETEST_SOURCE}: set GOOGLETEST_SOURCE to them, or BUILD_TESTING=OFF")
  endif()
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  add_subdirectory(${GOOGLETEST_SOURCE} googletest EXCLUDE_FROM_ALL)

  add_subdirectory(tests/windows)
  add_subdirectory(tests/program)
  add_subdirectory(tests/package)
  add_subdirectory(benchmarks/windows)
  list(APPEND MORVET_RESOURCE_DIRECTORIES tests/windows benchmarks/windows)
elseif(DEFINED BUILD_TESTING)
  message(STATUS "Building morvet.exe alone (BUILD_TESTING is off). Left out: the Windows "
    "tests, the trace tool and its golden traces, the program and package tests, and the step "
    "benchmark.")
else()
  message(STATUS "Building morvet.exe alone (no GoogleTest in ${GOOGLETEST_SOURCE}: set "
    "GOOGLETEST_SOURCE to its sources for the tests). Left out: the Windows tests, the trace "
    "tool and its golden traces, the program and package tests, and the step benchmark.")
endif()

# The resources read the generated version header and the manifest. windres
# tells the build nothing of the files it reads: a new manifest or version must
# still build them again.
set_source_files_properties(${MORVET_RESOURCES} DIRECTORY ${MORVET_RESOURCE_DIRECTORIES}
  PROPERTIES INCLUDE_DIRECTORIES ${CMAKE_BINARY_DIR}/generated
  OBJECT_DEPENDS
  "${CMAKE_SOURCE_DIR}/resources/morvet.manifest;${CMAKE_BINARY_DIR}/generated/morvet_version.h")
