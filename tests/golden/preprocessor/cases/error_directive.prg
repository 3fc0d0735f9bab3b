#ifndef NEEDED
#error NEEDED must be defined
#endif
#else
#foo
