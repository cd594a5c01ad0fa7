// The program's allocations never throw: the no-throw forms of new take memory straight from the C heap,
// so a failed allocation is a null pointer and nothing of the exception machinery comes into the program.
#include <cstdlib>
#include <new>

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return std::malloc(size ? size : 1);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return std::malloc(size ? size : 1);
}
