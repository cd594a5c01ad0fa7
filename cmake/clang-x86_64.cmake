# Compiles for 64-bit Windows with clang and lld: a second compiler's view of the product.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include("${CMAKE_CURRENT_LIST_DIR}/clang-mingw.cmake")
