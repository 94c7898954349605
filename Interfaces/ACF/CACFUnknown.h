// Reference-counted base of every component object the plug-in hands to the host.
#pragma once

#include "acfunknown.h"

#include <atomic>

/// Reference count, inner unknown and the process-wide count of live objects.
/// Not itself an interface: the host reaches an object through its inner unknown or
/// through an interface that the derived class inherits first.
class CACFUnknown
{
public:
    CACFUnknown();
    virtual ~CACFUnknown();

    CACFUnknown(const CACFUnknown&) = delete;
    CACFUnknown& operator=(const CACFUnknown&) = delete;

    /// Does nothing and returns 0; objects are never aggregated.
    virtual ACFRESULT InitializeInstance(IACFUnknown* pUnkOuter);
    /// Called when the last reference goes, before ReclaimMemory; does nothing.
    virtual void FinalRelease();
    /// Destroys the object through its virtual destructor.
    virtual void ReclaimMemory();

    /// IID_IACFUnknown yields the inner unknown with a reference added; anything else
    /// ACF_E_NOINTERFACE with a null out-pointer. A null out-pointer yields
    /// ACF_E_NULLUNKNOWN and adds no reference.
    virtual ACFRESULT InternalQueryInterface(const acfIID& riid, void** ppvObjOut);
    virtual uint32_t InternalAddRef();
    virtual uint32_t InternalRelease();

    /// Number of constructed, not yet destroyed objects.
    static int32_t GetActiveObjectCount() noexcept;

    /// The inner unknown: the object's identity for IID_IACFUnknown.
    IACFUnknown* GetPrivateUnknown() noexcept { return &m_privateUnknown; }
    /// The unknown to which the derived interfaces delegate (always the inner unknown).
    IACFUnknown* GetOuterUnknown() const noexcept { return m_pUnkOuter; }

    /// The inner unknown: forwards to the owner's Internal... operations through the
    /// owner's table, so the derived classes' versions apply.
    class PrivateUnknown final : public IACFUnknown
    {
    public:
        explicit PrivateUnknown(CACFUnknown* owner) noexcept : m_This(owner) {}

        ACFRESULT QueryInterface(const acfIID& iid, void** ppOut) override;
        uint32_t AddRef() override;
        uint32_t Release() override;

    private:
        CACFUnknown* m_This;
    };

protected:
    /// Process-wide count of live objects, changed only atomically.
    static std::atomic<int32_t> m_ActiveObjects;

private:
    std::atomic<uint32_t> m_cRef{0};
    IACFUnknown* m_pUnkOuter;
    PrivateUnknown m_privateUnknown;
};
