#!/usr/bin/env bash
# Fails when a function of a 32-bit x86 program uses stack slots as aligned SSE operands without first
# aligning its stack: 32-bit Windows calls window procedures with only 4-byte alignment, so such code
# can fault on real Windows while Wine, whose stacks stay 16-byte aligned, never shows it.
# Usage: check-stack-alignment.sh OBJDUMP PROGRAM.exe
set -euo pipefail
objdump="$1"
program="$2"

listing="$("$objdump" -d --no-show-raw-insn "$program")" || { echo "cannot disassemble $program" >&2; exit 2; }
[ -n "$listing" ] || { echo "no code in $program" >&2; exit 2; }

printf '%s\n' "$listing" | awk '
    function finish() {
        if (name != "" && use != "" && !realigned) {
            printf "%s uses an aligned stack slot without realigning: %s\n", name, use
            ++bad
        }
        if (use != "") ++checked
    }
    # Legacy SSE instructions with a 16-byte memory operand fault when it is not 16-byte aligned; the
    # unaligned moves, the 8-byte and scalar forms and the VEX forms (but for their aligned moves) do not.
    function needs_alignment(op) {
        if (op ~ /^v/) return op ~ /^vmov(aps|apd|dqa|ntdq|ntps|ntpd)$/
        if (op ~ /^(movups|movupd|movdqu|lddqu|movd|movq|movlps|movhps|movlpd|movhpd|movss|movsd|movntq|maskmovdqu)$/) return 0
        if (op ~ /^(pinsr|pextr|cvt)/) return 0
        if (op ~ /(ss|sd)$/) return 0
        return 1
    }
    /^[0-9a-f]+ <.*>:$/ {
        finish()
        name = $2
        use = ""
        realigned = 0
        next
    }
    /\tand +\$0xff+[0-9a-f]0,%esp/ { realigned = 1 }
    /%xmm/ && /\(%e[sb]p\)/ {
        split($0, parts, "\t")
        instruction = parts[2]
        op = instruction
        sub(/ .*/, "", op)
        if (needs_alignment(op) && use == "") use = instruction
    }
    END {
        finish()
        if (bad) exit 1
        printf "stack alignment: %d functions keep SSE values on the stack, all realign\n", checked
    }'
