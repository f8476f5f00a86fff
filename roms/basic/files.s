; files.s: LOAD, SAVE, VERIFY, OPEN, CLOSE, PRINT# and CMD, and the channels of INPUT# and
; GET#, all through the KERNAL's jump table, which answers for the tape, the disk drive and the
; other devices; its error numbers are BASIC's first nine.
; LOAD in direct mode replaces the program and relinks it; in a program it loads and runs the
; new program from its start, keeping the variables. VERIFY in direct mode says OK.
; PRINT# sends one statement's output to a file, CMD all output until the channel closes.
; Called by: the statement table; the channel routines by input.s and interpreter.s.

.include "zeropage.inc"
.macpack longbranch

.export statement_load, statement_save, statement_verify, statement_open, statement_close
.export close_channel, open_input, statement_print_file, statement_cmd
.import statement_print, eval, eval_byte, expect_comma, check_string, free_fac_string, error, newstt
.import start_program, ready, relink, clear_variables, print_string, restore_data

.segment "BASICGAP"

close_channel:
    lda #0
    sta channel
    jmp CLRCHN

; INPUT# and GET#: the file number, then ',' ; the file becomes the input.
open_input:
    cmp #'#'
    bne @number
    jsr chrget
@number:
    jsr eval_byte
    stx channel
    jsr CHKIN
    bcs kernal_error
    lda #','
    ldy #0
    cmp (txtptr),y
    bne @done
    jsr chrget
@done:
    rts

; PRINT#file[, items]
statement_print_file:
    jsr open_output
    jsr statement_print
    jmp close_channel

; CMD file[, items]: the output stays with the file.
statement_cmd:
    jsr open_output
    jmp statement_print

open_output:
    jsr eval_byte
    stx channel
    jsr CHKOUT
    bcs kernal_error
    jsr chrgot
    beq @done
    jsr expect_comma
@done:
    jmp chrgot

kernal_error:
    tax
    jmp error

; ["name"[, device[, secondary]]] for LOAD, SAVE and VERIFY: device 1 and secondary 0 unless
; given.
file_parameters:
    lda #0
    jsr SETNAM
    ldx #1
    ldy #0
    jsr set_device
    jsr chrgot
    beq @done
    jsr name_parameter
    jsr chrgot
    beq @done
    jsr device_parameters
@done:
    rts

name_parameter:
    jsr eval
    jsr check_string
    jsr free_fac_string
    ldx index
    ldy index+1
    jmp SETNAM

; , device[, secondary] (the file number stays)
device_parameters:
    jsr expect_comma
    jsr eval_byte
    stx $BA
    jsr chrgot
    beq @done
    jsr expect_comma
    jsr eval_byte
    stx $B9
@done:
    rts

set_device:
    lda #0
    jmp SETLFS

statement_load:
    lda #0
    .byte $2C
statement_verify:
    lda #1
    pha
    jsr file_parameters
    pla
    pha
    ldx txttab
    ldy txttab+1
    jsr LOAD
    bcs kernal_error
    pla
    beq @loaded
    jsr READST
    and #$10
    beq @verified
    ldx #ERR_VERIFY
    jmp error
@verified:
    ldx curlin+1
    inx
    bne @done
    lda #<ok_text
    ldy #>ok_text
    jmp print_string
@loaded:
    jsr READST
    and #$BF
    beq @good
    ldx #ERR_LOAD
    jmp error
@good:
    stx vartab
    sty vartab+1
    jsr relink
    ldx curlin+1
    inx
    beq @direct
    jsr restore_data        ; a program loads the next and runs it, variables kept
    jsr start_program
    pla
    pla
    jmp newstt
@direct:
    jsr clear_variables
    jmp ready
@done:
    rts

ok_text:
    .byte $0D, "OK", $0D, 0

statement_save:
    jsr file_parameters
    lda #txttab
    ldx vartab
    ldy vartab+1
    jsr SAVE
    jcs kernal_error
    rts

; OPEN file[, device[, secondary[, "name"]]]
statement_open:
    lda #0
    jsr SETNAM
    jsr eval_byte
    txa
    ldx #1
    ldy #0
    jsr SETLFS
    jsr chrgot
    beq @open
    jsr device_parameters
    jsr chrgot
    beq @open
    jsr expect_comma
    jsr name_parameter
@open:
    jsr OPEN
    jcs kernal_error
    rts

; CLOSE file
statement_close:
    jsr eval_byte
    txa
    jmp CLOSE
