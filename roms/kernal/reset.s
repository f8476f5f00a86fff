; reset.s: power-on start, cartridge autostart and the initialisation routines the jump table
; offers (IOINIT, RAMTAS, RESTOR, VECTOR, CINT).
; Left out: the RAM test (memory ends at $A000 on this machine) and the tape and RS-232 set-up.
; Called by: the reset vector at $FFFC, the jump table, the BRK handler.

.include "zeropage.inc"

.export reset, ioinit, ramtas, restor, vector, cint, warmstart
.import clear_screen, irq_std, brk_std, nmi_std, device_absent, close, clrchn, chrin
.import chrout, stop, getin, clall

; About 59 timer A underflows a second: the timer advances in 25-cycle steps of 26 counts.
IRQ_LATCH = $4025

.segment "KERNAL"

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

; Z set when the autostart signature "CBM80" stands at $8004.
cartridge_present:
    ldx #4
@compare:
    lda cbm80,x
    cmp $8004,x
    bne @done
    dex
    bpl @compare
    lda #0
@done:
    rts

cbm80:
    .byte $C3, $C2, $CD, $38, $30

; Back to BASIC's READY after BRK: the vectors and the screen as after power-on.
warmstart:
    jsr restor
    jsr ioinit
    jsr cint
    cli
    jmp ($A002)

ioinit:
    lda #$7F
    sta cia1+13             ; no CIA interrupts until timer A is set up
    sta cia2+13
    sta cia1                ; keyboard column 7 selected, where RUN/STOP sits
    lda #0
    sta cia1+14
    sta cia1+15
    sta cia2+14
    sta cia2+15
    sta cia1+3
    sta cia2+3
    sta $D418               ; SID silent
    lda #$FF
    sta cia1+2
    lda #$07                ; VIC bank 0
    sta cia2
    lda #$3F
    sta cia2+2
    lda #$2F
    sta $00
    lda #$37
    sta $01
    lda #<IRQ_LATCH
    sta cia1+4
    lda #>IRQ_LATCH
    sta cia1+5
    lda #$81
    sta cia1+13
    lda #$11                ; force load, continuous, start
    sta cia1+14
    rts

ramtas:
    lda #0
    ldy #2
@zeropage:
    sta $0000,y
    iny
    bne @zeropage
@pages:
    sta $0200,y
    sta $0300,y
    iny
    bne @pages
    lda #<$033C
    sta tapebuf
    lda #>$033C
    sta tapebuf+1
    lda #$00
    sta memstr
    sta memsiz
    lda #$08
    sta memstr+1
    lda #$A0
    sta memsiz+1
    lda #$04
    sta hibase
    rts

restor:
    ldy #31
@copy:
    lda default_vectors,y
    sta sysvecs,y
    dey
    bpl @copy
    rts

; Carry set: copies the 16 vectors to the table at X/Y; carry clear: installs them from there.
vector:
    stx memuss
    sty memuss+1
    ldy #31
@copy:
    bcc @install
    lda sysvecs,y
    sta (memuss),y
    bcs @next
@install:
    lda (memuss),y
    sta sysvecs,y
@next:
    dey
    bpl @copy
    rts

cint:
    lda #$1B                ; text mode, screen on, 25 rows
    sta vic+$11
    lda #$08                ; 40 columns
    sta vic+$16
    lda #$14                ; screen at $0400, upper-case character set
    sta vic+$18
    lda #0
    sta vic+$1A
    lda #$0F
    sta vic+$19
    lda #14                 ; light blue border and text, blue background
    sta vic+$20
    sta color
    lda #6
    sta vic+$21
    lda #3
    sta dflto
    lda #0
    sta dfltn
    sta ndx
    sta rvs
    sta qtsw
    sta crsw
    sta blnon
    sta shflag
    lda #64
    sta lstx
    lda #10
    sta xmax
    lda #1
    sta blnsw
    lda #20
    sta blnct
    jmp clear_screen

default_vectors:
    .word irq_std, brk_std, nmi_std
    .word device_absent     ; OPEN
    .word close
    .word device_absent     ; CHKIN
    .word device_absent     ; CHKOUT
    .word clrchn
    .word chrin
    .word chrout
    .word stop
    .word getin
    .word clall
    .word device_absent     ; user command
    .word device_absent     ; LOAD
    .word device_absent     ; SAVE
