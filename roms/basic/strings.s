; strings.s: string space and string values. Strings live in program text (literals), in the
; input buffer, or in string space, which grows down from memsiz to fretop above the arrays.
; A value being worked on is a descriptor (length, address) on the stack of three temporary
; descriptors at $19-$21 (temppt, lastpt), or a variable's own. When string space meets the
; arrays, garbage collection moves every string still described to the top of memory, highest
; first, and frees the rest.
; Called by: the evaluator, the string functions, LET, INPUT, READ and GET.

.include "zeropage.inc"
.macpack longbranch

.export string_literal, make_temp, free_fac_string, free_string, concatenate, alloc_string
.export collect_garbage, check_room, copy_bytes, assign_string, text_string, garbfl
.export make_copied_temp
.import error, out_of_memory, type_mismatch

garbfl  = inquote       ; $FF once this allocation has collected garbage
gc_top  = $57           ; $57/$58 the strings above here are collected
gc_best = $59           ; $59/$5A the highest string below gc_top found so far
gc_desc = $5B           ; $5B/$5C its descriptor
fac_desc = facmo
arg_desc = argmo

.segment "BASIC2"

; "text": a temporary descriptor of the text between the quotes (the line's end may close it).
string_literal:
    lda #'"'
    ldx #'"'
; A temporary descriptor of the text after the text pointer up to the character A or X (or the
; line's end); the text pointer goes past a closing quote.
text_string:
    sta count
    stx count+1
    lda txtptr
    clc
    adc #1
    sta index2
    lda txtptr+1
    adc #0
    sta index2+1
    ldy #0
@scan:
    lda (index2),y
    beq @end
    cmp count
    beq @end
    cmp count+1
    beq @end
    iny
    bne @scan
@end:
    sty count
    tya
    clc
    adc index2
    sta txtptr
    lda index2+1
    adc #0
    sta txtptr+1
    ldy #0
    lda (txtptr),y
    cmp #'"'
    bne @keep
    jsr chrget
@keep:
    lda count
    ldx index2
    ldy index2+1
; A temporary descriptor of A bytes at X (low)/Y (high); FAC holds it as a string value.
make_temp:
    stx dscpnt+1
    ldx temppt
    cpx #tempst+9
    bne @room
    ldx #ERR_TOO_COMPLEX
    jmp error
@room:
    sta 0,x
    lda dscpnt+1
    sta 1,x
    sty 2,x
    stx fac_desc
    stx lastpt
    ldy #0
    sty fac_desc+1
    sty lastpt+1
    inx
    inx
    inx
    stx temppt
    dey
    sty valtyp
    rts

; Frees FAC's string: see free_string.
free_fac_string:
    lda fac_desc
    ldy fac_desc+1
; Frees the string whose descriptor is at A/Y: a temporary descriptor on top of the stack is
; dropped, and its text given back when it is the lowest in string space. Returns A = length,
; index = the text's address.
free_string:
    sta index
    sty index+1
    ldx #0
    cpy #0
    bne @read
    cmp lastpt
    bne @read
    cmp #tempst
    bcc @read
    sta temppt
    sbc #3
    sta lastpt
    dex
@read:
    ldy #0
    lda (index),y
    pha
    iny
    lda (index),y
    pha
    iny
    lda (index),y
    sta index+1
    pla
    sta index
    pla
    cpx #0
    beq @done
    ldx index
    cpx fretop
    bne @done
    ldx index+1
    cpx fretop+1
    bne @done
    pha
    clc
    adc fretop
    sta fretop
    bcc @given
    inc fretop+1
@given:
    pla
@done:
    rts

; ARG's string + FAC's string, as a new temporary string.
concatenate:
    ldy #0
    lda (arg_desc),y
    clc
    adc (fac_desc),y
    bcc @fits
    ldx #ERR_TOO_LONG
    jmp error
@fits:
    jsr alloc_string
    lda frespc
    sta index2
    lda frespc+1
    sta index2+1
    lda arg_desc
    ldy arg_desc+1
    jsr copy_described
    lda fac_desc
    ldy fac_desc+1
    jsr copy_described
    jsr free_fac_string
    lda arg_desc
    ldy arg_desc+1
    jsr free_string
    ldy #0
    lda (arg_desc),y
    clc
    adc (fac_desc),y
; A temporary of A bytes just copied to frespc. frespc ends past the copy, where the genuine
; BASIC's copying leaves $35/$36 too.
make_copied_temp:
    pha
    ldx frespc
    ldy frespc+1
    lda index2
    sta frespc
    lda index2+1
    sta frespc+1
    pla
    jmp make_temp

; Copies the string described at A/Y to index2, which moves past it.
copy_described:
    sta index
    sty index+1
    ldy #0
    lda (index),y
    pha
    iny
    lda (index),y
    tax
    iny
    lda (index),y
    stx index
    sta index+1
    pla
; Copies A bytes from index to index2; index2 moves past them.
copy_bytes:
    pha
    tay
    beq @moved
@next:
    dey
    lda (index),y
    sta (index2),y
    tya
    bne @next
@moved:
    pla
    clc
    adc index2
    sta index2
    bcc @done
    inc index2+1
@done:
    rts

; Room for A bytes of string: fretop goes down by A (collecting garbage once when it would pass
; strend). Out: X (low)/Y (high) = frespc = the bytes' address, A = the length.
alloc_string:
    ldx #0
    stx garbfl
@retry:
    pha
    sta frespc
    lda fretop
    sec
    sbc frespc
    tax
    lda fretop+1
    sbc #0
    tay
    bcc @full
    cpy strend+1
    bcc @full
    bne @fits
    cpx strend
    bcc @full
@fits:
    stx fretop
    sty fretop+1
    stx frespc
    sty frespc+1
    pla
    rts
@full:
    bit garbfl
    bmi @out
    jsr collect_garbage
    dec garbfl
    pla
    jmp @retry
@out:
    jmp out_of_memory

; Returns when the arrays may grow to end at A (low)/Y (high), collecting garbage if they would
; meet string space; ?OUT OF MEMORY otherwise. Out: X (low)/Y (high) as given.
check_room:
    cpy fretop+1
    bcc @fits
    bne @collect
    cmp fretop
    bcc @fits
@collect:
    pha
    tya
    pha
    jsr collect_garbage
    pla
    tay
    pla
    cpy fretop+1
    bcc @fits
    bne @full
    cmp fretop
    bcs @full
@fits:
    tax
    rts
@full:
    jmp out_of_memory

; Moves every described string in string space up to the top of memory, the highest first,
; so that the space of strings nothing describes any more comes free below them.
collect_garbage:
    lda memsiz
    sta gc_top
    lda memsiz+1
    sta gc_top+1
@pass:
    lda #0
    sta gc_best
    sta gc_best+1
    sta index+1
    lda #tempst
    sta index
@temporaries:
    lda index
    cmp temppt
    beq @variables
    jsr consider
    lda #3
    jsr advance
    jmp @temporaries
@variables:
    lda vartab
    sta index
    lda vartab+1
    sta index+1
@variable:
    lda index
    cmp arytab
    bne @test_variable
    lda index+1
    cmp arytab+1
    beq @arrays
@test_variable:
    ldy #0
    lda (index),y
    bmi @next_variable
    iny
    lda (index),y
    bpl @next_variable
    lda #2
    jsr advance
    jsr consider
    lda #5
    .byte $2C
@next_variable:
    lda #7
    jsr advance
    jmp @variable
@arrays:
    lda index
    cmp strend
    bne @array
    lda index+1
    cmp strend+1
    beq @move
@array:
    ldy #2
    lda (index),y
    clc
    adc index
    sta index2
    iny
    lda (index),y
    adc index+1
    sta index2+1
    ldy #0
    lda (index),y
    bmi @next_array
    iny
    lda (index),y
    bpl @next_array
    ldy #4
    lda (index),y
    asl
    adc #5
    jsr advance
@element:
    lda index
    cmp index2
    bne @test_element
    lda index+1
    cmp index2+1
    beq @arrays
@test_element:
    jsr consider
    lda #3
    jsr advance
    jmp @element
@next_array:
    lda index2
    sta index
    lda index2+1
    sta index+1
    jmp @arrays
@move:
    lda gc_best+1
    bne @found
    lda gc_top
    sta fretop
    lda gc_top+1
    sta fretop+1
    rts
@found:
    ldy #0
    lda (gc_desc),y
    sta count
    lda gc_top
    sec
    sbc count
    sta gc_top
    sta index
    bcs @high
    dec gc_top+1
@high:
    lda gc_top+1
    sta index+1
    ldy count
@copy:
    dey
    lda (gc_best),y
    sta (index),y
    tya
    bne @copy
    ldy #1
    lda index
    sta (gc_desc),y
    iny
    lda index+1
    sta (gc_desc),y
    jmp @pass

advance:
    clc
    adc index
    sta index
    bcc @done
    inc index+1
@done:
    rts

; The descriptor at index: when its text lies in string space below gc_top and above the best
; found so far, it becomes the best.
consider:
    ldy #0
    lda (index),y
    beq @no
    ldy #2
    lda (index),y
    cmp fretop+1
    bcc @no
    bne @above_bottom
    dey
    lda (index),y
    cmp fretop
    bcc @no
    iny
@above_bottom:
    lda (index),y
    cmp gc_top+1
    bcc @below_top
    bne @no
    dey
    lda (index),y
    cmp gc_top
    bcs @no
    iny
@below_top:
    lda (index),y
    cmp gc_best+1
    bcc @no
    bne @take
    dey
    lda (index),y
    cmp gc_best
    bcc @no
@take:
    ldy #1
    lda (index),y
    sta gc_best
    iny
    lda (index),y
    sta gc_best+1
    lda index
    sta gc_desc
    lda index+1
    sta gc_desc+1
@no:
    rts

; Stores FAC's string in the string variable at forpnt. A temporary string in string space is
; taken over, and text in the program is pointed at; anything else is copied, so that no two
; variables share text that garbage collection moves.
assign_string:
    ldy #0
    lda (fac_desc),y
    sta count
    ldy #2
    lda (fac_desc),y
    tax
    dey
    lda (fac_desc),y
    cpx fretop+1            ; in string space?
    bcc @not_space
    bne @in_space
    cmp fretop
    bcc @not_space
@in_space:
    ldy fac_desc+1          ; a temporary on top of the stack: take it
    bne @copy
    lda fac_desc
    cmp lastpt
    bne @copy
    beq @point
@not_space:
    cpx txttab+1            ; in the program text?
    bcc @copy
    bne @below_vartab
    cmp txttab
    bcc @copy
@below_vartab:
    cpx vartab+1
    bcc @point
    bne @copy
    cmp vartab
    bcs @copy
@point:
    ldy #2
@descriptor:
    lda (fac_desc),y
    sta (forpnt),y
    dey
    bpl @descriptor
    jmp drop_temporary
@copy:
    lda count
    jsr alloc_string
    pha                     ; the length: collecting garbage may have used count
    lda frespc
    sta index2
    lda frespc+1
    sta index2+1
    lda fac_desc            ; copied before the variable changes: it may be the source (A$=A$)
    ldy fac_desc+1
    jsr copy_described
    ldy #0
    pla
    sta (forpnt),y
    iny
    lda frespc
    sta (forpnt),y
    iny
    lda frespc+1
    sta (forpnt),y
    lda index2              ; past the copy, as the genuine BASIC leaves $35/$36
    sta frespc
    lda index2+1
    sta frespc+1
drop_temporary:
    lda fac_desc+1
    bne @done
    lda fac_desc
    cmp lastpt
    bne @done
    sta temppt
    sbc #3
    sta lastpt
@done:
    rts
