# Portable code is built once as it ships and, natively, once more with the sanitizers for the
# tests: add_portable_library(name SOURCES... [WIN32_SOURCES...] [POSIX_SOURCES...]) makes
# `name` and, on the native build, `name_sanitized`.
set(SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
# In the fuzz build the sanitized libraries also record the coverage that guides libFuzzer.
if(CHECKSUMS_FUZZ)
  list(APPEND SANITIZER_FLAGS -fsanitize=fuzzer-no-link)
endif()

function(add_portable_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;WIN32_SOURCES;POSIX_SOURCES;LINK" ${ARGN})
  set(sources ${ARG_SOURCES})
  if(WIN32)
    list(APPEND sources ${ARG_WIN32_SOURCES})
  else()
    list(APPEND sources ${ARG_POSIX_SOURCES})
  endif()
  if(WIN32)
    add_library(${name} STATIC ${sources})
  else()
    # Natively the shipped build is only for the companion, the benchmarks and the emulated
    # processor's tests: built when one of them needs it, not compiled twice for nothing.
    add_library(${name} STATIC EXCLUDE_FROM_ALL ${sources})
  endif()
  target_link_libraries(${name} PUBLIC ${ARG_LINK})
  if(NOT WIN32)
    add_library(${name}_sanitized STATIC ${sources})
    target_compile_options(${name}_sanitized PRIVATE ${SANITIZER_FLAGS})
    target_link_options(${name}_sanitized PUBLIC ${SANITIZER_FLAGS})
    list(TRANSFORM ARG_LINK APPEND _sanitized OUTPUT_VARIABLE sanitized_links)
    target_link_libraries(${name}_sanitized PUBLIC ${sanitized_links})
  endif()
endfunction()

# The library a test links: the sanitized one natively, the shipped one on Windows.
function(tested_library out name)
  if(WIN32)
    set(${out} ${name} PARENT_SCOPE)
  else()
    set(${out} ${name}_sanitized PARENT_SCOPE)
  endif()
endfunction()

# target_wine_paths(target NAME PATH [NAME PATH ...]): compile definitions NAME=L"Z:\..." that
# name files of the build as a Windows program under Wine sees them, on drive Z:.
function(target_wine_paths target)
  set(definitions)
  set(pairs ${ARGN})
  while(pairs)
    list(POP_FRONT pairs name path)
    string(REPLACE "/" "\\\\" windows_path "${path}")
    list(APPEND definitions "${name}=L\"Z:${windows_path}\"")
  endwhile()
  target_compile_definitions(${target} PRIVATE ${definitions})
endfunction()
