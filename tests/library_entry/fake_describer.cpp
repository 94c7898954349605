// GetEffectDescriptions as the tests choose it, and the exported entry points,
// compiled here the same way as in the bundle: by including their source.
#include "fake_describer.h"

#include "AAX_Errors.h"
#include "AAX_ICollection.h"
#include "AAX_Init.h"

#include <utility>

namespace tambrix::test
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
} // namespace tambrix::test

AAX_Result GetEffectDescriptions(AAX_ICollection* inCollection)
{
    ++tambrix::test::calls;
    const tambrix::test::Describer& describer = tambrix::test::current();
    return describer ? describer(*inCollection) : AAX_SUCCESS;
}

#include "AAX_Exports.cpp"
