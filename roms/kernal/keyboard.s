; keyboard.s: the clock interrupt's standard handler ($EA31: jiffy clock, cursor blink,
; keyboard scan, then $EA7E/$EA81 to return) and SCNKEY ($EA87), with the decode tables and the
; start-up tables that sit between them at $EB79-$ED08.
; SCNKEY reads the 8 x 8 matrix through CIA 1 (columns on port A, rows on port B) with the
; standard table, where SHIFT, C= and CTRL decode as 1, 2 and 4 and add up in shflag; the key
; found goes to sfdx, and the routine at keylog ($028F, normally $EB48) picks the table for the
; modifiers, switches the character set on SHIFT+C= unless mode ($0291) forbids it, and hands
; over to the decode at $EAE0, which repeats a held key as rptflg, delay and kount say and puts
; new keys into the buffer at $0277 while ndx is below xmax.
; Left out: the cassette switch sense of the interrupt.
; Called by: the IRQ entry through $0314, SCNKEY in the jump table, programs hooking $028F.

.include "zeropage.inc"
.include "layout.inc"

.export irq_standard, irq_return, scnkey, keylog_default, vic_table, load_run_text, row_low
.import store_char, upd_cram

NO_KEY = 64

.segment "KEYBOARD"
.org $EA31

irq_standard:               ; $EA31
    jsr $FFEA               ; UDTIM
    lda blnsw
    bne @no_blink
    dec blnct
    bne @no_blink
    lda #20
    sta blnct
    ldy pntr
    lsr blnon               ; carry: the cursor is shown now
    ldx gdcol
    lda (pnt),y
    bcs @show               ; shown: the character goes back as it was
    inc blnon
    sta gdbln
    jsr upd_cram
    lda (user),y
    sta gdcol
    ldx color
    lda gdbln
@show:
    eor #$80
    jsr store_char
@no_blink:
    jsr scnkey
    at $EA7E
    lda cia1+13             ; acknowledges the timer interrupt
irq_return:                 ; $EA81
    pla
    tay
    pla
    tax
    pla
    rti

    at $EA87
scnkey:
    lda #0
    sta shflag
    ldy #NO_KEY
    sty sfdx
    sta cia1                ; every column at once: is any key down?
    ldx cia1+1
    inx
    beq @nothing_held           ; the table of the last key stays
    lda #<keys_plain
    sta keytab
    lda #>keys_plain
    sta keytab+1
    ldy #0
    lda #$FE
@column:
    sta cia1
    pha
    ldx #8
@settle:
    lda cia1+1
    cmp cia1+1
    bne @settle
@row:
    lsr a
    pha
    bcs @next
    lda (keytab),y
    cmp #5
    bcs @key
    cmp #3                  ; RUN/STOP is a key like the others
    beq @key
    ora shflag
    sta shflag
    bpl @next
@key:
    sty sfdx
@next:
    pla
    iny
    dex
    bne @row
    pla
    sec
    rol a
    bcs @column
    jmp (keylog)
@nothing_held:
    lda #$7F                ; column 7 stays selected for the RUN/STOP test, as after a scan
    sta cia1
    jmp decode

    at $EAE0
; The key in sfdx through the table at keytab: a new key goes into the buffer, a held one
; repeats after the delay.
decode:
    lda shflag
    sta lstshf
    ldy sfdx
    lda (keytab),y
    tax
    cpy lstx
    beq @held
    cpy #NO_KEY
    beq @new
    lda #$10
    sta delay
    bne @new
@held:
    cpy #NO_KEY
    beq @done
    bit rptflg
    bmi @repeats
    bvs @done
    cpx #' '
    beq @repeats
    txa
    and #$7F
    cmp #$11                ; cursor down and up
    beq @repeats
    cmp #$1D                ; right and left
    beq @repeats
    cmp #$14                ; INST and DEL
    bne @done
@repeats:
    lda delay
    beq @rate
    dec delay
    bne @done
@rate:
    dec kount
    bne @done
    lda #4
    sta kount
    lda ndx                 ; no repeat while the last one is still waiting
    bne @done
@new:
    sty lstx
    cpx #$FF
    beq @done
    txa
    ldx ndx
    cpx xmax
    bcs @done
    sta keyd,x
    inc ndx
@done:
    rts

    at $EB48
; The standard keylog routine: SHIFT+C= switches the character set once per press (lstshf
; holds the modifiers of the scan before); otherwise the modifiers choose the table.
keylog_default:
    lda shflag
    cmp #3
    bne @table
    cmp lstshf
    beq @keep
    bit mode
    bmi @keep
    lda vic+$18
    eor #$02
    sta vic+$18
@keep:
    jmp decode              ; SHIFT+C= decodes through the table of the scan
@table:
    jmp pick_table

    at $EB79
decode_tables:
    .word keys_plain, keys_shifted, keys_commodore, keys_control

