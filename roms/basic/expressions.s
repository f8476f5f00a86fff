; expressions.s: expressions, variables and numbers. Values are 32-bit signed integers, so
; addresses up to 65535 and the usual loop arithmetic fit; division truncates toward zero and a
; result beyond the range is ?OVERFLOW  ERROR. Operators by rising precedence: OR, AND, NOT,
; the relations (= < > <= >= <>, true is -1), + and -, * and /, unary minus; functions PEEK,
; ABS, SGN, INT, FRE and POS. Variables are named by a letter and an optional letter or digit
; (further letters are ignored); a trailing % names a separate variable.
; Left out: floating point, strings, arrays and ^, which end in ?SYNTAX  ERROR.
; Called by: the statements.

.include "zeropage.inc"

.export eval, eval_address, eval_byte, expect_comma, expect_close, find_var
.export print_number, print_unsigned
.import chrget, chrgot, syntax_error, error

product = index                 ; 4 bytes: multiply's result, divide's remainder

.macro push_fac
    lda fac+3
    pha
    lda fac+2
    pha
    lda fac+1
    pha
    lda fac
    pha
.endmacro

.macro pull_arg
    pla
    sta arg
    pla
    sta arg+1
    pla
    sta arg+2
    pla
    sta arg+3
.endmacro

.segment "BASIC"

; An address 0-65535 in fac.
eval_address:
    jsr eval
    lda fac+2
    ora fac+3
    bne illegal_quantity
    rts

; A byte 0-255 in A (and fac).
eval_byte:
    jsr eval
    lda fac+1
    ora fac+2
    ora fac+3
    bne illegal_quantity
    lda fac
    rts

illegal_quantity:
    ldx #ERR_ILLEGAL
    jmp error

expect_comma:
    jsr chrgot
    cmp #','
    bne @syntax
    jmp chrget
@syntax:
    jmp syntax_error

expect_close:
    jsr chrgot
    cmp #')'
    bne @syntax
    jmp chrget
@syntax:
    jmp syntax_error

eval:
    jsr eval_and
@next:
    jsr chrgot
    cmp #TOKEN_OR
    bne @done
    push_fac
    jsr chrget
    jsr eval_and
    pull_arg
    ldx #3
@or:
    lda fac,x
    ora arg,x
    sta fac,x
    dex
    bpl @or
    bmi @next
@done:
    rts

eval_and:
    jsr eval_not
@next:
    jsr chrgot
    cmp #TOKEN_AND
    bne @done
    push_fac
    jsr chrget
    jsr eval_not
    pull_arg
    ldx #3
@and:
    lda fac,x
    and arg,x
    sta fac,x
    dex
    bpl @and
    bmi @next
@done:
    rts

eval_not:
    jsr chrgot
    cmp #TOKEN_NOT
    bne eval_relation
    jsr chrget
    jsr eval_not
    ldx #3
@invert:
    lda fac,x
    eor #$FF
    sta fac,x
    dex
    bpl @invert
    rts

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
    beq @done
    pha
    push_fac
    jsr eval_sum
    pull_arg
    pla
    sta relops
    jsr compare
    and relops
    beq @false
    lda #$FF
@false:
    ldx #3
@set:
    sta fac,x
    dex
    bpl @set
    bmi @next
@done:
    rts

relation_bits:
    .byte 1, 2, 4

; Compares arg with fac: A = 1 when arg is greater, 2 when equal, 4 when less.
compare:
    sec
    lda arg
    sbc fac
    sta count
    lda arg+1
    sbc fac+1
    ora count
    sta count
    lda arg+2
    sbc fac+2
    ora count
    sta count
    lda arg+3
    sbc fac+3
    tax
    ora count
    sta count
    txa
    bvc @sign_right
    eor #$80
@sign_right:
    bmi @less
    lda count
    beq @equal
    lda #1
    rts
@equal:
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
    beq @plus
    cmp #TOKEN_MINUS
    beq @minus
    rts
@plus:
    push_fac
    jsr chrget
    jsr eval_product
    pull_arg
    clc
    ldx #0
    ldy #4
@add:
    lda arg,x
    adc fac,x
    sta fac,x
    inx
    dey
    bne @add
    bvs overflow
    bvc @next
@minus:
    push_fac
    jsr chrget
    jsr eval_product
    pull_arg
    sec
    ldx #0
    ldy #4
@subtract:
    lda arg,x
    sbc fac,x
    sta fac,x
    inx
    dey
    bne @subtract
    bvs overflow
    bvc @next

overflow:
    ldx #ERR_OVERFLOW
    jmp error

eval_product:
    jsr eval_unary
@next:
    jsr chrgot
    cmp #TOKEN_TIMES
    beq @times
    cmp #TOKEN_DIVIDE
    beq @divide
    rts
