; statements.s: the statement table and the statements about flow and variables: LET, GOTO,
; GOSUB, RETURN, IF, ON, FOR, NEXT, REM and DATA. FOR and GOSUB keep their
; frames on the 6510 stack above the zero byte the READY loop puts there, FOR's with the loop
; variable, step, limit and where to go back to, GOSUB's with where to return to; NEXT and
; RETURN search them from the top.
; These statements go on at newstt: FOR drops the statement loop's return address, GOSUB keeps
; it under its frame (7 bytes in all, so that as many GOSUBs nest as on the genuine BASIC).
; Called by: exec_statement in interpreter.s through statement_table.

.include "zeropage.inc"
.macpack longbranch

.export store_number, statement_table, let, statement_data, statement_rem, goto_statement
.import ready, syntax_error, error, exec_statement, check_statement_end, newstt, type_mismatch
.import statement_new, statement_clr, statement_run, statement_list, goto_line, parse_line_number
.import eval, eval_numeric, eval_address, eval_byte, expect_comma, expect_char, check_numeric
.import find_var, break_statement, end_statement, statement_cont, out_of_memory
.import assign_string, set_time, free_fac_string, statement_dim, statement_def
.import statement_print, statement_print_file, statement_cmd, statement_input, statement_input_file
.import statement_read, statement_get, statement_restore, statement_load, statement_save
.import statement_verify, statement_open, statement_close, fone
.import statement_poke, statement_sys, statement_wait

.segment "BASIC1"

statement_table:
    .word end_statement
    .word statement_for
    .word statement_next
    .word statement_data
    .word statement_input_file
    .word statement_input
    .word statement_dim
    .word statement_read
    .word let
    .word goto_statement
    .word statement_run
    .word statement_if
    .word statement_restore
    .word statement_gosub
    .word statement_return
    .word statement_rem
    .word break_statement
    .word statement_on
    .word statement_wait
    .word statement_load
    .word statement_save
    .word statement_verify
    .word statement_def
    .word statement_poke
    .word statement_print_file
    .word statement_print
    .word statement_cont
    .word statement_list
    .word statement_clr
    .word statement_cmd
    .word statement_sys
    .word statement_open
    .word statement_close
    .word statement_get
    .word statement_new

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

; Variable = expression. TI$ sets the clock; TI and ST cannot be set.
let:
    jsr find_var
    lda varnam
    cmp #'S'
    bne @not_st
    lda varnam+1
    cmp #'T'
    beq @syntax
@not_st:
    lda varnam
    cmp #'T'
    bne @not_ti
    lda varnam+1
    and #$7F
    cmp #'I'
    bne @not_ti
    lda intflg
    bmi @not_ti
    bit valtyp
    bmi @time
@syntax:
    jmp syntax_error
@time:
    lda #TOKEN_EQUAL
    jsr expect_char
    jsr eval
    jmp set_time
@not_ti:
    lda varpnt+1
    pha
    lda varpnt
    pha
    lda intflg
    pha
    lda valtyp
    pha
    lda #TOKEN_EQUAL
    jsr expect_char
    jsr eval
    pla
    eor valtyp
    bmi @mismatch
    pla
    sta intflg
    pla
    sta forpnt
    pla
    sta forpnt+1
    bit valtyp
    bpl store_number
    jmp assign_string
@mismatch:
    jmp type_mismatch

; FAC into the number variable at forpnt (an integer when intflg says so).
store_number:
    bit intflg
    bmi @integer
    jmp movvf
@integer:
    jsr ayint
    ldy #0
    lda facmo
    sta (forpnt),y
    iny
    lda faclo
    sta (forpnt),y
    rts

goto_statement:
    jsr parse_line_number
    jmp goto_line

statement_gosub:
    jsr parse_line_number
push_gosub:
    jsr check_stack_room    ; the statement loop's return address stays under the frame
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
    jmp newstt

