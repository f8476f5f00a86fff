; float_functions.s: BASIC's number functions: SQR, ^, EXP, LOG, SIN, COS, TAN and ATN, and
; the series evaluators they share.
; Each function brings its argument into a small range (powers of two, whole turns, the
; reciprocal) and evaluates a polynomial there; the coefficients are our own, fitted to each
; function with scripts/float_constants.py. SQR is Newton's iteration. Leaves out: RND
; (float_rnd.s).
; Called by: the interpreter (FAC in, FAC out; ^ takes ARG ^ FAC). Conventions: float.inc.

.include "float.inc"

.import fp_illegal_quantity, fp_overflow, zero_fac, float_fac, faddt_extended
.import fone, fhalf

.segment "FLOATHI"

; ---- series ----

polyx:
    sta fbufpt
    sty fbufpt+1
    jsr mov2f
    lda #<tempf2
    ldy #>tempf2
    jsr fmult
    jsr poly_here
    lda #<tempf2
    ldy #>tempf2
    jmp fmult

poly:
    sta fbufpt
    sty fbufpt+1
poly_here:
    jsr mov1f
    ldy #0
    lda (fbufpt),y
    sta sgnflg
    iny
    jsr next_coefficient
    jsr movfm
@term:
    lda #<tempf1
    ldy #>tempf1
    jsr fmult
    ldy #5
    jsr next_coefficient
    jsr fadd
    dec sgnflg
    bne @term
    rts

; Moves fbufpt on by Y bytes; A/Y = the new place.
next_coefficient:
    tya
    clc
    adc fbufpt
    sta fbufpt
    bcc @same_page
    inc fbufpt+1
@same_page:
    ldy fbufpt+1
    rts

; ---- logarithm and exponential ----

log:
    jsr log2
    lda #<ln_2
    ldy #>ln_2
    jmp fmult

; FAC = log2 FAC, with its extension byte: ^ goes on with all of it.
log2:
    jsr fsign
    beq @illegal
    bpl @positive
@illegal:
    jmp fp_illegal_quantity
@positive:
    lda facexp              ; x = m * 2^e with m in [sqr(.5), sqr(2))
    sec
    sbc #$80
    tax
    lda #$80
    sta facexp
    lda #<sqr_half
    ldy #>sqr_half
    jsr fcomp
    cmp #$FF
    bne @in_range
    inc facexp
    dex
@in_range:
    txa
    pha
    jsr mov1f
    pla                     ; e waits on the stack as a number
    jsr float
    jsr push_fac
    lda #<tempf1
    ldy #>tempf1
    jsr movfm
    lda #<fone              ; t = (m - 1) / (m + 1) = 1 - 2 / (m + 1)
    ldy #>fone
    jsr fadd
    lda #<two
    ldy #>two
    jsr fdiv
    lda #<fone
    ldy #>fone
    jsr fsub
    lda #<log_series        ; log2 m
    ldy #>log_series
    jsr polyx
    jsr pull_arg
    jmp faddt               ; e + log2 m, with all the bits of the series' last product

exp:
    lda #<log2_e_rest       ; 2^y with y = x * log2(e)
    ldy #>log2_e_rest
    jsr scale
; FAC = 2^FAC, its extension byte counted: 2^n * 2^v with n whole and -1/2 <= v <= 1/2.
exp2:
    lda facexp
    cmp #$88
    bcs @large
    lda facsgn
    pha
    jsr fraction
    tax
    pla
    bmi @negative
    txa                     ; n = 128: 2^127.5 and more
    bmi @overflow
@negative:
    txa
    pha
    lda #<exp_series
    ldy #>exp_series
    jsr poly
    pla                     ; times 2^n
    clc
    bmi @smaller
    adc facexp
    bcs @overflow
    sta facexp
    rts
@smaller:
    adc facexp
    bcc @zero
    beq @zero
    sta facexp
    rts
@large:
    bit facsgn              ; 2^128 or more, or so little it vanishes
    bpl @overflow
@zero:
    jmp zero_fac
@overflow:
    jmp fp_overflow

; Splits FAC, as a product leaves it (its extension byte counted), into n, the whole number
; nearest to it, and FAC = FAC - n, from -1/2 to 1/2, with all its bits. Returns n's low byte
; in A.
fraction:
    lda facexp
    cmp #$A0
    bcc @split
    jmp zero_fac            ; 2^31 or more: no bits below the point are left
@split:
    lda facov
    pha
    jsr movef
    pla
    sta argov
    jsr qint                ; the whole part below, and the bits after it in facov
    asl facov
    bcc @rounded            ; a half or more: one up
    inc faclo
    bne @rounded
    inc facmo
    bne @rounded
    inc facmoh
    bne @rounded
    inc facho