@times:
    push_fac
    jsr chrget
    jsr eval_unary
    pull_arg
    jsr multiply
    jmp @next
@divide:
    push_fac
    jsr chrget
    jsr eval_unary
    pull_arg
    jsr divide
    jmp @next

eval_unary:
    jsr chrgot
    cmp #TOKEN_MINUS
    bne @not_minus
    jsr chrget
    jsr eval_unary
    jmp negate_fac
@not_minus:
    cmp #TOKEN_PLUS
    bne primary
    jsr chrget
    jmp eval_unary

primary:
    jsr chrgot
    bcc @number
    cmp #'('
    beq @parenthesis
    cmp #'A'
    bcc @function
    cmp #'Z'+1
    bcs @function
    jsr find_var
    ldy #3
@copy:
    lda (varpnt),y
    sta fac,y
    dey
    bpl @copy
    rts
@number:
    jmp parse_number
@parenthesis:
    jsr chrget
    jsr eval
    jmp expect_close
@function:
    ldx #function_count-1
@find:
    cmp function_tokens,x
    beq @found
    dex
    bpl @find
    jmp syntax_error
@found:
    lda function_high,x
    pha
    lda function_low,x
    pha
    jsr chrget              ; the argument in parentheses
    cmp #'('
    bne @syntax
    jsr chrget
    jsr eval
    jmp expect_close        ; returns into the function
@syntax:
    jmp syntax_error

function_tokens:
    .byte TOKEN_PEEK, TOKEN_ABS, TOKEN_SGN, TOKEN_INT, TOKEN_FRE, TOKEN_POS
function_count = * - function_tokens
function_low:
    .lobytes peek-1, absolute-1, signum-1, integer-1, free-1, position-1
function_high:
    .hibytes peek-1, absolute-1, signum-1, integer-1, free-1, position-1

peek:
    lda fac+2
    ora fac+3
    bne illegal
    ldy #0
    lda (fac),y
    jmp set_byte
illegal:
    jmp illegal_quantity

absolute:
    lda fac+3
    bmi negate_fac
integer:
    rts

signum:
    lda fac+3
    bmi @negative
    ora fac+2
    ora fac+1
    ora fac
    beq @done
    lda #1
    jmp set_byte
@negative:
    lda #$FF
    sta fac
    sta fac+1
    sta fac+2
    sta fac+3
@done:
    rts

free:
    lda fretop
    sec
    sbc strend
    sta fac
    lda fretop+1
    sbc strend+1
    sta fac+1
    lda #0
    sta fac+2
    sta fac+3
    rts

position:
    sec
    jsr PLOT
    tya
set_byte:
    sta fac
    lda #0
    sta fac+1
    sta fac+2
    sta fac+3
    rts

negate_fac:
    ldx #fac
negate_at_x:
    sec
    ldy #4
@byte:
    lda #0
    sbc 0,x
    sta 0,x
    inx
    dey
    bne @byte
    rts

; Multiplication and division work on the operands' sizes: keeps the result's sign, makes both
; operands positive, clears the 32-bit product and counts X = 32 bits.
start_signed_operation:
    lda arg+3
    eor fac+3
    sta sign
    jsr absolute_operands
    lda #0
    sta product
    sta product+1
    sta product+2
    sta product+3
    ldx #32
    rts

; fac = arg * fac.
multiply:
    jsr start_signed_operation
@bit:
    asl product
    rol product+1
    rol product+2
    rol product+3
    bcs @overflow
    asl fac
    rol fac+1
    rol fac+2
    rol fac+3
    bcc @next
    clc
    lda product
    adc arg
    sta product
    lda product+1
    adc arg+1
    sta product+1
    lda product+2
    adc arg+2
    sta product+2
    lda product+3
    adc arg+3
    sta product+3
    bcs @overflow
@next:
    dex
    bne @bit
    ldx #3
@result:
    lda product,x
    sta fac,x
    dex
    bpl @result
    jmp apply_sign
@overflow:
    jmp overflow

; fac = arg / fac, truncated toward zero.
divide:
    lda fac
    ora fac+1
    ora fac+2
    ora fac+3
    bne @divisor
    ldx #ERR_DIVISION
    jmp error
@divisor:
    jsr start_signed_operation
@bit:
    asl arg
    rol arg+1
    rol arg+2
    rol arg+3
    rol product
    rol product+1
    rol product+2
    rol product+3
    sec
    lda product
    sbc fac
    tay
    lda product+1
    sbc fac+1
    sta count
    lda product+2
    sbc fac+2
    sta count+1
    lda product+3
    sbc fac+3
    bcc @next
    sta product+3
    lda count+1
    sta product+2
    lda count
    sta product+1
    sty product
    inc arg
@next:
    dex
    bne @bit
    ldx #3
@result:
    lda arg,x
    sta fac,x
    dex
    bpl @result