statement_return:
    pla
    pla
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
    bne @find
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
    jsr statement_data      ; the rest of the GOSUB statement (ON ... GOSUB's list)
    jmp newstt

; ?OUT OF MEMORY unless the stack pointer is still at STACK_ROOM_LIMIT or above, the limit an
; expression checks too: so FOR and GOSUB frames, mixed as a program likes, nest as deep as on
; the genuine BASIC, and the same statement runs out of room there.
check_stack_room:
    tsx
    cpx #STACK_ROOM_LIMIT
    bcc @full
    rts
@full:
    jmp out_of_memory

; FOR variable = start TO limit [STEP step]; a loop on the same variable is replaced.
statement_for:
    lda #$80
    sta subflg
    jsr let
    lda #0
    sta subflg
    lda valtyp
    ora intflg
    bne @mismatch
    lda #TOKEN_TO
    jsr expect_char
    jsr eval_numeric
    ldx #<tempf2
    ldy #>tempf2
    jsr movmf
    ldx #4
@keep_limit:
    lda tempf2,x
    pha
    dex
    bpl @keep_limit
    lda forpnt+1
    pha
    lda forpnt
    pha
    jsr chrgot
    cmp #TOKEN_STEP
    bne @step_one
    jsr chrget
    jsr eval_numeric
    jmp @have_step
@mismatch:
    jmp type_mismatch
@step_one:
    lda #<fone
    ldy #>fone
    jsr movfm
@have_step:
    jsr check_statement_end
    jsr mov1f
    pla
    sta forpnt
    pla
    sta forpnt+1
    ldx #0
@limit:
    pla
    sta tempf2,x
    inx
    cpx #5
    bne @limit
    pla                     ; the statement loop's return address: this goes on at newstt
    pla
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
    jsr check_stack_room
    lda txtptr+1
    pha
    lda txtptr
    pha
    lda curlin+1
    pha
    lda curlin
    pha
    ldx #4
@push_limit:
    lda tempf2,x
    pha
    dex
    bpl @push_limit
    lda tempf1              ; the step's sign: 0, 1 or $FF
    beq @sign
    lda tempf1+1
    asl
    lda #1
    bcc @sign
    lda #$FF
@sign:
    pha
    ldx #4
@push_step:
    lda tempf1,x
    pha
    dex
    bpl @push_step
    lda forpnt+1
    pha
    lda forpnt
    pha
    lda #TOKEN_FOR
    pha
    jmp newstt

; NEXT [variable[, variable ...]]: frame at $0101+X, offsets: 1 variable, 3 step, 8 the step's
; sign, 9 limit, 14 line, 16 text pointer.
statement_next:
    pla
    pla
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
    bne @find
@none:
    ldx #ERR_NEXT
    jmp error
@found:
    txs
    stx opptr
    lda $0102,x
    sta forpnt
    lda $0103,x
    sta forpnt+1
    lda forpnt
    ldy forpnt+1
    jsr movfm
    tsx
    txa
    clc
    adc #$04
    ldy #$01
    jsr fadd
    jsr movvf
    tsx
    txa
    clc
    adc #$0A
    ldy #$01
    jsr fcomp
    ldx opptr
    cmp $0109,x
    beq @finished
    lda $010F,x
    sta curlin
    lda $0110,x
    sta curlin+1
    lda $0111,x
    sta txtptr
    lda $0112,x
    sta txtptr+1
    jmp newstt
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
    jmp newstt

; IF expression THEN statement | line, IF expression GOTO line.
statement_if:
    jsr eval
    bit valtyp
    bpl @number
    jsr free_fac_string
    sta facexp              ; a string is true when it is not empty
@number:
    jsr chrgot
    cmp #TOKEN_GOTO
    beq @then
    cmp #TOKEN_THEN
    bne @syntax
@then:
    lda facexp
    bne @true
    jmp statement_rem
@true:
    jsr chrget
    bcc @line
    jmp exec_statement
@line:
    jmp goto_statement
@syntax:
    jmp syntax_error

; ON expression GOTO|GOSUB line, line, ...: the line the expression counts to; past the end
; of the list, the next statement.
statement_on:
    jsr eval_byte
    pha
    jsr chrgot
    cmp #TOKEN_GOSUB
    beq @kind
    cmp #TOKEN_GOTO
    bne @syntax
@kind:
    sta count+1
    pla
    sta count
@next:
    jsr chrget
    dec count
    beq @chosen
    jsr parse_line_number
    cmp #','
    beq @next
    rts
@chosen:
    jsr parse_line_number
    lda count+1
    cmp #TOKEN_GOSUB
    beq @gosub
    jmp goto_line
@gosub:
    jmp push_gosub
@syntax:
    jmp syntax_error
