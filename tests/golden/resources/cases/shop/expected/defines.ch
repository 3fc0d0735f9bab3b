#include "ezelta.ch"
#define __PALM__
