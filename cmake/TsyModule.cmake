# One folder, one library: every .cpp in the folder belongs to it, so a new
# source file needs no edit here. Our own code builds with warnings as errors.

set(TSY_WARNINGS -Wall -Wextra -Werror)

if(TSY_FUZZ)
  # Every library is instrumented for coverage; the fuzz targets add the driver.
  # Warnings stay on but do not stop a fuzz build made with another compiler.
  set(TSY_WARNINGS -Wall -Wextra)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(TSY_SANITIZE STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
elseif(TSY_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(NOT TSY_SANITIZE STREQUAL "")
  message(FATAL_ERROR "TSY_SANITIZE must be empty, 'address' or 'thread'")
endif()

# tsy_module(NAME DIR [DEPS targets...])
# A static library of the .cpp files in DIR (not its sub-folders), public
# headers found from src/. With no .cpp file yet it is an interface library.
function(tsy_module name dir)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_compile_options(${name} PRIVATE ${TSY_WARNINGS})
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# tsy_test(NAME DIR DEPS targets...)
# One GoogleTest program of the .cpp files in DIR, registered with CTest.
function(tsy_test name dir)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_compile_options(${name} PRIVATE ${TSY_WARNINGS})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest_main GTest::gmock)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE
    TSY_SOURCE_DIR="${PROJECT_SOURCE_DIR}" TSY_BINARY_DIR="${PROJECT_BINARY_DIR}")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# tsy_layered_module(NAME DIR SEES folders... DEPS targets... LIBS targets...)
# A library of the .cpp files in DIR whose sources find the headers of the
# SEES folders (paths under src/, DIR among them) and no others: its include
# root is a folder of its own in the build tree holding a link to each. A
# header from anywhere else is not found, so the build fails where the
# layering would break. DEPS, our own libraries, are linked without their
# include folder (all of src/); LIBS, outside libraries, with theirs. Users of
# the library see src/ as usual.
function(tsy_layered_module name dir)
  cmake_parse_arguments(ARG "" "" "SEES;DEPS;LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  add_library(${name} STATIC ${sources})
  # Named after the list, so that a changed list starts a fresh root rather
  # than leave the links of folders no longer allowed.
  string(SHA1 list_hash "${ARG_SEES}")
  string(SUBSTRING ${list_hash} 0 8 list_hash)
  set(root ${CMAKE_CURRENT_BINARY_DIR}/${name}.headers-${list_hash})
  foreach(folder ${ARG_SEES})
    cmake_path(GET folder PARENT_PATH parent)
    file(MAKE_DIRECTORY ${root}/${parent})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${folder} ${root}/${folder} SYMBOLIC)
  endforeach()
  target_include_directories(${name} PRIVATE ${root} INTERFACE ${PROJECT_SOURCE_DIR}/src)
  target_compile_options(${name} PRIVATE ${TSY_WARNINGS})
  list(TRANSFORM ARG_DEPS REPLACE "(.+)" "$<LINK_ONLY:\\1>")
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} ${ARG_LIBS})
endfunction()
