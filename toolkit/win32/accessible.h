// What our windows' accessible objects (MSAA, for screen readers) share: COM's bookkeeping, the
// answer to WM_GETOBJECT, and code-page and UTF-8 texts as BSTRs.
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
// marshalling needs it); 0 where it cannot be given.
LRESULT AnswerGetObject(IAccessible* object, WPARAM wParam);
// Tells remote clients that object is gone, and drops our reference.
void ReleaseAccessible(IAccessible* object);

// Text as a BSTR: code-page text converted with the system's code page, UTF-8 as UTF-8.
std::wstring WideOf(std::string_view text, UINT codePage);
BSTR BstrOf(const std::wstring& text);

}  // namespace toolkit::win32
