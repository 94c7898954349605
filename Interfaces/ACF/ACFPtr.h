// Owning pointer over one interface of the component model.
#pragma once

#include "acfunknown.h"

#include <cstdlib>

/// Holds one reference to an interface; releases it on destruction or reassignment.
/// Failures throw the component model's result as a plain signed 32-bit integer.
template <class T>
class ACFPtr
{
public:
    ACFPtr() noexcept = default;

    /// Queries `pUnk` for `iid`. Throws ACF_E_NULLUNKNOWN for a null unknown and the
    /// query's result when it is negative.
    ACFPtr(const acfIID& iid, IACFUnknown* pUnk) : m_ptr(nullptr)
    {
        if (pUnk == nullptr)
            throw static_cast<int32_t>(ACF_E_NULLUNKNOWN);

        const ACFRESULT result = pUnk->QueryInterface(iid, reinterpret_cast<void**>(&m_ptr));
        if (ACFFAILED(result))
        {
            m_ptr = nullptr;
            throw static_cast<int32_t>(result);
        }
    }

    /// Takes a new reference on `p` (when not null).
    explicit ACFPtr(T* p) noexcept : m_ptr(p)
    {
        if (m_ptr != nullptr)
            m_ptr->AddRef();
    }

    /// Copy construction adds a reference.
    ACFPtr(const ACFPtr& other) noexcept : m_ptr(other.m_ptr)
    {
        if (m_ptr != nullptr)
            m_ptr->AddRef();
    }

    ACFPtr(ACFPtr&& other) noexcept : m_ptr(other.m_ptr) { other.m_ptr = nullptr; }

    /// Adds the new reference before releasing the old one, so that assigning a
    /// pointer to the same object never drops its last reference on the way.
    ACFPtr& operator=(const ACFPtr& other) noexcept
    {
        if (this != &other)
        {
            T* const newPtr = other.m_ptr;
            if (newPtr != nullptr)
                newPtr->AddRef();
            T* const oldPtr = m_ptr;
            m_ptr = newPtr;
            if (oldPtr != nullptr)
                oldPtr->Release();
        }
        return *this;
    }

    ACFPtr& operator=(ACFPtr&& other) noexcept
    {
        if (this != &other)
        {
            T* const oldPtr = m_ptr;
            m_ptr = other.m_ptr;
            other.m_ptr = nullptr;
            if (oldPtr != nullptr)
                oldPtr->Release();
        }
        return *this;
    }

    /// Releases what it holds; an exception from Release ends the process.
    ~ACFPtr() noexcept { clear(); }

    T* operator->()
    {
        if (m_ptr == nullptr)
            throw static_cast<int32_t>(ACF_E_NULLPOINTER);
        return m_ptr;
    }

    const T* operator->() const
    {
        if (m_ptr == nullptr)
            throw static_cast<int32_t>(ACF_E_NULLPOINTER);
        return m_ptr;
    }

    /// The raw pointer, no reference added.
    T* get() const noexcept { return m_ptr; }
    T* inArg() const noexcept { return m_ptr; }

    bool isNull() const noexcept { return m_ptr == nullptr; }
    explicit operator bool() const noexcept { return m_ptr != nullptr; }

    /// Out-parameter form: releases and clears what it holds and returns the address
    /// of its pointer, so that what an operation stores there is owned by this object.
    void** outputVoid() noexcept
    {
        clear();
        return reinterpret_cast<void**>(&m_ptr);
    }

    T** outputPtr() noexcept
    {
        clear();
        return &m_ptr;
    }

    /// Releases and clears what it holds.
    void clear() noexcept
    {
        T* const p = m_ptr;
        m_ptr = nullptr;
        if (p != nullptr)
            p->Release();
    }

    /// Gives up ownership without releasing.
    T* detach() noexcept
    {
        T* const p = m_ptr;
        m_ptr = nullptr;
        return p;
    }

private:
    T* m_ptr = nullptr;
};
