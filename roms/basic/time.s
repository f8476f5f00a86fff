; time.s: TI$, the jiffy clock as "HHMMSS": reading makes the string from RDTIM, assigning
; (six characters, read as digits without range checks, as the genuine BASIC reads them) sets
; the clock through SETTIM.
; Called by: variable_value (reading) and LET (assigning).

.include "zeropage.inc"
.macpack longbranch

.export time_string, set_time
.import new_string, check_string, free_fac_string, illegal_quantity

clock   = $57           ; $57-$59 a 24-bit count, low byte first
divisor = $5A
digit_value = divisor  ; setting the clock: the character being read
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
    bne bad_time
    lda #0
    sta clock
    sta clock+1
    sta clock+2
    tay
@field:
    jsr times_sixty_plus
    cpy #6
    bne @field
    lda #0
    jsr times_sixty
    lda clock
    ldx clock+1
    ldy clock+2
    jmp SETTIM
bad_time:
    jmp illegal_quantity

; clock = clock * 60 + the two characters at (index),Y taken as digits; Y moves past them.
; As with the genuine BASIC, the fields are not checked against 24 and 60: any character from
; "0" up counts as its code minus 48, a signed byte, and the 24-bit clock simply wraps.
times_sixty_plus:
    jsr digit
    lda #0
    sta sum
    sta sum+1
    sta sum+2
    ldx #10
@tens:
    jsr add_digit
    dex
    bne @tens
    jsr digit
    jsr add_digit
    jmp add_sixty_clocks
; clock = clock * 60 + A.
times_sixty:
    sta sum
    lda #0
    sta sum+1
    sta sum+2
add_sixty_clocks:
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

; sum = sum + digit, the digit a signed byte.
add_digit:
    clc
    lda digit_value
    adc sum
    sta sum
    bit digit_value         ; the carry stays as the addition left it
    bmi @negative
    bcc @done
    inc sum+1
    bne @done
    inc sum+2
@done:
    rts
@negative:
    lda sum+1
    adc #$FF
    sta sum+1
    lda sum+2
    adc #$FF
    sta sum+2
    rts

; digit_value = the character at (index),Y minus "0"; Y moves past it. Below "0" is an error.
digit:
    lda (index),y
    iny
    sec
    sbc #'0'
    bcc bad_time
    sta digit_value
    rts
