// Writes an install list the way a sync session leaves it, for the
// installer's end-to-end tests:
//
//   install_list_tool <application dir> <list> <record>...
//
// <list> is the base name ("ZELTAINST" makes "ZELTAINST.tLog"); each record
// is stored with its terminating zero, or without one when it begins with
// "raw:" (a damaged record). An existing list is replaced.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "store.h"
#include "temp_db.h"
#include "zeltaobjs.h"
#include "zeltardd.h"

int main(int argc, char** argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: %s <application dir> <list> <record>...\n", argv[0]);
        return 2;
    }
    setenv("ZELTA_APPDIR", argv[1], 1);
    if (!__BeginGlobal())
        return 1;
    void* list = __OpenTmpDb(0, argv[2], 1, 'L');
    int status = list ? 0 : 1;
    for (int i = 3; list && i < argc; ++i) {
        const bool raw = strncmp(argv[i], "raw:", 4) == 0;
        const char* text = raw ? argv[i] + 4 : argv[i];
        const uint32_t length = static_cast<uint32_t>(strlen(text) + (raw ? 0 : 1));
        if (!data::appendTmpRecord(static_cast<data::DmOpenRef>(list), text, length))
            status = 1;
    }
    if (list)
        data::DmCloseDatabase(static_cast<data::DmOpenRef>(list));
    __EndGlobal();
    return status;
}
