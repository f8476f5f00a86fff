; editor.s: the screen editor, $E500-$EA30: the 40 x 25 text screen as 80-column logical lines
; (the line links at $D9-$F2 say which rows continue the row above), printing with the PETSCII
; controls (RETURN, cursor keys, CLR/HOME, INST/DEL, the 16 colours, RVS ON/OFF, the character
; set switches), quote and insert modes, scrolling, and reading an entered line back off the
; screen for CHRIN. pnt ($D1) points at the first row of the cursor's logical line and pntr
; ($D3) counts columns across both of its rows, so (pnt),y reaches the whole line.
; Every routine programs call directly sits at its usual address.
; Left out: separate entries for opening a blank row ($E965) and moving a row ($E9C8).
; Called by: CHROUT and CHRIN for the screen and keyboard, CINT, PLOT, the cursor blink.

.include "zeropage.inc"
.include "layout.inc"

.export iobase, screen, plot, cint_screen, kbdread
.export screen_read, print_screen, store_char, upd_cram
.import vic_table, load_run_text, row_low, keylog_default

sal = $AC                   ; $AC/$AD source row while moving rows

.segment "EDITOR"
.org $E500

iobase:                     ; $E500 IOBASE
    ldx #<cia1
    ldy #>cia1
    rts
    at $E505
screen:                     ; $E505 SCREEN: columns and rows
    ldx #40
    ldy #25
    rts
    at $E50A
; PLOT: carry set reads the cursor into X (row) and Y (column of the logical line); carry clear
; moves it to row X, column Y.
plot:
    bcs @read
    stx tblx
    sty pntr
    jsr set_pointers
@read:
    ldx tblx
    ldy pntr
    rts

    at $E518
; Screen and keyboard to their start-up state, then a clear screen.
cint_screen:
    jsr init_vic
    lda #0
    sta mode
    sta blnon
    lda #<keylog_default
    sta keylog
    lda #>keylog_default
    sta keylog+1
    lda #10
    sta xmax
    sta delay
    lda #14
    sta color
    lda #4
    sta kount
    lda #12
    sta blnct
    sta blnsw

    at $E544
; Every row blank in the text colour, each one a logical line of its own; the cursor home.
clear_screen:
    lda hibase
    ora #$80
    tay
    lda #0
    tax
@link:                      ; the 25 rows and the sentinel after them
    sty ldtb1,x
    clc
    adc #40
    bcc @same_page
    iny
@same_page:
    inx
    cpx #26
    bne @link
    ldx #24
@row:
    jsr clear_line
    dex
    bpl @row

    at $E566
home:
    ldy #0
    sty pntr
    sty tblx

    at $E56C
; pnt, user and lnmx for the cursor at row tblx, column pntr: a cursor on the second row of a
; logical line counts its column from the first row.
set_pointers:
    ldx tblx
@find_start:
    lda ldtb1,x
    bmi @start
    lda pntr
    clc
    adc #40
    sta pntr
    dex
    bpl @find_start
    inx
@start:
    jsr set_row_pnt
    lda #39
    ldy ldtb1+1,x
    bmi @one_row
    lda #79
@one_row:
    sta lnmx
    jmp upd_cram

    at $E5A0
; The default devices and the VIC-II's registers from the start-up table.
init_vic:
    lda #3
    sta dflto
    lda #0
    sta dfltn
    ldx #$2F
@copy:
    lda vic_table-1,x
    sta vic-1,x
    dex
    bne @copy
    rts

    at $E5B4
; KBDREAD: the first key of the buffer in A, the rest moved up; the caller makes sure there is one.
kbdread:
    ldy keyd
    ldx #0
@shift:
    lda keyd+1,x
    sta keyd,x
    inx
    cpx ndx
    bne @shift
    dec ndx
    tya
    cli
    clc
    rts

    at $E5CA
