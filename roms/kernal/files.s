; files.s: the KERNAL's file layer at its usual addresses $F0BD-$F72C: the messages, GETIN,
; CHRIN, CHROUT, CHKIN, CHKOUT, CLOSE, CLALL, CLRCHN, OPEN, LOAD, SAVE, the jiffy clock (UDTIM,
; RDTIM, SETTIM), STOP and the error exits.
; Open files live in the tables lat/fat/sat ($0259-$0276) with their count in ldtnd ($98).
; The keyboard (0) and the screen (3) are served here; devices 4-31 are reached only through
; the serial-bus routines, in the order the bus expects: OPEN sends LISTEN, SECOND $F0+sa, the
; name by CIOUT and UNLSN; CLOSE sends LISTEN, SECOND $E0+sa, UNLSN; CHKIN TALK and TKSA;
; CHKOUT LISTEN and SECOND; LOAD opens channel 0 with the name, reads it through TALK, TKSA
; $60 and ACPTR until the end bit and closes it; SAVE the same with channel 1 and CIOUT.
; Errors come back as the number in A with the carry set, after "I/O ERROR #n" when the
; message flag asks for it.
; Left out: tape (device 1) and RS-232 (device 2), which answer "device not present".
; Called by: the jump table and the vectors at $031A-$0333.

.include "zeropage.inc"
.include "layout.inc"

.export getin, chrin, chrout, chkin, chkout, close, clall, clrchn, open, load, load_body
.export save, save_body, udtim, rdtim, settim, stop
.import screen_read, print_screen, kbdread, talk, listen, second, tksa, ciout
.import untlk, unlsn, acptr

CHROUT = $FFD2
STOP = $FFE1
sal = $AC                   ; $AC/$AD SAVE: the byte being sent

.segment "FILES"
.org $F0BD

messages:
msg_io_error = * - messages
    .byte $0D, "I/O ERROR ", '#' | $80
msg_searching = * - messages
    .byte $0D, "SEARCHING", ' ' | $80
msg_for = * - messages
    .byte "FOR", ' ' | $80
    .byte $0D, "PRESS PLAY ON TAP", 'E' | $80
    .byte "PRESS RECORD & PLAY ON TAP", 'E' | $80
msg_loading = * - messages
    .byte $0D, "LOADIN", 'G' | $80
msg_saving = * - messages
    .byte $0D, "SAVING", ' ' | $80
msg_verifying = * - messages
    .byte $0D, "VERIFYIN", 'G' | $80
    .byte $0D, "FOUND", ' ' | $80
    .byte $0D, "OK", $0D | $80

    at $F12B
; The message at offset Y, only in direct mode (message flag bit 7).
message_if_direct:
    bit msgflg
    bpl message_done
print_message:              ; $F12F
    lda messages,y
    php
    and #$7F
    jsr CHROUT
    iny
    plp
    bpl print_message
message_done:
    clc
    rts

    at $F13E
; GETIN: from the keyboard the next key in the buffer or 0; from other devices as CHRIN.
getin:
    lda dfltn
    bne chrin_device
    lda ndx
    beq @none
    sei
    jmp kbdread
@none:
    clc
    rts

    at $F157
; CHRIN: the keyboard reads a line edited on the screen, the screen the rest of the cursor's
; logical line, a serial device its next byte (RETURN once ST is set).
chrin:
    lda dfltn
    bne chrin_device
    lda pntr
    sta lxsp+1
    lda tblx
    sta lxsp
    jmp screen_read
chrin_device:
    cmp #3
    bne @not_screen
    sta crsw
    ldx lnmx
    stx indx
    jmp screen_read
@not_screen:
    bcc @absent
    lda status
    beq @read
    lda #$0D
    clc
    rts
@read:
    jmp acptr
@absent:                    ; tape or RS-232: nothing comes, and ST says the device is not there
    lda #ST_ABSENT
    ora status
    sta status
    lda #0
    clc
    rts

    at $F1CA
