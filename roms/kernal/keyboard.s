; keyboard.s: SCNKEY, the keyboard scan run from the clock interrupt. It reads the 8 x 8 matrix
; through CIA 1 (column select on port A, rows on port B), notes SHIFT, C= and CTRL, and puts
; the PETSCII code of a newly pressed key into the keyboard buffer; a held key repeats after
; about a quarter of a second. SHIFT with C= switches between the two character sets.
; Left out: the keyboard decode vectors at $028F and $0291 and the SHIFT lock.
; Called by: the IRQ handler, and SCNKEY in the jump table.

.include "zeropage.inc"

.export scnkey

NO_KEY = 64
REPEAT_DELAY = 16
REPEAT_RATE = 4

.segment "KERNAL2"

scnkey:
    lda #0
    sta shflag
    lda #NO_KEY
    sta sfdx
    lda #0                  ; any key at all?
    sta cia1
    lda cia1+1
    cmp #$FF
    beq @decode
    ldy #0
    lda #$FE
    sta colmask
@column:
    lda colmask
    sta cia1
    lda cia1+1
    sta keyrows
    ldx #8
@row:
    lsr keyrows
    bcs @next
    lda modifier_bits,y
    beq @plain
    ora shflag
    sta shflag
    bne @next
@plain:
    sty sfdx
@next:
    iny
    dex
    bne @row
    sec
    rol colmask
    bcs @column
@decode:
    lda #$7F
    sta cia1
    ldy sfdx
    cpy lstx
    beq @held
    sty lstx
    lda #REPEAT_DELAY
    sta kount
    cpy #NO_KEY
    beq @done
    lda shflag
    cmp #3
    beq @switch_set
    jsr key_code
    beq @done
    ldx ndx
    cpx xmax
    bcs @done
    sta keybuf,x
    inc ndx
@done:
    rts
@held:
    cpy #NO_KEY
    beq @done
    dec kount
    bne @done
    lda #REPEAT_RATE
    sta kount
    jsr key_code
    beq @done
    ldx ndx                 ; a repeat only when the program has taken the last key
    bne @done
    sta keybuf
    inc ndx
    rts
@switch_set:
    lda vic+$18
    eor #$02
    sta vic+$18
    rts

; PETSCII code of key Y under the current modifiers, Z set when the key types nothing.
key_code:
    lda shflag
    and #4
    bne @control
    lda shflag
    beq @plain
    lda shifted_keys,y
    rts
@plain:
    lda plain_keys,y
    rts
@control:
    ldx #control_key_count-1
@find:
    tya
    cmp control_keys,x
    beq @found
    dex
    bpl @find
    lda plain_keys,y        ; CTRL with a letter gives its control code
    cmp #'A'
    bcc @none
    cmp #'Z'+1
    bcs @none
    and #$1F
    rts
@none:
    lda #0
    rts
@found:
    lda control_codes,x
    rts

; Keys by index column * 8 + row: column 0 is DEL, RETURN, CRSR RIGHT, F7, F1, F3, F5, CRSR DOWN.
plain_keys:
    .byte $14, $0D, $1D, $88, $85, $86, $87, $11
    .byte "3WA4ZSE", 0
    .byte "5RD6CFTX"
    .byte "7YG8BHUV"
    .byte "9IJ0MKON"
    .byte "+PL-.:@,"
    .byte $5C, "*;", $13, 0, "=", $5E, "/"
    .byte "1", $5F, 0, "2 ", 0, "Q", $03
shifted_keys:
    .byte $94, $8D, $9D, $8C, $89, $8A, $8B, $91
    .byte "#", $D7, $C1, "$", $DA, $D3, $C5, 0
    .byte "%", $D2, $C4, "&", $C3, $C6, $D4, $D8
    .byte "'", $D9, $C7, "(", $C2, $C8, $D5, $D6
    .byte ")", $C9, $CA, "0", $CD, $CB, $CF, $CE
    .byte $DB, $D0, $CC, $DD, ">[", $BA, "<"
    .byte $A9, $C0, "]", $93, 0, "=", $FF, "?"
    .byte "!", $5F, 0, $22, $A0, 0, $D1, $83
modifier_bits:
    .byte 0, 0, 0, 0, 0, 0, 0, 0
    .byte 0, 0, 0, 0, 0, 0, 0, 1        ; left SHIFT
    .byte 0, 0, 0, 0, 0, 0, 0, 0
    .byte 0, 0, 0, 0, 0, 0, 0, 0
    .byte 0, 0, 0, 0, 0, 0, 0, 0
    .byte 0, 0, 0, 0, 0, 0, 0, 0
    .byte 0, 0, 0, 0, 1, 0, 0, 0        ; right SHIFT
    .byte 0, 0, 4, 0, 0, 2, 0, 0        ; CTRL, C=
; CTRL with 1-9, 0: the first eight colours, RVS ON, RVS OFF.
control_keys:
    .byte 56, 59, 8, 11, 16, 19, 24, 27, 32, 35
control_key_count = * - control_keys
control_codes:
    .byte $90, $05, $1C, $9F, $9C, $1E, $1F, $9E, $12, $92
