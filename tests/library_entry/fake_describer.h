#pragma once

// The describer the entry-point tests put in the framework's place: each test
// says what GetEffectDescriptions does with the collection it is handed.

#include "AAX.h"

#include <functional>

class AAX_ICollection;

namespace tambrix::test
{
using Describer = std::function<AAX_Result(AAX_ICollection&)>;

// Installs the behaviour of GetEffectDescriptions (default: returns AAX_SUCCESS
// without describing anything) and resets the call count.
void setDescriber(Describer describer);
// How often GetEffectDescriptions ran since the last setDescriber().
int describerCalls();
} // namespace tambrix::test
