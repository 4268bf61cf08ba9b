// The standard accessible object of a button, wrapped so that its description tells the square's colour.
#include "squareaccessible.h"

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

// Everything but the description is the system's own account of the button.
class SquareAccessible final : public IAccessible {
public:
    SquareAccessible(IAccessible* standard, const wchar_t* color) : standard_(standard), color_(color) {}
    SquareAccessible(const SquareAccessible&) = delete;
    SquareAccessible& operator=(const SquareAccessible&) = delete;

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
        if (child.vt != VT_I4 || child.lVal != CHILDID_SELF)
            return E_INVALIDARG;
        *description = Accessibility::get().sysAllocString(color_.c_str());
        return *description ? S_OK : E_OUTOFMEMORY;
    }

    // IDispatch and the rest of IAccessible, as the standard object answers them.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return standard_->GetTypeInfoCount(count); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override
    {
        return standard_->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override
    {
        return standard_->GetIDsOfNames(riid, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID locale, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argument) override
    {
        return standard_->Invoke(id, riid, locale, flags, parameters, result, exception, argument);
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return standard_->get_accParent(parent); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override { return standard_->get_accChildCount(count); }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override
    {
        return standard_->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override { return standard_->get_accName(child, name); }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override
    {
        return standard_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override { return standard_->get_accRole(child, role); }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override
    {
        return standard_->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override { return standard_->get_accHelp(child, help); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override
    {
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override
    {
        return standard_->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return standard_->get_accFocus(child); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override { return standard_->get_accSelection(children); }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override
    {
        return standard_->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override { return standard_->accSelect(flags, child); }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override
    {
        return standard_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override
    {
        return standard_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override { return standard_->accHitTest(x, y, child); }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override { return standard_->accDoDefaultAction(child); }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override { return standard_->put_accName(child, name); }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override
    {
        return standard_->put_accValue(child, value);
    }

private:
    ~SquareAccessible() { standard_->Release(); }

    IAccessible* standard_;
    std::wstring color_;
    LONG references_ = 1;
};

} // namespace

// __uuidof, not IID_IAccessible: MinGW's import library has that one as oleacc.dll's data
// export, and linked as code it reads as a stray GUID.
LRESULT squareAccessibleObject(HWND square, WPARAM wParam, const wchar_t* color)
{
    const Accessibility& dlls = Accessibility::get();
    IAccessible* standard = nullptr;
    if (!dlls.ready || FAILED(dlls.createStdAccessibleObject(square, OBJID_CLIENT, __uuidof(IAccessible),
                                                             reinterpret_cast<void**>(&standard))))
        return 0;
    auto* wrapped = new SquareAccessible(standard, color);
    const LRESULT result = dlls.lresultFromObject(__uuidof(IAccessible), wParam, wrapped);
    wrapped->Release(); // the result holds its own reference
    return result;
}
