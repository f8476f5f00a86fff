/* kernal_c_tour.c: a C program for the corpus test that reaches the KERNAL through cc65's
 * library as C programs do: stdio output (CHROUT), conio (PLOT and the screen pointers),
 * cbm_open, cbm_close and cbm_load on a disk drive that is not there, the status byte, and
 * the jiffy clock read through clock(). It prints what comes back. */
#include <cbm.h>
#include <conio.h>
#include <stdio.h>
#include <time.h>

int main(void) {
  unsigned char result;
  clock_t start;

  clrscr();
  printf("c tour\n");
  result = cbm_open(2, 8, 15, "");
  printf("open 8,15: %u st %u\n", result, cbm_k_readst());
  cbm_close(2);
  result = cbm_open(3, 8, 2, "file");
  printf("open file: %u st %u\n", result, cbm_k_readst());
  cbm_close(3);
  printf("load: %u\n", cbm_load("prog", 8, (void*)0xC000));
  gotoxy(10, 8);
  revers(1);
  cputs("gotoxy");
  revers(0);
  printf("\n\nx %u y %u\n", wherex(), wherey());
  start = clock();
  while (clock() == start) {
  }
  printf("clock ticks\n");
  return 0;
}
