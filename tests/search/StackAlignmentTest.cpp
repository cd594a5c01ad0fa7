// The count called as 32-bit Windows may call a window procedure: with the stack aligned to 4 bytes only.
#include <gtest/gtest.h>

#include <string>

#include "search/Matcher.h"

#if defined(__i386__) && defined(__GNUC__)

extern "C" void CallWithStackOffBy4(void (*fn)(void*), void* arg);

// Calls fn(arg) with the stack 4 bytes off the 16-byte alignment GCC's 32-bit code otherwise assumes.
asm(R"(
    .text
    .globl _CallWithStackOffBy4
_CallWithStackOffBy4:
    push %ebp
    mov %esp, %ebp
    and $-16, %esp
    sub $8, %esp
    push 12(%ebp)
    call *8(%ebp)
    leave
    ret
)");

namespace {

struct CountCall {
    const std::string* bytes;
    const char* text;
    int caseSensitive;
    DWORD count;
};

void CountThroughMisalignedStack(void* argument)
{
    CountCall* call = static_cast<CountCall*>(argument);
    call->count = CountInFile(call->bytes->data(), static_cast<DWORD>(call->bytes->size()), call->text,
                              call->caseSensitive);
}

TEST(StackAlignmentTest, CountsWithTheStackAlignedToFourBytes)
{
    ASSERT_TRUE(CountUsesSse2());
    // Plain and high-byte texts take the two forms of the vector count; both must survive the stack.
    struct Row {
        const char* text;
        int caseSensitive;
    };
    const Row rows[] = {{"needle", 1}, {"needle", 0}, {"n\xe9" "edle", 0}, {"n\xe9" "edl\xe9", 1}};
    for (const Row& row : rows) {
        std::string bytes(4096, 'x');
        bytes.replace(1000, 6, row.text);
        bytes.replace(3000, 6, row.text);
        CountCall call = {&bytes, row.text, row.caseSensitive, 0};
        CallWithStackOffBy4(CountThroughMisalignedStack, &call);
        EXPECT_EQ(2u, call.count) << row.text;
    }
}

}  // namespace

#endif
