; variables.s: simple variables and arrays, in the layout programs PEEK and machine code reads.
; A simple variable takes 7 bytes from vartab on: the two name bytes (bit 7 of both set for an
; integer, of the second for a string, of the first for an FN), then a number in memory format,
; an integer high byte first, or a string's length and address. An array, from arytab on: the
; name, its size in bytes (low first), the number of dimensions, each dimension's size (high
; byte first, the last dimension first), then its elements (5, 2 or 3 bytes each), the first
; subscript counting fastest. TI, TI$ and ST read the clock and the I/O status.
; Called by: the evaluator (variable_value), LET, FOR, NEXT, INPUT, READ, GET, DIM, DEF FN.

.include "zeropage.inc"
.macpack longbranch

.export find_fn, find_var, variable_value, statement_dim, zero_value, is_letter
.import eval_numeric, expect_close, syntax_error, error, illegal_quantity, out_of_memory
.import copy_down_memory, collect_garbage, check_room, make_string, push_descriptor, time_string


.segment "BASIC2"

; C clear for a letter in A.
is_letter:
    cmp #'A'
    bcc @no
    cmp #'Z'+1
    rts
@no:
    sec
    rts

; A variable's value in FAC as the evaluator reads it: a missing simple variable reads as 0 or
; an empty string without being made.
variable_value:
    lda #$40
    sta dimflg
    jsr find_var
    lda #0
    sta dimflg
    lda varnam
    ldx varnam+1
    bit valtyp
    bpl @number
    cmp #'T'
    bne @string
    cpx #'I'|$80
    bne @string
    jmp time_string
@string:
    lda varpnt
    sta facmo
    lda varpnt+1
    sta facmo+1
    rts
@number:
    bit intflg
    bpl @float
    ldy #0
    lda (varpnt),y
    pha
    iny
    lda (varpnt),y
    tay
    pla
    jmp givayf
@float:
    cmp #'T'
    bne @status
    cpx #'I'
    bne @status
    jsr RDTIM               ; jiffies: A low, X middle, Y high
    sty facho
    stx facmoh
    sta facmo
    lda #0
    sta faclo
    sta facsgn
    ldx #$98                ; the 24 bits at the top of the mantissa are the integer
    jmp float_fac_24
@status:
    cmp #'S'
    bne @memory
    cpx #'T'
    bne @memory
    jsr READST              ; a signed byte, as programs see it
    jmp float
@memory:
    lda varpnt
    ldy varpnt+1
    jmp movfm

; FAC = the unsigned number in facho..facmo scaled by exponent X.
float_fac_24:
    stx facexp
    lda #0
    sta facov
    jmp normalize

.import normalize

; Reads the name at the text pointer: varnam, valtyp ($FF for $), intflg ($80 for %).
parse_name:
    jsr chrgot
    jsr is_letter
    bcs @syntax
    sta varnam
    ldx #0
    stx varnam+1
    stx valtyp
    stx intflg
    jsr chrget
    bcc @second
    jsr is_letter
    bcs @suffix
@second:
    sta varnam+1
@skip:
    jsr chrget
    bcc @skip
    jsr is_letter
    bcc @skip
@suffix:
    cmp #'$'
    bne @integer
    lda #$FF
    sta valtyp
    lda #$80
    bne @second_bit
@integer:
    cmp #'%'
    bne @done
    bit subflg
    bmi @syntax
    lda #$80
    sta intflg
    ora varnam
    sta varnam
    lda #$80
@second_bit:
    ora varnam+1
    sta varnam+1
    jsr chrget
@done:
    rts
@syntax:
syntax:
    jmp syntax_error

; Finds the variable or array element named at the text pointer, making it when absent; varpnt
; points at its value.
find_var:
    jsr parse_name
    cmp #'('
    bne find_named
    bit subflg
    bmi find_named
    jmp array_element

; FN name: a number variable whose name has bit 7 of its first byte set.
find_fn:
    jsr parse_name
    lda valtyp
    ora intflg
    bne syntax
    lda varnam
    ora #$80
    sta varnam
; The simple variable varnam.
find_named:
    lda vartab
    ldx vartab+1
