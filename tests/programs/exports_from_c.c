/* Calls the functions libexports_from_c.so exports, as any C program would. */
#include <stdio.h>
#include <stdlib.h>

long Soma(long a, long b);
char* Greet(char* name);
void Bump(long* n, double by);
long Shout(char* text);
double Half(double x);
char Initial(char c);
unsigned char Positive(long n);

int main(void) {
  printf("%ld\n", Soma(2, 40));
  char* greeting = Greet("  Ana ");
  printf("%s\n", greeting);
  free(greeting);
  long n = 5;
  Bump(&n, 2.5);
  printf("%ld\n", n);
  char quiet[] = "quiet";
  long length = Shout(quiet);
  printf("%ld %s\n", length, quiet);
  printf("%g\n", Half(5));
  printf("%c\n", Initial('z'));
  printf("%d %d\n", Positive(3), Positive(-3));
  printf("%ld\n", Soma(1, 1));
  return 0;
}