; The user edits on the screen with the cursor blinking until RETURN; the logical line under
; the cursor is then handed out from screen_read. Shifted RUN/STOP types LOAD and RUN.
screen_input:
    lda ndx
    sta blnsw               ; the cursor blinks while no key waits
    beq screen_input
    sei
    lda blnon
    beq @cursor_hidden
    lda gdbln
    ldx gdcol
    ldy #0
    sty blnon
    jsr store_char_colour
@cursor_hidden:
    jsr kbdread
    cmp #$83
    bne @not_load_run
    ldx #9
    sei
    stx ndx
@copy:
    lda load_run_text-1,x
    sta keyd-1,x
    dex
    bne @copy
    beq screen_input
@not_load_run:
    cmp #$0D
    beq @entered
    jsr print_screen
    jmp screen_input
@entered:
    ldy lnmx
    sty crsw
@trim:                      ; column 0 counts even when blank: an empty line reads as a blank
    lda (pnt),y
    cmp #' '
    bne @last
    dey
    bne @trim
@last:
    iny
    sty indx
    ldy #0
    sty qtsw
    jsr input_start_column
    cmp indx                ; input began past the end of what was typed: an empty line
    bcc @start
    lda indx
@start:
    sta pntr
    jmp read_entered

    at $E632
; CHRIN from the keyboard or the screen: the next character of the entered line, RETURN at its
; end. X and Y are kept.
screen_read:
    tya
    pha
    txa
    pha
    lda crsw
    bne read_entered
    jmp screen_input
read_entered:
    ldy pntr
    lda (pnt),y
    sta data
    and #$3F
    asl data                ; carry: reverse; N, V: bits 6 and 5 of the screen code
    bit data
    bpl @not_graphic
    ora #$80
@not_graphic:
    bcc @plain
    ldx qtsw                ; reverse symbols between quotes are the control codes they show
    bne @converted
@plain:
    bvs @converted
    ora #$40
@converted:
    inc pntr
    jsr quote_test
    cpy indx                ; the column at indx is not handed out: RETURN stands for it
    bne @return
@end_of_line:                ; the cursor stays: the caller moves on to the next line itself
    lda #0
    sta crsw
    lda #$0D
@return:
    sta data
    pla
    tax
    pla
    tay
    lda data
    clc
    rts

    at $E684
; A quote mark switches quote mode.
quote_test:
    cmp #'"'
    bne @done
    lda qtsw
    eor #1
    sta qtsw
    lda #'"'
@done:
    rts

; Prints screen code A at the cursor (reversed while rvs is on) and moves the cursor on.
put_code:
    ldx rvs
    beq @not_reverse
    ora #$80
@not_reverse:
    ldx insrt
    beq @stored
    dec insrt
@stored:
    ldx color
    jsr store_char_colour
; The cursor one column on: onto the second row, growing the line to two rows, or past the
; end of an 80-column line to the next line.
advance:
    ldy pntr
    cpy lnmx
    bcc @step
    cpy #79
    beq @past_end
    jsr grow_line
@step:
    inc pntr
    lda pntr
    cmp #40
    bne @done
    inc tblx
@done:
    rts
@past_end:
    jmp next_line

    at $E716
; Prints A on the screen; A, X and Y are kept, carry clear.
print_screen:
    pha
    sta data
    txa
    pha
    tya
    pha
    lda #0
    sta crsw
    lda data
    bmi @high
    cmp #$0D
    beq @return
    cmp #' '
    bcc @low_control
    jsr quote_test_if_not_inserting
    cmp #$60
    bcc @upper
    and #$DF
    bne @put
@upper:
    and #$3F
@put:
    jsr put_code
    jmp restore_and_return
@return:
    jsr carriage_return
    jmp restore_and_return
@high:
    and #$7F
    cmp #$7F
    bne @not_pi
    lda #$5E
    bne @put
@not_pi:
    cmp #' '
    bcs @shifted
    cmp #$0D                ; shifted RETURN
    beq @return
    cmp #$14                ; INST acts in quote mode too
    beq @control_high
    ldx qtsw
    bne @quoted_high
    ldx insrt
    bne @quoted_high
@control_high:
    ora #$80
    jsr control
    jmp restore_and_return
@quoted_high:
    ora #$40
    bne @reverse