@search:
    sta index2
    stx index2+1
    cpx arytab+1
    bne @compare
    cmp arytab
    beq @absent
@compare:
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
    adc #7
    bcc @search
    inx
    bcs @search
@absent:
    bit dimflg
    bvc @create
    lda #<zero_value
    sta varpnt
    lda #>zero_value
    sta varpnt+1
    rts
@create:
    lda strend              ; arrays move up 7 bytes
    clc
    adc #7
    tax
    lda strend+1
    adc #0
    tay
    txa
    jsr check_room
    lda strend
    sta index
    sec
    sbc arytab
    sta count
    lda strend+1
    sta index+1
    sbc arytab+1
    sta count+1
    stx index2
    sty index2+1
    stx strend
    sty strend+1
    jsr copy_down_memory
    lda arytab
    sta index2
    clc
    adc #7
    sta arytab
    lda arytab+1
    sta index2+1
    adc #0
    sta arytab+1
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
    cpy #6
    bne @clear
@found:
    lda index2
    clc
    adc #2
    sta varpnt
    lda index2+1
    adc #0
    sta varpnt+1
    rts

zero_value:
    .byte 0, 0, 0, 0, 0

; An array element name(s1, s2, ...): the subscripts go on the stack (the last on top) above
; the name's details; the array is found, or made (dimensions 10, or DIM's), and varpnt set.
array_element:
    lda dimflg
    pha
    lda varnam+1
    pha
    lda varnam
    pha
    lda valtyp
    pha
    lda intflg
    pha
    lda #0
    pha
@subscript:
    jsr chrget
    lda dimflg
    pha
    jsr eval_numeric
    pla
    sta dimflg
    jsr ayint
    lda facmo
    bpl @positive
    jmp illegal_quantity
@positive:
    pla
    tax
    inx
    lda faclo
    pha
    lda facmo
    pha
    txa
    pha
    jsr chrgot
    cmp #','
    beq @subscript
    jsr expect_close
    pla
    sta token
    tsx
    stx opptr               ; the subscripts: $0101+X on
    txa
    clc
    adc token
    adc token
    sta opptr+1             ; the name's details: $0101+X on
    tax
    lda $0101,x
    sta intflg
    lda $0102,x
    sta valtyp
    lda $0103,x
    sta varnam
    lda $0104,x
    sta varnam+1
    lda $0105,x
    sta dimflg
    lda arytab
    ldx arytab+1
@search:
    sta lowtr
    stx lowtr+1
    cpx strend+1
    bne @compare
    cmp strend
    beq @absent
@compare:
    ldy #0
    lda (lowtr),y
    iny
    cmp varnam
    bne @other
    lda (lowtr),y
    cmp varnam+1
    beq @found
@other:
    iny
    lda (lowtr),y
    clc
    adc lowtr
    pha
    iny
    lda (lowtr),y
    adc lowtr+1
    tax
    pla
    jmp @search
@found:
    ldx #ERR_REDIMD
    bit dimflg
    bmi @error
    ldy #4
    lda (lowtr),y
    cmp token
    beq @element
    ldx #ERR_BAD_SUBSCRIPT
@error:
    jmp error
@absent:
    jsr make_array
    bit dimflg
    bpl @element
    jmp drop_subscripts
@element:
    jmp locate_element

element_sizes:
    .byte 5, 2, 3

; The size of one element of the array being worked on, in A.
element_size:
    ldx #1
    bit intflg
    bmi @have
    inx
    bit valtyp
    bmi @have
    ldx #0
@have:
    lda element_sizes,x
    rts

dim_low  = dscpnt       ; the dimension being worked on
dim_high = dscpnt+1

; Makes the array at lowtr (= strend) from the name and the subscripts on the stack.
make_array:
    jsr element_size
    sta index2
    lda #0
    sta index2+1
    ldy #5                  ; header: name, size, dimensions, then each dimension
    ldx opptr
@dimension:
    lda #11
    sta dim_low
    lda #0
    sta dim_high
    bit dimflg
    bpl @default
    lda $0102,x
    clc
    adc #1
    sta dim_low
    lda $0101,x
    adc #0
    sta dim_high
