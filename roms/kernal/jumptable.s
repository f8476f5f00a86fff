; jumptable.s: the KERNAL jump table $FF81-$FFF3, the version byte before it and the 6510's
; vectors. Each entry jumps to the routine's usual address; the I/O routines go through the
; RAM vectors at $031A-$0333 so that programs can hook them.
; Called by: every program that uses the KERNAL.

.include "zeropage.inc"

.import cint, ioinit, ramtas, restor, vector, setmsg, second, tksa, memtop, membot, scnkey
.import settmo, acptr, ciout, untlk, unlsn, listen, talk, readst, setlfs, setnam, load, save
.import settim, rdtim, udtim, screen, plot, iobase, nmi_entry, reset, irq_entry

.segment "JUMPTABLE"

    .byte $56               ; 'V': the built-in KERNAL, not a Commodore revision
    jmp cint                ; $FF81
    jmp ioinit              ; $FF84
    jmp ramtas              ; $FF87
    jmp restor              ; $FF8A
    jmp vector              ; $FF8D
    jmp setmsg              ; $FF90
    jmp second              ; $FF93
    jmp tksa                ; $FF96
    jmp memtop              ; $FF99
    jmp membot              ; $FF9C
    jmp scnkey              ; $FF9F
    jmp settmo              ; $FFA2
    jmp acptr               ; $FFA5
    jmp ciout               ; $FFA8
    jmp untlk               ; $FFAB
    jmp unlsn               ; $FFAE
    jmp listen              ; $FFB1
    jmp talk                ; $FFB4
    jmp readst              ; $FFB7
    jmp setlfs              ; $FFBA
    jmp setnam              ; $FFBD
    jmp (iopen)             ; $FFC0 OPEN
    jmp (iclose)            ; $FFC3 CLOSE
    jmp (ichkin)            ; $FFC6 CHKIN
    jmp (ickout)            ; $FFC9 CHKOUT
    jmp (iclrch)            ; $FFCC CLRCHN
    jmp (ibasin)            ; $FFCF CHRIN
    jmp (ibsout)            ; $FFD2 CHROUT
    jmp load                ; $FFD5
    jmp save                ; $FFD8
    jmp settim              ; $FFDB
    jmp rdtim               ; $FFDE
    jmp (istop)             ; $FFE1 STOP
    jmp (igetin)            ; $FFE4 GETIN
    jmp (iclall)            ; $FFE7 CLALL
    jmp udtim               ; $FFEA
    jmp screen              ; $FFED
    jmp plot                ; $FFF0
    jmp iobase              ; $FFF3

.segment "VECTORS"

    .word nmi_entry, reset, irq_entry
