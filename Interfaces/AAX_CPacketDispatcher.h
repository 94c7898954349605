// Packets that carry parameter values to the algorithm, and their dispatcher.
#pragma once

#include "AAX.h"
#include "AAX_Errors.h"
#include "AAX_CMutex.h"

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

class AAX_IController;
class AAX_IEffectParameters;

/// One packet: the port it is posted to, its dirty flag, its size and data.
class AAX_CPacket
{
public:
    /// Owns a growable byte buffer, created holding 8 zero bytes.
    class SPacketData
    {
    public:
        SPacketData();
        ~SPacketData();

        SPacketData(const SPacketData&) = delete;
        SPacketData& operator=(const SPacketData&) = delete;

        /// Resizes the buffer to `size` bytes (kept bytes stay, added bytes are zero) and
        /// returns its first byte; size 0 throws std::out_of_range.
        void* Get(uint32_t size) const;

    private:
        std::vector<uint8_t>* mData;
    };

    explicit AAX_CPacket(AAX_CFieldIndex inPort);
    ~AAX_CPacket();

    AAX_CPacket(const AAX_CPacket&) = delete;
    AAX_CPacket& operator=(const AAX_CPacket&) = delete;

    AAX_CFieldIndex GetID() const noexcept { return mID; }
    bool IsDirty() const noexcept { return mDirty; }
    void SetDirty(bool inDirty) noexcept { mDirty = inDirty; }
    uint32_t GetSize() const noexcept { return mDataSize; }

    /// Sizes the packet for one T and returns where to write it.
    template <typename T>
    T* GetPtr()
    {
        // The size changes only once the buffer holds it.
        T* data = static_cast<T*>(mPacketData.Get(static_cast<uint32_t>(sizeof(T))));
        mDataSize = static_cast<uint32_t>(sizeof(T));
        return data;
    }

    /// The first byte of the data (the buffer keeps at least one byte).
    const void* GetData() const { return mPacketData.Get(mDataSize == 0 ? 1u : mDataSize); }

private:
    AAX_CFieldIndex mID;
    bool mDirty;
    uint32_t mDataSize;
    SPacketData mPacketData;
};

/// Fills a packet for one parameter.
class AAX_IPacketHandler
{
public:
    virtual ~AAX_IPacketHandler() {}

    /// A new handler owned by the caller.
    virtual AAX_IPacketHandler* Clone() const = 0;
    virtual AAX_Result Call(AAX_CParamID inParamID, AAX_CPacket& ioPacket) const = 0;
};

/// A handler that calls a member function of a worker object.
template <class TWorker>
class AAX_CPacketHandler : public AAX_IPacketHandler
{
public:
    typedef AAX_Result (TWorker::*PacketOnlyHandler)(AAX_CPacket&);
    typedef AAX_Result (TWorker::*IdentifierHandler)(AAX_CParamID, AAX_CPacket&);

    AAX_CPacketHandler(TWorker* inWorker, PacketOnlyHandler inHandler)
        : mWorker(inWorker), mPacketOnlyHandler(inHandler), mIdentifierHandler(nullptr)
    {
    }

    AAX_CPacketHandler(TWorker* inWorker, IdentifierHandler inHandler)
        : mWorker(inWorker), mPacketOnlyHandler(nullptr), mIdentifierHandler(inHandler)
    {
    }

    AAX_IPacketHandler* Clone() const override { return new AAX_CPacketHandler(*this); }

    AAX_Result Call(AAX_CParamID inParamID, AAX_CPacket& ioPacket) const override
    {
        if (mIdentifierHandler != nullptr)
            return (mWorker->*mIdentifierHandler)(inParamID, ioPacket);
        if (mPacketOnlyHandler != nullptr)
            return (mWorker->*mPacketOnlyHandler)(ioPacket);
        return AAX_ERROR_NULL_OBJECT;
    }

private:
    TWorker* mWorker;
    PacketOnlyHandler mPacketOnlyHandler;
    IdentifierHandler mIdentifierHandler;
};

/// Binds parameters to packets, marks them and posts the marked ones through the controller.
class AAX_CPacketDispatcher
{
public:
    AAX_CPacketDispatcher();
    ~AAX_CPacketDispatcher();

    AAX_CPacketDispatcher(const AAX_CPacketDispatcher&) = delete;
    AAX_CPacketDispatcher& operator=(const AAX_CPacketDispatcher&) = delete;

    void Initialize(AAX_IController* inController, AAX_IEffectParameters* inEffectParameters);

    /// Binds the parameter to the packet of `inPort` (none for a negative port) with a copy
    /// of the handler. Always 0.
    AAX_Result RegisterPacket(AAX_CParamID inParamID, AAX_CFieldIndex inPort,
                              const AAX_IPacketHandler* inHandler);

    /// Binds the parameter to the packet of `inPort`, filled by GenerateSingleValuePacket.
    AAX_Result RegisterPacket(AAX_CParamID inParamID, AAX_CFieldIndex inPort)
    {
        const AAX_CPacketHandler<AAX_CPacketDispatcher> handler(
            this, &AAX_CPacketDispatcher::GenerateSingleValuePacket);
        return RegisterPacket(inParamID, inPort, &handler);
    }

    /// Marks every packet bound to the parameter. Always 0.
    AAX_Result SetDirty(AAX_CParamID inParamID, bool inDirty = true);

    /// Fills and posts every marked packet; the result of the last post, or 0.
    AAX_Result Dispatch();

    /// Handler body: the parameter's current value as a bool, float, int32 or double.
    AAX_Result GenerateSingleValuePacket(AAX_CParamID inParamID, AAX_CPacket& ioPacket);

private:
    typedef std::pair<AAX_CPacket*, AAX_IPacketHandler*> BoundPacket;

    std::map<AAX_CFieldIndex, AAX_CPacket*> mPacketsHolder;
    std::multimap<std::string, BoundPacket, std::less<>> mPacketsHandlers;
    AAX_IController* mController;
    AAX_IEffectParameters* mEffectParameters;
    AAX_CMutex mLockGuard;
};
