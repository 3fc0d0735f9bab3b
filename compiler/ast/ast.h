// Every node family, for the grammar actions that build the tree.
#pragma once

#include "assignments.h"
#include "builtins.h"
#include "calls.h"
#include "containers.h"
#include "control.h"
#include "declarations.h"
#include "function_heads.h"
#include "instruction.h"
#include "operators.h"
#include "program_lists.h"
