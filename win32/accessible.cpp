// The standard accessible object of a control, wrapped so that its name and description are the window's.
#include "accessible.h"

#include <oleacc.h>

#include <string>

namespace {

// The COM and accessibility DLLs load on the first screen-reader question, not at start:
// most games never get one, and under Wine they cost a tenth of the start-up time.
struct Accessibility {
    decltype(&CoInitializeEx) coInitializeEx = nullptr;
    decltype(&CreateStdAccessibleObject) createStdAccessibleObject = nullptr;
    decltype(&LresultFromObject) lresultFromObject = nullptr;
    decltype(&SysAllocString) sysAllocString = nullptr;
    bool ready = false;

    static const Accessibility& get()
    {
        static const Accessibility loaded = load();
        return loaded;
    }

private:
    template <typename Function>
    static void find(Function& function, const wchar_t* dll, const char* name)
    {
        if (HMODULE module = LoadLibraryW(dll))
            function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    }

    static Accessibility load()
    {
        Accessibility a;
        find(a.coInitializeEx, L"ole32.dll", "CoInitializeEx");
        find(a.createStdAccessibleObject, L"oleacc.dll", "CreateStdAccessibleObject");
        find(a.lresultFromObject, L"oleacc.dll", "LresultFromObject");
        find(a.sysAllocString, L"oleaut32.dll", "SysAllocString");
        a.ready = a.coInitializeEx && a.createStdAccessibleObject && a.lresultFromObject && a.sysAllocString;
        // COM stays up on the window's thread until the process ends.
        if (a.ready)
            a.ready = SUCCEEDED(a.coInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        return a;
    }
};

// Everything but the name and description is the system's own account of the control.
class ControlAccessible final : public IAccessible {
public:
    ControlAccessible(IAccessible* standard, const wchar_t* name, const wchar_t* description)
        : standard_(standard), named_(name != nullptr), name_(name ? name : L""), description_(description)
    {
    }
    ControlAccessible(const ControlAccessible&) = delete;
    ControlAccessible& operator=(const ControlAccessible&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) || riid == __uuidof(IAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override
    {
        return answer(child, description_, description);
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override
    {
        return named_ ? answer(child, name_, name) : standard_->get_accName(child, name);
    }

    // IDispatch and the rest of IAccessible, as the standard object answers them.
#define ZARQUEL_FORWARD(method, parameters, arguments) \
    HRESULT STDMETHODCALLTYPE method parameters override { return standard_->method arguments; }
    ZARQUEL_FORWARD(GetTypeInfoCount, (UINT* count), (count))
    ZARQUEL_FORWARD(GetTypeInfo, (UINT index, LCID locale, ITypeInfo** info), (index, locale, info))
    ZARQUEL_FORWARD(GetIDsOfNames, (REFIID riid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids),
                    (riid, names, count, locale, ids))
    ZARQUEL_FORWARD(Invoke, (DISPID id, REFIID riid, LCID locale, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                             EXCEPINFO* exception, UINT* argument),
                    (id, riid, locale, flags, parameters, result, exception, argument))
    ZARQUEL_FORWARD(get_accParent, (IDispatch** parent), (parent))
    ZARQUEL_FORWARD(get_accChildCount, (long* count), (count))
    ZARQUEL_FORWARD(get_accChild, (VARIANT child, IDispatch** object), (child, object))
    ZARQUEL_FORWARD(get_accValue, (VARIANT child, BSTR* value), (child, value))
    ZARQUEL_FORWARD(get_accRole, (VARIANT child, VARIANT* role), (child, role))
    ZARQUEL_FORWARD(get_accState, (VARIANT child, VARIANT* state), (child, state))
    ZARQUEL_FORWARD(get_accHelp, (VARIANT child, BSTR* help), (child, help))
    ZARQUEL_FORWARD(get_accHelpTopic, (BSTR* file, VARIANT child, long* topic), (file, child, topic))
    ZARQUEL_FORWARD(get_accKeyboardShortcut, (VARIANT child, BSTR* shortcut), (child, shortcut))
    ZARQUEL_FORWARD(get_accFocus, (VARIANT* child), (child))
    ZARQUEL_FORWARD(get_accSelection, (VARIANT* children), (children))
    ZARQUEL_FORWARD(get_accDefaultAction, (VARIANT child, BSTR* action), (child, action))
    ZARQUEL_FORWARD(accSelect, (long flags, VARIANT child), (flags, child))
    ZARQUEL_FORWARD(accLocation, (long* left, long* top, long* width, long* height, VARIANT child),
                    (left, top, width, height, child))
    ZARQUEL_FORWARD(accNavigate, (long direction, VARIANT start, VARIANT* end), (direction, start, end))
    ZARQUEL_FORWARD(accHitTest, (long x, long y, VARIANT* child), (x, y, child))
    ZARQUEL_FORWARD(accDoDefaultAction, (VARIANT child), (child))
    ZARQUEL_FORWARD(put_accName, (VARIANT child, BSTR name), (child, name))
    ZARQUEL_FORWARD(put_accValue, (VARIANT child, BSTR value), (child, value))
#undef ZARQUEL_FORWARD

private:
    ~ControlAccessible() { standard_->Release(); }
    static HRESULT answer(VARIANT child, const std::wstring& text, BSTR* out)
    {
        if (child.vt != VT_I4 || child.lVal != CHILDID_SELF)
            return E_INVALIDARG;
        *out = Accessibility::get().sysAllocString(text.c_str());
        return *out ? S_OK : E_OUTOFMEMORY;
    }

    IAccessible* standard_;
    bool named_;
    std::wstring name_;
    std::wstring description_;
    LONG references_ = 1;
};

} // namespace

// __uuidof, not IID_IAccessible: MinGW's import library has that one as oleacc.dll's data
// export, and linked as code it reads as a stray GUID.
LRESULT accessibleObject(HWND control, WPARAM wParam, const wchar_t* name, const wchar_t* description)
{
    const Accessibility& dlls = Accessibility::get();
    IAccessible* standard = nullptr;
    if (!dlls.ready || FAILED(dlls.createStdAccessibleObject(control, OBJID_CLIENT, __uuidof(IAccessible),
                                                             reinterpret_cast<void**>(&standard))))
        return 0;
    auto* wrapped = new ControlAccessible(standard, name, description);
    const LRESULT result = dlls.lresultFromObject(__uuidof(IAccessible), wParam, wrapped);
    wrapped->Release(); // the result holds its own reference
    return result;
}
