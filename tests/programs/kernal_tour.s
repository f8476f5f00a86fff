; kernal_tour.s: a machine-code program that calls the KERNAL the way programs do and prints
; what it gets back, for the corpus test: the screen editor's insert, delete and quote modes,
; PLOT, SCREEN, the jiffy clock across its 24-hour wrap, GETIN on an empty buffer, the file
; layer's error numbers and ST with nothing on the serial bus, and a two-row line scrolling away.
; Built with cl65 -t c64 -C c64-asm.cfg -u __EXEHDR__ (a BASIC line that starts it with SYS);
; its strings are written in lower case, which cl65's C64 character map makes upper case.

CHROUT = $FFD2
PLOT   = $FFF0
SCREEN = $FFED
SETTIM = $FFDB
RDTIM  = $FFDE
GETIN  = $FFE4
SETLFS = $FFBA
SETNAM = $FFBD
OPEN   = $FFC0
CHKIN  = $FFC6
CLRCHN = $FFCC
LOAD   = $FFD5
READST = $FFB7
CLALL  = $FFE7
msgflg = $9D
ptr    = $FB

.segment "CODE"

    lda #0
    sta msgflg              ; no KERNAL messages, as in a running program
    jsr print
    .byte $93, $0D, $0D, $0D, "kernal tour", $0D
    ; insert mode: ABCDE, four times left, two blanks opened and filled
    .byte "abcde", $9D, $9D, $9D, $9D, $94, $94, "xy", $0D
    ; delete: HELLO less its last two
    .byte "hello", $14, $14, $0D
    ; quote mode: the cursor-down between quotes stays on this line
    .byte "q", $22, $11, $22, "q", $0D, 0

    ldx #19                 ; PLOT to row 19, column 20, then read it back
    ldy #20
    clc
    jsr PLOT
    jsr print
    .byte "plot", 0
    sec
    jsr PLOT
    jsr print_xy
    ldx #7
    ldy #0
    clc
    jsr PLOT

    jsr print
    .byte "screen", 0
    jsr SCREEN
    jsr print_xy

    jsr print               ; the clock one tick before the end of the day
    .byte "clock", 0
    lda #$FF
    ldx #$19
    ldy #$4F
    jsr SETTIM
    jsr next_tick
    jsr print_time
    jsr next_tick
    jsr print_time
    jsr newline

    jsr print
    .byte "getin", 0
    jsr GETIN
    jsr print_a_hex
    jsr newline

    jsr print               ; OPEN 1,8,15,"I" with no drive: error 5, ST $80
    .byte "open", 0
    lda #1
    ldx #8
    ldy #15
    jsr SETLFS
    lda #1
    ldx #<command
    ldy #>command
    jsr SETNAM
    jsr OPEN
    jsr print_result
    jsr READST
    jsr print_a_hex
    jsr newline

    jsr print               ; OPEN 1 again: file open
    .byte "again", 0
    jsr OPEN
    jsr print_result
    jsr newline

    jsr print               ; CHKIN 9: file not open
    .byte "chkin", 0
    ldx #9
    jsr CHKIN
    jsr print_result
    jsr newline

    jsr print               ; LOAD from the screen: illegal device
    .byte "load3", 0
    ldx #3
    jsr load_from

    jsr print               ; LOAD "I",8 with no drive: device not present
    .byte "load8", 0
    ldx #8
    jsr load_from
    jsr CLALL

    ldx #22                 ; an 80-column line near the bottom, then the screen scrolls
    ldy #0
    clc
    jsr PLOT
    ldx #79
@long:
    txa
    and #$07
    ora #'0'
    jsr CHROUT
    dex
    bpl @long
    jsr print
    .byte "end", $0D, $0D, $0D, "done", 0
@forever:
    jmp @forever

; Prints the bytes after the JSR up to a zero and returns past them.
print:
    pla
    sta ptr
    pla
    sta ptr+1
@next:
    inc ptr
    bne @same_page
    inc ptr+1
@same_page:
    ldy #0
    lda (ptr),y
    beq @done
    jsr CHROUT
    jmp @next
@done:
    lda ptr+1
    pha
    lda ptr
    pha
    rts

; LOAD from device X with the name set before, and its result.
load_from:
    lda #2
    ldy #0
    jsr SETLFS
    lda #0
    jsr LOAD
    jsr print_result
    jmp newline

; " cc-aa": the carry and A after a KERNAL call.
print_result:
    pha
    lda #0
    rol a
    pha
    lda #' '
    jsr CHROUT
    pla
    jsr print_a_hex
    lda #'-'
    jsr CHROUT
    pla
print_a_hex:
    pha
    lsr a
    lsr a
    lsr a
    lsr a
    jsr print_digit
    pla
    and #$0F
print_digit:
    ora #'0'
    cmp #'9'+1
    bcc @decimal
    adc #6
@decimal:
    jmp CHROUT

print_xy:
    tya
    pha
    lda #' '
    jsr CHROUT
    txa
    jsr print_a_hex
    lda #' '
    jsr CHROUT
    pla
    jsr print_a_hex
newline:
    lda #$0D
    jmp CHROUT

; Waits until the clock's low byte changes.
next_tick:
    jsr RDTIM
    sta ptr
@wait:
    jsr RDTIM
    cmp ptr
    beq @wait
    rts

print_time:
    jsr RDTIM
    pha
    txa
    pha
    lda #' '
    jsr CHROUT
    tya
    jsr print_a_hex
    pla
    jsr print_a_hex
    pla
    jmp print_a_hex

command:
    .byte "i"
