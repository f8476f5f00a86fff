; exit_register.s: machine code that ends a harness run by writing 42 to the exit register at
; $D7FF. Where that register is closed, the write lands in a SID mirror and the program returns
; to BASIC with 3 in ST, where a cc65 program leaves main's return value.
; Built with cl65 -t c64 -C c64-asm.cfg -u __EXEHDR__ (a BASIC line that starts it with SYS).

ST = $90

        lda #42
        sta $D7FF
        lda #3
        sta ST
        rts
