# cmake -DLIBRARY=name -DFILES=a|b|... -DFOLDERS=x|y|... -DSTAMP=file -P CheckIncludes.cmake
# Fails when one of a library's FILES includes a project header from a folder
# outside FOLDERS (its own and those of the libraries it is built on): every
# folder shares one include root, so only this check stops a library from
# leaning on one it does not link. Touches STAMP when all is well.
cmake_minimum_required(VERSION 3.25)
string(REPLACE "|" ";" files "${FILES}")
string(REPLACE "|" ";" folders "${FOLDERS}")
set(faults "")
foreach(file IN LISTS files)
  file(STRINGS "${file}" lines REGEX "^#include \"[^\"]+/[^\"]+\"")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^#include \"([^\"]+)/[^\"/]+\".*" "\\1" folder "${line}")
    if(NOT folder IN_LIST folders)
      string(APPEND faults "\n  ${file}: ${line}")
    endif()
  endforeach()
endforeach()
if(faults)
  message(FATAL_ERROR "${LIBRARY} may include headers only from ${folders}:${faults}")
endif()
file(TOUCH "${STAMP}")