; CHROUT: A to the output device; A, X and Y are kept, the carry comes back clear.
chrout:
    pha
    lda dflto
    cmp #3
    bne @not_screen
    pla
    jmp print_screen
@not_screen:
    pla
    bcc @nowhere            ; the keyboard, tape and RS-232 take the byte without a word
    jmp ciout
@nowhere:
    clc
    rts

    at $F20E
; CHKIN: logical file X becomes the input.
chkin:
    jsr file_for_channel
    bcs @failed
    beq @done
    cmp #3
    beq @done
    bcc error_device_not_present_2
    tax
    jsr talk
    lda sa
    bmi @check
    jsr tksa
@check:
    jsr device_answered
    bcs @failed
@done:
    sta dfltn
    clc
@failed:
    rts
error_device_not_present_2:
    jmp error_device_not_present

; The open file X in la, fa and sa, its device in A (Z set for the keyboard); the carry set
; with error 3 when it is not open.
file_for_channel:
    jsr find_file
    beq @open
    jmp error_file_not_open
@open:
    jsr set_file
    clc
    lda fa
    rts

; After the device was addressed: A its number, or the carry set with error 5 when it did not
; answer.
device_answered:
    lda status
    bpl @present
    jmp error_device_not_present
@present:
    lda fa
    clc
    rts

    at $F250
; CHKOUT: logical file X becomes the output.
chkout:
    jsr file_for_channel
    bcs @failed
    bne @not_keyboard
    jmp error_not_output
@not_keyboard:
    cmp #3
    beq @done
    bcc error_device_not_present_2
    tax
    jsr listen
    lda sa
    bmi @check
    jsr second
@check:
    jsr device_answered
    bcs @failed
@done:
    sta dflto
    clc
@failed:
    rts

    at $F291
; CLOSE: logical file A leaves the tables; a serial file with a secondary address is closed on
; its device first. A file that is not open is no error.
close:
    jsr find_file_a
    beq @open
    clc
    rts
@open:
    jsr set_file
    txa
    pha
    lda fa
    cmp #4
    bcc @forget
    lda sa
    bmi @forget
    jsr close_serial
@forget:
    pla
    tax
    dec ldtnd
    cpx ldtnd
    beq @done
    ldy ldtnd               ; the last entry fills the gap
    lda lat,y
    sta lat,x
    lda fat,y
    sta fat,x
    lda sat,y
    sta sat,x
@done:
    clc
    rts

    at $F30F
; Z set when logical file X is open, its table index then in X; ST cleared.
find_file:
    lda #0
    sta status
    txa
find_file_a:                ; $F314: the same for the file in A, ST kept
    ldx ldtnd
@search:
    dex
    bmi @done
    cmp lat,x
    bne @search
@done:
    rts

    at $F31F
; la, fa and sa from table entry X.
set_file:
    lda lat,x
    sta la
    lda fat,x
    sta fa
    lda sat,x
    sta sa
    rts

    at $F32F
; CLALL: every file forgotten (none closed on its device), then CLRCHN.
clall:
    lda #0
    sta ldtnd
    at $F333
; CLRCHN: a serial output is unlistened and a serial input untalked; then screen and keyboard.
clrchn:
    ldx #3
    cpx dflto
    bcs @output_done
    jsr unlsn
@output_done:
    cpx dfltn
    bcs @input_done
    jsr untlk
@input_done:
    stx dflto
    lda #0
    sta dfltn
    rts

    at $F34A
; OPEN: the file set by SETLFS and SETNAM enters the tables with its secondary address made
; $60-$6F; a serial file with a name and a secondary address is opened on its device.
open:
    ldx la
    bne @numbered
    jmp error_not_input
@numbered:
    jsr find_file
    bne @new
    jmp error_file_open
