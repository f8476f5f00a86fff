; pins.s: the entry points machine code calls at the real machine's addresses: $AB1E prints the
; zero-terminated text at A (low)/Y (high), $BDCD prints the number A (high)/X (low).
; Called by: machine code (JSR); the routines themselves live elsewhere and may move.

.import print_string, linprt

.segment "STROUTPIN"
    jmp print_string

.segment "LINPRTPIN"
    jmp linprt
