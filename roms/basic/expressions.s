; expressions.s: the expression evaluator. Numbers are worked on in FAC with the floating-point
; package; a string is a descriptor (length, address) whose address FAC holds at $64/$65, with
; valtyp $FF. Operators by rising precedence: OR, AND, NOT (16-bit signed integers), the
; relations (= < > <= >= <>, for numbers and strings, true is -1), + and -, * and /, unary
; minus, ^ (from the left). Operands: numbers, "text", variables and array elements, (...),
; pi, FN calls and the functions of functions.s.
; Called by: the statements, and the functions for their arguments.

.include "zeropage.inc"
.macpack longbranch

.export eval, eval_numeric, check_numeric, check_string, eval_address, eval_byte, byte_of_fac
.export expect_comma, expect_close, expect_open, expect_char, push_fac, pull_arg
.export eval_parenthesis, fac_desc
.import syntax_error, error, type_mismatch, out_of_memory, illegal_quantity
.import variable_value, string_literal, free_fac_string, free_string
.import call_function, call_fn

fac_desc = facmo                ; $64/$65: the descriptor of a string value
arg_desc = argmo                ; $6C/$6D: the same in ARG

.segment "BASIC2"

; A number in FAC, or ?TYPE MISMATCH.
eval_numeric:
    jsr eval
check_numeric:
    lda valtyp
    bne mismatch
    rts
check_string:
    lda valtyp
    beq mismatch
    rts
mismatch:
    jmp type_mismatch

; An address 0-65535 in linnum ($14/$15).
eval_address:
    jsr eval_numeric
    jmp getadr

; A byte 0-255 in X and A.
eval_byte:
    jsr eval_numeric
byte_of_fac:
    jsr getadr
    tax
    bne @illegal
    tya
    tax
    rts
@illegal:
    jmp illegal_quantity

expect_close:
    lda #')'
    .byte $2C
expect_open:
    lda #'('
    .byte $2C
expect_comma:
    lda #','
; Skips the character A at the text pointer, or ?SYNTAX  ERROR.
expect_char:
    ldy #0
    cmp (txtptr),y
    bne @syntax
    jmp chrget
@syntax:
    jmp syntax_error

; Pushes FAC (rounded, for a number) and valtyp as the left operand of an operator.
push_fac:
    pla
    sta opptr
    pla
    sta opptr+1
    lda valtyp
    bne @push
    jsr round
@push:
    ldx #5
@byte:
    lda facexp,x
    pha
    dex
    bpl @byte
    lda valtyp
    pha
    jmp return_opptr

; Pulls what push_fac pushed into ARG; A is its valtyp, with arisgn set for the package.
pull_arg:
    pla
    sta opptr
    pla
    sta opptr+1
    pla
    tay
    ldx #0
@byte:
    pla
    sta argexp,x
    inx
    cpx #6
    bne @byte
    lda argsgn
    eor facsgn
    sta arisgn
    tya
return_opptr:
    lda opptr+1
    pha
    lda opptr
    pha
    tya
    rts

; Any expression: OR of ANDs.
eval:
    tsx                     ; each level of parentheses takes stack; keep room for calls
    cpx #$30
    bcs @room
    jmp out_of_memory
@room:
    jsr eval_and
@next:
    jsr chrgot
    cmp #TOKEN_OR
    beq @or
    jmp chrgot
@or:
    ldx #$FF
    jsr logic_operand
    jsr eval_and
    jsr both_numbers
    pla
    jsr logic_operator
    jmp @next

eval_and:
    jsr eval_relation
@next:
    jsr chrgot
    cmp #TOKEN_AND
    bne done
    ldx #0
    jsr logic_operand
    jsr eval_relation
    jsr both_numbers
    pla
    jsr logic_operator
    jmp @next
done:
    rts

; The left operand of AND or OR goes on the stack with the operator (X: $FF OR, 0 AND).
logic_operand:
    stx dscpnt+2
    pla
    sta index2
    pla
    sta index2+1
    lda dscpnt+2
    pha
    jsr push_fac
    lda index2+1
    pha
    lda index2
    pha
    jmp chrget

; FAC = ARG AND/OR FAC as 16-bit signed integers (A: $FF OR, 0 AND).
logic_operator:
    sta dscpnt+2
    jsr ayint
    lda facmo
    pha
    lda faclo
    pha
    jsr movfa
    jsr ayint
    pla
    tay
    pla
    bit dscpnt+2
    bmi @or
    and facmo
    pha
    tya
    and faclo
    jmp @result
@or:
    ora facmo
    pha
    tya
    ora faclo
@result:
    tay
    pla
    jsr givayf
    jmp chrgot

; NOT operand: the operand runs up to AND or OR.
not_operator:
    jsr chrget
    jsr eval_relation
    jsr check_numeric
    jsr ayint
    lda faclo
    eor #$FF
    tay
    lda facmo
    eor #$FF
    jmp givayf

eval_relation:
    jsr eval_sum
@next:
    lda #0
    sta relops
@operator:
    jsr chrgot
    cmp #TOKEN_GREATER
    bcc @have
    cmp #TOKEN_LESS+1
    bcs @have
    sbc #TOKEN_GREATER-1    ; carry is clear: 0, 1, 2 for >, =, <
    tax
    lda relation_bits,x
    ora relops
    sta relops
    jsr chrget
    jmp @operator
