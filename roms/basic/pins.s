; pins.s: the entry points machine code calls at the real machine's addresses: $A474 prints
; READY. and waits for lines, $AB1E prints the zero-terminated text at A (low)/Y (high), $BDCD
; prints the number A (high)/X (low).
; Called by: machine code (JSR); the routines themselves live elsewhere and may move.

.import ready, print_string, linprt

.segment "READYPIN"
    jmp ready

.segment "STROUTPIN"
    jmp print_string

.segment "LINPRTPIN"
    jmp linprt