@rounded:
    lda faclo
    pha
    ldx #$A0
    jsr float_fac
    jsr negop
    jsr faddt_extended      ; x - n: exact
    pla
    rts

; ---- powers and roots ----

sqr:
    jsr fsign
    beq @done
    bmi @illegal
    jsr mov2f
    lda facexp              ; the first guess: the exponent halved
    clc
    adc #1
    ror a
    clc
    adc #$40
    sta facexp
    lda #4                  ; each step (y + x / y) / 2 doubles the digits
    sta sgnflg
@step:
    jsr mov1f
    lda #<tempf2
    ldy #>tempf2
    jsr fdiv
    lda #<tempf1
    ldy #>tempf1
    jsr fadd
    dec facexp
    dec sgnflg
    bne @step
@done:
    rts
@illegal:
    jmp fp_illegal_quantity

; FAC = ARG ^ FAC.
fpwrt:
    lda facexp
    bne @power
    lda #<fone              ; x ^ 0 = 1
    ldy #>fone
    jmp movfm
@power:
    lda argexp
    bne @base
    jmp zero_fac            ; 0 ^ y = 0, 0 ^ -1 too, as the genuine BASIC has it
@base:
    jsr mov1f
    lda #0                  ; the result's sign
    bit argsgn
    bpl @positive_base
    jsr int                 ; a negative number has whole powers only
    lda #<tempf1
    ldy #>tempf1
    jsr fcomp
    bne @illegal
    jsr qint
    lda faclo               ; odd powers keep the sign
    lsr a
    lda #0
    ror a
@positive_base:
    pha
    lda #<tempf1
    ldy #>tempf1
    jsr movfm
    jsr push_fac
    jsr movfa
    jsr abs
    jsr log2                ; x ^ y = 2^(y * log2 x)
    jsr pull_arg
    jsr fmultt
    jsr exp2
    pla
    eor facsgn
    sta facsgn
    rts
@illegal:
    jmp fp_illegal_quantity

; Keeps FAC on the stack, under the caller's return address, for pull_arg to give back in ARG.
; A number kept there while the log, sine or cosine, which use tempf1 and tempf2, is made.
push_fac:
    pla
    sta fbufpt
    pla
    sta fbufpt+1
    ldx #5
@push:
    lda facexp,x
    pha
    dex
    bpl @push
    bmi return_fbufpt

pull_arg:
    pla
    sta fbufpt
    pla
    sta fbufpt+1
    ldx #0
@pull:
    pla
    sta argexp,x
    inx
    cpx #6
    bne @pull
return_fbufpt:
    lda fbufpt+1
    pha
    lda fbufpt
    pha
    rts

; ---- circular functions ----

cos:
    jsr turns
    lda #<quarter           ; cos x = sin(x + a quarter turn)
    ldy #>quarter
    jsr fadd
    jmp sin_turns

sin:
    jsr turns
sin_turns:
    jsr fraction            ; v = the turn's part, -1/2 to 1/2
    lda facsgn              ; sin 2pi v = sin 2pi z, z in [-1/4, 1/4]: z = +-1/2 - v beyond
    pha
    jsr abs
    lda #<quarter
    ldy #>quarter
    jsr fcomp
    cmp #1
    bne @near
    lda #<fhalf
    ldy #>fhalf
    jsr fsub
@near:
    pla
    sta facsgn
@series:
    lda #<sin_series
    ldy #>sin_series
    jmp polyx

; FAC = FAC / 2pi.
turns:
    lda #<inv_two_pi_rest
    ldy #>inv_two_pi_rest
; FAC = FAC * c, for a factor c wanted to more than 32 bits: A/Y point at the rest of c, which
; is followed by the nearest number to c.
scale:
    sta fbufpt
    sty fbufpt+1
    jsr mov2f
    lda fbufpt
    ldy fbufpt+1
    jsr fmult
    jsr mov1f
    lda #<tempf2
    ldy #>tempf2
    jsr movfm
    ldy #5
    jsr next_coefficient
    jsr fmult
    lda #<tempf1
    ldy #>tempf1
    jmp fadd

tan:
    jsr round
    jsr push_fac            ; x
    jsr sin
    jsr pull_arg
    jsr push_fac            ; sin x
    jsr movfa
    jsr cos
    jsr pull_arg
    jmp fdivt

atn:
    lda facsgn              ; atn -x = -atn x
    pha
    jsr abs
    lda facexp              ; atn x = pi/2 - atn 1/x
    pha
    cmp #$81
    bcc @small
    lda #<fone
    ldy #>fone
    jsr fdiv
