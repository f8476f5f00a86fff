; program.s: the stored program. Lines sit from txttab on as link (2 bytes), line number
; (2 bytes), tokenised text and a zero byte; a link with a zero high byte ends the program.
; Storing a typed line replaces or deletes a line of the same number and relinks the program;
; NEW, CLR, RUN and LIST work on it here.
; Called by: the READY loop (store_line), the statement table, GOTO and GOSUB (find_line).

.include "zeropage.inc"
.macpack longbranch

.export store_line, find_line, parse_line_number, do_new, clear_variables, relink
.export statement_new, statement_clr, statement_run, statement_list, goto_line
.export copy_down_memory, start_program
.import newstt, ready, syntax_error, error, reset_stack_frames, init_temporaries
.import check_statement_end, restore_data

listend = defpnt        ; $4E/$4F LIST: the last line to list
linelen = dscpnt        ; store_line: the new line's length

.segment "BASIC1"

; Reads a line number (0-63999) from the text into linnum; stops at the first non-digit.
; Expects A and the carry as chrget left them.
parse_line_number:
    ldx #0
    stx linnum
    stx linnum+1
@digit:
    bcs @done
    sbc #'0'-1              ; carry is clear: A - '0'
    pha
    lda linnum+1            ; from 6400 on, ten times the number passes 63999
    cmp #>6400
    bcs @too_big
    lda linnum
    sta index
    lda linnum+1
    sta index+1
    asl linnum
    rol linnum+1
    asl linnum
    rol linnum+1
    lda linnum
    clc
    adc index
    sta linnum
    lda linnum+1
    adc index+1
    sta linnum+1
    asl linnum
    rol linnum+1
    pla
    clc
    adc linnum
    sta linnum
    bcc @next
    inc linnum+1
@next:
    jsr chrget
    jmp @digit
@too_big:
    jmp syntax_error
@done:
    rts

; Stores the typed line in buf (txtptr at its number) into the program.
store_line:
    jsr parse_line_number
    jsr find_line
    bcc @insert
    ldy #0                  ; delete the old line: move the rest of the program down on it
    lda (lowtr),y
    sta index
    iny
    lda (lowtr),y
    sta index+1
    lda lowtr
    sta index2
    lda lowtr+1
    sta index2+1
    lda vartab
    sec
    sbc index
    sta count
    lda vartab+1
    sbc index+1
    sta count+1
    jsr copy_up_memory
    jsr relink
@insert:
    jsr chrgot
    beq @done
    ldy #0
@measure:
    iny
    lda (txtptr),y
    bne @measure
    tya
    clc
    adc #5                  ; the zero byte and the 4-byte header
    sta linelen
    lda vartab              ; the moved program must end below the string space
    clc
    adc linelen
    sta index2
    lda vartab+1
    adc #0
    sta index2+1
    cmp fretop+1
    bcc @fits
    bne @full
    lda index2
    cmp fretop
    bcc @fits
@full:
    ldx #ERR_OUT_OF_MEMORY
    jmp error
@fits:
    lda vartab              ; lowtr..vartab moves up by the new line's length
    sta index
    sec
    sbc lowtr
    sta count
    lda vartab+1
    sta index+1
    sbc lowtr+1
    sta count+1
    jsr copy_down_memory
    ldy #1                  ; a nonzero placeholder link until relink fills it in
    lda #1
    sta (lowtr),y
    iny
    lda linnum
    sta (lowtr),y
    iny
    lda linnum+1
    sta (lowtr),y
    lda lowtr
    clc
    adc #4
    sta index2
    lda lowtr+1
    adc #0
    sta index2+1
    ldy #0
@copy_text:
    lda (txtptr),y
    sta (index2),y
    beq @copied
    iny
    bne @copy_text
@copied:
    jsr relink
@done:
    lda #0                  ; an edited program cannot continue
    sta oldtxt+1
    jmp clear_variables

; Copies count bytes from index to index2 (index2 below index), lowest first.
copy_up_memory:
    ldy #0
@next:
    lda count
    ora count+1
    beq @done
    lda (index),y
    sta (index2),y
    inc index
    bne @source
    inc index+1
@source:
    inc index2
    bne @target
    inc index2+1
@target:
    lda count
    bne @low
    dec count+1
@low:
    dec count
    jmp @next
@done:
    rts

; Copies the count bytes that end at index to the bytes that end at index2 (index2 above
; index), highest first.
copy_down_memory:
    ldy #0
@next:
    lda count
    ora count+1
    beq @done
    lda index
    bne @source
    dec index+1
@source:
    dec index
    lda index2
    bne @target
    dec index2+1
@target:
    dec index2
    lda (index),y
    sta (index2),y
    lda count
    bne @low
    dec count+1
@low:
    dec count
    jmp @next
@done:
    rts

; Finds line linnum: carry set with lowtr at it, or carry clear with lowtr at the first line
; after it (or at the end of the program).
find_line:
    lda txttab
    ldx txttab+1
; The same from the line at A (low)/X (high) on.
find_line_from:
    sta lowtr
    stx lowtr+1
    ldy #1
    lda (lowtr),y
    beq @absent
    ldy #3
    lda (lowtr),y
    cmp linnum+1
    bcc @follow
    bne @absent
    dey
    lda (lowtr),y
    cmp linnum
    bcc @follow
    bne @absent
    rts                     ; carry is set: found
@follow:
    ldy #0
    lda (lowtr),y
    tax
    iny
    lda (lowtr),y
    stx index
    tax
    lda index
    jmp find_line_from
@absent:
    clc
    rts

