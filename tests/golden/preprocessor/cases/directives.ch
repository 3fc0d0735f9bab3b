// An included file: its directives write nothing, its code is announced.
#define FROM_HEADER "header"
STATIC s := FROM_HEADER
