; raster_sprites.s: a raster interrupt that splits the background colour at two lines and moves
; eight sprites, each of its own size, colour and speed, one step a frame; the machine's own interrupt
; handler still runs after it. Returns to BASIC, which idles at READY while the sprites move.
; Built with cl65 -t c64 -C c64-asm.cfg -u __EXEHDR__ (a BASIC line that starts it with SYS).

IRQVEC   = $0314
SPRDATA  = $0340            ; sprite block 13
SPRPTRS  = $07F8
VIC      = $D000
TOPLINE  = 80
LOWLINE  = 170

.segment "CODE"

        sei
        lda IRQVEC
        sta chain+1
        lda IRQVEC+1
        sta chain+2
        lda #<handler
        sta IRQVEC
        lda #>handler
        sta IRQVEC+1

        ldx #63                 ; a striped shape: alternate rows of $F0 and $3C
shape:  txa
        and #4
        beq @wide
        lda #$3C
        bne @put
@wide:  lda #$F0
@put:   sta SPRDATA,x
        dex
        bpl shape

        ldx #7
sprite: lda #SPRDATA/64
        sta SPRPTRS,x
        txa
        clc
        adc #1
        sta VIC+$27,x           ; colour
        txa
        asl a
        tay
        lda xstart,x
        sta VIC,y               ; x
        lda ystart,x
        sta VIC+1,y             ; y
        dex
        bpl sprite
        lda #$FF
        sta VIC+$15             ; all eight on
        lda #$A5
        sta VIC+$17             ; some stretched down
        lda #$3C
        sta VIC+$1D             ; some stretched across
        lda #$0F
        sta VIC+$1C             ; the first four multicolour
        lda #10
        sta VIC+$25
        lda #13
        sta VIC+$26

        lda VIC+$11
        and #$7F
        sta VIC+$11
        lda #TOPLINE
        sta VIC+$12
        lda #1
        sta VIC+$1A             ; raster interrupt on
        cli
        rts

handler:
        lda VIC+$19
        and #1
        beq chain
        sta VIC+$19             ; acknowledge the raster interrupt
        lda VIC+$12
        cmp #TOPLINE
        bne lower
        lda #2
        sta VIC+$21
        lda #LOWLINE
        sta VIC+$12
        bne chain
lower:  lda #14
        sta VIC+$21
        lda #TOPLINE
        sta VIC+$12
        ldx #7                  ; sprite x moves by its number plus one, wrapping at 256
move:   txa
        asl a
        tay
        txa
        sec
        adc VIC,y
        sta VIC,y
        bcc @same
        lda VIC+$10             ; past 255: flip the sprite's ninth x bit
        eor bits,x
        sta VIC+$10
@same:  dex
        bpl move
chain:  jmp $0000               ; the handler that was installed before, patched at start

xstart: .byte 24, 60, 96, 132, 168, 204, 240, 20
ystart: .byte 60, 80, 100, 120, 140, 160, 180, 200
bits:   .byte $01, $02, $04, $08, $10, $20, $40, $80