; Rebuilds every link from the zero bytes that end the lines; vartab follows the end mark.
relink:
    lda txttab
    sta index
    lda txttab+1
    sta index+1
@line:
    ldy #1
    lda (index),y
    beq @end
    ldy #3
@scan:
    iny
    lda (index),y
    bne @scan
    iny
    tya
    clc
    adc index
    tax
    lda index+1
    adc #0
    ldy #1
    sta (index),y
    pha
    txa
    dey
    sta (index),y
    stx index
    pla
    sta index+1
    jmp @line
@end:
    lda index
    clc
    adc #2
    sta vartab
    lda index+1
    adc #0
    sta vartab+1
    rts

; An empty program; the byte before it is zero too, where GOTO and RUN enter the first line.
do_new:
    lda #0
    tay
    sta (txttab),y
    iny
    sta (txttab),y
    lda txttab
    sec
    sbc #1
    sta index
    lda txttab+1
    sbc #0
    sta index+1
    lda #0
    tay
    sta (index),y
    lda txttab
    clc
    adc #2
    sta vartab
    lda txttab+1
    adc #0
    sta vartab+1
clear_variables:
    jsr init_temporaries
    jsr restore_data
    lda vartab
    sta arytab
    sta strend
    lda vartab+1
    sta arytab+1
    sta strend+1
    lda memsiz
    sta fretop
    lda memsiz+1
    sta fretop+1
    rts

statement_new:
    jsr check_statement_end
    jsr do_new
    jmp ready

statement_clr:
    jsr check_statement_end
    jsr clear_variables
    jmp reset_stack_frames

; RUN [line]: variables cleared, frames dropped, then the program from its start or the line.
statement_run:
    beq @from_start
    jsr parse_line_number
    jsr check_statement_end
    jsr clear_for_run
    jsr goto_line
    jmp newstt
@from_start:
    jsr clear_for_run
    jsr start_program
    jmp newstt

; The text pointer on the zero byte before the first line, where the statement loop enters it.
start_program:
    lda txttab
    sec
    sbc #1
    sta txtptr
    lda txttab+1
    sbc #0
    sta txtptr+1
    lda #0
    sta curlin+1
    rts

clear_for_run:
    lda #0                  ; a running program gets no KERNAL messages
    jsr SETMSG
    jsr clear_variables
    jmp reset_stack_frames

; Continues at line linnum: txtptr on the zero byte before it, so the statement loop enters it.
goto_line:
    ldx curlin+1            ; a later line of a program: search from the next line on
    inx
    beq @from_start
    lda curlin+1
    cmp linnum+1
    bcc @from_here
    bne @from_start
    lda curlin
    cmp linnum
    bcs @from_start
@from_here:
    ldy #0
@to_end:
    lda (txtptr),y
    beq @line_end
    iny
    bne @to_end
@from_start:
    jsr find_line
    jmp @searched
@line_end:
    tya
    sec
    adc txtptr
    ldx txtptr+1
    bcc @search
    inx
@search:
    jsr find_line_from
@searched:
    bcs @found
    ldx #ERR_UNDEFD
    jmp error
@found:
    lda lowtr
    sec
    sbc #1
    sta txtptr
    lda lowtr+1
    sbc #0
    sta txtptr+1
    lda #0
    sta curlin+1
    rts

; LIST [from][-[to]].
statement_list:
    lda #0
    sta linnum
    sta linnum+1
    lda #$FF
    sta listend
    sta listend+1
    jsr chrgot
    beq @list
    bcs @range_end
    jsr parse_line_number
    lda linnum
    sta listend
    lda linnum+1
    sta listend+1
    jsr chrgot
    beq @list
@range_end:
    cmp #TOKEN_MINUS
    bne @syntax
    lda #$FF
    sta listend
    sta listend+1
    jsr chrget
    beq @list
    bcs @syntax
    lda linnum
    pha
    lda linnum+1
    pha
    jsr chrgot              ; the digit again, with the carry parse_line_number reads
    jsr parse_line_number
    lda linnum
    sta listend
    lda linnum+1
    sta listend+1
    pla
    sta linnum+1
    pla
    sta linnum
    jsr check_statement_end
    jmp @list
@syntax:
    jmp syntax_error
@list:
    jsr find_line
@line:
    jsr STOP
    beq @stop
    ldy #1
    lda (lowtr),y
    beq @done
    ldy #3                  ; past the last line asked for?
    lda listend+1
    cmp (lowtr),y
    bcc @past_end
    bne @print
    dey
    lda listend
    cmp (lowtr),y
    bcc @past_end
@print:
    lda #$0D
    jsr CHROUT
    ldy #2
    lda (lowtr),y
    tax
    iny
    lda (lowtr),y
    jsr linprt
    lda #' '
    jsr CHROUT
    lda #0
    sta inquote
    ldy #4
@text:
    lda (lowtr),y
    beq @next_line
    cmp #'"'
    bne @not_quote
    pha
    lda inquote
    eor #$FF
    sta inquote
    pla
@not_quote:
    bit inquote
    bmi @plain
    cmp #$80
    bcc @plain
    cmp #TOKEN_GO+1         ; pi and the codes past GO are characters, not keywords
    bcs @plain
    sty count
    jsr @keyword
    ldy count
    jmp @advance
@plain:
    jsr CHROUT
@advance:
    iny
    bne @text
@next_line:
    ldy #0
    lda (lowtr),y
    tax
    iny
    lda (lowtr),y
    stx lowtr
    sta lowtr+1
    jmp @line
@past_end:                  ; a range that ends before the program does leaves an empty row
    lda #$0D
    jsr CHROUT
@stop:
@done:
    jmp ready
@keyword:
    jmp ($0306)
