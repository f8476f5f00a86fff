; time.s: TI$, the jiffy clock as "HHMMSS": reading makes the string from RDTIM, assigning
; (six digits, hours below 24, minutes and seconds below 60) sets the clock through SETTIM.
; Called by: variable_value (reading) and LET (assigning).

.include "zeropage.inc"
.macpack longbranch

.export time_string, set_time
.import new_string, check_string, free_fac_string, illegal_quantity

clock   = $57           ; $57-$59 a 24-bit count, low byte first
divisor = $5A
sum     = $5B           ; $5B-$5D

.segment "FLOATHI"

time_string:
    jsr RDTIM
    sta clock
    stx clock+1
    sty clock+2
    lda #60
    jsr divide
    ldx #4
@field:
    txa
    pha
    lda #60
    jsr divide
    tay
    pla
    tax
    tya
    jsr two_digits
    dex
    dex
    bne @field
    lda clock               ; the hours
    ldx #0
    jsr two_digits
    lda #6
    ldx #<fbuffr
    ldy #>fbuffr
    jmp new_string

; fbuffr+X, +X+1 = A (below 100) in two digits.
two_digits:
    ldy #'0'-1
@tens:
    iny
    sec
    sbc #10
    bcs @tens
    adc #'0'+10
    sta fbuffr+1,x
    tya
    sta fbuffr,x
    rts

; clock = clock / A; A = the remainder.
divide:
    sta divisor
    lda #0
    ldx #24
@bit:
    asl clock
    rol clock+1
    rol clock+2
    rol a
    cmp divisor
    bcc @next
    sbc divisor
    inc clock
@next:
    dex
    bne @bit
    rts

set_time:
    jsr check_string
    jsr free_fac_string
    cmp #6
    bne @illegal
    lda #0
    sta clock
    sta clock+1
    sta clock+2
    ldy #0
    ldx #24                 ; hours below 24, then minutes and seconds below 60
@field:
    stx divisor
    jsr times_sixty_plus
    ldx #60
    cpy #6
    bne @field
    lda #0
    jsr times_sixty
    lda clock
    ldx clock+1
    ldy clock+2
    jmp SETTIM
@illegal:
bad_time:
    jmp illegal_quantity

; clock = clock * 60 + the two digits at (index),Y (below divisor); Y moves past them.
times_sixty_plus:
    lda (index),y
    jsr digit
    sta sum
    asl
    asl
    adc sum
    asl
    sta sum
    iny
    lda (index),y
    jsr digit
    iny
    clc
    adc sum
    cmp divisor
    bcs bad_time
times_sixty:
    sta sum
    lda #0
    sta sum+1
    sta sum+2
    ldx #60
@add:
    lda sum
    clc
    adc clock
    sta sum
    lda sum+1
    adc clock+1
    sta sum+1
    lda sum+2
    adc clock+2
    sta sum+2
    dex
    bne @add
    lda sum
    sta clock
    lda sum+1
    sta clock+1
    lda sum+2
    sta clock+2
    rts

digit:
    sec
    sbc #'0'
    cmp #10
    bcs bad_time
    rts