; Keys by index column * 8 + row. Column 0: DEL, RETURN, CRSR RIGHT, F7, F1, F3, F5, CRSR
; DOWN; then 3 W A 4 Z S E LSHIFT; 5 R D 6 C F T X; 7 Y G 8 B H U V; 9 I J 0 M K O N;
; + P L - . : @ ,; pound * ; HOME RSHIFT = up-arrow /; 1 left-arrow CTRL 2 SPACE C= Q RUN/STOP.
; 1, 2 and 4 are the modifiers; $FF types nothing; the 65th byte answers "no key".
    at $EB81
keys_plain:
    .byte $14, $0D, $1D, $88, $85, $86, $87, $11
    .byte $33, $57, $41, $34, $5A, $53, $45, $01
    .byte $35, $52, $44, $36, $43, $46, $54, $58
    .byte $37, $59, $47, $38, $42, $48, $55, $56
    .byte $39, $49, $4A, $30, $4D, $4B, $4F, $4E
    .byte $2B, $50, $4C, $2D, $2E, $3A, $40, $2C
    .byte $5C, $2A, $3B, $13, $01, $3D, $5E, $2F
    .byte $31, $5F, $04, $32, $20, $02, $51, $03
    .byte $FF
keys_shifted:               ; $EBC2
    .byte $94, $8D, $9D, $8C, $89, $8A, $8B, $91
    .byte $23, $D7, $C1, $24, $DA, $D3, $C5, $01
    .byte $25, $D2, $C4, $26, $C3, $C6, $D4, $D8
    .byte $27, $D9, $C7, $28, $C2, $C8, $D5, $D6
    .byte $29, $C9, $CA, $30, $CD, $CB, $CF, $CE
    .byte $DB, $D0, $CC, $DD, $3E, $5B, $BA, $3C
    .byte $A9, $C0, $5D, $93, $01, $3D, $DE, $3F
    .byte $21, $5F, $04, $22, $A0, $02, $D1, $83
    .byte $FF
keys_commodore:             ; $EC03: the left-hand graphics and the second eight colours
    .byte $94, $8D, $9D, $8C, $89, $8A, $8B, $91
    .byte $96, $B3, $B0, $97, $AD, $AE, $B1, $01
    .byte $98, $B2, $AC, $99, $BC, $BB, $A3, $BD
    .byte $9A, $B7, $A5, $9B, $BF, $B4, $B8, $BE
    .byte $29, $A2, $B5, $30, $A7, $A1, $B9, $AA
    .byte $A6, $AF, $B6, $DC, $3E, $5B, $A4, $3C
    .byte $A8, $DF, $5D, $93, $01, $3D, $DE, $3F
    .byte $81, $5F, $04, $95, $A0, $02, $AB, $83
    .byte $FF

    .assert * = $EC44, error, "the decode tables have moved"
; keytab from the modifiers in A: plain, SHIFT, C=, and CTRL over any others.
pick_table:
    asl a
    cmp #8
    bcc @pick
    lda #6
@pick:
    tax
    lda decode_tables,x
    sta keytab
    lda decode_tables+1,x
    sta keytab+1
    jmp decode
    at $EC78
keys_control:               ; letters give $01-$1A, digits the first colours and RVS
    .byte $FF, $FF, $FF, $FF, $FF, $FF, $FF, $FF
    .byte $1C, $17, $01, $9F, $1A, $13, $05, $FF
    .byte $9C, $12, $04, $1E, $03, $06, $14, $18
    .byte $1F, $19, $07, $9E, $02, $08, $15, $16
    .byte $12, $09, $0A, $92, $0D, $0B, $0F, $0E
    .byte $FF, $10, $0C, $FF, $FF, $1B, $00, $FF
    .byte $1C, $FF, $1D, $FF, $FF, $1F, $1E, $FF
    .byte $90, $06, $FF, $05, $FF, $FF, $11, $FF
    .byte $FF

    at $ECB9
; The VIC-II's start-up registers $D000-$D02D: no sprites, text mode with the screen at $0400
; and the upper-case set, raster compare at line 311 (reached only by a PAL picture), light
; blue border on blue. The copy runs one byte on, so $D02E gets the "L" of the text after it.
vic_table:
    .byte 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0
    .byte 0, $9B, $37, 0, 0, 0, $08, 0, $14, $0F, 0, 0, 0, 0, 0, 0
    .byte 14, 6, 1, 2, 3, 4, 0, 1, 2, 3, 4, 5, 6, 7
load_run_text:              ; $ECE7: what shifted RUN/STOP types
    .byte "LOAD", $0D, "RUN", $0D
row_low:                    ; $ECF0: low bytes of the 25 rows' addresses
    .repeat 25, row
    .byte <(row * 40)
    .endrepeat
    .assert * = $ED09, error, "the row table must end where TALK starts"
