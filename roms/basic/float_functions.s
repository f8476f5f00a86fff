; float_functions.s: BASIC's number functions: SQR, ^, EXP, LOG, SIN, COS, TAN and ATN, and
; the series evaluators they share.
; Each function brings its argument into a small range and evaluates a polynomial there: EXP
; takes x * log2(e) apart into a whole power of two and a fraction, LOG takes the power of two
; off its argument, SIN and COS work in whole turns folded into a quarter turn either side of
; zero, ATN works below 1 through the reciprocal. x ^ y is EXP(y * LOG(x)) and SQR(x) is
; x ^ .5; TAN is the sine over the cosine of one fraction of a turn. The series are the genuine
; BASIC's, and each intermediate result is rounded, or kept with its extension byte, as there,
; so that the results agree with the genuine ones to the last bit.
; Leaves out: RND (float_rnd.s).
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

; x = m * 2^n with m in [1/2, 1); log2 m = P(t) - 1/2 with t = 1 - sqr(2) / (m + sqr(.5)).
log:
    jsr fsign
    beq @illegal
    bpl @positive
@illegal:
    jmp fp_illegal_quantity
@positive:
    lda facexp
    sec
    sbc #$80
    pha                     ; n
    lda #$80
    sta facexp
    lda #<sqr_half
    ldy #>sqr_half
    jsr fadd
    lda #<sqr_two
    ldy #>sqr_two
    jsr fdiv
    lda #<fone
    ldy #>fone
    jsr fsub
    lda #<log_series
    ldy #>log_series
    jsr polyx
    lda #<neg_half
    ldy #>neg_half
    jsr fadd
    jsr movaf
    pla                     ; log2 x = n + log2 m
    jsr float
    jsr faddt
    lda #<ln_2
    ldy #>ln_2
    jmp fmult

; e^x = 2^t with t = x * log2(e): 2^n * 2^v with n = INT(t) and v = t - n in [0, 1); v keeps
; t's extension byte, moved up by $50 first as the genuine BASIC does.
exp:
    lda #<log2_e
    ldy #>log2_e
    jsr fmult
    lda facexp
    cmp #$88
    bcs @large
    lda facov               ; t moved up by $50 in its extension byte (C clear), which
    adc #$50                ; goes on into v as argov
    sta argov
    bcc @moved
    lda #$80                ; the carry goes into the mantissa
    sta facov
    jsr round
@moved:
    jsr movef
    jsr qint
    lda faclo
    cmp #$80
    beq @large              ; n = -128, or 128 from a t that rounded up to it
    pha
    ldx #$A0
    jsr float_fac
    jsr negop
    jsr faddt_extended      ; v = t - n
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
    bit facsgn              ; 2^128 or more, or 2^-128 or less: 0, as in the genuine BASIC
    bpl @overflow
@zero:
    jmp zero_fac
@overflow:
    jmp fp_overflow

; ---- powers and roots ----

sqr:
    jsr movaf               ; x ^ .5
    lda #<fhalf
    ldy #>fhalf
    jsr movfm

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
    jsr log                 ; x ^ y = e^(y * LOG x)
    jsr pull_arg
    jsr fmultt
    jsr exp
    pla
    eor facsgn
    sta facsgn
    rts
@illegal:
    jmp fp_illegal_quantity

; Keeps FAC, rounded, on the stack under the caller's return address, for pull_arg to give
; back in ARG: a number kept there while a function that uses tempf1 and tempf2 is worked out.
; FAC stays rounded, its extension byte cleared, so that it is not rounded twice.
push_fac:
    jsr round
    lda #0
    sta facov
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
    lda #<pi_half           ; cos x = sin(x + pi/2)
    ldy #>pi_half
    jsr fadd

; sin x = sin 2pi f, f the fraction of the turns x / 2pi, folded into [-1/4, 1/4] by way of
; a = 1/4 - f, whose steps lose no bits of f.
sin:
    jsr fraction
    lda #<quarter
    ldy #>quarter
    jsr fsub                ; a = 1/4 - f
; FAC = sin 2pi (1/4 - a), a = FAC from -3/4 to 1/4.
sin_a:
    lda facsgn
    pha
    bpl @near               ; f up to 1/4: f = 1/4 - a
    jsr faddh               ; b = a + 1/2
    lda facsgn
    bmi @plus_quarter       ; f beyond 3/4: f - 1 = -(b + 1/4)
@near:
    jsr negop               ; f up to 3/4: 1/2 - f = -(1/4 - b)
@plus_quarter:
    lda #<quarter
    ldy #>quarter
    jsr fadd
    pla
    bpl @series
    jsr negop
