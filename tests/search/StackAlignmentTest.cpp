// The count called as 32-bit Windows may call a window procedure: with the stack aligned to 4 bytes only.
#include <gtest/gtest.h>

#include <string>

#include "search/Matcher.h"
#include "textview/CodePageText.h"

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

struct CountCall { const char* text; int caseSensitive; const CodePageText* chars; std::string bytes; DWORD count; };

TEST(StackAlignmentTest, CountsWithTheStackAlignedToFourBytes)
{
    ASSERT_TRUE(CountUsesSse2());
    // Each form of the vector count must survive the stack: plain, with a first or last byte that a high
    // byte folds onto, and on a double-byte code page.
    const CodePageText western(1252), japanese(932);
    const CountCall rows[] = {{"needle", 1, &western},  {"needle", 0, &western},  {"\xe9tude", 0, &western},
                              {"caf\xe9", 0, &western}, {"needle", 0, &japanese}, {"\x95\x5C" "abc", 1, &japanese}};
    for (CountCall call : rows) {
        const std::string text = call.text;
        call.bytes.assign(4096, 'x').replace(1000, text.size(), text).replace(3000, text.size(), text);
        CallWithStackOffBy4(
            [](void* argument) {
                CountCall& c = *static_cast<CountCall*>(argument);
                c.count = CountInFile(c.bytes.data(), c.bytes.size(), c.text, c.caseSensitive, *c.chars);
            },
            &call);
        EXPECT_EQ(2u, call.count) << call.text;
    }
}

}  // namespace

#endif
