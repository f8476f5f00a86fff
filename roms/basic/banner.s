; banner.s: the start-up banner naming this BASIC and its version, and the texts READY, BREAK
; and IN that the interpreter prints.
; Called by: interpreter.s.

.export banner_text, bytes_free_text, ready_text, break_text, in_text

.include "version.inc"

.segment "FLOAT2"

banner_text:
    .byte $0D, "  **** VORNCE BUILT-IN ROMS ", ROMS_VERSION, " ****", $0D, $0D
    .byte " 64K RAM SYSTEM  ", 0
bytes_free_text:
    .byte " BASIC BYTES FREE", $0D, 0
ready_text:
    .byte $0D, "READY.", $0D, 0
break_text:
    .byte "BREAK", 0
in_text:
    .byte " IN ", 0
