; functions.s: BASIC's functions. SGN INT ABS SQR RND LOG EXP COS SIN TAN ATN come from the
; floating-point package; here are their argument handling, USR (through the JMP at $0310),
; FRE (string space collected first; a signed 16-bit result, as programs expect), POS, PEEK,
; the string functions LEN STR$ VAL ASC CHR$ LEFT$ RIGHT$ MID$, and DEF FN with FN calls.
; Called by: the evaluator's operands (call_function, call_fn); DEF by the statement table.

.include "zeropage.inc"
.macpack longbranch

.export call_function, call_fn, statement_def
.import eval, eval_numeric, check_numeric, check_string, eval_byte, byte_of_fac
.import expect_comma, expect_close, expect_open, expect_char, push_fac, pull_arg
.import eval_parenthesis, syntax_error, error, illegal_quantity, error_in_direct
.import free_fac_string, free_string, alloc_string, make_temp, copy_bytes, collect_garbage
.import make_copied_temp
.import find_fn, find_var, zero_value, statement_data, zero_fac
.export new_string, char_string

.segment "SPARE"

; The function of token A, the text pointer on its token.
call_function:
    cmp #TOKEN_LEFT
    jcs substring
    sbc #TOKEN_SGN-1        ; carry is clear
    asl
    tax
    lda handlers+1,x
    pha
    lda handlers,x
    pha
    jsr chrget
    jmp eval_parenthesis    ; returns into the handler

handlers:
    .word fn_sgn-1, fn_int-1, fn_abs-1, fn_usr-1, fn_fre-1, fn_pos-1, fn_sqr-1, fn_rnd-1
    .word fn_log-1, fn_exp-1, fn_cos-1, fn_sin-1, fn_tan-1, fn_atn-1, fn_peek-1, fn_len-1
    .word fn_str-1, fn_val-1, fn_asc-1, fn_chr-1

fn_sgn:
    jsr check_numeric
    jmp sgn
fn_int:
    jsr check_numeric
    jmp int
fn_abs:
    jsr check_numeric
    jmp abs
fn_usr:
    jsr check_numeric
    jmp $0310
fn_sqr:
    jsr check_numeric
    jmp sqr
fn_rnd:
    jsr check_numeric
    jmp rnd
fn_log:
    jsr check_numeric
    jmp log
fn_exp:
    jsr check_numeric
    jmp exp
fn_cos:
    jsr check_numeric
    jmp cos
fn_sin:
    jsr check_numeric
    jmp sin
fn_tan:
    jsr check_numeric
    jmp tan
fn_atn:
    jsr check_numeric
    jmp atn

fn_fre:
    lda valtyp
    beq @collect
    jsr free_fac_string
@collect:
    jsr collect_garbage
    lda fretop
    sec
    sbc strend
    tay
    lda fretop+1
    sbc strend+1
    jmp number_ay

fn_pos:
    sec
    jsr PLOT
    jmp number_y

fn_peek:
    jsr check_numeric
    jsr getadr
    ldy #0
    lda (linnum),y
    tay
    jmp number_y

fn_len:
    jsr string_argument
    tay
    jmp number_y

fn_asc:
    jsr string_argument
    beq @empty
    ldy #0
    lda (index),y
    tay
    jmp number_y
@empty:
    jmp illegal_quantity

; The string argument freed: A = its length (Z for an empty one), index its text.
string_argument:
    jsr check_string
    jsr free_fac_string
    ldx #0
    stx valtyp
    cmp #0
    rts

number_y:
    lda #0
; FAC = the signed 16-bit number A (high)/Y (low), a number value.
number_ay:
    ldx #0
    stx valtyp
    jmp givayf

fn_str:
    jsr check_numeric
    jsr fout
    ldy #$FF
@length:
    iny
    lda fbuffr,y
    bne @length
    tya
    ldx #<fbuffr
    ldy #>fbuffr
    bne new_string

fn_chr:
    jsr check_numeric
    jsr byte_of_fac
    stx fbuffr
; A temporary string of the one character in fbuffr, stored rather than copied, so frespc stays
; at the character. Also GET's.
char_string:
    lda #1
    jsr alloc_string
    lda fbuffr
    ldy #0
    sta (frespc),y
    lda #1
    ldx frespc
    ldy frespc+1
    jmp make_temp

; A new temporary string: a copy of A bytes at X/Y.
new_string:
    stx dscpnt+1            ; collecting garbage leaves dscpnt alone, not index
    sty dscpnt+2
    jsr alloc_string
    stx index2
    sty index2+1
    ldx dscpnt+1
    stx index
    ldx dscpnt+2
    stx index+1
    pha
    jsr copy_bytes
    pla
    jmp make_copied_temp

; VAL: the number at the start of the string, read as from program text.
fn_val:
    jsr string_argument
    bne @text
    jmp zero_fac
