; print.s: PRINT. Items: expressions (numbers as the package formats them with a blank after,
; strings as they are), ';' (no gap), ',' (to the next 10-column zone), TAB( and SPC(; a list
; not ending in ';' or ',' ends the line. On a file (PRINT#, CMD) the gaps are blanks, on the
; screen steps to the right.
; Called by: the statement table, PRINT# and CMD; INPUT prints its prompt through
; statement_print_string.

.include "zeropage.inc"
.macpack longbranch

.export statement_print, statement_print_string
.import eval, eval_byte, expect_close, free_fac_string, print_string

.segment "BASIC2"

statement_print:
    beq @newline
@item:
    cmp #TOKEN_TAB
    beq @tab
    cmp #TOKEN_SPC
    beq @spc
    cmp #','
    beq @comma
    cmp #';'
    beq @semicolon
    jsr eval
    bit valtyp
    bmi @string
    jsr fout
    lda #<fbuffr
    ldy #>fbuffr
    jsr print_string
    lda #' '
    jsr CHROUT
    jmp @after
@string:
    jsr statement_print_string
@after:
    jsr chrgot
    bne @item
@newline:
    lda #$0D
    jmp CHROUT
@semicolon:
    jsr chrget
    bne @item
    rts
@comma:
    jsr skip_char
    jsr column
@zone:
    cmp #10
    bcc @in_zone
    sbc #10
    bcs @zone
@in_zone:
    cmp #0
    bne @comma
    jsr chrget
    bne @item
    rts
@tab:
    jsr spaces_argument
    sta count
    jsr column
    sta count+1
    lda count
    sec
    sbc count+1
    bcc @after
    beq @after
    bcs @spaces
@spc:
    jsr spaces_argument
@spaces:
    tax
    beq @after
@space:
    jsr skip_char
    dex
    bne @space
    beq @after

; A space on a file, a step right on the screen.
skip_char:
    lda #' '
    ldy channel
    bne @out
    lda #$1D
@out:
    jmp CHROUT

spaces_argument:
    jsr chrget
    jsr eval_byte
    jsr expect_close
    txa
    rts

; The string FAC describes.
statement_print_string:
    jsr free_fac_string
    sta count
    ldy #0
@next:
    cpy count
    beq @done
    lda (index),y
    jsr CHROUT
    iny
    bne @next
@done:
    rts

; Cursor column in A.
column:
    sec
    jsr PLOT
    tya
    rts
