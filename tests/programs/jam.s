; jam.s: machine code that runs a jam opcode at $C000, which halts a real 6510.
; Built with cl65 -t c64 -C c64-asm.cfg -u __EXEHDR__ (a BASIC line that starts it with SYS).

        lda #$02
        sta $C000
        jmp $C000
