; input.s: INPUT, INPUT#, GET, GET#, READ and RESTORE. Each item read goes into its variable as
; LET would store it: a number read as from program text, a string quoted or up to the next
; ',' or ':'. INPUT prompts "? " (and "?? " for more items), answers a bad number with
; ?REDO FROM START and runs the statement again, and says ?EXTRA IGNORED for items left over.
; READ takes DATA items in program order from datptr; past the last, ?OUT OF DATA.
; Called by: the statement table.

.include "zeropage.inc"
.macpack longbranch

.export statement_input, statement_input_file, statement_get, statement_read
.export statement_restore, restore_data
.import syntax_error, error, error_in_direct, print_string, expect_char, check_string
.import find_var, text_string, make_temp, assign_string, input_line
.import string_literal, free_fac_string, statement_print_string, open_input, close_channel
.import statement_data, store_number, enter_next_line, char_string

input_stack = $12       ; the stack pointer INPUT started with

.segment "SPARE"

statement_restore:
    jsr check_end
restore_data:
    lda txttab
    sec
    sbc #1
    sta datptr
    lda txttab+1
    sbc #0
    sta datptr+1
    rts

check_end:
    bne @syntax
    rts
@syntax:
    jmp syntax_error

; INPUT#file, variables: lines from the file, no prompts.
statement_input_file:
    jsr open_input          ; a file that is not open is the first complaint
    jsr error_in_direct
    jsr input_items
    jmp close_channel

; INPUT ["prompt";] variables.
statement_input:
    jsr error_in_direct
    lda txtptr+1            ; ?REDO FROM START runs the statement again from here
    pha
    lda txtptr
    pha
    tsx
    stx input_stack
    jsr chrgot
    cmp #'"'
    bne @items
    jsr string_literal
    jsr statement_print_string
    lda #';'
    jsr expect_char
@items:
    jsr input_items
    pla
    pla
    rts

input_items:
    jsr ask
    sta inpptr
    sty inpptr+1
    lda buf
    bne @read
    jmp statement_data      ; an empty answer leaves the variables as they are
@read:
    lda #0
    sta inpflg
    jsr read_items
    ldy #0
    lda (inpptr),y
    beq @done
    lda channel
    bne @done
    lda #<extra_text
    ldy #>extra_text
    jmp print_string
@done:
    rts

; Prints "? " (for the screen) and reads a line into buf; A/Y: the place before its first item.
ask:
    lda channel
    bne @read
    lda #<ask_text
    ldy #>ask_text
    jsr print_string
@read:
    jsr input_line
    lda #','
    sta buf-1
    lda #<(buf-1)
    ldy #>(buf-1)
    rts

extra_text:
    .byte "?EXTRA IGNORED", $0D, 0
redo_text:
    .byte "?REDO FROM START", $0D, 0
more_text:
    .byte "?", 0
ask_text:
    .byte "? ", 0

; READ variables.
statement_read:
    lda datptr
    sta inpptr
    lda datptr+1
    sta inpptr+1
    lda #$98
    sta inpflg
    jsr read_items
    lda inpptr
    sta datptr
    lda inpptr+1
    sta datptr+1
    rts

; For each variable of the statement: the next item from inpptr into it.
read_items:
    jsr find_var
    lda varpnt
    sta forpnt
    lda varpnt+1
    sta forpnt+1
    lda valtyp
    pha
    lda intflg
    pha
    jsr swap_pointers
    jsr next_item
    pla
    sta intflg
    pla
    sta valtyp
    jsr read_item
    jsr swap_pointers
    jsr chrgot
    beq @done
    lda #','
    jsr expect_char
    jmp read_items
@done:
    rts

swap_pointers:
    ldx #1
@byte:
    lda txtptr,x
    ldy inpptr,x
    sta inpptr,x
    sty txtptr,x
    dex
    bpl @byte
    rts

; Moves the text pointer (now in the items) before the next item: past a ',' it is there; at the
; end of INPUT's line another line is asked for; READ looks for the next DATA statement.
next_item:
    ldy #0
    lda (txtptr),y
    cmp #','
    beq @have
    bit inpflg
    bmi @data
    cmp #0                  ; INPUT's line ends at its end or at a ':'
    beq @more
    cmp #':'
    bne @bad
@more:
    lda channel
    bne @ask
    lda #<more_text
    ldy #>more_text
    jsr print_string
@ask:
    jsr ask
    sta txtptr
    sty txtptr+1
@have:
    rts
@bad:
    jmp redo
@data:
    cmp #TOKEN_DATA
    beq @have
    tax                     ; at ':' or the end of a line: on to the next statement
    beq @line_end
@statement:
    jsr chrget
    cmp #TOKEN_DATA
    beq @have
@data_skip:
    jsr statement_data
    ldy #0
    lda (txtptr),y
    bne @statement
@line_end:
    jsr enter_next_line
    beq @out
    stx datlin
    sta datlin+1
    jmp @statement
@out:
    jsr swap_pointers
    ldx #ERR_OUT_OF_DATA
    jmp error

; The item after the text pointer into the variable at forpnt (valtyp, intflg as the variable's).
read_item:
    bit valtyp
    bpl @number
    jsr chrget
    cmp #'"'
    beq @quoted
    lda txtptr              ; unquoted: the text from here to ',' or ':'
    bne @back
    dec txtptr+1
@back:
    dec txtptr
    lda #','
    ldx #':'
    jsr text_string
    jmp assign_string
@quoted:
    jsr string_literal
    jmp assign_string
@number:
    jsr chrget
    jsr fin
    jsr chrgot
    beq @store
    cmp #','
    beq @store
    jmp redo
@store:
    jmp store_number

; A bad number: READ's is a syntax error in its DATA line; INPUT's asks again.
redo:
    bit inpflg
    bpl @input
    lda datlin
    sta curlin
    lda datlin+1
    sta curlin+1
    jmp syntax_error
@input:
    lda channel
    beq @again
    ldx #ERR_FILE_DATA
    jmp error
@again:
    lda #<redo_text
    ldy #>redo_text
    jsr print_string
    ldx input_stack
    txs
    pla
    sta txtptr
    pla
    sta txtptr+1
    jsr chrgot
    jmp statement_input

; GET variables: the key waiting, or none ("" or 0).
statement_get:
    jsr error_in_direct
    cmp #'#'
    bne get_items
    jsr open_input
    jsr get_items
    jmp close_channel
get_items:
    jsr find_var
    lda varpnt
    sta forpnt
    lda varpnt+1
    sta forpnt+1
    jsr GETIN
    bit valtyp
    bmi @string
    sec
    sbc #'0'
    cmp #10
    bcc @digit
    adc #'0'-1              ; carry set: back to the key; none is 0
    beq @digit
    jmp syntax_error
@digit:
    tay
    jsr sngflt
    jsr store_number
    jmp @next
@string:
    sta fbuffr
    tay
    beq @empty
    jsr char_string
    jmp @assign
@empty:
    ldx frespc
    ldy frespc+1
    jsr make_temp
@assign:
    jsr assign_string
@next:
    jsr chrgot
    beq @done
    lda #','
    jsr expect_char
    jmp get_items
@done:
    rts