@have:
    lda relops
    jeq done
    pha
    jsr push_fac
    jsr eval_sum
    jsr pull_arg
    cmp valtyp
    jne mismatch
    tax
    bne @strings
    jsr compare_numbers
    jmp @result
@strings:
    jsr compare_strings
@result:
    sta count
    pla
    and count
    beq @false
    lda #$FF
@false:
    jsr float
    lda #0
    sta valtyp
    jsr chrgot
    jmp @next

relation_bits:
    .byte 1, 2, 4

; Compares ARG (left) with FAC (right): A = 1 left greater, 2 equal, 4 left smaller.
compare_numbers:
    lda argexp
    sta tempf2
    lda argsgn
    ora #$7F
    and argho
    sta tempf2+1
    lda argmoh
    sta tempf2+2
    lda argmo
    sta tempf2+3
    lda arglo
    sta tempf2+4
    lda #<tempf2
    ldy #>tempf2
    jsr fcomp
    clc
    adc #1
    and #3
    tax
    lda relation_bits,x
    rts

; The same for the strings ARG and FAC describe, compared character by character; a string
; that is the start of the other is the smaller.
compare_strings:
    jsr free_fac_string
    sta dscpnt
    lda index
    sta index2
    lda index+1
    sta index2+1
    lda arg_desc
    ldy arg_desc+1
    jsr free_string
    sta dscpnt+1
    ldy #0
@next:
    cpy dscpnt+1
    beq @left_ended
    cpy dscpnt
    beq @greater
    lda (index),y
    cmp (index2),y
    bne @differ
    iny
    bne @next
@differ:
    bcc @less
@greater:
    lda #1
    rts
@left_ended:
    cpy dscpnt
    bne @less
    lda #2
    rts
@less:
    lda #4
    rts

eval_sum:
    jsr eval_product
@next:
    jsr chrgot
    cmp #TOKEN_PLUS
    beq @operator
    cmp #TOKEN_MINUS
    bne done2
@operator:
    pha
    jsr push_fac
    jsr chrget
    jsr eval_product
    jsr pull_arg
    cmp valtyp
    bne mismatch2
    tax
    pla
    cpx #0
    bne @strings
    cmp #TOKEN_PLUS
    bne @minus
    jsr faddt
    jmp @again
@minus:
    jsr fsubt
@again:
    jsr chrgot
    jmp @next
@strings:
    cmp #TOKEN_PLUS
    bne mismatch2
    jsr concatenate
    jmp @again
done2:
    rts
mismatch2:
    jmp type_mismatch

.import concatenate

eval_product:
    jsr eval_unary
@next:
    jsr chrgot
    cmp #TOKEN_TIMES
    beq @operator
    cmp #TOKEN_DIVIDE
    bne done2
@operator:
    pha
    jsr push_fac
    jsr chrget
    jsr eval_unary
    jsr both_numbers
    pla
    cmp #TOKEN_TIMES
    bne @divide
    jsr fmultt
    jmp @again
@divide:
    jsr fdivt
@again:
    jsr chrgot
    jmp @next

; Pulls the left operand into ARG; both must be numbers.
both_numbers:
    pla
    sta index2
    pla
    sta index2+1
    jsr pull_arg
    ora valtyp
    bne mismatch2
    lda index2+1
    pha
    lda index2
    pha
    lda facexp
    rts

eval_unary:
    jsr chrgot
    cmp #TOKEN_PLUS
    beq @plus
    cmp #TOKEN_MINUS
    bne eval_power
    jsr chrget
    jsr eval_unary
    jsr check_numeric
    jsr negop
    jmp chrgot
@plus:
    jsr chrget
    jmp eval_unary

eval_power:
    jsr eval_primary
@next:
    jsr chrgot
    cmp #TOKEN_POWER
    bne done2
    jsr push_fac
    jsr chrget
    jsr power_operand
    jsr both_numbers
    jsr fpwrt
    jmp @next

; The right operand of ^: a signed operand without operators of its own, so that ^ groups
; from the left.
power_operand:
    jsr chrgot
    cmp #TOKEN_PLUS
    beq @plus
    cmp #TOKEN_MINUS
    bne eval_primary
    jsr chrget
    jsr power_operand
    jsr check_numeric
    jmp negop
@plus:
    jsr chrget
    jmp power_operand

eval_primary:
    lda #0
    sta valtyp
    jsr chrgot
    bcc @number
    cmp #'.'
    beq @number
    cmp #'"'
    beq @string
    cmp #'('
    beq eval_parenthesis
    cmp #TOKEN_NOT
    beq @not
    cmp #TOKEN_PI
    beq @pi
    cmp #TOKEN_FN
    beq @fn
    cmp #TOKEN_SGN
    bcs @function
    cmp #'A'
    bcc @syntax
    cmp #'Z'+1
    bcs @syntax
    jmp variable_value
@number:
    jmp fin
@string:
    jmp string_literal
@not:
    jmp not_operator
@pi:
    jsr chrget
    lda #<pi_value
    ldy #>pi_value
    jmp movfm
@fn:
    jmp call_fn
@function:
    cmp #TOKEN_MID+1
    bcs @syntax
    jmp call_function
@syntax:
    jmp syntax_error

; (expression)
eval_parenthesis:
    jsr expect_open
    jsr eval
    jmp expect_close

pi_value:
    .byte $82, $49, $0F, $DA, $A2