apply_sign:
    lda fac+3               ; a magnitude of 2^31 or more does not fit
    bmi @too_big
    lda sign
    bpl @done
    jmp negate_fac
@done:
    rts
@too_big:
    jmp overflow

absolute_operands:
    lda arg+3
    bpl @arg_positive
    ldx #arg
    jsr negate_at_x
@arg_positive:
    lda fac+3
    bpl @done
    jmp negate_fac
@done:
    rts

; A decimal number from the text into fac.
parse_number:
    lda #0
    sta fac
    sta fac+1
    sta fac+2
    sta fac+3
    jsr chrgot
@digit:
    bcs @done
    and #$0F
    pha
    lda fac+3               ; from $0D000000 on, ten times the number cannot fit
    cmp #$0D
    bcs @overflow
    asl fac                 ; fac * 2, kept in arg
    rol fac+1
    rol fac+2
    rol fac+3
    ldx #3
@keep:
    lda fac,x
    sta arg,x
    dex
    bpl @keep
    asl fac                 ; fac * 8
    rol fac+1
    rol fac+2
    rol fac+3
    asl fac
    rol fac+1
    rol fac+2
    rol fac+3
    clc
    pla
    adc arg
    sta arg
    bcc @sum
    inc arg+1
    bne @sum
    inc arg+2
    bne @sum
    inc arg+3
@sum:
    clc
    ldx #0
    ldy #4
@add:
    lda fac,x
    adc arg,x
    sta fac,x
    inx
    dey
    bne @add
    lda fac+3
    bmi @overflow_pulled
    jsr chrget
    jmp @digit
@overflow:
    pla
@overflow_pulled:
    jmp overflow
@done:
    rts

; Finds the variable named at the text pointer, creating it with the value 0; varpnt points
; at its 4 value bytes. Each variable takes 6 bytes from vartab on: 2 name bytes, the value.
find_var:
    cmp #'A'
    bcc @syntax
    cmp #'Z'+1
    bcs @syntax
    sta varnam
    lda #0
    sta varnam+1
    jsr chrget
    bcc @second
    cmp #'A'
    bcc @suffix
    cmp #'Z'+1
    bcs @suffix
@second:
    sta varnam+1
@more:
    jsr chrget
    bcc @more
    cmp #'A'
    bcc @suffix
    cmp #'Z'+1
    bcc @more
@suffix:
    cmp #'%'
    bne @plain
    lda varnam
    ora #$80
    sta varnam
    lda varnam+1
    ora #$80
    sta varnam+1
    jsr chrget
@plain:
    cmp #'$'
    beq @syntax
    cmp #'('
    beq @syntax
    lda vartab
    sta index2
    lda vartab+1
    sta index2+1
@search:
    lda index2
    cmp arytab
    lda index2+1
    sbc arytab+1
    bcs @create
    ldy #0
    lda (index2),y
    cmp varnam
    bne @other
    iny
    lda (index2),y
    cmp varnam+1
    beq @found
@other:
    lda index2
    clc
    adc #6
    sta index2
    bcc @search
    inc index2+1
    bne @search
@syntax:
    jmp syntax_error
@create:
    lda arytab
    sta index2
    clc
    adc #6
    tax
    lda arytab+1
    sta index2+1
    adc #0
    cmp fretop+1
    bcc @fits
    bne @full
    cpx fretop
    bcc @fits
@full:
    ldx #ERR_OUT_OF_MEMORY
    jmp error
@fits:
    stx arytab
    stx strend
    sta arytab+1
    sta strend+1
    ldy #0
    lda varnam
    sta (index2),y
    iny
    lda varnam+1
    sta (index2),y
    lda #0
@clear:
    iny
    sta (index2),y
    cpy #5
    bcc @clear
@found:
    lda index2
    clc
    adc #2
    sta varpnt
    lda index2+1
    adc #0
    sta varpnt+1
    rts

; fac with its sign or a blank before it and a blank after it, as PRINT shows numbers.
print_number:
    lda fac+3
    bpl @positive
    jsr negate_fac
    lda #'-'
    bne @sign
@positive:
    lda #' '
@sign:
    jsr CHROUT
    jsr print_unsigned
    lda #' '
    jmp CHROUT

; fac as an unsigned decimal number.
print_unsigned:
    lda #0                  ; marks the bottom of the digits
    pha
@divide:
    lda #0
    ldx #32
@bit:
    asl fac
    rol fac+1
    rol fac+2
    rol fac+3
    rol a
    cmp #10
    bcc @smaller
    sbc #10
    inc fac
@smaller:
    dex
    bne @bit
    ora #'0'
    pha
    lda fac
    ora fac+1
    ora fac+2
    ora fac+3
    bne @divide
@print:
    pla
    beq @done
    jsr CHROUT
    jmp @print
@done:
    rts
