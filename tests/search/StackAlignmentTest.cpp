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

struct CountCall {
    const std::string* bytes;
    const char* text;
    int caseSensitive;
    const CodePageText* chars;
    DWORD count;
};

void CountThroughMisalignedStack(void* argument)
{
    CountCall* call = static_cast<CountCall*>(argument);
    call->count = CountInFile(call->bytes->data(), static_cast<DWORD>(call->bytes->size()), call->text,
                              call->caseSensitive, *call->chars);
}

TEST(StackAlignmentTest, CountsWithTheStackAlignedToFourBytes)
{
    ASSERT_TRUE(CountUsesSse2());
    // Each form of the vector count must survive the stack: plain, with a first or last byte that a high
    // byte folds onto, and on a double-byte code page.
    const CodePageText western(1252), japanese(932);
    struct Row {
        const char* text;
        int caseSensitive;
        const CodePageText* chars;
    };
    const Row rows[] = {{"needle", 1, &western},       {"needle", 0, &western},   {"\xe9tude", 0, &western},
                        {"caf\xe9", 0, &western},      {"needle", 0, &japanese},  {"\x95\x5C" "abc", 1, &japanese}};
    for (const Row& row : rows) {
        std::string bytes(4096, 'x');
        const std::string text = row.text;
        bytes.replace(1000, text.size(), text);
        bytes.replace(3000, text.size(), text);
        CountCall call = {&bytes, row.text, row.caseSensitive, row.chars, 0};
        CallWithStackOffBy4(CountThroughMisalignedStack, &call);
        EXPECT_EQ(2u, call.count) << row.text;
    }
}

}  // namespace

#endif
