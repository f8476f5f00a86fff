; serial.s: the serial-bus routines at their usual addresses: TALK $ED09, LISTEN $ED0C, SECOND
; $EDB9, TKSA $EDC7, CIOUT $EDDD, UNTLK $EDEF, UNLSN $EDFE, ACPTR $EE13. This machine has no
; serial port, so they answer as the bus does with nothing on it: every command sets ST bit 7
; (device not present) and ACPTR sets the read time-out and end bits. CIOUT holds each byte
; back until the next one or UNLSN, as on the real bus, so a lone CIOUT leaves ST alone.
; A virtual drive takes these eight addresses over and answers in their place; the file layer
; reaches the bus only through them. X and Y are kept; the carry comes back clear.
; Left out: the bus handshake itself.
; Called by: the file layer, and through the jump table by programs.

.include "zeropage.inc"
.include "layout.inc"

.export talk, listen, second, tksa, ciout, untlk, unlsn, acptr

.segment "SERIAL"
.org $ED09

talk:                       ; $ED09
    jmp attention
listen:                     ; $ED0C
    jmp attention

; TALK and LISTEN first send a byte CIOUT still holds, then address the device.
attention:
    jsr send_held
absent:
    lda #ST_ABSENT
set_status:
    ora status
    sta status
    clc
    rts

send_held:
    bit c3po
    bpl @none
    lsr c3po
    jmp absent
@none:
    rts

    at $EDB9
second:                     ; after LISTEN: the secondary address in A
    jmp absent
    at $EDC7
tksa:                       ; after TALK: the secondary address in A
    jmp absent
    at $EDDD
ciout:
    pha
    jsr send_held
    pla
    sta bsour
    sec
    ror c3po
    clc
    rts
    at $EDEF
untlk:
    jmp absent
    at $EDFE
unlsn:
    jsr send_held
    jmp absent
    at $EE13
acptr:
    lda #ST_TIMEOUT_READ | ST_EOI
    jsr set_status
    lda #0
    rts
