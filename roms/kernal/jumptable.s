; jumptable.s: the KERNAL entry points at their standard addresses $FF81-$FFF3, the version
; byte before them and the 6510's vectors. The I/O routines go through the RAM vectors at
; $031A-$0333 so that programs can hook them.
; Called by: every program that uses the KERNAL.

.include "zeropage.inc"

.import cint, ioinit, ramtas, restor, vector, scnkey, udtim, rdtim, settim, plot
.import setmsg, settmo, memtop, membot, readst, setlfs, setnam, device_absent, ciout_absent
.import screen, iobase, irq_entry, nmi_entry, reset

.segment "JUMPTABLE"

    .byte $56               ; 'V': the built-in KERNAL, not a Commodore revision
    jmp cint                ; $FF81
    jmp ioinit              ; $FF84
    jmp ramtas              ; $FF87
    jmp restor              ; $FF8A
    jmp vector              ; $FF8D
    jmp setmsg              ; $FF90
    jmp device_absent       ; $FF93 SECOND
    jmp device_absent       ; $FF96 TKSA
    jmp memtop              ; $FF99
    jmp membot              ; $FF9C
    jmp scnkey              ; $FF9F
    jmp settmo              ; $FFA2
    jmp device_absent       ; $FFA5 ACPTR
    jmp ciout_absent        ; $FFA8 CIOUT
    jmp device_absent       ; $FFAB UNTLK
    jmp device_absent       ; $FFAE UNLSN
    jmp device_absent       ; $FFB1 LISTEN
    jmp device_absent       ; $FFB4 TALK
    jmp readst              ; $FFB7
    jmp setlfs              ; $FFBA
    jmp setnam              ; $FFBD
    jmp ($031A)             ; $FFC0 OPEN
    jmp ($031C)             ; $FFC3 CLOSE
    jmp ($031E)             ; $FFC6 CHKIN
    jmp ($0320)             ; $FFC9 CHKOUT
    jmp ($0322)             ; $FFCC CLRCHN
    jmp ($0324)             ; $FFCF CHRIN
    jmp ($0326)             ; $FFD2 CHROUT
    jmp load                ; $FFD5
    jmp save                ; $FFD8
    jmp settim              ; $FFDB
    jmp rdtim               ; $FFDE
    jmp ($0328)             ; $FFE1 STOP
    jmp ($032A)             ; $FFE4 GETIN
    jmp ($032C)             ; $FFE7 CLALL
    jmp udtim               ; $FFEA
    jmp screen              ; $FFED
    jmp plot                ; $FFF0
    jmp iobase              ; $FFF3

.segment "KERNAL2"

load:
    jmp ($0330)
save:
    jmp ($0332)

.segment "VECTORS"

    .word nmi_entry, reset, irq_entry