@shifted:
    ora #$40
    bne @put
@low_control:
    cmp #$14
    beq @delete
    ldx qtsw
    bne @reverse
    ldx insrt
    bne @reverse
    jsr control
    jmp restore_and_return
@delete:
    ldx insrt
    bne @reverse
    jsr delete
    jmp restore_and_return
@reverse:
    ora #$80
    ldx insrt
    beq @keep_reverse
    dec insrt
@keep_reverse:
    ldx color
    jsr store_char_colour
    jsr advance
restore_and_return:
    pla
    tay
    pla
    tax
    pla
    clc
    rts

quote_test_if_not_inserting:
    ldx insrt
    bne @done
    jmp quote_test
@done:
    rts

; The control codes outside quote mode.
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
    .byte $11, $91, $1D, $9D, $13, $93, $12, $92, $94, $0E, $8E, $08, $09
control_count = * - control_codes
control_low:
    .lobytes cursor_down-1, cursor_up-1, cursor_right-1, cursor_left-1, home-1, clear_screen-1
    .lobytes rvs_on-1, rvs_off-1, insert-1, lower_case-1, upper_case-1, lock_case-1
    .lobytes unlock_case-1
control_high:
    .hibytes cursor_down-1, cursor_up-1, cursor_right-1, cursor_left-1, home-1, clear_screen-1
    .hibytes rvs_on-1, rvs_off-1, insert-1, lower_case-1, upper_case-1, lock_case-1
    .hibytes unlock_case-1

    at $E87C
; The cursor to column 0 of the row after its logical line, scrolling at the bottom.
next_line:
    ldy #0
    ldx tblx
    lda ldtb1+1,x           ; on the first row of a two-row line: past its second row
    bmi @below
    inx
@below:
    inx
    jmp place_cursor

    at $E891
; RETURN: quote, insert and reverse modes end, the cursor goes to the next line.
carriage_return:
    lda #0
    sta insrt
    sta rvs
    sta qtsw
    beq next_line

    at $E8DA
colour_codes:
    .byte $90, $05, $1C, $9F, $9C, $1E, $1F, $9E, $81, $95, $96, $97, $98, $99, $9A, $9B

    at $E8EA
; Moves every row up by one with its link and blanks the bottom row; repeats while the top row
; continues a line that has gone. The cursor and the input start move up with the text.
scroll_up:
    ldx #0
@row:
    ldy ldtb1+1,x
    jsr move_row_down_to_x
    inx
    cpx #24
    bne @row
    lda ldtb1+24
    ora #$80
    sta ldtb1+24
    jsr clear_line
    dec tblx
    dec lxsp
    lda ldtb1
    bpl scroll_up
    lda #$7F                ; CTRL held slows the scrolling down so it can be read
    sta cia1
    lda cia1+1
    and #$04
    bne @done
    ldy #0
@wait:
    nop
    dex
    bne @wait
    dey
    bne @wait
@done:
    rts

; Row X+1 (whose link is in Y) copied onto row X, link bit included.
move_row_down_to_x:
    tya
    and #$80
    sta data
    lda ldtb1,x
    and #$7F
    ora data
    sta ldtb1,x
    txa
    tay
    iny
    jmp copy_row

    at $E9F0
; pnt at row X of the screen.
set_row_pnt:
    lda row_low,x
    sta pnt
    lda ldtb1,x
    and #$03
    ora hibase
    sta pnt+1
    rts

    at $E9FF
; Row X blank in the text colour; pnt and user are left on it.
clear_line:
    ldy #39
    jsr set_row_pointers
@blank:
    lda color
    sta (user),y
    lda #' '
    sta (pnt),y
    dey
    bpl @blank
    rts

    at $EA13
; Screen code A with colour X at the cursor; the blink shows the cursor soon after.
store_char_colour:
    pha
    lda #2
    sta blnct
    jsr upd_cram
    pla
store_char:                 ; $EA1C
    ldy pntr
    sta (pnt),y
    txa
    sta (user),y
    rts
