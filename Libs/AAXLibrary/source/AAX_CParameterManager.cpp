#include "AAX_CParameterManager.h"

#include "AAX_IParameter.h"

#include <cstring>
#include <memory>

AAX_CParameterManager::AAX_CParameterManager() : mAutomationDelegate(nullptr), mParameters(), mParametersMap()
{
}

AAX_CParameterManager::~AAX_CParameterManager()
{
    RemoveAllParameters();
}

void AAX_CParameterManager::Initialize(AAX_IAutomationDelegate* iAutomationDelegateUnknown)
{
    mAutomationDelegate = iAutomationDelegateUnknown;
}

int32_t AAX_CParameterManager::NumParameters() const
{
    return static_cast<int32_t>(mParameters.size());
}

void AAX_CParameterManager::AddParameter(AAX_IParameter* param)
{
    if (param == nullptr)
        return;
    const char* identifier = param->Identifier();
    if (identifier == nullptr || GetParameterByID(identifier) != nullptr)
        return; // a duplicate stays the caller's

    // From here on the manager owns the parameter: should the containers fail to grow,
    // it is destroyed rather than lost.
    std::unique_ptr<AAX_IParameter> owned(param);
    mParameters.reserve(mParameters.size() + 1);
    mParametersMap.emplace(identifier, param);
    mParameters.push_back(owned.release()); // cannot throw after the reserve

    param->SetAutomationDelegate(mAutomationDelegate);
}

AAX_IParameter* AAX_CParameterManager::GetParameterByID(AAX_CParamID identifier)
{
    if (identifier == nullptr)
        return nullptr;
    const auto found = mParametersMap.find(identifier);
    return found != mParametersMap.end() ? found->second : nullptr;
}

const AAX_IParameter* AAX_CParameterManager::GetParameterByID(AAX_CParamID identifier) const
{
    if (identifier == nullptr)
        return nullptr;
    const auto found = mParametersMap.find(identifier);
    return found != mParametersMap.end() ? found->second : nullptr;
}

int32_t AAX_CParameterManager::GetParameterIndex(AAX_CParamID identifier) const
{
    if (identifier == nullptr)
        return -1;
    for (std::size_t index = 0; index < mParameters.size(); ++index)
    {
        const char* candidate = mParameters[index]->Identifier();
        if (candidate != nullptr && std::strcmp(candidate, identifier) == 0)
            return static_cast<int32_t>(index);
    }
    return -1;
}

AAX_IParameter* AAX_CParameterManager::GetParameter(int32_t index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= mParameters.size())
        return nullptr;
    return mParameters[static_cast<std::size_t>(index)];
}

const AAX_IParameter* AAX_CParameterManager::GetParameter(int32_t index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= mParameters.size())
        return nullptr;
    return mParameters[static_cast<std::size_t>(index)];
}

void AAX_CParameterManager::RemoveAllParameters()
{
    // Take the list first, so that lookups made while a parameter is destroyed (its
    // delegate unregisters it from the host) see an empty manager, never a dead object.
    std::vector<AAX_IParameter*> parameters;
    parameters.swap(mParameters);
    mParametersMap.clear();
    for (AAX_IParameter* parameter : parameters)
        delete parameter;
}
