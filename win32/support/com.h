#pragma once

#include "win32/support/winapi.h"

#include <objbase.h>
#include <oleauto.h>

#include <utility>

// Owners of COM objects and of the strings and variants COM hands out: each
// is released once, by its owner.

// A counted reference to a COM object.
template <class Interface> class ComRef
{
public:
    ComRef() = default;
    // Takes over a reference the caller holds.
    explicit ComRef(Interface *object)
        : m_object(object)
    {}
    ~ComRef() { reset(); }
    ComRef(const ComRef &other)
        : m_object(other.m_object)
    {
        if (m_object)
            m_object->AddRef();
    }
    ComRef(ComRef &&other) noexcept
        : m_object(std::exchange(other.m_object, nullptr))
    {}
    ComRef &operator=(ComRef other) noexcept
    {
        std::swap(m_object, other.m_object);
        return *this;
    }

    void reset()
    {
        if (m_object)
            std::exchange(m_object, nullptr)->Release();
    }
    // For a function that hands out a reference through an out parameter.
    [[nodiscard]] Interface **put()
    {
        reset();
        return &m_object;
    }
    // The same as void **, for QueryInterface and its like.
    [[nodiscard]] void **putVoid() { return reinterpret_cast<void **>(put()); }
    [[nodiscard]] Interface *get() const { return m_object; }
    [[nodiscard]] Interface *operator->() const { return m_object; }
    [[nodiscard]] explicit operator bool() const { return m_object != nullptr; }
    // Hands the reference over to the caller.
    [[nodiscard]] Interface *release() { return std::exchange(m_object, nullptr); }

private:
    Interface *m_object = nullptr;
};

// A BSTR that COM handed out, freed with SysFreeString.
class Bstr
{
public:
    Bstr() = default;
    ~Bstr() { SysFreeString(m_text); }
    Bstr(const Bstr &) = delete;
    Bstr &operator=(const Bstr &) = delete;

    [[nodiscard]] BSTR *put()
    {
        SysFreeString(std::exchange(m_text, nullptr));
        return &m_text;
    }
    [[nodiscard]] std::wstring text() const
    {
        return m_text ? std::wstring(m_text, SysStringLen(m_text)) : std::wstring();
    }
    [[nodiscard]] bool isNull() const { return m_text == nullptr; }

private:
    BSTR m_text = nullptr;
};

// A VARIANT that COM filled in, cleared with VariantClear.
class Variant
{
public:
    Variant() { VariantInit(&m_value); }
    ~Variant() { VariantClear(&m_value); }
    Variant(const Variant &) = delete;
    Variant &operator=(const Variant &) = delete;

    [[nodiscard]] VARIANT *put()
    {
        VariantClear(&m_value);
        return &m_value;
    }
    [[nodiscard]] const VARIANT &get() const { return m_value; }

private:
    VARIANT m_value;
};

// COM on this thread, in a single-threaded apartment, for as long as it lives.
class ComApartment
{
public:
    ComApartment()
        : m_initialised(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
    {}
    ~ComApartment()
    {
        if (m_initialised)
            CoUninitialize();
    }
    ComApartment(const ComApartment &) = delete;
    ComApartment &operator=(const ComApartment &) = delete;

private:
    bool m_initialised;
};
