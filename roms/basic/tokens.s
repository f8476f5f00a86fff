; tokens.s: the keywords and their token values ($80 END to $CB GO, as C64 programs store
; them), the tokeniser that turns a typed line into program text, and the keyword printer LIST
; uses. Keywords are recognised wherever they stand outside quotes, REM and DATA text, the same
; way for every program, so stored text is interchangeable with other BASIC V2 programs.
; Left out: the shifted-letter abbreviations (P shifted-O for POKE ...).
; Called by: the READY loop (crunch) and LIST (print_keyword).

.include "zeropage.inc"

.export crunch, print_keyword

.segment "BASIC2"

; Keyword text, the last letter of each with bit 7 set, in token order; a zero ends the table.
.macro keyword text
    .repeat .strlen(text) - 1, i
    .byte .strat(text, i)
    .endrepeat
    .byte .strat(text, .strlen(text) - 1) | $80
.endmacro

keywords:
    keyword "END"
    keyword "FOR"
    keyword "NEXT"
    keyword "DATA"
    keyword "INPUT#"
    keyword "INPUT"
    keyword "DIM"
    keyword "READ"
    keyword "LET"
    keyword "GOTO"
    keyword "RUN"
    keyword "IF"
    keyword "RESTORE"
    keyword "GOSUB"
    keyword "RETURN"
    keyword "REM"
    keyword "STOP"
    keyword "ON"
    keyword "WAIT"
    keyword "LOAD"
    keyword "SAVE"
    keyword "VERIFY"
    keyword "DEF"
    keyword "POKE"
    keyword "PRINT#"
    keyword "PRINT"
    keyword "CONT"
    keyword "LIST"
    keyword "CLR"
    keyword "CMD"
    keyword "SYS"
    keyword "OPEN"
    keyword "CLOSE"
    keyword "GET"
    keyword "NEW"
    keyword "TAB("
    keyword "TO"
    keyword "FN"
    keyword "SPC("
    keyword "THEN"
    keyword "NOT"
    keyword "STEP"
    keyword "+"
    keyword "-"
    keyword "*"
    keyword "/"
    keyword "^"
    keyword "AND"
    keyword "OR"
    keyword ">"
    keyword "="
    keyword "<"
    keyword "SGN"
    keyword "INT"
    keyword "ABS"
    keyword "USR"
    keyword "FRE"
    keyword "POS"
    keyword "SQR"
    keyword "RND"
    keyword "LOG"
    keyword "EXP"
    keyword "COS"
    keyword "SIN"
    keyword "TAN"
    keyword "ATN"
    keyword "PEEK"
    keyword "LEN"
    keyword "STR$"
    keyword "VAL"
    keyword "ASC"
    keyword "CHR$"
    keyword "LEFT$"
    keyword "RIGHT$"
    keyword "MID$"
    keyword "GO"
    .byte 0

; Tokenises the zero-terminated line in buf in place (the text only shrinks). inquote: bit 7
; for the rest of a REM, bit 6 inside quotes, bit 5 in DATA text up to the next ':'.
crunch:
    ldx #0
    stx rdpos
    stx wrpos
    stx inquote
@next:
    ldx rdpos
    lda buf,x
    beq @finish
    bit inquote
    bmi @store
    bvs @in_quotes
    cmp #'"'
    beq @open_quote
    ldy inquote
    bne @data
    cmp #'?'
    beq @print_shorthand
    cmp #$80
    bcs @store
    cmp #'0'                ; digits, ':' and ';' never start a keyword
    bcc @keyword
    cmp #'<'
    bcc @store
@keyword:
    jsr match_keyword
    bcc @store
    ldy wrpos
    sta buf,y
    inc wrpos
    cmp #TOKEN_REM
    beq @rest_verbatim
    cmp #TOKEN_DATA
    bne @next
    lda #$20
    sta inquote
    bne @next
@rest_verbatim:
    lda #$80
    sta inquote
    bne @next
@print_shorthand:
    lda #TOKEN_PRINT
    bne @store
@data:
    cmp #':'
    bne @store
    ldy #0
    sty inquote
    beq @store
@open_quote:
    lda inquote
    ora #$40
    sta inquote
    lda #'"'
    bne @store
@in_quotes:
    cmp #'"'
    bne @store
    lda inquote
    and #$BF
    sta inquote
    lda #'"'
@store:
    ldy wrpos
    sta buf,y
    inc wrpos
    inc rdpos
    jmp @next
@finish:
    ldy wrpos
    sta buf,y
    sta buf+1,y
    sta buf+2,y
    rts

; Tries every keyword at buf+rdpos; on a match returns carry set with the token in A and
; rdpos past the keyword, else carry clear with A unchanged.
match_keyword:
    pha
    lda #<keywords
    sta index
    lda #>keywords
    sta index+1
    lda #$80
    sta token
@try:
    ldx rdpos
    ldy #0
    lda (index),y
    beq @none
@compare:
    lda (index),y
    and #$7F
    cmp buf,x
    beq @same
    ora #$80                ; a letter typed with shift ends an abbreviation: F, shifted O is FOR
    cmp buf,x
    beq @found
    bne @skip
@same:
    lda (index),y
    bmi @found
    inx
    iny
    bne @compare
@skip:
    lda (index),y
    bmi @skipped
    iny
    bne @skip
@skipped:
    iny
    tya
    clc
    adc index
    sta index
    bcc @advanced
    inc index+1
@advanced:
    inc token
    jmp @try
@none:
    pla
    clc
    rts
@found:
    inx
    stx rdpos
    pla
    lda token
    sec
    rts

; Prints the keyword of token A.
print_keyword:
    sec
    sbc #$80
    tax
    lda #<keywords
    sta index2
    lda #>keywords
    sta index2+1
    ldy #0
@find:
    dex
    bmi @print
@skip:
    lda (index2),y
    inc index2
    bne @advanced
    inc index2+1
@advanced:
    asl
    bcc @skip
    bcs @find
@print:
    lda (index2),y
    pha
    and #$7F
    jsr CHROUT
    iny
    pla
    bpl @print
    rts
