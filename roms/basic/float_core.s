; float_core.s: the heart of BASIC's floating-point package: moving numbers between memory,
; FAC and ARG, rounding, normalising, shifting, addition and subtraction, signs, comparison and
; the conversions between numbers and integers.
; Leaves out: multiplication and division (float_muldiv.s), text (float_convert.s,
; float_print.s) and the functions (float_functions.s).
; Called by: the interpreter, the other float_*.s files, and machine code through the entry
; points the interpreter places at their documented addresses. Conventions: float.inc.

.include "float.inc"
.macpack longbranch

.export fp_overflow, fp_illegal_quantity, fp_division_by_zero
.export normalize, negfac, shift_right, zero_fac, float_fac, faddt_extended
.export fhalf, fone, tenc

.segment "FLOAT"

; ---- loading and storing ----

movfm:
    sta index1
    sty index1+1
    ldy #4
    lda (index1),y
    sta faclo
    dey
    lda (index1),y
    sta facmo
    dey
    lda (index1),y
    sta facmoh
    dey
    lda (index1),y
    sta facsgn
    ora #$80
    sta facho
    dey
    sty facov
    lda (index1),y
    sta facexp
    rts

conupk:
    sta index1
    sty index1+1
    ldy #4
    lda (index1),y
    sta arglo
    dey
    lda (index1),y
    sta argmo
    dey
    lda (index1),y
    sta argmoh
    dey
    lda (index1),y
    sta argsgn
    eor facsgn
    sta arisgn
    lda argsgn
    ora #$80
    sta argho
    dey
    lda (index1),y
    sta argexp
    lda facexp
    rts

movvf:
    ldx $49
    ldy $4A
    bne movmf               ; variables never live in the zero page
mov2f:
    ldx #tempf2
    .byte $2C               ; skips the next load
mov1f:
    ldx #tempf1
    ldy #0
movmf:
    jsr round
    stx index1
    sty index1+1
    ldy #4
    lda faclo
    sta (index1),y
    dey
    lda facmo
    sta (index1),y
    dey
    lda facmoh
    sta (index1),y
    dey
    lda facsgn
    ora #$7F
    and facho
    sta (index1),y
    dey
    lda facexp
    sta (index1),y
    sty facov
    rts

movaf:
    jsr round
movef:
    ldx #6
@copy:
    lda facexp-1,x
    sta argexp-1,x
    dex
    bne @copy
    stx facov               ; the extension does not travel: ARG has none
    lda facexp
    rts

movfa:
    ldx #6
@copy:
    lda argexp-1,x
    sta facexp-1,x
    dex
    bne @copy
    stx facov
    lda facexp
    rts

round:
    lda facexp
    beq @done
    asl facov
    bcc @done
    inc faclo
    bne @done
    inc facmo
    bne @done
    inc facmoh
    bne @done
    inc facho
    bne @done
    ror facho               ; the carry out of the mantissa: 1.000 becomes 0.1000 * 2
    inc facexp
    beq fp_overflow
@done:
    rts

; ---- errors ----

fp_illegal_quantity:
    ldx #14
    .byte $2C
fp_overflow:
    ldx #15
    .byte $2C
fp_division_by_zero:
    ldx #20
    jmp ($0300)

; ---- normalising and shifting ----

zero_fac:
    lda #0
    ldx #5
@clear:
    sta facexp,x
    dex
    bpl @clear
    rts

; Shifts FAC's mantissa and facov left until the top bit is set, lowering the exponent; a
; mantissa of zero (whatever facov holds: a difference left only in the extension byte is 0,
; as in the genuine package), or an exponent that would fall to zero or below, leaves 0.
normalize:
    ldx #0
@bytes:
    lda facho
    bne @bits
    ldy facmoh
    sty facho
    ldy facmo
    sty facmoh
    ldy faclo
    sty facmo
    ldy facov
    sty faclo
    sta facov
    txa
    clc
    adc #8
    tax
    cmp #32
    bcc @bytes
    bcs zero_fac
@bits:
    bmi @shifted
@bit:
    inx
    asl facov
    rol faclo
    rol facmo
    rol facmoh
    rol facho
    bpl @bit
@shifted:
    txa
    beq @done
    eor #$FF
    sec
    adc facexp
    bcc zero_fac
    beq zero_fac
    sta facexp
@done:
    rts

; Shifts FAC's mantissa and facov right by A places, filling from the left with the bits of Y
; ($00 or $FF). Shifts beyond 40 places give the same as 40.
shift_right:
    sty bits
    cmp #41
    bcc @bytes
    lda #40
@bytes:
    cmp #8
    bcc @bits
    sbc #8
    ldy faclo
    sty facov
    ldy facmo
    sty faclo
    ldy facmoh
    sty facmo
    ldy facho
    sty facmoh
    ldy bits
    sty facho
    bcs @bytes
@bits:
    tay
    beq @done
    lda bits
@bit:
    cmp #$80
    ror facho
    ror facmoh
    ror facmo
    ror faclo
    ror facov
    dey
    bne @bit
@done:
    rts

; FAC's mantissa and facov, as a 40-bit two's complement integer, negated.
negfac:
    sec
    lda #0
    sbc facov
    sta facov
    ldx #3
@byte:
    lda #0
    sbc facho,x
    sta facho,x
    dex
    bpl @byte
    rts

; ---- addition and subtraction ----

faddh:
    lda #<fhalf
    ldy #>fhalf
fadd:
    jsr conupk
faddt:
    ldx #0
    stx argov
