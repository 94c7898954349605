#include "aaxhost/Identifiers.h"

namespace aaxhost
{

const char* identifierName(const Uid& uid) noexcept
{
    for (const NamedUid& known : kKnownIdentifiers)
        if (known.uid == uid)
            return known.name;
    return nullptr;
}

std::string describeIdentifier(const Uid& uid)
{
    if (const char* name = identifierName(uid))
        return name;
    return uid.toString();
}

} // namespace aaxhost