@new:
    ldx ldtnd
    cpx #10
    bcc @room
    jmp error_too_many_files
@room:
    inc ldtnd
    lda la
    sta lat,x
    lda sa
    ora #$60
    sta sa
    sta sat,x
    lda fa
    sta fat,x
    beq @done
    cmp #3
    beq @done
    bcc @absent
    jsr open_serial
    bcs @failed
@done:
    clc
    rts
@absent:
    jmp error_device_not_present
@failed:
    rts

; Sends the secondary address as an open command with the name; nothing when there is no name
; or no secondary address. Carry set (and the error given) when the device is absent.
open_serial:
    lda sa
    bmi @done
    ldy fnlen
    beq @done
    lda #0
    sta status
    lda fa
    jsr listen
    lda sa
    ora #$F0
    jsr second
    lda status
    bpl @present
    jmp error_device_not_present
@present:
    ldy #0
@name:
    lda (fnadr),y
    jsr ciout
    iny
    cpy fnlen
    bne @name
    jsr unlsn
@done:
    clc
    rts

; Closes the channel in sa on device fa: LISTEN, SECOND $E0+channel, UNLSN.
close_serial:
    lda fa
    jsr listen
    lda sa
    and #$EF
    ora #$E0
    jsr second
    jmp unlsn

; The device checks LOAD and SAVE share: carry set (and the error given) when fa is not a
; serial device or there is no name.
check_serial_name:
    lda fa
    beq @illegal
    cmp #3
    beq @illegal
    bcs @serial
    cmp #1
    bne @illegal
    jmp error_device_not_present
@illegal:
    jmp error_illegal_device
@serial:
    ldy fnlen
    bne @named
    jmp error_missing_filename
@named:
    clc
    rts

; The file name after a message, in direct mode.
print_name:
    bit msgflg
    bpl @done
    ldy #0
@next:
    cpy fnlen
    beq @done
    lda (fnadr),y
    jsr CHROUT
    iny
    bne @next
@done:
    rts

    at $F49E
; LOAD: A 0 loads, 1 verifies; X/Y the address for secondary address 0. Ends with X/Y one
; past the last byte.
load:
    stx memuss
    sty memuss+1
    jmp (iload)
load_body:                  ; $F4A5
    sta verck
    lda #0
    sta status
    jsr check_serial_name
    bcc @serial
    rts
@serial:
    jsr print_searching
    lda sa
    pha                     ; the caller's secondary address: 0 relocates
    lda #$60
    sta sa
    jsr open_serial
    bcs @drop
    lda fa
    jsr talk
    lda sa
    jsr tksa
    jsr acptr
    sta eal
    lda status
    lsr a
    lsr a
    bcs @not_found
    jsr acptr
    sta eal+1
    pla
    bne @keep_address
    lda memuss
    sta eal
    lda memuss+1
    sta eal+1
@keep_address:
    jsr print_loading
@byte:
    jsr STOP
    bne @go_on
    jmp break_transfer
@go_on:
    jsr acptr
    ldy verck
    beq @store
    ldy #0
    cmp (eal),y
    beq @next
    lda #ST_VERIFY
    ora status
    sta status
    bne @next
@store:
    sta (eal),y
@next:
    inc eal
    bne @same_page
    inc eal+1
@same_page:
    bit status
    bvc @byte
    jsr untlk
    jsr close_serial
    ldx eal
    ldy eal+1
    clc
    rts

@not_found:
    pla
    jsr untlk
    jsr close_serial
    jmp error_file_not_found
@drop:
    tax
    pla
    txa
    rts

; RUN/STOP during a transfer: the channel is closed and the caller sees the carry set, A 0.
break_transfer:
    jsr untlk
break_close:
    jsr close_serial
    lda #0
    sec
    rts

    at $F5AF
print_searching:
    ldy #msg_searching
    jsr message_if_direct
    bit msgflg
    bpl @done
    ldy #msg_for
    jsr print_message
    jmp print_name
