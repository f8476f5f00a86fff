; messages.s: the error messages BASIC prints, in error-number order.
; Called by: interpreter.s.

.export error_text

.segment "BASIC"

; The messages of errors 1 to 30, in number order.
error_text:
    .byte "TOO MANY FILES", 0
    .byte "FILE OPEN", 0
    .byte "FILE NOT OPEN", 0
    .byte "FILE NOT FOUND", 0
    .byte "DEVICE NOT PRESENT", 0
    .byte "NOT INPUT FILE", 0
    .byte "NOT OUTPUT FILE", 0
    .byte "MISSING FILE NAME", 0
    .byte "ILLEGAL DEVICE NUMBER", 0
    .byte "NEXT WITHOUT FOR", 0
    .byte "SYNTAX", 0
    .byte "RETURN WITHOUT GOSUB", 0
    .byte "OUT OF DATA", 0
    .byte "ILLEGAL QUANTITY", 0
    .byte "OVERFLOW", 0
    .byte "OUT OF MEMORY", 0
    .byte "UNDEF'D STATEMENT", 0
    .byte "BAD SUBSCRIPT", 0
    .byte "REDIM'D ARRAY", 0
    .byte "DIVISION BY ZERO", 0
    .byte "ILLEGAL DIRECT", 0
    .byte "TYPE MISMATCH", 0
    .byte "STRING TOO LONG", 0
    .byte "FILE DATA", 0
    .byte "FORMULA TOO COMPLEX", 0
    .byte "CAN'T CONTINUE", 0
    .byte "UNDEF'D FUNCTION", 0
    .byte "VERIFY", 0
    .byte "LOAD", 0
    .byte "BREAK", 0
