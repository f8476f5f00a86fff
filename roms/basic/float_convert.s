; float_convert.s: reading a number from text (fin), for numbers in program lines, INPUT,
; READ and VAL.
; The digits are gathered in FAC, each step multiplying by ten and adding the digit; the point
; and the exponent then scale the result by steps of ten. Leaves out: the tokeniser's work;
; the text is read through the CHRGET routine the interpreter keeps in RAM.
; Called by: the interpreter. Conventions: float.inc.

.include "float.inc"

.import zero_fac, fp_overflow
.macpack longbranch

decimals = $5D          ; digits read after the point
expval   = $5E          ; the exponent's digits
expsign  = $5F          ; $FF for a negative exponent
pointed  = $60          ; $FF once the point is read

TOKEN_PLUS  = $AA
TOKEN_MINUS = $AB

.segment "FLOAT"

fin:
    ldy #0
    sty decimals
    sty expval
    sty expsign
    sty pointed
    sty sgnflg
    pha
    jsr zero_fac
    pla
    bcc @number
    jsr sign_char
    bcs @number             ; no sign here
    stx sgnflg
    jsr chrget_ram
@number:
    bcs @not_digit
    pha
    jsr mul10
    jsr movaf
    pla
    and #$0F
    jsr float
    jsr faddt
    bit pointed
    bpl @next
    inc decimals
@next:
    jsr chrget_ram
    jmp @number
@not_digit:
    cmp #'.'
    bne @exponent
    bit pointed
    bmi @scale              ; a second point ends the number
    dec pointed
    bmi @next
@exponent:
    cmp #'E'
    bne @scale
    jsr chrget_ram
    bcc @exp_digit
    jsr exponent_sign
    bcs @scale
    stx expsign
@exp_next:
    jsr chrget_ram
    bcs @scale
@exp_digit:
    and #$0F
    tay
    lda expval
    cmp #10
    bcc @exp_add
    bit expsign             ; a third digit: too large a number, or one that vanishes
    jpl fp_overflow
    lda #$FF
    sta expval
    bne @exp_next
@exp_add:
    asl a
    asl a
    adc expval
    asl a
    sta expval
    tya
    adc expval
    sta expval
    jmp @exp_next
@scale:
    lda expsign
    bmi @down
    lda expval
    sec
    sbc decimals
    bcc @fewer
    sta expval
    beq @signed
@up:
    jsr mul10
    dec expval
    bne @up
    beq @signed
@fewer:
    eor #$FF                ; more decimals than exponent: divide by the difference
    adc #1
    sta decimals
    lda #0
    sta expval
@down:
    ldx #expval             ; a negative exponent and the decimals both divide
    jsr divide_times
    ldx #decimals
    jsr divide_times
@signed:
    bit sgnflg
    bpl @done
    jsr negop
@done:
    lda facsgn
    rts

; A = a character of an exponent: C clear and X = $FF for a minus, X = 0 for a plus, the
; characters or their tokens; C set for anything else.
exponent_sign:
    ldx #$FF
    cmp #TOKEN_MINUS
    beq sign_found
    ldx #0
    cmp #TOKEN_PLUS
    beq sign_found
; The same for a number's own sign, which is only ever a character.
sign_char:
    ldx #$FF
    cmp #'-'
    beq sign_found
    inx
    cmp #'+'
    beq sign_found
    sec
    rts
sign_found:
    clc
    rts

; Divides FAC by ten as many times as the zero-page counter at X says, stopping early once it
; has vanished.
divide_times:
    lda 0,x
    beq @done
@step:
    lda facexp
    beq @done
    txa
    pha
    jsr div10
    pla
    tax
    dec 0,x
    bne @step
@done:
    rts
