# One folder, one library: every .cpp in the folder belongs to it, so a new
# source file needs no edit here. Our own code builds with every warning on;
# with TSY_WERROR (the project's scripts and CI) warnings are errors.

set(TSY_WARNINGS -Wall -Wextra)
if(TSY_WERROR)
  list(APPEND TSY_WARNINGS -Werror)
endif()
# GCC 12's optimiser reports overlapping copies inside libstdc++'s own inlined
# string code ("text" + std::string, at -O2 and above) where there are none;
# its -Wrestrict says nothing about our code there. Other versions keep it.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12
   AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  list(APPEND TSY_WARNINGS -Wno-restrict)
endif()

if(TSY_FUZZ)
  # Every library is instrumented for coverage; the fuzz targets add the driver.
  # Warnings stay on but do not stop a fuzz build made with another compiler.
  list(REMOVE_ITEM TSY_WARNINGS -Werror)
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
# Its files may include headers only from DIR and the folders of the modules
# in DEPS (and theirs): the build checks this before it compiles them.
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
  tsy_check_includes(${name} ${dir} "${sources}" "${ARG_DEPS}")
endfunction()

# The folders a module's files may include from: its own and, through its
# DEPS, those of every module below it.
function(tsy_check_includes name dir sources deps)
  set(folders ${dir})
  foreach(dep IN LISTS deps)
    if(TARGET ${dep})
      get_target_property(below ${dep} TSY_FOLDERS)
      if(below)
        list(APPEND folders ${below})
      endif()
    endif()
  endforeach()
  list(REMOVE_DUPLICATES folders)
  set_target_properties(${name} PROPERTIES TSY_FOLDERS "${folders}")
  file(GLOB headers CONFIGURE_DEPENDS ${dir}/*.h)
  set(files ${sources} ${headers})
  if(NOT files OR NOT sources)
    return()  # an interface library has nothing of its own to compile
  endif()
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${name}.includes)
  string(REPLACE ";" "|" fileList "${files}")
  string(REPLACE ";" "|" folderList "${folders}")
  set(script ${PROJECT_SOURCE_DIR}/cmake/CheckIncludes.cmake)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DLIBRARY=${name} "-DFILES=${fileList}" "-DFOLDERS=${folderList}" -DSTAMP=${stamp} -P ${script}
    DEPENDS ${files} ${script}
    COMMENT "Checking what ${name} includes" VERBATIM)
  target_sources(${name} PRIVATE ${stamp})
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
