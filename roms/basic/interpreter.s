; interpreter.s: BASIC's start, its READY loop, the statement loop and error reporting. Typed
; lines with a number are stored; others run at once (direct mode, curlin high byte $FF). The
; statement loop runs statement after statement, line after line, checking RUN/STOP before
; each; END, STOP and RUN/STOP keep the place for CONT. The READY loop, the tokeniser and each
; statement are reached through the vectors at $0302, $0304 and $0308, as programs expect.
; Called by: the KERNAL through the vectors at $A000 (cold start) and $A002 (warm start); the
; floating-point package and every statement raise errors through the vector at $0300.

.include "zeropage.inc"
.macpack longbranch

.export newstt, exec_statement, ready, syntax_error, error, reset_stack_frames
.export print_string, check_statement_end, break_statement, end_statement, statement_cont
.export illegal_quantity, type_mismatch, out_of_memory, error_in_direct
.export init_temporaries, input_line, enter_next_line
.import operand, print_keyword, crunch, store_line, do_new, statement_table, banner_text, ready_text, error_text
.import break_text, in_text, bytes_free_text, goto_statement, close_channel

.segment "BASICHEADER"

    .word cold_start, warm_start
    .byte "CBMBASIC"

.segment "BASIC"

; The CHRGET routine BASIC runs from RAM at $73: it advances the text pointer (kept in its own
; LDA operand at $7A), skips spaces, sets Z for ':' or the line's end and clears C for a digit.
chrget_image:
    inc txtptr
    bne *+4
    inc txtptr+1
    lda $EA60
    cmp #':'
    bcs *+12
    cmp #' '
    .byte $F0, $EF          ; BEQ back to $73
    sec
    sbc #'0'
    sec
    sbc #$D0
    rts
chrget_size = * - chrget_image

; The first seed RND(1) starts from.
seed_image:
    .byte $80, $4F, $C7, $52, $58

; Error, main loop, tokeniser, keyword printer, statement and operand, as $0300-$030B hold
; them: a program that hooks one goes on through the address it found there.
vectors:
    .word error_entry, main, crunch, print_keyword, gone, operand

cold_start:
    ldx #chrget_size-1
@chrget:
    lda chrget_image,x
    sta chrget_ram,x
    dex
    bpl @chrget
    ldx #4
@seed:
    lda seed_image,x
    sta rndx,x
    dex
    bpl @seed
    ldx #11                 ; the vectors at $0300-$030B, which programs may point elsewhere
@vectors:
    lda vectors,x
    sta $0300,x
    dex
    bpl @vectors
    lda #$4C                ; JMP for USR and for statement dispatch
    sta $0310
    sta jmper
    lda #<illegal_quantity
    sta usrvec
    lda #>illegal_quantity
    sta usrvec+1
    sec                     ; memory ends and starts where the KERNAL says
    jsr $FF99
    stx memsiz
    sty memsiz+1
    sec
    jsr $FF9C
    inx                     ; the program starts a byte above the zero byte at the bottom
    bne @start
    iny
@start:
    stx txttab
    sty txttab+1
    jsr do_new
    lda #<banner_text
    ldy #>banner_text
    jsr print_string
    lda memsiz              ; bytes free: all of BASIC memory above the program start
    sec
    sbc txttab
    tax
    lda memsiz+1
    sbc txttab+1
    jsr linprt
    lda #<bytes_free_text
    ldy #>bytes_free_text
    jsr print_string
    jmp ready

warm_start:
    jsr close_channel
    jmp ready

; Prints the text at A/Y, up to a zero byte.
print_string:
    sta index
    sty index+1
    ldy #0
@next:
    lda (index),y
    beq @done
    jsr CHROUT
    iny
    bne @next
@done:
    rts

init_temporaries:
    lda #tempst
    sta temppt
    rts

ready:
    lda #<ready_text
    ldy #>ready_text
    jsr print_string
    jmp ($0302)
main:
    ldx #STACK_BASE
    txs
    lda #0                  ; the bottom of the FOR and GOSUB frames
    pha
    sta channel
    jsr init_temporaries
    jsr input_line
    lda #$80                ; the KERNAL's messages (SEARCHING FOR ...) show in direct mode
    jsr SETMSG
    ldx #$FF                ; a typed line is direct until it proves to be numbered
    stx curlin+1
    lda #<(buf-1)
    sta txtptr
    lda #>(buf-1)
    sta txtptr+1
    jsr @crunch
    jsr chrget
    beq main
    bcs @direct
    jsr store_line
    jmp main
@direct:
    lda #<(buf-1)           ; the statement runs through $0308, from before its first character
    sta txtptr
    lda #>(buf-1)
    sta txtptr+1
    jmp ($0308)
@crunch:
    jmp ($0304)

; Reads a line through CHRIN into buf, ending it with a zero byte; on the screen the cursor
; then goes to the next line (CHRIN leaves it where the RETURN was typed). From a file the
; line also ends where the status reports the end or an error.
input_line:
    ldx #0
@next:
    jsr CHRIN
    cmp #$0D
    beq @done
    cpx #BUFLEN
    bcs @status             ; the rest of an over-long line is dropped
    sta buf,x
    inx
@status:
    lda channel
    beq @next
    jsr READST
    beq @next
