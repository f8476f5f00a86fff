; editor.s: the screen editor's output side: CHROUT to the 40 x 25 text screen with the PETSCII
; controls (RETURN, CLR/HOME, HOME, the four cursor moves, the 16 colours, RVS ON/OFF, DEL, INST,
; the character-set switches), quote mode, scrolling, PLOT and the cursor blink.
; A logical line is at most two rows: printing past column 39 continues it on the next row.
; Left out: insert mode after INST (INST opens one blank and nothing more), the CTRL slow-down
; while scrolling and screen output to other devices.
; Called by: CHROUT through $0326, CHRIN (echo of typed keys), the IRQ handler (blink), CINT.

.include "zeropage.inc"

.export chrout, print_char, clear_screen, plot, blink, cursor_off, set_line, row_lo, row_hi

.segment "KERNAL"

; CHROUT: prints A on the screen; A, X and Y are kept, carry clear.
chrout:
    pha
    sta lastch
    txa
    pha
    tya
    pha
    lda lastch
    jsr print_char
    pla
    tay
    pla
    tax
    pla
    clc
    rts

print_char:
    sta lastch
    cmp #$0D
    beq carriage_return
    cmp #$8D
    beq carriage_return
    cmp #$FF
    beq @printable
    and #$7F
    cmp #$20
    lda lastch
    bcs @printable
    cmp #$14                ; DEL works inside quotes too
    bne @not_delete
    jmp delete
@not_delete:
    ldx qtsw
    bne @quoted_control
    jmp control
@quoted_control:
    cmp #$80                ; shown as the reversed glyph: $00-$1F as @..., $80-$9F as shifted
    bcc @reverse
    sbc #$40
@reverse:
    ora #$80
    jmp put_screen_code
@printable:
    cmp #'"'
    bne @convert
    lda qtsw
    eor #1
    sta qtsw
    lda #'"'
@convert:
    jsr to_screen_code
    ora rvs
    jmp put_screen_code

; PETSCII $20-$7F, $A0-$FF to screen code.
to_screen_code:
    cmp #$FF
    beq @pi
    cmp #$40
    bcc @done
    cmp #$60
    bcc @minus40
    cmp #$80
    bcc @minus20
    cmp #$C0
    bcc @minus40
    and #$7F                ; $C0-$FE: minus $80
    rts
@minus20:
    and #$DF
    rts
@minus40:
    sec
    sbc #$40
@done:
    rts
@pi:
    lda #$5E
    rts

put_screen_code:
    ldy pntr
    sta (pnt),y
    lda color
    sta (user),y
    iny
    cpy #40
    bcc @same_row
    jsr row_down
    ldx tblx                ; the new row continues this one, unless this one already continues
    lda links-1,x
    eor #$80
    sta links,x
    ldy #0
@same_row:
    sty pntr
    rts

carriage_return:
    lda #0
    sta rvs
    sta qtsw
    sta pntr
    ldx tblx                ; go past the rest of the logical line
    cpx #24
    bcs @next
    lda links+1,x
    beq @next
    inc tblx
@next:
    jsr row_down
    ldx tblx
    lda #0
    sta links,x
    rts

; The cursor one row down, scrolling at the bottom.
row_down:
    lda tblx
    cmp #24
    bcc @down
    jsr scroll_up
    jmp set_line
@down:
    inc tblx
    jmp set_line

control:
    ldx #control_count-1
@find:
    cmp control_codes,x
    beq @found
    dex
    bpl @find
    ldx #15
@colour:
    cmp colour_codes,x
    beq @set_colour
    dex
    bpl @colour
    rts
@set_colour:
    stx color
    rts
@found:
    lda control_high,x
    pha
    lda control_low,x
    pha
    rts

control_codes:
    .byte $11, $91, $1D, $9D, $13, $93, $12, $92, $94, $0E, $8E
control_count = * - control_codes
control_low:
    .lobytes cursor_down-1, cursor_up-1, cursor_right-1, cursor_left-1, home-1, clear_screen-1
    .lobytes rvs_on-1, rvs_off-1, insert-1, lower_case-1, upper_case-1
control_high:
    .hibytes cursor_down-1, cursor_up-1, cursor_right-1, cursor_left-1, home-1, clear_screen-1
    .hibytes rvs_on-1, rvs_off-1, insert-1, lower_case-1, upper_case-1

colour_codes:
    .byte $90, $05, $1C, $9F, $9C, $1E, $1F, $9E, $81, $95, $96, $97, $98, $99, $9A, $9B

cursor_down = row_down

