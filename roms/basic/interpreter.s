; interpreter.s: BASIC's start, its READY loop and the statement loop. Typed lines with a
; number are stored; others run at once (direct mode). The statement loop runs statement after
; statement, line after line, checking RUN/STOP before each.
; Called by: the KERNAL through the vectors at $A000 (cold start) and $A002 (warm start).

.include "zeropage.inc"

.export chrget, chrgot, newstt, exec_statement, ready, syntax_error, error, reset_stack_frames
.export print_string, check_statement_end, break
.import crunch, store_line, parse_line_number, do_new, clear_variables, print_unsigned
.import statement_table, banner_text, ready_text, error_text, break_text, in_text, bytes_free_text

.segment "BASICHEADER"

    .word cold_start, warm_start
    .byte "CBMBASIC"

.segment "BASIC"

cold_start:
    sec                     ; memory ends where the KERNAL says
    jsr $FF99
    stx memsiz
    sty memsiz+1
    lda #<$0801
    sta txttab
    lda #>$0801
    sta txttab+1
    jsr do_new
    lda #<banner_text
    ldy #>banner_text
    jsr print_string
    lda memsiz              ; bytes free: all of BASIC memory above the program start
    sec
    sbc txttab
    sta fac
    lda memsiz+1
    sbc txttab+1
    sta fac+1
    lda #0
    sta fac+2
    sta fac+3
    jsr print_unsigned
    lda #<bytes_free_text
    ldy #>bytes_free_text
    jsr print_string
    jmp ready

warm_start:
    jsr CLRCHN
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

ready:
    lda #<ready_text
    ldy #>ready_text
    jsr print_string
main:
    ldx #STACK_BASE
    txs
    lda #0                  ; the bottom of the FOR and GOSUB frames
    pha
    lda #$FF
    sta curlin+1
    jsr input_line
    lda #<(buf-1)
    sta txtptr
    lda #>(buf-1)
    sta txtptr+1
    jsr crunch
    jsr chrget
    beq main
    bcs @direct
    jsr store_line
    jmp main
@direct:
    jsr exec_statement
    jmp newstt

; Reads a line through CHRIN into buf, ending it with a zero byte; the cursor then goes to the
; next line (CHRIN leaves it where the RETURN was typed).
input_line:
    ldx #0
@next:
    jsr CHRIN
    cmp #$0D
    beq @done
    cpx #BUFLEN
    bcs @next               ; the rest of an over-long line is dropped
    sta buf,x
    inx
    bne @next
@done:
    lda #0
    sta buf,x
    lda #$0D
    jmp CHROUT

; The next character of the text, spaces skipped. Carry clear for a digit; Z set at the end
; of the line (0) or of a statement (':').
chrget:
    inc txtptr
    bne chrgot
    inc txtptr+1
chrgot:
    ldy #0
    lda (txtptr),y
    cmp #' '
    beq chrget
    cmp #':'
    bcs @done
    cmp #'0'
    bcc @not_digit
    ora #0
    clc
    rts
@not_digit:
    sec
    ora #0
@done:
    rts

; Runs statements until the program or the direct line ends. txtptr stands on the ':' or the
; zero byte that ends the statement just run.
newstt:
    jsr STOP
    beq break
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
    ldy #2                  ; the next line's link: zero at the end of the program
    lda (txtptr),y
    bne @next_line
@ready:
    jmp ready
@next_line:
    iny
    lda (txtptr),y
    sta curlin
    iny
    lda (txtptr),y
    sta curlin+1
    lda txtptr
    clc
    adc #4
    sta txtptr
    bcc @statement
    inc txtptr+1
@statement:
    jsr chrget
    jsr exec_statement
    jmp newstt

break:
    jsr newline_if_needed
    lda #<break_text
    ldy #>break_text
    jsr print_string
    jmp report_line

; One statement, starting at the character in A (as chrget left it).
exec_statement:
    beq @empty
    cmp #$80
    bcc @assignment
    cmp #LAST_STATEMENT+1
    bcs syntax_error
    asl
    tay
    lda statement_table,y
    sta jmpvec
    lda statement_table+1,y
    sta jmpvec+1
    jsr chrget
    jmp (jmpvec)
@assignment:
    jmp let

.import let
@empty:
    rts


; Returns when the statement ends here; a syntax error otherwise.
check_statement_end:
    jsr chrgot
    bne syntax_error
    rts

syntax_error:
    ldx #ERR_SYNTAX
; Reports error X ("?SYNTAX  ERROR IN 10") and returns to READY.
error:
    stx count
    jsr CLRCHN
    jsr newline_if_needed
    lda #'?'
    jsr CHROUT
    lda #<error_text
    sta index
    lda #>error_text
    sta index+1
    ldx count
    beq @print
@skip_message:
    ldy #0
    lda (index),y
    tay
    inc index
    bne @advanced
    inc index+1
@advanced:
    tya
    bne @skip_message
    dex
    bne @skip_message
@print:
    lda index
    ldy index+1
    jsr print_string
    lda #<in_error_text
    ldy #>in_error_text
    jsr print_string
report_line:
    lda curlin+1
    cmp #$FF
    beq @direct
    lda #<in_text
    ldy #>in_text
    jsr print_string
    lda curlin
    sta fac
    lda curlin+1
    sta fac+1
    lda #0
    sta fac+2
    sta fac+3
    jsr print_unsigned
@direct:
    jmp ready

in_error_text:
    .byte "  ERROR", 0

newline_if_needed:
    sec
    jsr PLOT
    tya
    beq @done
    lda #$0D
    jsr CHROUT
@done:
    rts

; Drops every FOR and GOSUB frame, keeping the caller's return address.
reset_stack_frames:
    pla
    sta retsave
    pla
    sta retsave+1
    ldx #STACK_BASE-1
    txs
    lda retsave+1
    pha
    lda retsave
    pha
    rts