@done:
    lda #0
    sta buf,x
    lda channel
    bne @file
    lda #$0D
    jmp CHROUT
@file:
    rts

; Runs statements until the program or the direct line ends. txtptr stands on the ':' or the
; zero byte that ends the statement just run.
newstt:
    jsr STOP
    beq break_key
    ldy #0
    lda (txtptr),y
    beq @end_of_line
    cmp #':'
    beq @statement
    jmp syntax_error
@end_of_line:
    lda curlin+1
    cmp #$FF
    beq @ready
    jsr enter_next_line
    beq @ready
    stx curlin
    sta curlin+1
@statement:
    jmp ($0308)

@ready:
    jmp end_program

; RUN/STOP between statements: the program can go on with CONT.
; The next statement (the text pointer stands before it), then on to the next.
gone:
    jsr chrget
    jsr exec_statement
    jmp newstt

; From the zero byte that ends a line into the next line: Z set at the end of the program,
; else X (low)/A (high) = its number and the text pointer on its number's high byte.
enter_next_line:
    ldy #2
    lda (txtptr),y
    beq @done
    iny
    lda (txtptr),y
    tax
    lda txtptr
    clc
    adc #4
    sta txtptr
    bcc @read
    inc txtptr+1
@read:
    ldy #0
    lda (txtptr),y          ; the number's high byte, now at offset 0
    ldy #1                  ; Z clear
@done:
    rts

break_key:
    jsr keep_place
    jmp print_break

; STOP: BREAK IN line, where CONT goes on.
break_statement:
    jsr keep_place
print_break:
    jsr close_channel
    jsr newline
    lda #<break_text
    ldy #>break_text
    jsr print_string
    jmp report_line

; END: back to READY, keeping the place for CONT.
end_statement:
    jsr keep_place
end_program:
    jsr close_channel
    jmp ready

; A program stopped here may continue (CONT); a direct line may not.
keep_place:
    lda curlin+1
    cmp #$FF
    beq @direct
    lda txtptr
    sta oldtxt
    lda txtptr+1
    sta oldtxt+1
    lda curlin
    sta oldlin
    lda curlin+1
    sta oldlin+1
@direct:
    rts

; CONT: the program goes on where END, STOP or RUN/STOP left it.
statement_cont:
    bne syntax_error
    ldx #ERR_CANT_CONTINUE
    ldy oldtxt+1
    beq error
    lda oldtxt
    sta txtptr
    sty txtptr+1
    lda oldlin
    sta curlin
    lda oldlin+1
    sta curlin+1
    rts

; One statement, starting at the character in A (as chrget left it).
exec_statement:
    beq @empty
    cmp #$80
    bcc @assignment
    cmp #LAST_STATEMENT+1
    bcs @go
    asl
    tay
    lda statement_table,y
    sta jmpvec
    lda statement_table+1,y
    sta jmpvec+1
    jsr chrget
    jmp jmper
@assignment:
    jmp let
@go:
    cmp #TOKEN_GO           ; GO TO
    bne syntax_error
    jsr chrget
    cmp #TOKEN_TO
    bne syntax_error
    jsr chrget
    jmp goto_statement
@empty:
    rts

.import let

; Returns when the statement ends here; a syntax error otherwise.
check_statement_end:
    jsr chrgot
    bne syntax_error
    rts

; Statements that only a program may run: ?ILLEGAL DIRECT in direct mode.
error_in_direct:
    ldx curlin+1
    inx
    bne error_rts
    ldx #ERR_ILLEGAL_DIRECT
    .byte $2C
illegal_quantity:
    ldx #ERR_ILLEGAL
    .byte $2C
type_mismatch:
    ldx #ERR_TYPE
    .byte $2C
out_of_memory:
    ldx #ERR_OUT_OF_MEMORY
    .byte $2C
syntax_error:
    ldx #ERR_SYNTAX
; Raises error X through the vector at $0300.
error:
    jmp ($0300)
error_rts:
    rts

; Reports error X ("?SYNTAX  ERROR IN 10") and returns to READY.
error_entry:
    txa
    pha
    jsr close_channel
    jsr newline
    lda #'?'
    jsr CHROUT
    lda #<error_text
    sta index
    lda #>error_text
    sta index+1
    pla
    tax
@skip_message:
    dex
    beq @print
@skip_text:
    ldy #0
    lda (index),y
    inc index
    bne @advanced
    inc index+1
@advanced:
    tay
    bne @skip_text
    beq @skip_message
@print:
    lda index
    ldy index+1
    jsr print_string
    lda #<in_error_text
    ldy #>in_error_text
    jsr print_string
    ldy #0                  ; no CONT after an error
    sty oldtxt+1
report_line:
    lda curlin+1
    cmp #$FF
    beq @direct
    lda #<in_text
    ldy #>in_text
    jsr print_string
    lda curlin+1
    ldx curlin
    jsr linprt
@direct:
    jmp ready

in_error_text:
    .byte "  ERROR", 0

; Errors and BREAK start on a line of their own even at the start of a line, leaving it empty.
newline:
    lda #$0D
    jmp CHROUT

; Drops every FOR and GOSUB frame, keeping the caller's return address.
reset_stack_frames:
    pla
    tax
    pla
    tay
    txa
    ldx #STACK_BASE-1
    txs
    tax
    tya
    pha
    txa
    pha
    rts
