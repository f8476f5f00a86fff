; float_muldiv.s: multiplication and division of BASIC's numbers, and the steps by ten that
; reading and printing numbers take.
; The product is built by shift and add over FAC's five bytes (extension first), a zero byte
; costing one byte move (a run of zero bytes drops a bit more each, as in the genuine
; package); the quotient by restoring division, 34 bits of it. Bits below those are dropped,
; so the last bit of a result can lie one below the exact one.
; Called by: the interpreter, float_convert.s, float_print.s, float_functions.s.

.include "float.inc"

.import fp_overflow, fp_division_by_zero, zero_fac, tenc

.segment "FLOAT"

fmult:
    jsr conupk
fmultt:
    lda facexp
    beq @done               ; 0 * x
    lda argexp
    beq @zero
    clc
    adc facexp
    ldy #$80
    jsr set_exponent
    lda #0
    sta resho
    sta resho+1
    sta resho+2
    sta resho+3
    lda facov
    jsr multiply_byte
    lda faclo
    jsr multiply_byte
    lda facmo
    jsr multiply_byte
    lda facmoh
    jsr multiply_byte
    lda facho
    jsr multiply_byte
    jsr take_result
    bmi @done
    jsr shift_left_one      ; the product of two halves can be a quarter
    dec facexp
    beq @zero
@done:
    rts
@zero:
    jmp zero_fac

; Adds one multiplier byte's worth into the product resho..resho+3, facov: for each of its
; bits, lowest first, ARG's mantissa is added in when the bit is set, and the product moves
; one place right. A zero byte moves the product a whole byte right, and one place further
; when the byte before it was zero too, as the genuine multiply does. C clear on entry: the
; byte before was zero; C on return: this byte had bits.
multiply_byte:
    bne @bits
    bcs @whole_byte
    lsr resho               ; a second zero byte in a row
    ror resho+1
    ror resho+2
    ror resho+3
    ror facov
@whole_byte:
    lda resho+3
    sta facov
    lda resho+2
    sta resho+3
    lda resho+1
    sta resho+2
    lda resho
    sta resho+1
    lda #0
    sta resho
    clc
    rts
@bits:
    lsr a
    ora #$80                ; a marker bit: the byte is used up when only it has gone
@bit:
    tay
    bcc @shift
    clc
    lda resho+3
    adc arglo
    sta resho+3
    lda resho+2
    adc argmo
    sta resho+2
    lda resho+1
    adc argmoh
    sta resho+1
    lda resho
    adc argho
    sta resho
@shift:
    ror resho
    ror resho+1
    ror resho+2
    ror resho+3
    ror facov
    tya
    lsr a
    bne @bit
    rts

; FAC's mantissa = the product or quotient in resho; A = facho, N set when normalised.
take_result:
    lda resho+3
    sta faclo
    lda resho+2
    sta facmo
    lda resho+1
    sta facmoh
    lda resho
    sta facho
    rts

shift_left_one:
    asl facov
    rol faclo
    rol facmo
    rol facmoh
    rol facho
    rts

; C:A holds the sum of the two biased exponents (for a quotient, the dividend's and the
; divisor's inverted), Y the bias to take off; makes the difference FAC's exponent with the sign
; of the result, or ends in 0 (the caller returns with it) or ?OVERFLOW.
set_exponent:
    sty resho
    bcs @high
    cmp resho
    bcc @underflow
    beq @underflow
    sbc resho
    bcs @store
@high:
    cmp resho
    bcs @overflow
    sec
    sbc resho
@store:
    sta facexp
    lda facsgn
    eor argsgn
    sta facsgn
    rts
@underflow:
    pla                     ; leaves the caller too: the result is 0
    pla
    jmp zero_fac
@overflow:
    jmp fp_overflow

fdiv:
    jsr conupk
fdivt:
    jsr round               ; the divisor as it would be stored
    lda facexp
    beq @by_zero
    lda argexp
    bne @divide
    jmp zero_fac
@by_zero:
    jmp fp_division_by_zero
@divide:
    lda facexp              ; the exponent a quotient of 1 or more gets
    eor #$FF
    clc
    adc argexp
    ldy #$7E
    jsr set_exponent
    lda #0                  ; ARG's mantissa is the dividend, bits its ninth byte
    sta bits
    tax
    lda #1                  ; each quotient byte starts as a marker bit that comes out
    sta resho               ; of its top once the byte is full
    bne @compare
@shift:
    asl arglo
    rol argmo
    rol argmoh
    rol argho
    rol bits
@compare:
    lda bits
    bne @subtract
    lda argho
    cmp facho
    bcc @bit
    bne @subtract
    lda argmoh
    cmp facmoh
    bcc @bit
    bne @subtract
    lda argmo
    cmp facmo
    bcc @bit
    bne @subtract
    lda arglo
    cmp faclo
    bcc @bit
@subtract:
    sec
    lda arglo
    sbc faclo
    sta arglo
    lda argmo
    sbc facmo
    sta argmo
    lda argmoh
    sbc facmoh
    sta argmoh
    lda argho
    sbc facho
    sta argho
    lda #0
    sta bits
    sec
@bit:
    rol resho,x
    bcc @shift
    inx
    lda #1
    cpx #4
    bcc @next_byte
    bne @quotient
    lda #$40                ; two bits more, for rounding
@next_byte:
    sta resho,x
    bne @shift
@quotient:
    lda resho+4             ; the two rounding bits go to the top of facov
    clc
    ror a
    ror a
    ror a
    sta facov
    jsr take_result
    bmi @done
    jsr shift_left_one      ; the first quotient bit was 0: the mantissa starts one bit later
    dec facexp
    bne @done
    jmp zero_fac
@done:
    rts

mul10:
    jsr movaf
    tax
    beq @done               ; 10 * 0
    clc
    adc #2                  ; four times, plus once, is five times
    bcs @overflow
    sta facexp
    jsr faddt
    inc facexp              ; and twice that
    bne @done
@overflow:
    jmp fp_overflow
@done:
    rts

div10:
    jsr movaf
    lda #<tenc
    ldy #>tenc
    jsr movfm
    lda argsgn              ; the quotient's sign byte is the sign alone
    and #$7F
    sta facsgn
    jmp fdivt
