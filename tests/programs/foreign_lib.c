/* The shared library the foreign-call programs call: one function per
   parameter and return type the wrappers convert. */
#include <ctype.h>
#include <string.h>

long add_longs(long a, long b) { return a + b; }
long mixed(long a, short b, unsigned long c, double d, unsigned char e) {
  return a + b + (long)c + (long)(d * 10) + (e ? 1000 : 0);
}
double scale(double x, double factor) { return x * factor; }
long triple_in_place(long* p) { return *p *= 3; }
void swap_shorts(short* a, short* b) {
  short t = *a;
  *a = *b;
  *b = t;
}
void halve(double* d) { *d /= 2; }
unsigned long count_bits(unsigned long v) {
  unsigned long n = 0;
  for (; v; v >>= 1) n += v & 1;
  return n;
}
void add_unsigned(unsigned long* total, unsigned long n) { *total += n; }
void upper_in_place(char* s) {
  for (; *s; ++s) *s = (char)toupper((unsigned char)*s);
}
long text_length(char* s) { return (long)strlen(s); }
const char* greeting(void) { return "hello from C"; }
char next_char(char c) { return (char)(c + 1); }
static long cell = 41;
void* cell_address(void) { return &cell; }
long read_cell(void* p) { return *(long*)p + 1; }
unsigned char is_positive(long n) { return n > 0; }
unsigned char negate(unsigned char b) { return !b; }
short short_sum(short a, short b) { return (short)(a + b); }
long pascal_sub(long a, long b) { return a - b; }
