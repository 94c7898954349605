// GetEffectDescriptions as the tests choose it, and the exported entry points,
// compiled here the same way as in the bundle: by including their source.
#include "FakeDescriber.h"

#include "AAX_Errors.h"
#include "AAX_ICollection.h"
#include "AAX_Init.h"

#include <utility>

namespace entry_test
{
namespace
{
Describer& current()
{
    static Describer describer;
    return describer;
}
int calls = 0;
} // namespace

void setDescriber(Describer describer)
{
    current() = std::move(describer);
    calls = 0;
}

int describerCalls()
{
    return calls;
}
} // namespace entry_test

AAX_Result GetEffectDescriptions(AAX_ICollection* inCollection)
{
    ++entry_test::calls;
    const entry_test::Describer& describer = entry_test::current();
    return describer ? describer(*inCollection) : AAX_SUCCESS;
}

#include "AAX_Exports.cpp"