@default:
    lda dim_high
    sta (lowtr),y
    iny
    lda dim_low
    sta (lowtr),y
    iny
    txa
    pha
    tya
    pha
    lda index2
    sta $28
    lda index2+1
    sta $29
    ldx dim_low
    ldy dim_high
    jsr multiply16
    jcs @full
    lda $28
    sta index2
    lda $29
    sta index2+1
    pla
    tay
    pla
    tax
    inx
    inx
    cpx opptr+1
    bne @dimension
    tya
    clc
    adc index2
    sta index2
    bcc @total
    inc index2+1
    beq @full
@total:
    lda index2
    clc
    adc lowtr
    pha
    lda index2+1
    adc lowtr+1
    bcs @full
    tay
    pla
    ldx index2+1            ; collecting garbage uses index2
    stx dim_high
    ldx index2
    stx dim_low
    jsr check_room
    stx strend
    sty strend+1
    lda dim_low
    sta index2
    lda dim_high
    sta index2+1
    ldy #0
    lda varnam
    sta (lowtr),y
    iny
    lda varnam+1
    sta (lowtr),y
    iny
    lda index2
    sta (lowtr),y
    iny
    lda index2+1
    sta (lowtr),y
    iny
    lda token
    sta (lowtr),y
    asl                     ; clear the elements, after the header
    adc #5
    adc lowtr
    sta index
    lda lowtr+1
    adc #0
    sta index+1
    ldy #0
@clear:
    lda index
    cmp strend
    bne @store
    lda index+1
    cmp strend+1
    beq @done
@store:
    tya
    sta (index),y
    inc index
    bne @clear
    inc index+1
    bne @clear
@done:
    rts
@full:
    jmp out_of_memory

; varpnt = the element the subscripts on the stack name in the array at lowtr; ?BAD SUBSCRIPT
; when one is past its dimension. Then drops the subscripts and returns to find_var's caller.
locate_element:
    lda #0
    sta $28
    sta $29
    ldy #5
    ldx opptr
@dimension:
    lda $0102,x             ; subscript < dimension?
    iny
    cmp (lowtr),y
    dey
    lda $0101,x
    sbc (lowtr),y
    bcs bad_subscript
    txa
    pha
    lda (lowtr),y
    sta dim_high
    iny
    lda (lowtr),y
    iny
    tax
    tya
    pha
    ldy dim_high
    jsr multiply16
    pla
    tay
    pla
    tax
    lda $28
    clc
    adc $0102,x
    sta $28
    lda $29
    adc $0101,x
    sta $29
    inx
    inx
    cpx opptr+1
    bne @dimension
    tya                     ; the header's length
    pha
    jsr element_size
    tax
    ldy #0
    jsr multiply16
    pla
    clc
    adc $28
    sta $28
    bcc @add
    inc $29
@add:
    lda $28
    clc
    adc lowtr
    sta varpnt
    lda $29
    adc lowtr+1
    sta varpnt+1
drop_subscripts:
    ldx opptr+1
    txa
    clc
    adc #5
    tax
    txs
    rts
bad_subscript:
    ldx #ERR_BAD_SUBSCRIPT
    jmp error

; $28/$29 (low, high) = $28/$29 * X (low)/Y (high); carry set when the product passes 65535.
multiply16:
    stx count
    sty count+1
    lda $28
    sta index2
    lda $29
    sta index2+1
    lda #0
    sta $28
    sta $29
    ldy #16
@bit:
    asl $28
    rol $29
    bcs @over
    asl count
    rol count+1
    bcc @next
    lda $28
    clc
    adc index2
    sta $28
    lda $29
    adc index2+1
    sta $29
    bcs @over
@next:
    dey
    bne @bit
@over:
    rts

; DIM name(d1, ...)[, ...]
statement_dim:
    lda #$80
    sta dimflg
    jsr find_var
    lda #0
    sta dimflg
    jsr chrgot
    beq @done
    cmp #','
    bne @syntax
    jsr chrget
    jmp statement_dim
@done:
    rts
@syntax:
    jmp syntax_error