@text:
    tay
    lda txtptr
    pha
    lda txtptr+1
    pha
    lda (index),y           ; the byte after the string becomes its end for a while
    pha
    lda #0
    sta (index),y
    tya
    pha
    lda index
    sta txtptr
    lda index+1
    sta txtptr+1
    lda index
    pha
    lda index+1
    pha
    jsr chrgot
    jsr fin
    pla
    sta index+1
    pla
    sta index
    pla
    tay
    pla
    sta (index),y
    pla
    sta txtptr+1
    pla
    sta txtptr
    lda #0
    sta valtyp
    rts

; LEFT$(s$, n), RIGHT$(s$, n), MID$(s$, i[, n]).
substring:
    pha
    jsr chrget
    jsr expect_open
    jsr eval
    jsr check_string
    jsr push_fac
    jsr expect_comma
    jsr eval_byte
    pha
    lda #255
    pha
    jsr chrgot
    cmp #','
    bne @close
    jsr chrget
    jsr eval_byte
    pla
    txa
    pha
@close:
    jsr expect_close
    pla
    sta count+1             ; MID$'s length
    pla
    sta count               ; the first number
    jsr pull_arg
    pla
    ldy #0
    tax
    lda (argmo),y           ; the string's length
    cpx #TOKEN_LEFT
    beq @left
    cpx #TOKEN_MID
    beq @mid
    sec                     ; RIGHT$: the last n
    sbc count
    bcs @from
    lda #0
@from:
    sta index2              ; start
    lda (argmo),y
    sec
    sbc index2
    jmp @take
@left:
    ldx #0
    stx index2
    cmp count
    bcc @take
    lda count
    bcs @take
@mid:
    ldx count
    bne @start
    jmp illegal_quantity
@start:
    dex
    stx index2
    sec
    sbc index2
    bcs @rest
    lda #0
@rest:
    cmp count+1
    bcc @take
    lda count+1
@take:
    tax                     ; the length taken, from index2 on
    lda index2
    pha
    txa
    pha
    jsr alloc_string        ; may move the string: its descriptor is read after
    lda argmo
    ldy argmo+1
    jsr free_string
    pla
    sta count
    pla
    clc
    adc index
    sta index
    bcc @copy
    inc index+1
@copy:
    lda frespc
    sta index2
    lda frespc+1
    sta index2+1
    lda count
    jsr copy_bytes
    lda count
    jmp make_copied_temp

; FN name(argument): the definition's expression with its parameter set to the argument; the
; parameter's own value comes back afterwards.
call_fn:
    jsr chrget
    lda #$40
    sta dimflg
    jsr find_fn
    lda #0
    sta dimflg
    lda varpnt
    cmp #<zero_value
    bne @defined
    lda varpnt+1
    cmp #>zero_value
    bne @defined
    ldx #ERR_UNDEFD_FUNCTION
    jmp error
@defined:
    lda varpnt+1
    pha
    lda varpnt
    pha
    jsr eval_parenthesis
    jsr check_numeric
    pla
    sta index2
    pla
    sta index2+1
    ldy #3
@definition:
    lda (index2),y
    sta defpnt-2,y          ; $4E/$4F the parameter; index2 the text
    dey
    cpy #2
    bcs @definition
    lda (index2),y
    tax
    dey
    lda (index2),y
    sta index2
    stx index2+1
    ldy #4
@keep:
    lda (defpnt),y
    pha
    dey
    bpl @keep
    lda defpnt+1
    pha
    lda defpnt
    pha
    lda txtptr+1
    pha
    lda txtptr
    pha
    lda index2
    sta txtptr
    lda index2+1
    sta txtptr+1
    ldx defpnt
    ldy defpnt+1
    jsr movmf
    jsr chrget
    jsr eval_numeric
    pla
    sta txtptr
    pla
    sta txtptr+1
    pla
    sta index
    pla
    sta index+1
    ldy #0
@restore:
    pla
    sta (index),y
    iny
    cpy #5
    bne @restore
    jmp chrgot

; DEF FN name(parameter) = expression: the FN variable keeps where the expression starts and
; where its parameter's value is.
statement_def:
    jsr error_in_direct
    lda #TOKEN_FN
    jsr expect_char
    jsr find_fn
    lda varpnt+1
    pha
    lda varpnt
    pha
    jsr expect_open
    lda #$80
    sta subflg
    jsr find_var
    lda #0
    sta subflg
    lda valtyp
    ora intflg
    beq @number
    jmp syntax_error
@number:
    jsr expect_close
    pla
    sta index2
    pla
    sta index2+1
    ldy #0
    lda txtptr
    sta (index2),y
    iny
    lda txtptr+1
    sta (index2),y
    iny
    lda varpnt
    sta (index2),y
    iny
    lda varpnt+1
    sta (index2),y
    lda #TOKEN_EQUAL
    ldy #0
    cmp (txtptr),y
    beq @skip
    jmp syntax_error
@skip:
    jmp statement_data
