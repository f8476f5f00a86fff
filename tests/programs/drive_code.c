/* drive_code.c: sends drive 8 a memory-write and a memory-execute command twice, as a fast
   loader starting its own code in the drive would, and prints the status it answers with.
   cc65 turns lower-case letters into the PETSCII capitals the drive reads. */
#include <cbm.h>
#include <stdio.h>

static const char kWrite[] = {'m', '-', 'w', 0x00, 0x05, 0x01, 0x60};
static const char kExecute[] = {'m', '-', 'e', 0x00, 0x05};

int main(void) {
  char status[40];
  int round;
  for (round = 0; round < 2; ++round) {
    cbm_open(15, 8, 15, "");
    cbm_write(15, kWrite, sizeof kWrite);
    cbm_write(15, kExecute, sizeof kExecute);
    status[cbm_read(15, status, sizeof status - 1)] = 0;
    cbm_close(15);
    printf("%s\n", status);
  }
  return 0;
}