@done:
    rts

    at $F5D2
print_loading:
    ldy #msg_loading
    lda verck
    beq @loading
    ldy #msg_verifying
@loading:
    jmp message_if_direct

    at $F5DD
; SAVE: from the address in the zero-page pair A points at up to X/Y (not included).
save:
    stx eal
    sty eal+1
    tax
    lda $00,x
    sta stal
    lda $01,x
    sta stal+1
    jmp (isave)
save_body:                  ; $F5ED
    jsr check_serial_name
    bcc @serial
    rts
@serial:
    lda #$61
    sta sa
    jsr open_serial
    bcc @opened
    rts
@opened:
    jsr print_saving
    lda fa
    jsr listen
    lda sa
    jsr second
    lda stal
    sta sal
    jsr ciout
    lda stal+1
    sta sal+1
    jsr ciout
    ldy #0
@byte:
    lda sal
    cmp eal
    lda sal+1
    sbc eal+1
    bcs @end
    jsr STOP
    bne @go_on
    jsr unlsn
    jmp break_close
@go_on:
    lda (sal),y
    jsr ciout
    inc sal
    bne @byte
    inc sal+1
    bne @byte
@end:
    jsr unlsn
    jsr close_serial
    clc
    rts

    at $F68F
print_saving:
    ldy #msg_saving
    jsr message_if_direct
    jmp print_name

    at $F69B
; UDTIM: one clock tick. The clock starts again at 0 after 24 hours ($4F1A01 ticks), and the
; keyboard row of RUN/STOP is kept for STOP.
udtim:
    inc time+2
    bne @counted
    inc time+1
    bne @counted
    inc time
@counted:
    lda time+2
    cmp #$01
    bne @stop_row
    lda time+1
    cmp #$1A
    bne @stop_row
    lda time
    cmp #$4F
    bne @stop_row
    lda #0
    sta time
    sta time+1
    sta time+2
@stop_row:
    lda cia1+1
    cmp cia1+1
    bne @stop_row
    sta stkey
    rts

    at $F6DD
; RDTIM: the clock in A (low), X, Y (high). Runs on into SETTIM, which writes it back.
rdtim:
    sei
    lda time+2
    ldx time+1
    ldy time
settim:                     ; $F6E4
    sei
    sta time+2
    stx time+1
    sty time
    cli
    rts

    at $F6ED
; STOP: Z set when RUN/STOP was down at the last tick; the channels are then reset and the
; keyboard buffer emptied.
stop:
    lda stkey
    cmp #$7F
    bne @done
    php
    jsr clrchn
    sta ndx
    plp
@done:
    rts

    at $F6FB
error_too_many_files:
    lda #ERR_TOO_MANY_FILES
    .byte $2C               ; BIT absolute: skips the next load
error_file_open:
    lda #ERR_FILE_OPEN
    .byte $2C
error_file_not_open:
    lda #ERR_FILE_NOT_OPEN
    .byte $2C
error_file_not_found:
    lda #ERR_FILE_NOT_FOUND
    .byte $2C
error_device_not_present:
    lda #ERR_DEVICE_NOT_PRESENT
    .byte $2C
error_not_input:
    lda #ERR_NOT_INPUT_FILE
    .byte $2C
error_not_output:
    lda #ERR_NOT_OUTPUT_FILE
    .byte $2C
error_missing_filename:
    lda #ERR_MISSING_FILENAME
    .byte $2C
error_illegal_device:
    lda #ERR_ILLEGAL_DEVICE
; The channels back to keyboard and screen, "I/O ERROR #n" when the flag's bit 6 asks for it.
    pha
    jsr clrchn
    bit msgflg
    bvc @quiet
    ldy #msg_io_error
    jsr print_message
    pla
    pha
    ora #'0'
    jsr CHROUT
@quiet:
    pla
    sec
    rts