upd_cram:                   ; $EA24: user follows pnt into colour memory
    lda pnt
    sta user
    lda pnt+1
    and #$03
    ora #>colram
    sta user+1
    rts

.reloc

.segment "EDITOR2"

; pnt and user at row X.
set_row_pointers:
    jsr set_row_pnt
    jmp upd_cram

; The cursor to physical row X, column Y, scrolling when X is 25.
place_cursor:
    sty pntr
    cpx #25
    bcc @on_screen
    dex                     ; the text moves up by as many rows as the scroll takes
    stx tblx
    jsr scroll_up
    ldx tblx
    inx
@on_screen:
    stx tblx
    jmp set_pointers

; The cursor's column on its own row in Y.
row_column:
    lda pntr
    cmp #40
    bcc @first
    sbc #40
@first:
    tay
    rts

cursor_down:
    jsr row_column
    ldx tblx
    inx
    bne place_cursor

cursor_up:
    jsr row_column
    ldx tblx
    beq @top
    dex
    bpl place_cursor
@top:
    rts

cursor_right:
    jsr row_column
    ldx tblx
    iny
    cpy #40
    bcc place_cursor
    ldy #0
    inx
    bne place_cursor

cursor_left:
    jsr row_column
    ldx tblx
    dey
    bpl place_cursor
    ldy #39
    dex
    bpl place_cursor
    rts

rvs_on:
    lda #$12
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
lock_case:
    lda #$80
    sta mode
    rts
unlock_case:
    lda #0
    sta mode
    rts

; The one-row line at the cursor grows a second row (after a scroll when it is the bottom row):
; the row below joins it as it stands, and a row that continued that one starts a line of its own.
grow_line:
    ldx tblx
    cpx #24
    bcc @room
    jsr scroll_up
    ldx tblx
@room:
    lda ldtb1+1,x
    and #$7F
    sta ldtb1+1,x
    lda ldtb1+2,x
    ora #$80
    sta ldtb1+2,x
    jmp set_pointers

; DEL: the character left of the cursor goes and the rest of the logical line closes up; at the
; start of a line the cursor only moves back to the end of the row above.
delete:
    ldy pntr
    bne @inside
    jmp cursor_left
@inside:
    jsr cursor_left
    ldy pntr
@shift:
    cpy lnmx
    bcs @last
    iny
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
    lda #' '
    sta (pnt),y
    lda color
    sta (user),y
    rts

; INST: a blank opens at the cursor when the line has room at its end (a full one-row line
; grows a second row); the next characters typed fill it without acting as controls.
insert:
    ldy lnmx
    lda (pnt),y
    cmp #' '
    beq @room
    cpy #79
    beq @done
    jsr grow_line
    ldy lnmx
@room:
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
    bcs @room               ; always: cpy left carry set
@blank:
    lda #' '
    sta (pnt),y
    lda color
    sta (user),y
    inc insrt
    bne @done
    dec insrt
@done:
    rts

; Input began at lxsp: when that is on the entered logical line, reading starts at its column,
; so a prompt printed before the input is not read back; otherwise at column 0.
input_start_column:
    lda lxsp
    ldx lxsp+1
    cpx #40
    bcc @input_row
    sbc #1                  ; carry is set here
@input_row:
    sta data
    lda tblx
    ldx pntr
    cpx #40
    bcc @cursor_row
    sbc #1
@cursor_row:
    cmp data
    bne @from_start
    lda lxsp+1
    rts
@from_start:
    lda #0
    rts

; Copies row Y onto row X, characters and colours; pnt and user are left on row X.
copy_row:
    tya
    pha
    lda row_low,y
    sta sal
    lda ldtb1,y
    and #$03
    ora hibase
    sta sal+1
    jsr set_row_pointers
    ldy #39
@characters:
    lda (sal),y
    sta (pnt),y
    dey
    bpl @characters
    lda sal+1
    and #$03
    ora #>colram
    sta sal+1
    ldy #39
@colours:
    lda (sal),y
    sta (user),y
    dey
    bpl @colours
    pla
    tay
    rts
