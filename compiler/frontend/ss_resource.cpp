// The list of built-in blocks; each is defined in a generated file.
#include "ss_resource.h"

extern const SSResource zeltaDfaResource;
extern const SSResource zeltaLlrResource;

const SSResource* ssFindResource(const std::string& name)
{
    for (const SSResource* r : {&zeltaDfaResource, &zeltaLlrResource})
        if (name == r->name)
            return r;
    return nullptr;
}
