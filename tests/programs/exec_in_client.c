/* Calls the special entry of libexec_in_client.so as a host program would. */
#include <stdio.h>
#include <string.h>

long ExecInClientDLL(long window, char* params, char* result, long size);

int main(void) {
  char result[64];
  memset(result, 'x', sizeof result);
  long n = ExecInClientDLL(7, "stock", result, sizeof result);
  printf("%ld [%s]\n", n, result);
  n = ExecInClientDLL(8, "prices", result, sizeof result);
  printf("%ld [%s]\n", n, result);
  fflush(stdout);
  n = ExecInClientDLL(9, "fail", result, sizeof result);
  printf("\n%ld\n", n);
  return 0;
}
