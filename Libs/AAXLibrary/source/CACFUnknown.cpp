// Reference counting, inner unknown and live-object count of component objects.
#include "CACFUnknown.h"
#include "AAX_UIDs.h"

std::atomic<int32_t> CACFUnknown::m_ActiveObjects{0};

CACFUnknown::CACFUnknown() : m_pUnkOuter(&m_privateUnknown), m_privateUnknown(this)
{
    m_ActiveObjects.fetch_add(1, std::memory_order_seq_cst);
}

CACFUnknown::~CACFUnknown()
{
    m_ActiveObjects.fetch_sub(1, std::memory_order_seq_cst);
}

int32_t CACFUnknown::GetActiveObjectCount() noexcept
{
    return m_ActiveObjects.load(std::memory_order_seq_cst);
}

ACFRESULT CACFUnknown::InitializeInstance(IACFUnknown* /*pUnkOuter*/)
{
    return ACF_OK;
}

void CACFUnknown::FinalRelease() {}

void CACFUnknown::ReclaimMemory()
{
    delete this;
}

ACFRESULT CACFUnknown::InternalQueryInterface(const acfIID& riid, void** ppvObjOut)
{
    if (ppvObjOut == nullptr)
        return ACF_E_NULLUNKNOWN;

    *ppvObjOut = nullptr;
    if (riid == IID_IACFUnknown)
    {
        *ppvObjOut = static_cast<IACFUnknown*>(&m_privateUnknown);
        m_privateUnknown.AddRef();
        return ACF_OK;
    }
    return ACF_E_NOINTERFACE;
}

uint32_t CACFUnknown::InternalAddRef()
{
    return m_cRef.fetch_add(1, std::memory_order_seq_cst) + 1;
}

uint32_t CACFUnknown::InternalRelease()
{
    const uint32_t newCount = m_cRef.fetch_sub(1, std::memory_order_seq_cst) - 1;
    if (newCount == 0)
    {
        FinalRelease();
        ReclaimMemory(); // the object no longer exists after this
    }
    return newCount;
}

ACFRESULT CACFUnknown::PrivateUnknown::QueryInterface(const acfIID& iid, void** ppOut)
{
    return m_This->InternalQueryInterface(iid, ppOut);
}

uint32_t CACFUnknown::PrivateUnknown::AddRef()
{
    return m_This->InternalAddRef();
}

uint32_t CACFUnknown::PrivateUnknown::Release()
{
    return m_This->InternalRelease();
}
