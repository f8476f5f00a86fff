; jam.s: machine code that runs a jam opcode at $C000, which halts a real 6510.
        .export _main
        .forceimport __STARTUP__   ; cc65's start-up code, which calls _main

_main:  lda #$02
        sta $C000
        jmp $C000
