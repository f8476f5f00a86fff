; statements.s: the statement table and the statements that are not about the stored program:
; PRINT, POKE, SYS, WAIT, GOTO, GOSUB, RETURN, IF, FOR, NEXT, REM, DATA, END, STOP and LET.
; FOR and GOSUB keep their frames on the 6510 stack above the zero byte the READY loop puts
; there; NEXT and RETURN search them from the top.
; Left out, answered with ?SYNTAX  ERROR: INPUT, GET, READ, DIM, ON, DEF, CONT, CMD, PRINT#,
; INPUT#, RESTORE and CLOSE; LOAD, SAVE, VERIFY and OPEN answer ?DEVICE NOT PRESENT  ERROR,
; since the machine has no drive or tape.
; Called by: exec_statement in interpreter.s through statement_table.

.include "zeropage.inc"

.export statement_table, let
.import chrget, chrgot, ready, syntax_error, error, exec_statement, check_statement_end
.import statement_new, statement_clr, statement_run, statement_list, goto_line
.import parse_line_number, eval, eval_address, eval_byte, expect_comma, expect_close
.import find_var, print_number, break

.segment "BASIC"

statement_table:
    .word ready                 ; END
    .word statement_for
    .word statement_next
    .word statement_data
    .word syntax_error          ; INPUT#
    .word syntax_error          ; INPUT
    .word syntax_error          ; DIM
    .word syntax_error          ; READ
    .word let
    .word statement_goto
    .word statement_run
    .word statement_if
    .word syntax_error          ; RESTORE
    .word statement_gosub
    .word statement_return
    .word statement_rem
    .word break                 ; STOP
    .word syntax_error          ; ON
    .word statement_wait
    .word device_statement      ; LOAD
    .word device_statement      ; SAVE
    .word device_statement      ; VERIFY
    .word syntax_error          ; DEF
    .word statement_poke
    .word syntax_error          ; PRINT#
    .word statement_print
    .word syntax_error          ; CONT
    .word statement_list
    .word statement_clr
    .word syntax_error          ; CMD
    .word statement_sys
    .word device_statement      ; OPEN
    .word syntax_error          ; CLOSE
    .word syntax_error          ; GET
    .word statement_new

device_statement:
    ldx #ERR_DEVICE
    jmp error

; Skips the rest of the line.
statement_rem:
    ldy #0
@next:
    lda (txtptr),y
    beq @done
    inc txtptr
    bne @next
    inc txtptr+1
    bne @next
@done:
    rts

; Skips to the end of the statement, ':' inside quotes included.
statement_data:
    ldx #0
@next:
    ldy #0
    lda (txtptr),y
    beq @done
    cmp #'"'
    bne @not_quote
    txa
    eor #1
    tax
    jmp @advance
@not_quote:
    cpx #0
    bne @advance
    cmp #':'
    beq @done
@advance:
    inc txtptr
    bne @next
    inc txtptr+1
    bne @next
@done:
    rts

; Variable = expression. Leaves varpnt at the variable, for FOR.
let:
    jsr find_var
    lda varpnt+1
    pha
    lda varpnt
    pha
    jsr chrgot
    cmp #TOKEN_EQUAL
    bne @syntax
    jsr chrget
    jsr eval
    pla
    sta varpnt
    pla
    sta varpnt+1
    ldy #3
@store:
    lda fac,y
    sta (varpnt),y
    dey
    bpl @store
    rts
@syntax:
    jmp syntax_error

statement_goto:
    jsr parse_line_number
    jmp goto_line

statement_gosub:
    jsr parse_line_number
    jsr take_return_address
    lda #GOSUB_FRAME
    jsr check_stack_room
    lda txtptr+1
    pha
    lda txtptr
    pha
    lda curlin+1
    pha
    lda curlin
    pha
    lda #TOKEN_GOSUB
    pha
    jsr goto_line
    jmp give_return_address

statement_return:
    jsr take_return_address
    tsx
@find:
    lda $0101,x
    cmp #TOKEN_GOSUB
    beq @found
    cmp #TOKEN_FOR
    bne @none
    txa
    clc
    adc #FOR_FRAME
    tax
    jmp @find
