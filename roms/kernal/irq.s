; irq.s: the interrupt paths and the clock. The hardware entry at $FF48 saves A, X and Y and
; goes through $0314 (IRQ) or $0316 (BRK); the standard handler at $EA31 advances the jiffy
; clock, blinks the cursor and scans the keyboard, and $EA81 restores the registers, so
; programs that hook $0314 can finish by jumping to either.
; Left out: RUN/STOP+RESTORE (the NMI handler only acknowledges CIA 2).
; Called by: the 6510's interrupt vectors, the jump table (UDTIM, RDTIM, SETTIM, STOP).

.include "zeropage.inc"

.export irq_std, irq_exit, irq_entry, nmi_entry, nmi_std, brk_std
.export udtim, rdtim, settim, stop
.import blink, scnkey, warmstart, clrchn

.segment "IRQ"

irq_std:
    jsr udtim
    jsr blink
    jsr scnkey
    lda cia1+13             ; acknowledge timer A
    jmp irq_exit

.segment "IRQEXIT"

irq_exit:
    pla
    tay
    pla
    tax
    pla
    rti

.segment "IRQENTRY"

irq_entry:
    pha
    txa
    pha
    tya
    pha
    tsx
    lda $0104,x             ; the pushed status: B set means BRK
    and #$10
    beq @irq
    jmp ($0316)
@irq:
    jmp ($0314)

nmi_entry:
    sei
    jmp ($0318)

.segment "KERNAL2"

nmi_std:
    pha
    txa
    pha
    tya
    pha
    lda cia2+13
    jmp irq_exit

brk_std:
    jmp warmstart

; One tick: the 24-hour jiffy clock and the RUN/STOP row for STOP.
udtim:
    inc jiffy+2
    bne @wrapped
    inc jiffy+1
    bne @wrapped
    inc jiffy
@wrapped:
    lda jiffy                ; $4F1A01 ticks: a day has passed
    cmp #$4F
    bne @stopkey
    lda jiffy+1
    cmp #$1A
    bne @stopkey
    lda jiffy+2
    cmp #$01
    bne @stopkey
    lda #0
    sta jiffy
    sta jiffy+1
    sta jiffy+2
@stopkey:
    lda #$7F
    sta cia1
    lda cia1+1
    sta stkey
    rts

; Both keep the caller's interrupt flag: they may be called with interrupts off.
rdtim:
    php
    sei
    lda jiffy+2
    ldx jiffy+1
    ldy jiffy
    plp
    rts

settim:
    php
    sei
    sta jiffy+2
    stx jiffy+1
    sty jiffy
    plp
    rts

; Z set when RUN/STOP is held; then the keyboard buffer is emptied.
stop:
    lda stkey
    cmp #$7F
    bne @done
    jsr clrchn
    lda #0
    sta ndx
@done:
    rts
