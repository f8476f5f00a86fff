; input.s: keyboard input. GETIN takes one character from the keyboard buffer; CHRIN lets the
; user edit on the screen until RETURN and then hands out the logical line under the cursor,
; one character per call, ending with RETURN. When the line is the one the input started on,
; it is read from the column where the input started, so a program's prompt is not read back.
; Left out: input from other devices (a device other than the keyboard reads as RETURN).
; Called by: CHRIN through $0324, GETIN through $032A, BASIC's line input.

.include "zeropage.inc"

.export chrin, getin
.import print_char, cursor_off, set_line, row_lo, row_hi

.segment "KERNAL"

getin:
    lda dfltn
    bne @nothing
    lda ndx
    beq @nothing
    jsr take_key
@nothing:
    clc
    rts

; The first character of the buffer; the rest move up.
take_key:
    sei
    ldy keybuf
    ldx #0
@shift:
    lda keybuf+1,x
    sta keybuf,x
    inx
    cpx ndx
    bcc @shift
    dec ndx
    tya
    cli
    rts

chrin:
    lda dfltn
    beq @keyboard
    lda #$0D
    clc
    rts
@keyboard:
    txa
    pha
    tya
    pha
    lda crsw
    bne @hand_out
    lda tblx                ; where this input starts
    sta readend
    lda pntr
    sta readpos
@wait:
    lda #0
    sta blnsw
@idle:
    lda ndx
    beq @idle
    jsr cursor_off
    jsr take_key
    cmp #$0D
    beq @entered
    jsr print_char
    jmp @wait
@entered:
    jsr take_line
@hand_out:
    ldy readpos
    cpy readend
    bcs @last
    inc readpos
    lda (readptr),y
    jsr to_petscii
    jmp @done
@last:
    lda #0
    sta crsw
    lda #$0D
    jsr print_char
    lda #$0D
@done:
    sta lastch
    pla
    tay
    pla
    tax
    lda lastch
    clc
    rts

; Marks the logical line under the cursor for handing out: readptr at its first row, readpos
; at its first column (the start column when input began on that row), readend one past its
; last non-blank character; the cursor goes to its last row so RETURN leaves it cleanly.
take_line:
    ldx tblx
    lda links,x
    beq @first_row
    dex
@first_row:
    cpx readend             ; readend still holds the row where input began
    beq @keep_column
    lda #0
    sta readpos
@keep_column:
    lda row_lo,x
    sta readptr
    lda row_hi,x
    clc
    adc hibase
    sta readptr+1
    ldy #39
    cpx #24
    bcs @one_row
    lda links+1,x
    beq @one_row
    ldy #79
    inx
@one_row:
    stx tblx
    jsr set_line
@trim:
    lda (readptr),y
    cmp #$20
    bne @found_end
    dey
    bpl @trim
@found_end:
    iny
    sty readend
    lda #1
    sta crsw
    rts

; Screen code to the PETSCII character that prints it.
to_petscii:
    and #$7F
    cmp #$20
    bcs @not_letter
    ora #$40
    rts
@not_letter:
    cmp #$40
    bcc @done
    cmp #$60
    bcs @graphics
    ora #$80
    rts
@graphics:
    clc
    adc #$40
@done:
    rts