; The same with ARG's extension byte in argov.
faddt_extended:
    lda facexp
    bne @fac_nonzero
    jsr movfa
    lda argov
    sta facov
    rts
@fac_nonzero:
    lda argexp
    beq @done
    lda facsgn
    eor argsgn
    sta arisgn
    lda argexp
    sec
    sbc facexp
    beq @aligned            ; C set: equal exponents add one into the extension, as the
    bcs @fac_smaller        ; genuine package does
    tay                     ; FAC is the larger: swap, so that the smaller one is shifted
    ldx #5
@swap:
    lda facexp,x
    pha
    lda argexp,x
    sta facexp,x
    pla
    sta argexp,x
    dex
    bpl @swap
    lda facov
    ldx argov
    sta argov
    stx facov
    tya
    eor #$FF
    adc #1                  ; the carry is clear
@fac_smaller:
    ldy #0
    jsr shift_right
    lda argsgn              ; the result takes the larger one's sign byte, which the
    bit arisgn              ; subtraction below turns over once
    bpl @sign
    eor #$FF
@sign:
    sta facsgn
    clc
@aligned:
    lda argexp
    sta facexp
    bit arisgn
    bmi @subtract
    lda facov
    adc argov
    sta facov
    ldx #3
@add:
    lda facho,x
    adc argho,x
    sta facho,x
    dex
    bpl @add
    bcc @done
    inc facexp
    jeq fp_overflow
    ror facho
    ror facmoh
    ror facmo
    ror faclo
    ror facov
@done:
    rts
@subtract:
    sec                     ; FAC = ARG - FAC
    lda argov
    sbc facov
    sta facov
    ldx #3
@sub:
    lda argho,x
    sbc facho,x
    sta facho,x
    dex
    bpl @sub
    bcc @fac_larger
    lda facsgn
    eor #$FF
    sta facsgn
    jmp normalize
@fac_larger:
    jsr negfac
    jmp normalize

fsub:
    jsr conupk
fsubt:
    lda facsgn
    eor #$FF
    sta facsgn
    jmp faddt

; ---- signs and comparison ----

fsign:
    lda facexp
    beq sign_done
sign_of_fac:
    lda facsgn
sign_of_a:
    rol a
    lda #$FF
    bcs sign_done
    lda #1
sign_done:
    rts

sgn:
    jsr fsign
float:
    sta facho
    lda #0
    sta facmoh
    ldx #$88
    bne float_high

negop:
    lda facexp
    beq sign_done
    lda facsgn
    eor #$FF
    sta facsgn
    rts

abs:
    lsr facsgn
    rts

fcomp:
    sta index1
    sty index1+1
    ldy #0
    lda (index1),y
    iny
    cmp #0
    beq fsign               ; against zero: FAC's own sign
    pha
    lda facexp
    bne @both
    pla
    lda (index1),y          ; FAC is zero: the answer is the opposite of the number's sign
    eor #$FF
    jmp sign_of_a
@both:
    lda (index1),y
    eor facsgn
    bmi @signs_differ
    pla
    cmp facexp
    bne @differ
    lda (index1),y
    ora #$80
    cmp facho
    bne @differ
    iny
    lda (index1),y
    cmp facmoh
    bne @differ
    iny
    lda (index1),y
    cmp facmo
    bne @differ
    iny
    lda (index1),y
    cmp faclo
    bne @differ
    lda #0
    rts
@signs_differ:
    pla
    jmp sign_of_fac
@differ:
    lda facsgn              ; C set: the number is larger in magnitude than FAC
    bcc sign_of_a
    eor #$FF
    jmp sign_of_a

; ---- integers ----

givayf:
    sta facho
    sty facmoh
    ldx #$90
float_high:
    lda #0
    sta facmo
    sta faclo
; FAC = the two's complement integer in the mantissa, whose top bit weighs 2^(X-$81).
float_fac:
    stx facexp
    lda #0
    sta facov
    sta facsgn
    bit facho
    bpl @positive
    dec facsgn
    jsr negfac
@positive:
    jmp normalize

sngflt:
    lda #0
    beq givayf

qint:
    lda facexp
    beq @zero
    lda #$A0
    sec
    sbc facexp
    beq @all
    bcs @count
@all:
    lda #40                 ; 2^31 or more: every bit goes, as in the genuine BASIC
@count:
    ldy #0
    bit facsgn
    bpl @shift
    pha
    jsr negfac
    pla
    ldy #$FF
@shift:
    jmp shift_right
@zero:
    sta facho
    sta facmoh
    sta facmo
    sta faclo
    rts

int:
    lda facexp
    cmp #$A0
    bcs @done               ; already whole
    jsr qint
    ldx #$A0
    jmp float_fac
@done:
    rts

ayint:
    lda facexp
    cmp #$90
    bcc qint
    lda #<nmin
    ldy #>nmin
    jsr fcomp
    jne fp_illegal_quantity
    beq qint

facinx:
    jsr ayint
    lda facmo
    ldy faclo
    rts

getadr:
    lda facsgn
    jmi fp_illegal_quantity
    lda facexp
    cmp #$91
    jcs fp_illegal_quantity
    jsr qint
    lda facmo
    ldy faclo
    sty $14
    sta $15
    rts

; ---- constants shared by the package ----

fhalf:  .byte $80, $00, $00, $00, $00   ; 0.5
fone:   .byte $81, $00, $00, $00, $00   ; 1
tenc:   .byte $84, $20, $00, $00, $00   ; 10
nmin:   .byte $90, $80, $00, $00, $00   ; -32768
