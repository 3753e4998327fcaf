# BLAKE3 and XXH3 come from their authors' code as Debian installs it (scripts/install-deps.sh):
# the BLAKE3 C implementation from librust-blake3-dev, and xxhash.h from libxxhash-dev. They are
# compiled here from the installed paths, never copied into the tree.
set(BLAKE3_C_DIR /usr/share/cargo/registry/blake3-1.3.1/c CACHE PATH "The BLAKE3 C implementation")
set(XXHASH_HEADER /usr/include/xxhash.h CACHE FILEPATH "xxHash's single header")
foreach(needed ${BLAKE3_C_DIR}/blake3.h ${XXHASH_HEADER})
  if(NOT EXISTS ${needed})
    message(FATAL_ERROR "${needed} is missing: run scripts/install-deps.sh")
  endif()
endforeach()

if(NOT TARGET blake3_c)
  enable_language(ASM)
  # Its portable code and runtime dispatch, and the assembly of each x86-64 path: the Unix
  # files natively, the ones for Windows with GNU tools under MinGW.
  set(blake3_sources blake3.c blake3_dispatch.c blake3_portable.c)
  if(CMAKE_SYSTEM_PROCESSOR MATCHES "x86_64|AMD64|amd64")
    if(WIN32)
      set(flavour windows_gnu)
    else()
      set(flavour unix)
    endif()
    foreach(path sse2 sse41 avx2 avx512)
      list(APPEND blake3_sources blake3_${path}_x86-64_${flavour}.S)
    endforeach()
  else()
    list(APPEND blake3_sources blake3_neon.c)
  endif()
  list(TRANSFORM blake3_sources PREPEND ${BLAKE3_C_DIR}/)
  add_library(blake3_c STATIC EXCLUDE_FROM_ALL ${blake3_sources})
  target_include_directories(blake3_c PUBLIC ${BLAKE3_C_DIR})
  # BLAKE3_TESTING opens the dispatch's feature set to the plugin (digest/blake3/blake3_backend.h);
  # otherwise it adds only asserts, which NDEBUG removes. Their code is built as they ship it, not
  # held to our warnings.
  target_compile_definitions(blake3_c PRIVATE BLAKE3_TESTING NDEBUG)
  target_compile_options(blake3_c PRIVATE -O3 -w)
  set_target_properties(blake3_c PROPERTIES COMPILE_WARNING_AS_ERROR OFF)
endif()
