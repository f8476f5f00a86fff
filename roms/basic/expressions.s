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
.export eval_parenthesis, fac_desc, operand
.import syntax_error, error, type_mismatch, out_of_memory, illegal_quantity
.import variable_value, string_literal, free_fac_string, free_string
.import call_function, call_fn, concatenate

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

; Operator precedences, by token from + to <: the right operand of an operator is evaluated
; with the operators above it only, so that all group from the left.
precedences:
    .byte 5, 5, 6, 6, 8, 2, 1, 4, 4, 4 ; + - * / ^ AND OR > = <
PREC_RELATION = 4
PREC_NEGATE = 7

; Any expression.
eval:
    lda #1
; The operators of precedence A and above with their operands, into FAC.
eval_prec:
    tsx                     ; each pending operator and parenthesis takes stack
    cpx #STACK_ROOM_LIMIT
    bcs @room
    jmp out_of_memory
@room:
    pha
    jsr eval_operand
@next:
    jsr chrgot
    cmp #TOKEN_PLUS
    bcc @end
    cmp #TOKEN_LESS+1
    bcs @end
    tay
    lda precedences-TOKEN_PLUS,y
    tsx
    cmp $0101,x
    bcs @operator
@end:
    pla
    jmp chrgot
@operator:
    pha                     ; its precedence
    cpy #TOKEN_GREATER
    bcc @plain
    lda #0                  ; relations: the bits of all the signs, > 1, = 2, < 4
    sta relops
@relation:
    lda relation_bits-TOKEN_GREATER,y
    ora relops
    sta relops
    jsr chrget
    cmp #TOKEN_GREATER
    bcc @relations_read
    cmp #TOKEN_LESS+1
    bcs @relations_read
    tay
    bcc @relation
@relations_read:
    lda relops
    pha
    bne @right
@plain:
    tya
    pha
    jsr chrget
@right:
    jsr push_fac
    tsx
    lda $0109,x             ; the operator's precedence, above its code and the left operand
    clc
    adc #1
    jsr eval_prec
    jsr pull_arg
    sta count
    pla
    tay
    pla
    lda count
    cmp valtyp
    bne @mismatch
    cpy #TOKEN_PLUS
    bcc @compare
    cpy #TOKEN_PLUS
    bne @numbers
    tax
    beq @add
    jsr concatenate
    jmp @next
@add:
    jsr faddt
    jmp @next
@mismatch:
    jmp type_mismatch
@compare:
    sty relops
    tax
    bne @strings
    jsr compare_numbers
    jmp @result
@strings:
    jsr compare_strings
@result:
    and relops
    beq @false
    lda #$FF
@false:
    jsr float
    lda #0
    sta valtyp
    jmp @next
@numbers:
    tax
    bne @mismatch
    lda facexp
    cpy #TOKEN_MINUS
    bne @times
    jsr fsubt
    jmp @next
@times:
    cpy #TOKEN_TIMES
    bne @divide
    jsr fmultt
    jmp @next
@divide:
    cpy #TOKEN_DIVIDE
    bne @power
    jsr fdivt
    jmp @next
@power:
    cpy #TOKEN_POWER
    bne @logic
    jsr fpwrt
    jmp @next
@logic:
    cpy #TOKEN_AND          ; A: 0 for AND, $FF for OR
    beq @and
    lda #$FF
    .byte $2C
@and:
    lda #0
    jsr logic_operator
    jmp @next

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

; An operand, through the vector at $030A with the text pointer before it.
eval_operand:
    lda txtptr
    bne @back
    dec txtptr+1
@back:
    dec txtptr
    jmp ($030A)

; The operand after the text pointer ($030A's routine): a primary, or one with NOT (over the
; relations and above) or a sign (over ^) before it.
operand:
    lda #0
    sta valtyp
    jsr chrget
    cmp #TOKEN_PLUS
    beq operand
    cmp #TOKEN_MINUS
    beq @minus
    cmp #TOKEN_NOT
    bne eval_primary
    jsr chrget
    lda #PREC_RELATION
    jsr eval_prec
    jsr check_numeric
    jsr ayint
    lda faclo
    eor #$FF
    tay
    lda facmo
    eor #$FF
    jmp givayf
@minus:
    jsr chrget
    lda #PREC_NEGATE
    jsr eval_prec
    jsr check_numeric
    jmp negop

eval_primary:
    jsr chrgot
    bcc @number
    cmp #'.'
    beq @number
    cmp #'"'
    beq @string
    cmp #'('
    beq eval_parenthesis
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
