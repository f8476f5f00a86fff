; reset.s: power-on and the routines around it at their usual addresses $FCE2-$FF7F: the reset
; ($FCE2) with the cartridge test ($FD02), RESTOR ($FD15), VECTOR ($FD1A) with the standard
; vectors ($FD30), RAMTAS ($FD50), IOINIT ($FDA3) and the clock timer set-up ($FDDD), SETNAM,
; SETLFS, READST, SETMSG, SETTMO, MEMTOP and MEMBOT ($FDF9-$FE42), the NMI ($FE43, RUN/STOP+
; RESTORE warm start), the BRK warm start ($FE66), the interrupt exit ($FEBC), the hardware IRQ
; entry ($FF48) and CINT ($FF5B), which also tells a PAL picture from an NTSC one.
; Left out: the RS-232 parts of the NMI; RAMTAS tests one byte a page, not every byte.
; Called by: the 6510's vectors, the jump table, BASIC's warm start through $A002.

.include "zeropage.inc"
.include "layout.inc"

.export reset, restor, vector, ramtas, ioinit, setnam, setlfs, readst, setmsg, settmo
.export memtop, membot, nmi_entry, irq_entry, cint
.import cint_screen, irq_standard, irq_return, close, chkin, chkout, clrchn, chrin, chrout, stop, getin
.import clall, load_body, save_body, open

.segment "RESET"
.org $FCE2

reset:
    ldx #$FF
    sei
    txs
    cld
    jsr cartridge_present
    bne @no_cartridge
    jmp ($8000)
@no_cartridge:
    jsr ioinit
    jsr ramtas
    jsr restor
    jsr cint
    cli
    jmp ($A000)

    at $FD02
; Z set when the autostart signature "CBM80" stands at $8004.
cartridge_present:
    ldx #5
@compare:
    lda cbm80-1,x
    cmp $8003,x
    bne @done
    dex
    bne @compare
@done:
    rts
    at $FD10
cbm80:
    .byte $C3, $C2, $CD, $38, $30

    at $FD15
; RESTOR: the standard vectors into $0314-$0333.
restor:
    ldx #<standard_vectors
    ldy #>standard_vectors
    clc
    at $FD1A
; VECTOR: carry set copies the 16 vectors to the table at X/Y, carry clear installs that table.
vector:
    stx memuss
    sty memuss+1
    ldy #31
@copy:
    lda cinv,y
    bcs @to_table
    lda (memuss),y
@to_table:
    sta (memuss),y
    sta cinv,y
    dey
    bpl @copy
    rts

    at $FD30
standard_vectors:
    .word irq_standard, warm_start, nmi_standard, open, close, chkin, chkout, clrchn
    .word chrin, chrout, stop, getin, clall, warm_start, load_body, save_body

    at $FD50
; RAMTAS: zero page, pages 2 and 3 cleared; the tape buffer pointer; BASIC's memory from $0800
; up to the first page that does not keep what is written (the BASIC ROM at $A000); the screen
; at $0400.
ramtas:
    lda #0
    tay
@clear:
    sta $0002,y
    sta $0200,y
    sta $0300,y
    iny
    bne @clear
    ldx #<$033C
    ldy #>$033C
    stx tape1
    sty tape1+1
    lda #0                  ; ($C1) walks the pages from $0400 up; y is 0
    sta stal
    lda #$03
    sta stal+1
@page:
    inc stal+1
    lda (stal),y
    tax
    lda #$55
    sta (stal),y
    cmp (stal),y
    bne @top
    lda #$AA
    sta (stal),y
    cmp (stal),y
    bne @top
    txa
    sta (stal),y
    jmp @page
@top:
    txa
    sta (stal),y
    ldx #0
    ldy stal+1
    clc
    jsr memtop
    ldx #0
    ldy #$08
    jsr membot
    lda #$04
    sta hibase
    rts

    at $FDA3
; IOINIT: the CIAs quiet with the keyboard ports set, the VIC-II's bank 0, the SID silent, the
; processor port, then the clock timer.
ioinit:
    lda #$7F
    sta cia1+13
    sta cia2+13
    sta cia1
    lda #$08                ; timers stopped, one-shot
    sta cia1+14
    sta cia2+14
    sta cia1+15
    sta cia2+15
    ldx #0
    stx cia1+3
    stx cia2+3
    stx sid+$18
    dex
    stx cia1+2
    lda #$17                ; VIC bank 0, serial clock line released
    sta cia2
    lda #$3F
    sta cia2+2
    lda #$07                ; cassette motor and switch bits clear, as the genuine KERNAL leaves them
    sta $01
    lda #$2F
    sta $00
    at $FDDD
; The clock timer: about 60 ticks a second for the picture standard palnts names.
set_clock_timer:
    lda palnts
    beq @ntsc
    lda #$25
    ldx #$40
    bne @latch
@ntsc:
    lda #$95
    ldx #$42
@latch:
    sta cia1+4
    stx cia1+5
    jmp start_clock_timer

    at $FDF9
setnam:
    sta fnlen
    stx fnadr
    sty fnadr+1
    rts
    at $FE00
setlfs:
    sta la
    stx fa
    sty sa
    rts
    at $FE07
readst:
    lda status
    rts
    at $FE18
setmsg:
    sta msgflg
    lda status
    at $FE1C
set_status:
    ora status
    sta status
    rts
    at $FE21
settmo:
    sta timout
    rts
    at $FE25
; MEMTOP and MEMBOT: carry set reads the bound into X/Y, carry clear sets it from X/Y.
memtop:
    bcc @set
    ldx memsiz
    ldy memsiz+1
@set:
    stx memsiz
    sty memsiz+1
    rts
    at $FE34
membot:
    bcc @set
    ldx memstr
    ldy memstr+1
@set:
    stx memstr
    sty memstr+1
    rts

    at $FE43
nmi_entry:
    sei
    jmp (nminv)
    at $FE47
; The standard NMI: a cartridge's NMI when one is present; RUN/STOP held with RESTORE makes a
; warm start; anything else returns.
nmi_standard:
    pha
    txa
    pha
    tya
    pha
    lda #$7F
    sta cia2+13
    jsr cartridge_present
    bne @no_cartridge
    jmp ($8002)
@no_cartridge:
    lda cia1+1
    sta stkey
    jsr $FFE1
    bne nmi_return
    at $FE66
; The warm start of BRK and RUN/STOP+RESTORE: vectors, I/O and screen as after power-on, then
; BASIC's warm start.
warm_start:
    jsr restor
    jsr ioinit
    jsr cint_screen
    jmp ($A002)

    at $FEBC
nmi_return:                 ; NMIEXIT: the same exit as the IRQ's
    jmp irq_return

.reloc
.segment "IRQENTRY"
.org $FF48

; The 6510's IRQ vector: A, X and Y saved, then $0316 for BRK or $0314 for an interrupt.
irq_entry:
    pha
    txa
    pha
    tya
    pha
    tsx
    lda $0104,x             ; the pushed status: B set means BRK
    and #$10
    beq @interrupt
    jmp (cbinv)
@interrupt:
    jmp (cinv)

    at $FF5B
; CINT: the screen editor's start-up; then the picture standard, from whether the raster
; compare at line 311 fired during a whole frame, and the clock timer to match.
cint:
    jsr cint_screen
@frame_start:
    lda vic+$12
    bne @frame_start
    lda vic+$19
    and #$01
    sta palnts
    jmp set_clock_timer
    at $FF6E
start_clock_timer:
    lda #$81
    sta cia1+13
    lda cia1+14
    and #$80
    ora #$11
    sta cia1+14
    rts
