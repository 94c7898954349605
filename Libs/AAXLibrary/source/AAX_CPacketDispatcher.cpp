#include "AAX_CPacketDispatcher.h"

#include "AAX_IController.h"
#include "AAX_IEffectParameters.h"
#include "AAX_IParameter.h"

#include <cstring>
#include <memory>
#include <stdexcept>

// ---------------------------------------------------------------------------
// AAX_CPacket

AAX_CPacket::SPacketData::SPacketData() : mData(new std::vector<uint8_t>(8, 0)) {}

AAX_CPacket::SPacketData::~SPacketData()
{
    delete mData;
}

void* AAX_CPacket::SPacketData::Get(uint32_t size) const
{
    if (size == 0)
        throw std::out_of_range("AAX_CPacket::SPacketData::Get: a packet holds at least one byte");
    mData->resize(size, 0);
    return mData->data();
}

AAX_CPacket::AAX_CPacket(AAX_CFieldIndex inPort) : mID(inPort), mDirty(true), mDataSize(0), mPacketData() {}

AAX_CPacket::~AAX_CPacket() = default;

// ---------------------------------------------------------------------------
// AAX_CPacketDispatcher

AAX_CPacketDispatcher::AAX_CPacketDispatcher()
    : mPacketsHolder(), mPacketsHandlers(), mController(nullptr), mEffectParameters(nullptr), mLockGuard()
{
}

AAX_CPacketDispatcher::~AAX_CPacketDispatcher()
{
    AAX_StLock_Guard guard(mLockGuard);
    for (auto& entry : mPacketsHolder)
        delete entry.second;
    mPacketsHolder.clear();
    for (auto& entry : mPacketsHandlers)
        delete entry.second.second;
    mPacketsHandlers.clear();
}

void AAX_CPacketDispatcher::Initialize(AAX_IController* inController,
                                       AAX_IEffectParameters* inEffectParameters)
{
    // Under the lock: the effect clears the controller here before it deletes it, and a
    // dispatch running on another thread must finish with the old one first.
    AAX_StLock_Guard guard(mLockGuard);
    mController = inController;
    mEffectParameters = inEffectParameters;
}

AAX_Result AAX_CPacketDispatcher::RegisterPacket(AAX_CParamID inParamID, AAX_CFieldIndex inPort,
                                                 const AAX_IPacketHandler* inHandler)
{
    if (inParamID == nullptr || inHandler == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;

    try
    {
        AAX_StLock_Guard guard(mLockGuard);

        std::unique_ptr<AAX_IPacketHandler> handlerCopy(inHandler->Clone());
        if (handlerCopy == nullptr)
            return AAX_ERROR_NULL_OBJECT;

        AAX_CPacket* packet = nullptr;
        if (inPort >= 0)
        {
            auto found = mPacketsHolder.find(inPort);
            if (found != mPacketsHolder.end())
            {
                packet = found->second;
            }
            else
            {
                std::unique_ptr<AAX_CPacket> created(new AAX_CPacket(inPort));
                mPacketsHolder.emplace(inPort, created.get());
                packet = created.release();
            }
        }

        // A multimap inserts after the elements with an equal key: registration order.
        mPacketsHandlers.emplace(std::string(inParamID), BoundPacket(packet, handlerCopy.get()));
        handlerCopy.release();
        return AAX_SUCCESS;
    }
    catch (...)
    {
        return AAX_ERROR_UNKNOWN_EXCEPTION;
    }
}

AAX_Result AAX_CPacketDispatcher::SetDirty(AAX_CParamID inParamID, bool inDirty)
{
    if (inParamID == nullptr)
        return AAX_SUCCESS;

    try
    {
        AAX_StLock_Guard guard(mLockGuard);
        const auto range = mPacketsHandlers.equal_range(inParamID);
        for (auto binding = range.first; binding != range.second; ++binding)
        {
            if (AAX_CPacket* packet = binding->second.first)
                packet->SetDirty(inDirty);
        }
        return AAX_SUCCESS;
    }
    catch (...)
    {
        return AAX_ERROR_UNKNOWN_EXCEPTION;
    }
}

AAX_Result AAX_CPacketDispatcher::Dispatch()
{
    try
    {
        AAX_StLock_Guard guard(mLockGuard);

        // Without a controller (before Initialize, after the effect's Uninitialize) there
        // is nowhere to post: nothing is touched.
        if (mController == nullptr)
            return AAX_SUCCESS;

        AAX_Result result = AAX_SUCCESS;
        bool handlerThrew = false;
        for (auto& binding : mPacketsHandlers)
        {
            AAX_CPacket* packet = binding.second.first;
            const AAX_IPacketHandler* handler = binding.second.second;
            if (packet == nullptr || !packet->IsDirty())
                continue;

            // Cleared before the handler and the post run, so that a mark made meanwhile
            // (a host update arriving on this thread from within PostPacket) survives for
            // the next dispatch.
            packet->SetDirty(false);
            try
            {
                if (handler != nullptr && handler->Call(binding.first.c_str(), *packet) == AAX_SUCCESS)
                    result = mController->PostPacket(packet->GetID(), packet->GetData(), packet->GetSize());
            }
            catch (...)
            {
                handlerThrew = true;
            }
        }
        return handlerThrew ? AAX_Result(AAX_ERROR_UNKNOWN_EXCEPTION) : result;
    }
    catch (...)
    {
        return AAX_ERROR_UNKNOWN_EXCEPTION;
    }
}

AAX_Result AAX_CPacketDispatcher::GenerateSingleValuePacket(AAX_CParamID inParamID, AAX_CPacket& ioPacket)
{
    if (mEffectParameters == nullptr)
        return AAX_ERROR_NULL_OBJECT;

    AAX_IParameter* parameter = nullptr;
    if (mEffectParameters->GetParameter(inParamID, &parameter) != AAX_SUCCESS || parameter == nullptr)
        return AAX_ERROR_NULL_OBJECT;

    bool boolValue = false;
    float floatValue = 0.0f;
    int32_t intValue = 0;
    double doubleValue = 0.0;
    if (parameter->GetValueAsBool(&boolValue))
        *ioPacket.GetPtr<uint32_t>() = boolValue ? 1u : 0u;
    else if (parameter->GetValueAsFloat(&floatValue))
        *ioPacket.GetPtr<float>() = floatValue;
    else if (parameter->GetValueAsInt32(&intValue))
        *ioPacket.GetPtr<int32_t>() = intValue;
    else if (parameter->GetValueAsDouble(&doubleValue))
        *ioPacket.GetPtr<double>() = doubleValue;
    else
        return AAX_ERROR_NULL_OBJECT;
    return AAX_SUCCESS;
}
