; float_rnd.s: RND, BASIC's random numbers.
; RND(x) for x > 0 takes the next number of the sequence: seed * 11879546 + 3.92767774E-8,
; its mantissa bytes then reversed and its exponent byte moved in below them, so that the low,
; fast-changing bits lead. RND(0) takes the same scramble of CIA 1's timer A and time-of-day
; registers; RND(x) for x < 0 of x itself, which starts a repeatable sequence. The result is
; kept as the next seed at $8B. The sequence and its constants are the genuine BASIC's, as
; worked out from the numbers it gives.
; Called by: the interpreter. Conventions: float.inc.

.include "float.inc"

.import normalize

CIA1_TIMER_A_LOW  = $DC04
CIA1_TIMER_A_HIGH = $DC05
CIA1_TOD_TENTHS   = $DC08
CIA1_TOD_SECONDS  = $DC09

.segment "FLOATHI"

rnd:
    jsr fsign
    bmi @scramble
    bne @next
    lda CIA1_TIMER_A_LOW
    sta faclo
    lda CIA1_TOD_TENTHS
    sta facmo
    lda CIA1_TIMER_A_HIGH
    sta facmoh
    lda CIA1_TOD_SECONDS
    sta facho
    jmp @scramble
@next:
    lda #<rndx
    ldy #>rndx
    jsr movfm
    lda #<rmulc
    ldy #>rmulc
    jsr fmult
    lda #<raddc
    ldy #>raddc
    jsr fadd
@scramble:
    ldx facho
    lda faclo
    sta facho
    stx faclo
    ldx facmoh
    lda facmo
    sta facmoh
    stx facmo
    lda #0
    sta facsgn
    lda facexp
    sta facov
    lda #$80
    sta facexp
    jsr normalize
    ldx #<rndx
    ldy #>rndx
    jmp movmf

rmulc:  .byte $98, $35, $44, $7A, $00   ; 11879546
raddc:  .byte $68, $28, $B1, $46, $00   ; 3.92767774E-8
