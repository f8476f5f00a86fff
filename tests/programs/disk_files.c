/* disk_files.c: writes a file on disk drive 8 with fopen and fprintf, reads it back with fgets
   and prints what it read; main returns 0 when it came back as written. */
#include <stdio.h>
#include <string.h>

int main(void) {
  char line[40];
  FILE* file = fopen("greeting", "w");
  if (file == NULL) {
    printf("open for writing failed\n");
    return 1;
  }
  fprintf(file, "disk %d\n", 1541);
  fclose(file);
  file = fopen("greeting", "r");
  if (file == NULL) {
    printf("open for reading failed\n");
    return 2;
  }
  if (fgets(line, sizeof line, file) == NULL) {
    printf("read failed\n");
    return 3;
  }
  fclose(file);
  printf("read back: %s", line);
  return strcmp(line, "disk 1541\n") == 0 ? 0 : 4;
}