@series:
    lda #<sin_series
    ldy #>sin_series
    jmp polyx

; tan x = sin x / cos x, the cosine as sin 2pi (1/4 - a) with a = -f: from the same fraction
; as the sine, without the rounding of x + pi/2 that COS has.
tan:
    jsr push_fac            ; x
    jsr sin
    jsr pull_arg
    jsr push_fac            ; sin x
    jsr movfa
    jsr fraction
    jsr negop               ; a = -f
    jsr sin_a
    jsr pull_arg
    jmp fdivt

; FAC = f, the fraction of the turns FAC / 2pi, from 0 to 1.
fraction:
    jsr movaf
    lda #<two_pi
    ldy #>two_pi
    jsr movfm
    jsr fdivt
    jsr movaf
    jsr int
    jmp fsubt

; atn -x = -atn x; atn x = pi/2 - atn 1/x from 1 on.
atn:
    lda facsgn
    pha
    jsr abs
    lda facexp
    pha
    cmp #$81
    bcc @series
    lda #<fone
    ldy #>fone
    jsr fdiv
@series:
    lda #<atn_series
    ldy #>atn_series
    jsr polyx
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

sqr_half:       .byte $80, $35, $04, $F3, $34   ; sqr(.5)
sqr_two:        .byte $81, $35, $04, $F3, $34   ; sqr(2)
neg_half:       .byte $80, $80, $00, $00, $00   ; -.5
ln_2:           .byte $80, $31, $72, $17, $F8   ; log(2)
log2_e:         .byte $81, $38, $AA, $3B, $29   ; 1 / log(2)
two_pi:         .byte $83, $49, $0F, $DA, $A2   ; 2pi
pi_half:        .byte $81, $49, $0F, $DA, $A2   ; pi/2
quarter:        .byte $7F, $00, $00, $00, $00   ; .25

log_series:     ; log2 m + 1/2, odd powers of t
    .byte 3
    .byte $7F, $5E, $56, $CB, $79   ; .43425594189
    .byte $80, $13, $9B, $0B, $64   ; .57658454124
    .byte $80, $76, $38, $93, $16   ; .96180075919
    .byte $82, $38, $AA, $3B, $20   ; 2.8853900731

exp_series:     ; 2^v, 0 <= v < 1
    .byte 7
    .byte $71, $34, $58, $3E, $56   ; 2.1498763701E-5
    .byte $74, $16, $7E, $B3, $1B   ; 1.4352314037E-4
    .byte $77, $2F, $EE, $E3, $85   ; 1.3422634825E-3
    .byte $7A, $1D, $84, $1C, $2A   ; 9.6140170135E-3
    .byte $7C, $63, $59, $58, $0A   ; 5.5505126860E-2
    .byte $7E, $75, $FD, $E7, $C6   ; .24022638460
    .byte $80, $31, $72, $18, $10   ; .69314718618
    .byte $81, $00, $00, $00, $00   ; 1

sin_series:     ; sin 2pi f, odd powers of f, |f| <= 1/4
    .byte 5
    .byte $84, $E6, $1A, $2D, $1B   ; -14.381390672
    .byte $86, $28, $07, $FB, $F8   ; 42.007797122
    .byte $87, $99, $68, $89, $01   ; -76.704170257
    .byte $87, $23, $35, $DF, $E1   ; 81.605223686
    .byte $86, $A5, $5D, $E7, $28   ; -41.341702104
    .byte $83, $49, $0F, $DA, $A2   ; 6.2831853069

atn_series:     ; atn x, odd powers of x, 0 <= x <= 1
    .byte 11
    .byte $76, $B3, $83, $BD, $D3   ; -6.8479391189E-4
    .byte $79, $1E, $F4, $A6, $F5   ; 4.8509421558E-3
    .byte $7B, $83, $FC, $B0, $10   ; -1.6111701843E-2
    .byte $7C, $0C, $1F, $67, $CA   ; 3.4209638048E-2
    .byte $7C, $DE, $53, $CB, $C1   ; -5.4279132761E-2
    .byte $7D, $14, $64, $70, $4C   ; 7.2457196540E-2
    .byte $7D, $B7, $EA, $51, $7A   ; -8.9802395378E-2
    .byte $7D, $63, $30, $88, $7E   ; .11093241343
    .byte $7E, $92, $44, $99, $3A   ; -.14283980767
    .byte $7E, $4C, $CC, $91, $C7   ; .19999912049
    .byte $7F, $AA, $AA, $AA, $13   ; -.33333331568
    .byte $81, $00, $00, $00, $00   ; 1
