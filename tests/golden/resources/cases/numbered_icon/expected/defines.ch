#include "ezelta.ch"
#define  LOGO    6000
#define  ARROW.UP    6001
#define __PALM__