@none:
    ldx #ERR_RETURN
    jmp error
@found:
    lda $0102,x
    sta curlin
    lda $0103,x
    sta curlin+1
    lda $0104,x
    sta txtptr
    lda $0105,x
    sta txtptr+1
    txa
    clc
    adc #GOSUB_FRAME
    tax
    txs
    jmp give_return_address

; The statement handlers that keep frames set the statement loop's return address aside.
take_return_address:
    pla
    sta index
    pla
    sta index+1
    pla
    sta retsave
    pla
    sta retsave+1
    lda index+1
    pha
    lda index
    pha
    rts

give_return_address:
    lda retsave+1
    pha
    lda retsave
    pha
    rts

; ?OUT OF MEMORY  ERROR unless a frame of A bytes leaves the stack room to work.
check_stack_room:
    sta count
    tsx
    txa
    sec
    sbc count
    cmp #$40
    bcs @fits
    ldx #ERR_OUT_OF_MEMORY
    jmp error
@fits:
    rts

; FOR variable = start TO limit [STEP step]; a loop on the same variable is replaced.
statement_for:
    jsr let
    lda varpnt
    sta forpnt
    lda varpnt+1
    sta forpnt+1
    jsr chrgot
    cmp #TOKEN_TO
    bne @syntax
    jsr chrget
    jsr eval
    ldx #3
@keep_limit:
    lda fac,x
    sta limit,x
    dex
    bpl @keep_limit
    jsr chrgot
    cmp #TOKEN_STEP
    bne @step_one
    jsr chrget
    jsr eval
    jmp @have_step
@syntax:
    jmp syntax_error
@step_one:
    ldx #1
    stx fac
    dex
    stx fac+1
    stx fac+2
    stx fac+3
@have_step:
    jsr check_statement_end
    jsr take_return_address
    tsx
@find:
    lda $0101,x
    cmp #TOKEN_FOR
    bne @push
    txa
    clc
    adc #FOR_FRAME
    tay
    lda $0102,x
    cmp forpnt
    bne @other
    lda $0103,x
    cmp forpnt+1
    bne @other
    tya                     ; drop the old loop and everything opened inside it
    tax
    txs
    jmp @push
@other:
    tya
    tax
    jmp @find
@push:
    lda #FOR_FRAME
    jsr check_stack_room
    lda txtptr+1
    pha
    lda txtptr
    pha
    lda curlin+1
    pha
    lda curlin
    pha
    ldx #3
@push_step:
    lda fac,x
    pha
    dex
    bpl @push_step
    ldx #3
@push_limit:
    lda limit,x
    pha
    dex
    bpl @push_limit
    lda forpnt+1
    pha
    lda forpnt
    pha
    lda #TOKEN_FOR
    pha
    jmp give_return_address

; NEXT [variable[, variable ...]]: frame at $0101+X, offsets: 1 variable, 3 limit, 7 step,
; 11 line, 13 text pointer.
statement_next:
    jsr take_return_address
@again:
    lda #0
    sta forpnt+1
    jsr chrgot
    beq @search
    jsr find_var
    lda varpnt
    sta forpnt
    lda varpnt+1
    sta forpnt+1
@search:
    tsx
@find:
    lda $0101,x
    cmp #TOKEN_FOR
    bne @none
    lda forpnt+1
    beq @found
    cmp $0103,x
    bne @other
    lda forpnt
    cmp $0102,x
    beq @found
@other:
    txa
    clc
    adc #FOR_FRAME
    tax
    jmp @find
@none:
    ldx #ERR_NEXT
    jmp error
@found:
    txs
    lda $0102,x
    sta index
    lda $0103,x
    sta index+1
    ldy #0
    clc
    lda (index),y
    adc $0108,x
    sta (index),y
    sta fac
    iny
    lda (index),y
    adc $0109,x
    sta (index),y
    sta fac+1
    iny
    lda (index),y
    adc $010A,x
    sta (index),y
    sta fac+2
    iny
    lda (index),y
    adc $010B,x
    sta (index),y
    sta fac+3
    sec                     ; arg = limit - value; its sign says which side the value is on
    lda $0104,x
    sbc fac
    sta arg
    lda $0105,x
    sbc fac+1
    sta arg+1
    lda $0106,x
    sbc fac+2
    sta arg+2
    lda $0107,x
    sbc fac+3
    sta arg+3
    bvc @sign_right
    eor #$80
