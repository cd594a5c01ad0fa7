# Shared part of the clang toolchain files: Debian's clang, lld and LLVM's resource compiler against
# MinGW-w64's headers and libraries, warnings as errors: a second compiler's check of the program.
set(CMAKE_SYSTEM_NAME Windows)
set(clang_triple ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${clang_triple})
set(CMAKE_CXX_COMPILER_TARGET ${clang_triple})
# LLVM's resource compiler follows Microsoft's rc, so the scripts are checked against that dialect too.
execute_process(COMMAND clang -print-prog-name=llvm-windres OUTPUT_VARIABLE CMAKE_RC_COMPILER
                OUTPUT_STRIP_TRAILING_WHITESPACE)
set(CMAKE_RC_FLAGS_INIT "--target=${clang_triple}")
set(CMAKE_SYSROOT /usr/${clang_triple})
set(CMAKE_FIND_ROOT_PATH /usr/${clang_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Debian names GCC's folders "12-posix", which clang does not take for a version: name libstdc++'s
# headers, the start-up objects and the libraries of the threading model the GCC build uses.
file(GLOB clang_gcc_dirs LIST_DIRECTORIES true "/usr/lib/gcc/${clang_triple}/*-posix")
list(SORT clang_gcc_dirs COMPARE NATURAL)
list(POP_BACK clang_gcc_dirs clang_gcc_dir)
if(NOT clang_gcc_dir)
    message(FATAL_ERROR "No MinGW-w64 GCC (posix threads) for ${clang_triple} under /usr/lib/gcc")
endif()
set(CMAKE_C_FLAGS_INIT "-Werror")
set(CMAKE_CXX_FLAGS_INIT "-isystem ${clang_gcc_dir}/include/c++ -isystem ${clang_gcc_dir}/include/c++/${clang_triple} -isystem ${clang_gcc_dir}/include/c++/backward -Werror")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld -static -pthread -B ${clang_gcc_dir} -L ${clang_gcc_dir}")
