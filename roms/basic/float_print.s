; float_print.s: numbers as BASIC prints them (fout, for PRINT and STR$) and line numbers as
; LIST and the error messages print them (linprt).
; fout scales the number by steps of ten until nine digits stand before the point, rounds it
; to a whole number and takes the digits off by subtracting powers of ten. Up to 999999999 and
; down to .01 the point goes in place ("123.5", ".05"); beyond, the number is written as digits
; with an exponent ("1.5E+10", "1E-03"). Trailing zeros after the point are dropped.
; Called by: the interpreter. Conventions: float.inc.

.include "float.inc"

.import fhalf, normalize

tenexp  = $5D           ; the power of ten of the last of the nine digits
pointat = $5E           ; digits still to write before the point
digit   = sgnflg        ; the digit being counted

CHROUT = $FFD2

.segment "FLOAT2"

fout:
    ldy #' '
    bit facsgn              ; the sign goes first, even for a zero that kept one
    bpl @sign
    ldy #'-'
@sign:
    sty fbuffr
    lda facexp
    bne @nonzero
    lda #'0'
    sta fbuffr+1
    ldx #2
    jmp @end
@nonzero:
    lda #0
    sta facsgn
    sta tenexp
    lda facexp
    cmp #$81
    bcs @raise
    lda #<fbillion          ; below 1: nine places up at once
    ldy #>fbillion
    jsr fmult
    lda #<-9
    sta tenexp
@raise:
    lda #<fmin9
    ldy #>fmin9
    jsr fcomp
    cmp #1
    beq @lower
    jsr mul10
    dec tenexp
    bne @raise
@lower:
    lda #<fmax9
    ldy #>fmax9
    jsr fcomp
    cmp #1
    bne @whole
    jsr div10
    inc tenexp
    bne @lower
@whole:
    jsr faddh
    jsr qint
    lda tenexp              ; up to nine digits before the point, or a point and one zero
    clc                     ; before them, stay plain; anything else gets an exponent and
    adc #10                 ; one digit before the point
    cmp #11
    bcc @plain
    lda #2
@plain:
    tax
    dex
    stx pointat
    ldy #1
    txa
    beq @point_first
    bpl @digits
@point_first:
    lda #'.'
    sta fbuffr,y
    iny
    txa
    beq @digits
    lda #'0'
    sta fbuffr,y
    iny
@digits:
    ldx #0
@next_digit:
    lda #'0'-1
    sta digit
@subtract:
    inc digit
    sec
    lda faclo
    sbc powers+3,x
    sta faclo
    lda facmo
    sbc powers+2,x
    sta facmo
    lda facmoh
    sbc powers+1,x
    sta facmoh
    lda facho
    sbc powers,x
    sta facho
    bcs @subtract
    clc                     ; one too many: add it back
    lda faclo
    adc powers+3,x
    sta faclo
    lda facmo
    adc powers+2,x
    sta facmo
    lda facmoh
    adc powers+1,x
    sta facmoh
    lda facho
    adc powers,x
    sta facho
    lda digit
    sta fbuffr,y
    iny
    dec pointat
    bne @placed
    lda #'.'
    sta fbuffr,y
    iny
@placed:
    inx
    inx
    inx
    inx
    cpx #9*4
    bne @next_digit
@trim:
    dey
    lda fbuffr,y
    cmp #'0'
    beq @trim
    cmp #'.'
    beq @trimmed
    iny
@trimmed:
    lda tenexp
    clc
    adc #10
    cmp #11
    bcc @done
    sbc #2                  ; the exponent of the first digit
    tax
    lda #'E'
    sta fbuffr,y
    iny
    txa
    bpl @exp_sign
    eor #$FF
    clc
    adc #1
    tax
    lda #'-'
    .byte $2C
@exp_sign:
    lda #'+'
    sta fbuffr,y
    iny
    txa
    ldx #'0'-1
    sec
@tens:
    inx
    sbc #10
    bcs @tens
    adc #'0'+10
    pha
    txa
    sta fbuffr,y
    iny
    pla
    sta fbuffr,y
    iny
@done:
    tya
    tax
@end:
    lda #0
    sta fbuffr,x
    lda #<fbuffr
    ldy #>fbuffr
    rts

linprt:
    sta facho
    stx facmoh
    lda #0
    sta facmo
    sta faclo
    sta facsgn
    sta facov
    lda #$90
    sta facexp
    jsr normalize
    jsr fout
    ldy #1
@char:
    lda fbuffr,y
    beq @done
    jsr CHROUT
    iny
    bne @char
@done:
    rts

fbillion: .byte $9E, $6E, $6B, $28, $00   ; 1000000000
fmax9:    .byte $9E, $6E, $6B, $27, $FD   ; 999999999.25, the most that rounds to nine digits
fmin9:    .byte $9B, $3E, $BC, $1F, $FD   ; 99999999.9

powers:
    .byte $05, $F5, $E1, $00    ; 100000000
    .byte $00, $98, $96, $80    ; 10000000
    .byte $00, $0F, $42, $40    ; 1000000
    .byte $00, $01, $86, $A0    ; 100000
    .byte $00, $00, $27, $10    ; 10000
    .byte $00, $00, $03, $E8    ; 1000
    .byte $00, $00, $00, $64    ; 100
    .byte $00, $00, $00, $0A    ; 10
    .byte $00, $00, $00, $01    ; 1
