; io.s: the KERNAL's file and device routines. There are no drives, tapes or printers on this
; machine: every routine that would talk to a device returns at once with carry set, A = 5
; ("device not present") and bit 7 of the status set, so callers report the error instead of
; waiting forever. The keyboard and the screen are the only channels.
; Called by: the jump table and the RAM vectors it goes through.

.include "zeropage.inc"

.export device_absent, ciout_absent, close, clrchn, clall, readst, setlfs, setnam, setmsg
.export settmo, memtop, membot, screen, iobase

.segment "KERNAL2"

DEVICE_NOT_PRESENT = 5

device_absent:
    lda status
    ora #$80
    sta status
    lda #DEVICE_NOT_PRESENT
    sec
    rts

; CIOUT keeps the byte in A for callers that look at it, and still fails.
ciout_absent:
    pha
    jsr device_absent
    pla
    rts

; No file can be open, so closing one has nothing to do.
close:
    clc
    rts

clrchn:
    lda #0
    sta dfltn
    lda #3
    sta dflto
    rts

clall:
    lda #0
    sta ldtnd
    beq clrchn

readst:
    lda status
    rts

setlfs:
    sta la
    stx fa
    sty sa
    rts

setnam:
    sta fnlen
    stx fnadr
    sty fnadr+1
    rts

setmsg:
    sta msgflg
    rts

settmo:
    sta timout
    rts

; Carry set: read the bound into X/Y; carry clear: set it from X/Y.
memtop:
    bcc @set
    ldx memsiz
    ldy memsiz+1
    rts
@set:
    stx memsiz
    sty memsiz+1
    rts

membot:
    bcc @set
    ldx memstr
    ldy memstr+1
    rts
@set:
    stx memstr
    sty memstr+1
    rts

screen:
    ldx #40
    ldy #25
    rts

iobase:
    ldx #<cia1
    ldy #>cia1
    rts
