// Owns an effect's parameters and finds them by identifier or index.
#pragma once

#include "AAX.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

class AAX_IParameter;
class AAX_IAutomationDelegate;

class AAX_CParameterManager
{
public:
    AAX_CParameterManager();
    ~AAX_CParameterManager();

    AAX_CParameterManager(const AAX_CParameterManager&) = delete;
    AAX_CParameterManager& operator=(const AAX_CParameterManager&) = delete;

    /// Parameters added from now on are attached to this delegate.
    void Initialize(AAX_IAutomationDelegate* iAutomationDelegateUnknown);

    int32_t NumParameters() const;

    /// Takes ownership unless the parameter is null or its identifier is already held.
    void AddParameter(AAX_IParameter* param);

    AAX_IParameter* GetParameterByID(AAX_CParamID identifier);
    const AAX_IParameter* GetParameterByID(AAX_CParamID identifier) const;

    /// Position in order of addition, or -1.
    int32_t GetParameterIndex(AAX_CParamID identifier) const;

    AAX_IParameter* GetParameter(int32_t index);
    const AAX_IParameter* GetParameter(int32_t index) const;

    /// Destroys every parameter in order of addition.
    void RemoveAllParameters();

private:
    AAX_IAutomationDelegate* mAutomationDelegate;
    std::vector<AAX_IParameter*> mParameters;
    std::map<std::string, AAX_IParameter*, std::less<>> mParametersMap;
};