@sign_right:
    sta sign
    lda $010B,x
    bmi @counting_down
    lda sign
    bmi @finished
    bpl @loop_again
@counting_down:
    lda sign
    bmi @loop_again
    lda arg
    ora arg+1
    ora arg+2
    ora arg+3
    bne @finished
@loop_again:
    lda $010C,x
    sta curlin
    lda $010D,x
    sta curlin+1
    lda $010E,x
    sta txtptr
    lda $010F,x
    sta txtptr+1
    jmp give_return_address
@finished:
    txa
    clc
    adc #FOR_FRAME
    tax
    txs
    jsr chrgot
    cmp #','
    bne @done
    jsr chrget
    jmp @again
@done:
    jmp give_return_address

; IF expression THEN statement | line, IF expression GOTO line.
statement_if:
    jsr eval
    jsr chrgot
    cmp #TOKEN_GOTO
    beq @then
    cmp #TOKEN_THEN
    bne @syntax
@then:
    jsr chrget
    lda fac
    ora fac+1
    ora fac+2
    ora fac+3
    bne @true
    jmp statement_rem
@true:
    jsr chrgot
    bcc @line
    jmp exec_statement
@line:
    jsr parse_line_number
    jmp goto_line
@syntax:
    jmp syntax_error

statement_poke:
    jsr eval_address
    lda fac
    pha
    lda fac+1
    pha
    jsr expect_comma
    jsr eval_byte
    tax
    pla
    sta index+1
    pla
    sta index
    txa
    ldy #0
    sta (index),y
    rts

; SYS address: A, X, Y and the status from $030C-$030F, and back there afterwards.
statement_sys:
    jsr eval_address
    lda fac
    sta jmpvec
    lda fac+1
    sta jmpvec+1
    lda spreg
    pha
    lda sareg
    ldx sxreg
    ldy syreg
    plp
    jsr @call
    php
    sta sareg
    stx sxreg
    sty syreg
    pla
    sta spreg
    rts
@call:
    jmp (jmpvec)

; WAIT address, mask[, invert]: until (PEEK(address) EOR invert) AND mask is nonzero.
statement_wait:
    jsr eval_address
    lda fac
    pha
    lda fac+1
    pha
    jsr expect_comma
    jsr eval_byte
    pha
    lda #0
    sta count+1
    jsr chrgot
    beq @wait
    jsr expect_comma
    jsr eval_byte
    sta count+1
@wait:
    pla
    sta count
    pla
    sta index+1
    pla
    sta index
    ldy #0
@poll:
    lda (index),y
    eor count+1
    and count
    beq @poll
    rts

; PRINT items: "text", expressions, ';' (no gap), ',' (next 10-column zone), TAB( and SPC(.
statement_print:
    beq @newline
@item:
    cmp #'"'
    beq @text
    cmp #';'
    beq @semicolon
    cmp #','
    beq @comma
    cmp #TOKEN_TAB
    beq @tab
    cmp #TOKEN_SPC
    beq @spc
    jsr eval
    jsr print_number
@after:
    jsr chrgot
    bne @item
@newline:
    lda #$0D
    jmp CHROUT
@text:
    ldy #0
    inc txtptr
    bne @text_char
    inc txtptr+1
@text_char:
    lda (txtptr),y
    beq @after
    cmp #'"'
    beq @text_end
    jsr CHROUT
    jmp @text
@text_end:
    jsr chrget
    jmp @after
@semicolon:
    jsr chrget
    bne @item
    rts
@comma:
    lda #' '
    jsr CHROUT
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
    lda #' '
    jsr CHROUT
    dex
    bne @space
    beq @after

spaces_argument:
    jsr chrget
    jsr eval_byte
    pha
    jsr expect_close
    pla
    rts

; Cursor column in A.
column:
    sec
    jsr PLOT
    tya
    rts