@small:
    lda #<tan_eighth        ; atn x = pi/4 - atn((1 - x) / (1 + x))
    ldy #>tan_eighth
    jsr fcomp
    pha
    cmp #1
    bne @series
    jsr mov1f
    lda #<fone
    ldy #>fone
    jsr fsub
    jsr mov2f
    lda #<tempf1
    ldy #>tempf1
    jsr movfm
    lda #<fone
    ldy #>fone
    jsr fadd
    lda #<tempf2
    ldy #>tempf2
    jsr fdiv
@series:
    lda #<atn_series
    ldy #>atn_series
    jsr polyx
    pla
    cmp #1
    bne @unshifted
    lda #<pi_quarter
    ldy #>pi_quarter
    jsr fsub
@unshifted:
    pla
    cmp #$81
    bcc @direct
    lda #<pi_half
    ldy #>pi_half
    jsr fsub
@direct:
    pla
    bpl @done
    jmp negop
@done:
    rts

; ---- constants and series, from scripts/float_constants.py ----

sqr_half:       .byte $80, $35, $04, $F3, $34
ln_2:           .byte $80, $31, $72, $17, $F8
log2_e_rest:    .byte $60, $38, $2F, $E1, $77
log2_e:         .byte $81, $38, $AA, $3B, $29
inv_two_pi_rest: .byte $5D, $1C, $88, $2A, $54
inv_two_pi:     .byte $7E, $22, $F9, $83, $6E
quarter:        .byte $7F, $00, $00, $00, $00
two:            .byte $82, $00, $00, $00, $00
pi_half:        .byte $81, $49, $0F, $DA, $A2
pi_quarter:     .byte $80, $49, $0F, $DA, $A2
tan_eighth:     .byte $7F, $54, $13, $CC, $D0

log_series:  ; 7 terms, largest error 1.2e-10
    .byte 6
    .byte $7E, $75, $BD, $C1, $11   ; 0.2399816672
    .byte $7F, $05, $FF, $75, $77   ; 0.2617146213
    .byte $7F, $24, $26, $92, $9C   ; 0.3206067863
    .byte $7F, $53, $0B, $B0, $C5   ; 0.4121985665
    .byte $80, $13, $BB, $62, $85   ; 0.5770780159
    .byte $80, $76, $38, $4E, $E2   ; 0.9617966939
    .byte $82, $38, $AA, $3B, $29   ; 2.885390082

exp_series:  ; 9 terms, largest error 3.9e-11
    .byte 8
    .byte $6D, $31, $E8, $95, $88   ; 1.325521854e-06
    .byte $71, $00, $6E, $25, $21   ; 1.531007934e-05
    .byte $74, $21, $84, $56, $49   ; 0.0001540345589
    .byte $77, $2E, $C3, $A2, $D4   ; 0.001333345057
    .byte $7A, $1D, $95, $5B, $8C   ; 0.009618129159
    .byte $7C, $63, $58, $46, $EB   ; 0.05550410941
    .byte $7E, $75, $FD, $EF, $FC   ; 0.240226507
    .byte $80, $31, $72, $17, $F8   ; 0.6931471805
    .byte $81, $00, $00, $00, $00   ; 1

sin_series:  ; 7 terms, largest error 3.9e-11
    .byte 6
    .byte $82, $6A, $9D, $8D, $75   ; 3.665866245
    .byte $84, $F1, $4D, $C3, $A2   ; -15.0814854
    .byte $86, $28, $3B, $87, $C0   ; 42.05813504
    .byte $87, $99, $69, $64, $DA   ; -76.70584755
    .byte $87, $23, $35, $E3, $37   ; 81.60524915
    .byte $86, $A5, $5D, $E7, $31   ; -41.34170224
    .byte $83, $49, $0F, $DA, $A2   ; 6.283185307

atn_series:  ; 9 terms, largest error 9.6e-12
    .byte 8
    .byte $7B, $7B, $2E, $6A, $C7   ; 0.03066178184
    .byte $7C, $F0, $9E, $44, $8D   ; -0.05874468591
    .byte $7D, $1A, $E7, $8C, $7D   ; 0.07563695676
    .byte $7D, $B9, $EC, $EA, $8D   ; -0.09078391308
    .byte $7D, $63, $8A, $6A, $57   ; 0.1111038502
    .byte $7E, $92, $49, $14, $8F   ; -0.1428569042
    .byte $7E, $4C, $CC, $CC, $89   ; 0.199999996
    .byte $7F, $AA, $AA, $AA, $AA   ; -0.3333333333
    .byte $81, $00, $00, $00, $00   ; 1