cursor_up:
    lda tblx
    beq @top
    dec tblx
    jmp set_line
@top:
    rts

cursor_right:
    inc pntr
    lda pntr
    cmp #40
    bcc @done
    lda #0
    sta pntr
    jmp row_down
@done:
    rts

cursor_left:
    lda pntr
    beq @previous_row
    dec pntr
    rts
@previous_row:
    lda tblx
    beq @done
    lda #39
    sta pntr
    dec tblx
    jmp set_line
@done:
    rts

rvs_on:
    lda #$80
    sta rvs
    rts

rvs_off:
    lda #0
    sta rvs
    rts

lower_case:
    lda vic+$18
    ora #$02
    sta vic+$18
    rts

upper_case:
    lda vic+$18
    and #$FD
    sta vic+$18
    rts

; DEL: the character left of the cursor goes, the rest of the row closes up.
delete:
    ldy pntr
    beq @done
    dey
    sty pntr
@shift:
    iny
    cpy #40
    bcs @last
    lda (pnt),y
    dey
    sta (pnt),y
    iny
    lda (user),y
    dey
    sta (user),y
    iny
    bne @shift
@last:
    ldy #39
    lda #$20
    sta (pnt),y
    lda color
    sta (user),y
@done:
    rts

; INST: opens a blank at the cursor when the row's last column is free.
insert:
    ldy #39
    lda (pnt),y
    cmp #$20
    bne @done
@shift:
    cpy pntr
    beq @blank
    dey
    lda (pnt),y
    iny
    sta (pnt),y
    dey
    lda (user),y
    iny
    sta (user),y
    dey
    jmp @shift
@blank:
    lda #$20
    sta (pnt),y
    lda color
    sta (user),y
@done:
    rts

home:
    lda #0
    sta tblx
    sta pntr
    jmp set_line

clear_screen:
    ldx #24
@row:
    lda #0
    sta links,x
    jsr clear_row
    dex
    bpl @row
    bmi home

; Blanks row X in the text colour; keeps X.
clear_row:
    jsr row_pointers
    ldy #39
@blank:
    lda #$20
    sta (srcptr),y
    lda color
    sta (srccol),y
    dey
    bpl @blank
    rts

; srcptr and srccol point at row X of the screen and of colour memory.
row_pointers:
    lda row_lo,x
    sta srcptr
    sta srccol
    lda row_hi,x
    ora #$D8
    sta srccol+1
    lda row_hi,x
    clc
    adc hibase
    sta srcptr+1
    rts

; Moves every row up by one and blanks the bottom row.
scroll_up:
    ldx #0
@row:
    jsr set_row_as_target
    inx
    jsr row_pointers
    ldy #39
@copy:
    lda (srcptr),y
    sta (pnt),y
    lda (srccol),y
    sta (user),y
    dey
    bpl @copy
    lda links,x
    sta links-1,x
    cpx #24
    bcc @row
    lda #0
    sta links+24
    jmp clear_row

; pnt and user point at row X.
set_row_as_target:
    jsr row_pointers
    lda srcptr
    sta pnt
    sta user
    lda srcptr+1
    sta pnt+1
    lda srccol+1
    sta user+1
    rts

; pnt and user follow the cursor row.
set_line:
    txa
    pha
    ldx tblx
    jsr set_row_as_target
    pla
    tax
    rts

row_lo:
    .repeat 25, row
    .byte <(row * 40)
    .endrepeat
row_hi:
    .repeat 25, row
    .byte >(row * 40)
    .endrepeat

; PLOT: carry set reads the cursor into X (row) and Y (column); carry clear moves it there.
plot:
    bcs @read
    stx tblx
    sty pntr
    jsr set_line
@read:
    ldx tblx
    ldy pntr
    rts

; One clock tick of the cursor blink, while blnsw allows it.
blink:
    lda blnsw
    bne @done
    dec blnct
    bne @done
    lda #20
    sta blnct
    ldy pntr
    lda blnon
    eor #1
    sta blnon
    beq @restore
    lda (pnt),y
    sta gdbln
    eor #$80
    sta (pnt),y
    lda (user),y
    sta gdcol
    lda color
    sta (user),y
@done:
    rts
@restore:
    lda gdbln
    sta (pnt),y
    lda gdcol
    sta (user),y
    rts

; Stops the blink and puts back what the cursor covered.
cursor_off:
    sei
    lda #1
    sta blnsw
    lda blnon
    beq @done
    lda #0
    sta blnon
    ldy pntr
    lda gdbln
    sta (pnt),y
    lda gdcol
    sta (user),y
@done:
    cli
    rts
