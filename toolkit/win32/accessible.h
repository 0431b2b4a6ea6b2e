// What our windows' accessible objects (MSAA, for screen readers) share: COM's bookkeeping, the
// answer to WM_GETOBJECT, code-page and UTF-8 texts as BSTRs, and a system control's own object
// with a name it cannot find for itself.
#pragma once

#include <windows.h>

#include <oleacc.h>

#include <string>
#include <string_view>

namespace toolkit::win32 {

// IUnknown and an IDispatch that offers no type information (MSAA's clients call IAccessible
// directly; the system's proxies marshal it across processes); derived classes answer the rest.
class AccessibleObject : public IAccessible {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override;
  // Deprecated in MSAA and never offered.
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 protected:
  AccessibleObject() = default;
  virtual ~AccessibleObject() = default;

 private:
  LONG references_ = 1;
};

// The answer to WM_GETOBJECT with object (COM is started on the window's thread first, as the
// marshalling needs it: StartCom); 0 where it cannot be given.
LRESULT AnswerGetObject(IAccessible* object, WPARAM wParam);
// Tells remote clients that object is gone, and drops our reference.
void ReleaseAccessible(IAccessible* object);

// Text as a BSTR: code-page text converted with the system's code page, UTF-8 as UTF-8.
std::wstring WideOf(std::string_view text, UINT codePage);
BSTR BstrOf(const std::wstring& text);

// A system control's own accessible object, with a name: a field with no label beside it has
// none, and a screen reader then says only its kind and value.
class NamedClientObject : public AccessibleObject {
 public:
  // Null where the system gives no object for the window.
  static NamedClientObject* Create(HWND hwnd, const std::string& codePageName);

  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override;
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override;
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override;
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* text) override;
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override;
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override;
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* text) override;
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                        VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override;
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;

 private:
  NamedClientObject(IAccessible* system, std::wstring name)
      : system_(system), name_(std::move(name)) {}
  ~NamedClientObject() override;

  IAccessible* system_;
  const std::wstring name_;
};

}  // namespace toolkit::win32
