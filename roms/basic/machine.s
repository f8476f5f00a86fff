; machine.s: the statements that reach memory and machine code: POKE, SYS (with A, X, Y and
; the status handed over through $030C-$030F) and WAIT.
; Called by: the statement table.

.include "zeropage.inc"

.export statement_poke, statement_sys, statement_wait
.import eval_address, eval_byte, expect_comma

.segment "BASIC2"

statement_poke:
    jsr address_and_byte
    txa
    ldy #0
    sta (index),y
    rts

; "address, byte" (POKE's and WAIT's start): index = the address, X = the byte.
address_and_byte:
    jsr eval_address
    lda linnum
    pha
    lda linnum+1
    pha
    jsr expect_comma
    jsr eval_byte
    pla
    sta index+1
    pla
    sta index
    rts

; SYS address: A, X, Y and the status from $030C-$030F, and back there afterwards.
statement_sys:
    jsr eval_address
    lda linnum
    sta jmpvec
    lda linnum+1
    sta jmpvec+1
    lda spreg
    pha
    lda sareg
    ldx sxreg
    ldy syreg
    plp
    jsr jmper
    php
    sta sareg
    stx sxreg
    sty syreg
    pla
    sta spreg
    rts

; WAIT address, mask[, invert]: until (PEEK(address) EOR invert) AND mask is nonzero.
statement_wait:
    jsr address_and_byte
    txa                     ; the mask; evaluating the invert byte may use count and index
    pha
    ldx #0
    jsr chrgot
    beq @have
    jsr expect_comma
    lda index
    pha
    lda index+1
    pha
    jsr eval_byte
    pla
    sta index+1
    pla
    sta index
@have:
    stx count+1
    pla
    sta count
    ldy #0
@poll:
    lda (index),y
    eor count+1
    and count
    beq @poll
    rts
