#pragma once

#include "tambrix/io/Tool.h"

#include <string>

namespace aaxhost
{

// What a step of loading or playing a plug-in answers when it fails (opening the
// binary, starting a session, creating or playing an effect instance): its empty
// answer (false, null, no text), the reason in *error when asked for. Once memory
// ran out, it failed for that: std::bad_alloc, no reason that blames the plug-in.
struct Failure
{
    Failure(std::string* error, std::string reason)
    {
        tambrix::io::endIfMemoryRanOut();
        if (error != nullptr)
            *error = std::move(reason);
    }
    template <class Answer>
    operator Answer() const
    {
        return Answer{};
    }
};

} // namespace aaxhost
